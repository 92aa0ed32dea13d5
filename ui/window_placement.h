// The main window's placement as stored in the profile: one text of ten numbers.
#pragma once

#include <string>
#include <string_view>

class ISettingsStore;

inline constexpr const char* kSectionSettings = "Settings";
inline constexpr const char* kValueWindowPos = "WindowPos";

// Mirrors the platform's window placement; pixels, screen coordinates.
struct CPlacementRecord {
    unsigned m_nFlags = 0;
    unsigned m_nShowCmd = 0;
    int m_nMinX = 0;
    int m_nMinY = 0;
    int m_nMaxX = 0;
    int m_nMaxY = 0;
    int m_nLeft = 0;
    int m_nTop = 0;
    int m_nRight = 0;
    int m_nBottom = 0;

    bool operator==(const CPlacementRecord&) const = default;
};

constexpr unsigned kPlacementRestoreToMaximized = 2;  // WPF_RESTORETOMAXIMIZED

// "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d" in field order.
std::string FormatPlacement(const CPlacementRecord& placement);
// True when all ten numbers convert (anything after the tenth is ignored); false, and `out`
// untouched, for fewer numbers, a letter, a number out of range or a sign on an unsigned field.
bool ParsePlacement(std::string_view text, CPlacementRecord& out);
// The record as it is stored: flags 0, or restore-to-maximized when maximized; when minimized the
// show state loses its bit of value 2.
CPlacementRecord PlacementForSave(CPlacementRecord current, bool maximized, bool minimized);

// Reads "WindowPos" of "Settings"; false when absent, empty or not ten numbers.
bool LoadWindowPlacement(const ISettingsStore& store, CPlacementRecord& out);
// Stores PlacementForSave(current, ...); false when the store refused the value.
bool SaveWindowPlacement(ISettingsStore& store, const CPlacementRecord& current, bool maximized,
                         bool minimized);
