#include "nubra/dispatch_map.h"

namespace orvo {

DispatchMap::DispatchMap(const DispatchMap* base, std::initializer_list<DispEntry> entries)
    : m_base(base) {
    if (base) {
        for (const DispEntry& e : base->m_entries)
            Add(e);
    }
    for (const DispEntry& e : entries)
        Add(e);
}

void DispatchMap::Add(const DispEntry& entry) {
    auto [it, inserted] = m_index.try_emplace(std::wstring(entry.name), m_entries.size());
    if (inserted)
        m_entries.push_back(entry);
    else
        m_entries[it->second] = entry;
}

const DispEntry* DispatchMap::Find(std::wstring_view name) const {
    auto it = m_index.find(name);
    return it == m_index.end() ? nullptr : &m_entries[it->second];
}

} // namespace orvo
