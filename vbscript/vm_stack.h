#pragma once
// The VM's working stacks (operands, argument places, references). Like std::vector, but
// pushes and pops are always inlined into the dispatch loop, which is too large for the
// compiler to inline vector's members on its own; growing stays out of line.
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>
#include <utility>

namespace vbs {

template <class T> class VmStack {
public:
    VmStack() = default;
    VmStack(const VmStack&) = delete;
    VmStack& operator=(const VmStack&) = delete;
    ~VmStack() {
        resize(0);
        std::free(m_data);
    }

    void swap(VmStack& other) noexcept {
        std::swap(m_data, other.m_data);
        std::swap(m_size, other.m_size);
        std::swap(m_capacity, other.m_capacity);
    }

    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    T* data() { return m_data; }
    T* begin() { return m_data; }
    T* end() { return m_data + m_size; }
    T& back() { return m_data[m_size - 1]; }
    T& operator[](std::size_t i) { return m_data[i]; }

    [[gnu::always_inline]] void push_back(T&& value) {
        if (m_size == m_capacity) [[unlikely]] {
            T kept(std::move(value)); // `value` may live in this stack
            Grow();
            new (m_data + m_size) T(std::move(kept));
        } else {
            new (m_data + m_size) T(std::move(value));
        }
        ++m_size;
    }
    [[gnu::always_inline]] void push_back(const T& value) { push_back(T(value)); }
    [[gnu::always_inline]] void emplace_back() { push_back(T()); }
    [[gnu::always_inline]] void pop_back() { m_data[--m_size].~T(); }
    // Drops the top `count` entries.
    [[gnu::always_inline]] void drop(std::size_t count) {
        while (count-- > 0)
            pop_back();
    }
    void resize(std::size_t size) {
        while (m_size > size)
            pop_back();
        while (m_size < size)
            emplace_back();
    }
    void insert(T* at, T value) {
        const std::size_t index = static_cast<std::size_t>(at - m_data);
        push_back(std::move(value));
        for (std::size_t i = m_size - 1; i > index; --i)
            std::swap(m_data[i], m_data[i - 1]);
    }
    void erase(T* at) {
        for (T* p = at; p + 1 < end(); ++p)
            *p = std::move(p[1]);
        pop_back();
    }

private:
    [[gnu::noinline]] void Grow() {
        const std::size_t capacity = m_capacity ? m_capacity * 2 : 64;
        T* grown = static_cast<T*>(std::malloc(capacity * sizeof(T)));
        if (!grown)
            throw std::bad_alloc();
        for (std::size_t i = 0; i < m_size; ++i) {
            new (grown + i) T(std::move(m_data[i]));
            m_data[i].~T();
        }
        std::free(m_data);
        m_data = grown;
        m_capacity = capacity;
    }

    T* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

} // namespace vbs
