#pragma once
// A run of `size` values made for one call. Calls pass a few arguments: up to N of them live
// in the buffer itself, built one by one as they are added (no zeroing of unused room, no
// allocation); longer runs go to the heap.
#include <cstddef>
#include <new>
#include <span>
#include <utility>
#include <vector>

namespace vbs {

template <class T, std::size_t N> class InlineBuffer {
public:
    InlineBuffer() = default;
    InlineBuffer(const InlineBuffer&) = delete;
    InlineBuffer& operator=(const InlineBuffer&) = delete;
    ~InlineBuffer() {
        for (std::size_t i = m_inline; i > 0; --i)
            Slot(i - 1)->~T();
    }

    // Room for `count` values, made on the heap when there are more than fit inside.
    void Reserve(std::size_t count) {
        if (count > N)
            m_heap.reserve(count);
    }
    void PushBack(T value) {
        if (m_heap.capacity() > 0) {
            m_heap.push_back(std::move(value));
            return;
        }
        new (Slot(m_inline)) T(std::move(value));
        ++m_inline;
    }
    std::span<T> Items() {
        return m_heap.capacity() > 0 ? std::span<T>(m_heap) : std::span<T>(Slot(0), m_inline);
    }

private:
    T* Slot(std::size_t i) { return std::launder(reinterpret_cast<T*>(m_storage) + i); }

    alignas(T) unsigned char m_storage[N * sizeof(T)];
    std::size_t m_inline = 0;
    std::vector<T> m_heap;
};

} // namespace vbs
