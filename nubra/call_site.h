#pragma once
// Call-site caches. A call site that reaches a service method by name resolves it once and
// keeps the result; when the registry changes (its generation moves) the next call resolves
// again, so a service registered after the first call is still found.
//
//   static orvo::ServiceCall<IXO*(const wchar_t*)> s_find(L"AttributeSet", L"GetAttributeByName");
//   if (auto find = s_find.Get()) find(name);
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "nubra/ixo.h"

namespace orvo {

template <class Sig> class ServiceCall {
public:
    constexpr ServiceCall(const wchar_t* service, const wchar_t* method)
        : m_service(service), m_method(method) {}

    BoundMethod<Sig> Get() {
        const std::uint64_t generation = IXO::Generation();
        if (generation != m_generation) {
            m_generation = generation;
            IXO* object = IXO::FindInstance(m_service);
            m_bound = object ? object->GetFunction<Sig>(m_method) : BoundMethod<Sig>{};
        }
        return m_bound;
    }

private:
    const wchar_t* m_service;
    const wchar_t* m_method;
    std::uint64_t m_generation = 0;
    BoundMethod<Sig> m_bound;
};

// A method looked up by name on whatever object the call site is given. Dispatch maps are
// per class and never change, so the entry is reused while objects of the same class come.
// The class is told by the object's virtual table pointer (the first word of every IXO under
// the Itanium C++ ABI our compilers use): a load and a compare per call instead of a virtual
// call. Mid-construction an object carries its base's table, and gets its base's map, as a
// virtual call would give it.
template <class Sig> class MethodCall {
public:
    explicit constexpr MethodCall(const wchar_t* method) : m_method(method) {}

    BoundMethod<Sig> Get(IXO* object) {
        if (!object)
            return {};
        const void* type = TypeOf(object);
        if (type != m_type) {
            m_type = type;
            const DispEntry* e = object->GetDispatchMap().Find(m_method);
            m_bound = e && e->kind == DispEntry::Kind::Method ? object->Bind<Sig>(e->method)
                                                              : BoundMethod<Sig>{};
        }
        return m_bound.On(object); // empty, and false, when the class has no such method
    }

private:
    static const void* TypeOf(const IXO* object) {
        static_assert(std::is_polymorphic_v<IXO>);
        const void* table = nullptr;
        std::memcpy(&table, static_cast<const void*>(object), sizeof table);
        return table;
    }

    const wchar_t* m_method;
    const void* m_type = nullptr;
    BoundMethod<Sig> m_bound; // the signature is checked once per class, not per call
};

} // namespace orvo
