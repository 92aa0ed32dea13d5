#include "domains/ser_string_array.h"

#include "framework/text.h"

bool CSerStringArray::Add(const std::string& text) {
    if (m_bUnique && Find(text) >= 0)
        return false;
    m_strings.push_back(text);
    return true;
}

int CSerStringArray::Find(std::string_view text) const {
    for (size_t i = 0; i < m_strings.size(); ++i) {
        if (EqualsNoCase(m_strings[i], text))
            return static_cast<int>(i);
    }
    return -1;
}

std::string CSerStringArray::GetString(int index) const {
    if (index < 0 || index >= GetSize())
        return std::string();
    return m_strings[static_cast<size_t>(index)];
}

void CSerStringArray::RemoveAt(int index) {
    if (index < 0 || index >= GetSize())
        return;
    m_strings.erase(m_strings.begin() + index);
}

std::string CSerStringArray::PopFront() {
    if (m_strings.empty())
        return std::string();
    std::string front = std::move(m_strings.front());
    m_strings.erase(m_strings.begin());
    return front;
}
