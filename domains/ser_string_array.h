// String array with a current index and an optional refusal of duplicates (compared without
// regard to case). Serves the WHOIS queue and the Configure dialog's extension list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class CArchive;

class CSerStringArray {
public:
    // False (nothing added) when m_bUnique is set and the text is already present.
    bool Add(const std::string& text);
    // Index of the first string equal to the text without regard to case, or -1.
    int Find(std::string_view text) const;
    // The string at the index, or the empty string when the index is out of range.
    std::string GetString(int index) const;

    int GetSize() const { return static_cast<int>(m_strings.size()); }
    bool IsEmpty() const { return m_strings.empty(); }
    void RemoveAll() { m_strings.clear(); }
    void RemoveAt(int index);
    // Removes and returns the first string; empty text when the array is empty.
    std::string PopFront();

    // Count, current index, then each string. Loading goes through Add, stops quietly at the end
    // of the data keeping what was read, and keeps the stored index only when it is in range.
    void Serialize(CArchive& ar);

    int m_nCurrent = -1;
    bool m_bUnique = true;
    bool m_bQuiet = false;

private:
    std::vector<std::string> m_strings;
};
