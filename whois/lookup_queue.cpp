#include "whois/lookup_queue.h"

#include "framework/text.h"

bool CLookupQueue::Add(const std::string& name) {
    if (!m_keys.insert(ToLower(name)).second)
        return false;
    m_names.push_back(name);
    return true;
}

std::string CLookupQueue::PopFront() {
    if (m_names.empty())
        return std::string();
    std::string front = std::move(m_names.front());
    m_names.pop_front();
    m_keys.erase(ToLower(front));
    return front;
}

void CLookupQueue::RemoveAll() {
    m_names.clear();
    m_keys.clear();
}

bool CLookupQueue::Contains(std::string_view name) const {
    return m_keys.count(ToLower(name)) != 0;
}

int CLookupQueue::Find(std::string_view name) const {
    if (!Contains(name))
        return -1;
    for (size_t i = 0; i < m_names.size(); ++i) {
        if (EqualsNoCase(m_names[i], name))
            return static_cast<int>(i);
    }
    return -1;
}

std::string CLookupQueue::GetString(int index) const {
    if (index < 0 || index >= GetSize())
        return std::string();
    return m_names[static_cast<size_t>(index)];
}
