#pragma once
// A method resolved by name, bound to the object it was resolved on. A non-const member
// function is called through its member pointer, which costs what a virtual call costs; other
// entries (const members, data-member properties) go through a thunk that casts the object
// to its class.
#include <utility>

class IXO;

namespace orvo {

template <class Sig> class BoundMethod;

template <class R, class... A> class BoundMethod<R(A...)> {
public:
    using Thunk = R (*)(IXO*, A...);
    using Member = R (IXO::*)(A...);

    BoundMethod() = default;
    BoundMethod(IXO* self, Thunk thunk, Member member = nullptr)
        : m_self(self), m_thunk(thunk), m_member(member) {}

    explicit operator bool() const { return m_thunk != nullptr && m_self != nullptr; }
    IXO* Object() const { return m_self; }
    // The same method on another object of the same class.
    BoundMethod On(IXO* self) const { return BoundMethod(self, m_thunk, m_member); }

    R operator()(A... args) const {
        if (m_member)
            return (m_self->*m_member)(std::forward<A>(args)...);
        return m_thunk(m_self, std::forward<A>(args)...);
    }

private:
    IXO* m_self = nullptr;
    Thunk m_thunk = nullptr;
    Member m_member = nullptr;
};

} // namespace orvo
