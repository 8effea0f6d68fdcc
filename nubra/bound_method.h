#pragma once
// A method resolved by name, bound to the object it was resolved on. Calling it costs one
// indirect call: the thunk casts the object to its class and calls the member function.
#include <utility>

class IXO;

namespace orvo {

template <class Sig> class BoundMethod;

template <class R, class... A> class BoundMethod<R(A...)> {
public:
    using Thunk = R (*)(IXO*, A...);

    BoundMethod() = default;
    BoundMethod(IXO* self, Thunk thunk) : m_self(self), m_thunk(thunk) {}

    explicit operator bool() const { return m_thunk != nullptr && m_self != nullptr; }
    IXO* Object() const { return m_self; }
    Thunk GetThunk() const { return m_thunk; }

    R operator()(A... args) const { return m_thunk(m_self, std::forward<A>(args)...); }

private:
    IXO* m_self = nullptr;
    Thunk m_thunk = nullptr;
};

} // namespace orvo
