#pragma once
// StringTable: the variable-length strings a structure's DT_PT_STR cells refer to. A cell
// holds a 32-bit handle (0: none), never an address, so rows stay plain bytes that can be
// copied, moved and compared; strings never move while their handles live.
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

class StringTable {
public:
    // A new string; 0 when the table cannot hold more (2^32 - 1 live strings).
    std::uint32_t New(std::wstring_view text);
    // The string a handle names, or null for 0, a released or an unknown handle.
    std::wstring* Get(std::uint32_t handle);
    const std::wstring* Get(std::uint32_t handle) const;
    // Frees a string; its handle may be given out again. Unknown handles are ignored.
    void Release(std::uint32_t handle);
    void Clear();
    std::size_t Live() const { return m_strings.size() - m_free.size(); }

private:
    std::deque<std::wstring> m_strings; // handle h is index h - 1
    std::vector<bool> m_released;
    std::vector<std::uint32_t> m_free;
};

} // namespace orvo
