#include "nubra/dispatch_map.h"

#include <algorithm>

namespace orvo {

DispatchMap::DispatchMap(const wchar_t* className,
                         const DispatchMap* base,
                         std::initializer_list<DispEntry> entries)
    : m_className(className ? className : L""), m_base(base) {
    plat::NoCaseMap<bool> declaredHere;
    if (base) {
        for (const DispEntry& e : base->m_entries)
            Add(e, false, declaredHere);
    }
    for (const DispEntry& e : entries)
        Add(e, true, declaredHere);
}

void DispatchMap::Add(const DispEntry& entry, bool own, plat::NoCaseMap<bool>& declaredHere) {
    if (own && !declaredHere.try_emplace(std::wstring(entry.name), true).second) {
        m_duplicates.push_back(std::wstring(m_className) + L": " + entry.name);
        return;
    }
    auto [it, inserted] = m_index.try_emplace(std::wstring(entry.name), m_entries.size());
    if (inserted)
        m_entries.push_back(entry);
    else
        m_entries[it->second] = entry;
}

namespace {

std::vector<DispatchMap::MapFunction>& DeclaredMaps() {
    static auto* maps = new std::vector<DispatchMap::MapFunction>();
    return *maps;
}

} // namespace

bool DispatchMap::Declare(MapFunction map) {
    auto& maps = DeclaredMaps();
    if (std::find(maps.begin(), maps.end(), map) == maps.end())
        maps.push_back(map);
    return true;
}

std::vector<std::wstring> DispatchMap::DuplicatesOfEveryMap() {
    std::vector<std::wstring> out;
    for (MapFunction f : DeclaredMaps()) {
        const auto& duplicates = f().Duplicates();
        out.insert(out.end(), duplicates.begin(), duplicates.end());
    }
    return out;
}

} // namespace orvo
