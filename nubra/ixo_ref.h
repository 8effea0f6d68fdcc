#pragma once
// A weak reference to a registry object. Scripts and posted work keep these instead of raw
// pointers: once the object is destroyed, Get() answers null instead of a dangling address.
#include <memory>

class IXO;

namespace orvo {

class IXORef {
public:
    IXORef() = default;
    explicit IXORef(std::shared_ptr<IXO*> cell) : m_cell(std::move(cell)) {}

    IXO* Get() const { return m_cell ? *m_cell : nullptr; }
    bool Alive() const { return Get() != nullptr; }
    // Null refs and refs to the same object (alive or not) compare equal.
    bool operator==(const IXORef& other) const { return m_cell == other.m_cell; }

private:
    std::shared_ptr<IXO*> m_cell;
};

} // namespace orvo
