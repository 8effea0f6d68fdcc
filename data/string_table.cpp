#include "data/string_table.h"

#include <limits>

namespace orvo {

std::uint32_t StringTable::New(std::wstring_view text) {
    if (!m_free.empty()) {
        const std::uint32_t handle = m_free.back();
        m_free.pop_back();
        m_released[handle - 1] = false;
        m_strings[handle - 1].assign(text);
        return handle;
    }
    if (m_strings.size() >= std::numeric_limits<std::uint32_t>::max())
        return 0;
    m_strings.emplace_back(text);
    m_released.push_back(false);
    return static_cast<std::uint32_t>(m_strings.size());
}

std::wstring* StringTable::Get(std::uint32_t handle) {
    if (handle < 1 || handle > m_strings.size() || m_released[handle - 1])
        return nullptr;
    return &m_strings[handle - 1];
}

const std::wstring* StringTable::Get(std::uint32_t handle) const {
    return const_cast<StringTable*>(this)->Get(handle);
}

void StringTable::Release(std::uint32_t handle) {
    if (!Get(handle))
        return;
    m_strings[handle - 1].clear();
    m_strings[handle - 1].shrink_to_fit();
    m_released[handle - 1] = true;
    m_free.push_back(handle);
}

void StringTable::Clear() {
    m_strings.clear();
    m_released.clear();
    m_free.clear();
}

} // namespace orvo
