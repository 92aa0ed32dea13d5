// The WHOIS queue: names waiting for a lookup, taken from the front and added at the back, each
// held at most once (compared without regard to case). With the whole list queued, a scheduler
// step and the Lookup All feed ask "already queued?" dozens of times, so that answer comes from
// an index instead of a walk over 2500 names.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <unordered_set>

class CLookupQueue {
public:
    // False (nothing added) when the queue already holds the name.
    bool Add(const std::string& name);
    // Removes and returns the front name; empty text when the queue is empty.
    std::string PopFront();
    void RemoveAll();

    bool Contains(std::string_view name) const;
    // Position from the front, or -1.
    int Find(std::string_view name) const;
    // The name at the position, or the empty text when it is out of range.
    std::string GetString(int index) const;
    int GetSize() const { return static_cast<int>(m_names.size()); }
    bool IsEmpty() const { return m_names.empty(); }

private:
    std::deque<std::string> m_names;
    std::unordered_set<std::string> m_keys;  // lower-cased names
};
