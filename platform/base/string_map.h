#pragma once
// The string-to-string map of element attributes and settings: keys compare without case,
// entries keep their insertion order (so files written back keep their attribute order).
// Small maps are scanned; larger ones get a hash index.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plat {

class StringMap {
public:
    using Entry = std::pair<std::wstring, std::wstring>;

    StringMap();
    StringMap(const StringMap& other);
    StringMap& operator=(const StringMap& other);
    // Defined out of line: the index type is only complete in string_map.cpp.
    StringMap(StringMap&&) noexcept;
    StringMap& operator=(StringMap&&) noexcept;
    ~StringMap();

    // Replaces the value when the key exists (the key keeps its first spelling).
    void Set(std::wstring_view key, std::wstring_view value);
    // The same, taking ownership of both strings (the parser's path, no copies).
    void SetMoved(std::wstring&& key, std::wstring&& value);
    // Null when absent.
    const std::wstring* Find(std::wstring_view key) const;
    std::wstring* Find(std::wstring_view key);
    bool Lookup(std::wstring_view key, std::wstring& value) const;
    bool Contains(std::wstring_view key) const { return Find(key) != nullptr; }
    // Returns whether the key was present.
    bool Remove(std::wstring_view key);
    void Clear();
    void Reserve(std::size_t n) { m_entries.reserve(n); }

    std::size_t Size() const { return m_entries.size(); }
    bool Empty() const { return m_entries.empty(); }
    auto begin() const { return m_entries.begin(); }
    auto end() const { return m_entries.end(); }

    // Same keys (without case) with equal values, in any order.
    bool operator==(const StringMap& other) const;

private:
    std::ptrdiff_t IndexOf(std::wstring_view key) const;
    void Append(std::wstring&& key, std::wstring&& value);
    void RebuildIndex();

    std::vector<Entry> m_entries;
    struct Index;
    std::unique_ptr<Index> m_index; // built once the map grows past a handful of entries
};

} // namespace plat

using CMapStringToString = plat::StringMap;
