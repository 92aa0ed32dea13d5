// The owning, ordered list of domain records shown by the main window (row i is element i).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "domains/domain_data.h"

class CArchive;

class CDomainArray {
public:
    CDomainArray() = default;
    CDomainArray(const CDomainArray&) = delete;
    CDomainArray& operator=(const CDomainArray&) = delete;
    ~CDomainArray() { RemoveAllRecords(); }

    // Appends a new unchecked record when the list has room and the text after the last "."
    // (lowered) is com, net, org, edu, biz or info; a name without a dot is accepted too.
    bool AddName(const std::string& name);
    // Takes ownership; false (and the record is destroyed) when the list is full.
    bool Append(std::unique_ptr<CDomainData> record);

    int GetCount() const { return static_cast<int>(m_records.size()); }
    // None when the index is negative or not below the count.
    CDomainData* GetRecord(int index) const;
    // First record from the front whose name equals `name` without regard to case.
    CDomainData* Find(std::string_view name) const;
    int IndexOf(std::string_view name) const;

    bool RemoveName(std::string_view name);
    void RemoveAllRecords();

    // Setters by name: false and nothing changed when no record has the name.
    bool SetState(std::string_view name, int state, const CDateTime& checked);
    bool SetStatusText(std::string_view name, const std::string& text);
    bool SetRegistrar(std::string_view name, const std::string& text);
    bool SetWhoisServer(std::string_view name, const std::string& text);
    bool SetCreated(std::string_view name, const CDateTime& dt);
    bool SetExpires(std::string_view name, const CDateTime& dt);
    bool SetUpdated(std::string_view name, const CDateTime& dt);
    bool SetWhoisText(std::string_view name, const std::string& text);

    // Sorts ascending and stably by list column 1..8 (any other column leaves the order), then
    // calls `repaint` (the main window posts its whole-list repaint from it).
    void SortByColumn(int column, const std::function<void()>& repaint);

    // Loading replaces the whole list; see the data file for the layout.
    void Serialize(CArchive& ar);
    // The storing half of Serialize, for callers that hold the list as const.
    void Store(CArchive& ar) const;

private:
    std::vector<std::unique_ptr<CDomainData>> m_records;
};

// True for the six extensions the list accepts, given lower-case text after the last dot.
bool IsSupportedExtension(std::string_view lowerExtension);
