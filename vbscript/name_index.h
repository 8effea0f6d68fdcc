#pragma once
// Names to dense numbers (0, 1, 2 ... in the order they were first added), without case. A
// page can hand a script a hundred thousand named objects: the names sit in one buffer and
// the table is one flat array, so adding and finding a name touch a few cache lines and
// allocate nothing once grown.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vbs {

class NameIndex {
public:
    // The number of `name`, or -1.
    std::int32_t Find(std::wstring_view name) const;
    // The number of `name`, and whether it was added just now.
    std::pair<std::int32_t, bool> Add(std::wstring_view name);
    std::size_t Size() const { return m_spans.size(); }
    // Name number `index`, folded to lower case.
    std::wstring_view NameOf(std::int32_t index) const;

private:
    struct Slot {
        std::uint32_t hash = 0;
        std::int32_t index = -1; // -1: empty
    };
    struct Span {
        std::uint32_t offset;
        std::uint32_t length;
    };
    static std::uint32_t Hash(std::wstring_view name);
    bool Matches(std::int32_t index, std::wstring_view name) const;
    std::size_t SlotFor(std::wstring_view name, std::uint32_t hash) const;
    void Grow();

    std::vector<Slot> m_slots; // open addressing, linear probing; size a power of two
    std::vector<Span> m_spans; // by number
    std::wstring m_chars;      // every name, folded, back to back
};

// The case-folded form names are compared in.
wchar_t FoldNameChar(wchar_t c);

} // namespace vbs
