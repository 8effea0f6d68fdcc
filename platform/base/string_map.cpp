#include "platform/base/string_map.h"

#include "platform/base/nocase.h"

namespace plat {

namespace {

// Below this size a scan beats hashing the key.
constexpr std::size_t kIndexThreshold = 16;

} // namespace

// Open addressing over entry positions: the keys stay in the entries, so the index adds
// one integer per slot and no copies of the text.
struct StringMap::Index {
    static constexpr std::size_t kEmpty = static_cast<std::size_t>(-1);

    std::vector<std::size_t> slots; // entry position or kEmpty; size is a power of two

    std::size_t Mask() const { return slots.size() - 1; }

    // Slot holding `key`, or the empty slot where it would go.
    std::size_t Probe(const std::vector<Entry>& entries, std::wstring_view key) const {
        std::size_t slot = NoCaseHash{}(key)&Mask();
        while (slots[slot] != kEmpty && !EqualsNoCase(entries[slots[slot]].first, key)) {
            slot = (slot + 1) & Mask();
        }
        return slot;
    }

    void Build(const std::vector<Entry>& entries) {
        std::size_t size = 64;
        while (size < entries.size() * 2) {
            size *= 2;
        }
        slots.assign(size, kEmpty);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            slots[Probe(entries, entries[i].first)] = i;
        }
    }
};

StringMap::StringMap(const StringMap& other) : m_entries(other.m_entries) {
    if (other.m_index) {
        m_index = std::make_unique<Index>(*other.m_index);
    }
}

StringMap& StringMap::operator=(const StringMap& other) {
    if (this != &other) {
        m_entries = other.m_entries;
        m_index = other.m_index ? std::make_unique<Index>(*other.m_index) : nullptr;
    }
    return *this;
}

StringMap::StringMap(StringMap&&) noexcept = default;
StringMap& StringMap::operator=(StringMap&&) noexcept = default;
StringMap::StringMap() = default;
StringMap::~StringMap() = default;

std::ptrdiff_t StringMap::IndexOf(std::wstring_view key) const {
    if (m_index) {
        const std::size_t pos = m_index->slots[m_index->Probe(m_entries, key)];
        return pos == Index::kEmpty ? -1 : static_cast<std::ptrdiff_t>(pos);
    }
    // The length test stays inline: most keys of an element differ in length.
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const std::wstring& k = m_entries[i].first;
        if (k.size() == key.size() && EqualsNoCase(k, key)) {
            return static_cast<std::ptrdiff_t>(i);
        }
    }
    return -1;
}

void StringMap::RebuildIndex() {
    if (m_entries.size() <= kIndexThreshold) {
        m_index.reset();
        return;
    }
    if (!m_index) {
        m_index = std::make_unique<Index>();
    }
    m_index->Build(m_entries);
}

void StringMap::Set(std::wstring_view key, std::wstring_view value) {
    const std::ptrdiff_t pos = IndexOf(key);
    if (pos >= 0) {
        m_entries[pos].second.assign(value);
        return;
    }
    Append(std::wstring(key), std::wstring(value));
}

void StringMap::SetMoved(std::wstring&& key, std::wstring&& value) {
    const std::ptrdiff_t pos = IndexOf(key);
    if (pos >= 0) {
        m_entries[pos].second = std::move(value);
        return;
    }
    Append(std::move(key), std::move(value));
}

void StringMap::Append(std::wstring&& key, std::wstring&& value) {
    m_entries.emplace_back(std::move(key), std::move(value));
    // Keep the load factor at most one half; otherwise one more slot is enough.
    if (!m_index || m_entries.size() * 2 > m_index->slots.size()) {
        RebuildIndex();
    } else {
        m_index->slots[m_index->Probe(m_entries, m_entries.back().first)] = m_entries.size() - 1;
    }
}

const std::wstring* StringMap::Find(std::wstring_view key) const {
    const std::ptrdiff_t pos = IndexOf(key);
    return pos >= 0 ? &m_entries[pos].second : nullptr;
}

std::wstring* StringMap::Find(std::wstring_view key) {
    const std::ptrdiff_t pos = IndexOf(key);
    return pos >= 0 ? &m_entries[pos].second : nullptr;
}

bool StringMap::Lookup(std::wstring_view key, std::wstring& value) const {
    const std::wstring* found = Find(key);
    if (found == nullptr) {
        return false;
    }
    value = *found;
    return true;
}

bool StringMap::Remove(std::wstring_view key) {
    const std::ptrdiff_t pos = IndexOf(key);
    if (pos < 0) {
        return false;
    }
    m_entries.erase(m_entries.begin() + pos);
    // Later entries moved down one position; erasing is linear anyway.
    if (m_index) {
        RebuildIndex();
    }
    return true;
}

void StringMap::Clear() {
    m_entries.clear();
    m_index.reset();
}

bool StringMap::operator==(const StringMap& other) const {
    if (m_entries.size() != other.m_entries.size()) {
        return false;
    }
    // Keys are unique without case in both maps, so equal sizes and every key found with
    // an equal value means the same contents.
    for (const auto& [key, value] : m_entries) {
        const std::wstring* theirs = other.Find(key);
        if (theirs == nullptr || *theirs != value) {
            return false;
        }
    }
    return true;
}

} // namespace plat
