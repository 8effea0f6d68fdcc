#pragma once
// Call-site caches. A call site that reaches a service method by name resolves it once and
// keeps the result; when the registry changes (its generation moves) the next call resolves
// again, so a service registered after the first call is still found.
//
//   static orvo::ServiceCall<IXO*(const wchar_t*)> s_find(L"AttributeSet", L"GetAttributeByName");
//   if (auto find = s_find.Get()) find(name);
#include <cstdint>

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
template <class Sig> class MethodCall {
public:
    explicit constexpr MethodCall(const wchar_t* method) : m_method(method) {}

    BoundMethod<Sig> Get(IXO* object) {
        if (!object)
            return {};
        const DispatchMap* map = &object->GetDispatchMap();
        if (map != m_map) {
            m_map = map;
            const DispEntry* e = map->Find(m_method);
            m_thunk = e && e->kind == DispEntry::Kind::Method ? object->Bind<Sig>(e->method)
                                                              : BoundMethod<Sig>{};
        }
        return m_thunk ? BoundMethod<Sig>(object, m_thunk.GetThunk()) : BoundMethod<Sig>{};
    }

private:
    const wchar_t* m_method;
    const DispatchMap* m_map = nullptr;
    BoundMethod<Sig> m_thunk; // the signature is checked once per class, not per call
};

} // namespace orvo
