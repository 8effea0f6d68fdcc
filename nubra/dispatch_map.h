#pragma once
// A class's published names. Each class builds its map once, from its base class's map and
// its own entries; the map is flattened so a lookup is one case-insensitive hash probe, and
// a name declared again in a derived class replaces the base's entry. A name declared twice
// in one class's own entries is a mistake: the map keeps the first and reports the second.
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "nubra/dispatch_entry.h"
#include "platform/base/nocase.h"

namespace orvo {

class DispatchMap {
public:
    DispatchMap(const wchar_t* className,
                const DispatchMap* base,
                std::initializer_list<DispEntry> entries);
    DispatchMap(const DispatchMap&) = delete;
    DispatchMap& operator=(const DispatchMap&) = delete;

    const DispEntry* Find(std::wstring_view name) const {
        auto it = m_index.find(name);
        return it == m_index.end() ? nullptr : &m_entries[it->second];
    }
    const std::vector<DispEntry>& Entries() const { return m_entries; }
    const DispatchMap* Base() const { return m_base; }
    const wchar_t* ClassName() const { return m_className; }
    // The names this class declared more than once, as "Class: Name".
    const std::vector<std::wstring>& Duplicates() const { return m_duplicates; }

    // Every map declared with ORVO_DISPATCH: each is built and checked on the first call.
    using MapFunction = const DispatchMap& (*)();
    static bool Declare(MapFunction map);
    static std::vector<std::wstring> DuplicatesOfEveryMap();

private:
    void Add(const DispEntry& entry, bool own, plat::NoCaseMap<bool>& declaredHere);

    const wchar_t* m_className;
    const DispatchMap* m_base;
    std::vector<DispEntry> m_entries;
    plat::NoCaseMap<std::size_t> m_index;
    std::vector<std::wstring> m_duplicates;
};

} // namespace orvo
