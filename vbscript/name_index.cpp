#include "vbscript/name_index.h"

#include <cwctype>

namespace vbs {

wchar_t FoldNameChar(wchar_t c) {
    if (c < 0x80)
        return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + (L'a' - L'A')) : c;
    return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
}

std::uint32_t NameIndex::Hash(std::wstring_view name) {
    std::uint32_t h = 2166136261u; // FNV-1a over the folded characters
    for (wchar_t c : name) {
        h ^= static_cast<std::uint32_t>(FoldNameChar(c));
        h *= 16777619u;
    }
    return h;
}

bool NameIndex::Matches(std::int32_t index, std::wstring_view name) const {
    const Span span = m_spans[static_cast<std::size_t>(index)];
    if (span.length != name.size())
        return false;
    const wchar_t* stored = m_chars.data() + span.offset;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (stored[i] != FoldNameChar(name[i]))
            return false;
    }
    return true;
}

std::size_t NameIndex::SlotFor(std::wstring_view name, std::uint32_t hash) const {
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        const Slot& slot = m_slots[at];
        if (slot.index < 0 || (slot.hash == hash && Matches(slot.index, name)))
            return at;
    }
}

std::int32_t NameIndex::Find(std::wstring_view name) const {
    if (m_slots.empty())
        return -1;
    return m_slots[SlotFor(name, Hash(name))].index;
}

std::pair<std::int32_t, bool> NameIndex::Add(std::wstring_view name) {
    // At most half full, so probes stay short and an empty slot always ends them.
    if ((m_spans.size() + 1) * 2 > m_slots.size())
        Grow();
    const std::uint32_t hash = Hash(name);
    Slot& slot = m_slots[SlotFor(name, hash)];
    if (slot.index >= 0)
        return {slot.index, false};
    slot = {hash, static_cast<std::int32_t>(m_spans.size())};
    m_spans.push_back(
        {static_cast<std::uint32_t>(m_chars.size()), static_cast<std::uint32_t>(name.size())});
    for (wchar_t c : name)
        m_chars.push_back(FoldNameChar(c));
    return {slot.index, true};
}

std::wstring_view NameIndex::NameOf(std::int32_t index) const {
    const Span span = m_spans[static_cast<std::size_t>(index)];
    return std::wstring_view(m_chars).substr(span.offset, span.length);
}

void NameIndex::Grow() {
    std::vector<Slot> old = std::move(m_slots);
    m_slots.assign(old.empty() ? 16 : old.size() * 2, Slot{});
    const std::size_t mask = m_slots.size() - 1;
    for (const Slot& slot : old) {
        if (slot.index < 0)
            continue;
        std::size_t at = slot.hash & mask;
        while (m_slots[at].index >= 0)
            at = (at + 1) & mask;
        m_slots[at] = slot;
    }
}

} // namespace vbs
