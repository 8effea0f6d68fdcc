#pragma once
// A class's published names. Each class builds its map once, from its base class's map and
// its own entries; the map is flattened so a lookup is one case-insensitive hash probe, and
// a name declared again in a derived class replaces the base's entry.
#include <initializer_list>
#include <string_view>
#include <vector>

#include "nubra/dispatch_entry.h"
#include "platform/base/nocase.h"

namespace orvo {

class DispatchMap {
public:
    DispatchMap(const DispatchMap* base, std::initializer_list<DispEntry> entries);
    DispatchMap(const DispatchMap&) = delete;
    DispatchMap& operator=(const DispatchMap&) = delete;

    const DispEntry* Find(std::wstring_view name) const;
    const std::vector<DispEntry>& Entries() const { return m_entries; }
    const DispatchMap* Base() const { return m_base; }

private:
    void Add(const DispEntry& entry);

    const DispatchMap* m_base;
    std::vector<DispEntry> m_entries;
    plat::NoCaseMap<std::size_t> m_index;
};

} // namespace orvo
