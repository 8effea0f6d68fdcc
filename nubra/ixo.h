#pragma once
// IXO: the base of every object and service, and the process-wide registry of named objects.
// Element tags are registered with factories (each lookup makes a new object), services by
// instance (each lookup answers the same object). Names compare without case.
//
// Objects publish methods and properties by name through their class's dispatch map.
// Native callers ask for a method with the exact signature they expect and get null when
// the name is missing or declared differently; scripts call the same entries with variants.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "nubra/bound_method.h"
#include "nubra/dispatch_declaration.h"
#include "nubra/dispatch_map.h"
#include "nubra/ixo_ref.h"

namespace orvo {
enum InvokeKind : unsigned { InvokeMethod = 1, InvokeGet = 2, InvokePut = 4 };
template <class Sig> class MethodCall;
template <class Sig> class ServiceCall;
class RegistrySnapshot;
} // namespace orvo

class IXO {
public:
    using Factory = IXO* (*)();

    IXO() = default;
    // A copy is a new object: it does not share the original's weak-reference cell.
    IXO(const IXO& other) : m_kindMarks(other.m_kindMarks) {}
    IXO& operator=(const IXO&) { return *this; }
    virtual ~IXO();

    // The key a class answers to in the registry ("Element", "Parser", ...).
    virtual const wchar_t* GetIXOKey() const { return L"IXO"; }

    static const orvo::DispatchMap& ClassDispatch();
    virtual const orvo::DispatchMap& GetDispatchMap() const { return ClassDispatch(); }

    // ---- registry -------------------------------------------------------------------------
    // Registering a name again replaces the earlier registration. Both return 1; a null
    // factory or instance registers nothing and returns 0. Instances are held weakly: a
    // destroyed instance leaves the registry with its last breath and is never handed out.
    static int Register(std::wstring_view name, Factory factory);
    static int Register(std::wstring_view name, IXO* instance);
    static bool Unregister(std::wstring_view name);
    // The instance registered under `name`, else a new object from its factory (owned by the
    // caller), else null.
    static IXO* GetIXO(std::wstring_view name);
    // The instance registered under `name`; null for factories and unknown names.
    static IXO* FindInstance(std::wstring_view name);
    // The factory registered under `name`; null for instances and unknown names.
    static Factory FindFactory(std::wstring_view name);
    static bool IsRegistered(std::wstring_view name);
    // What `name` is registered as, in one lookup: a factory, an instance, or neither.
    struct Registered {
        Factory factory = nullptr;
        orvo::IXORef instance;
    };
    static Registered Lookup(std::wstring_view name);
    // The registered instances as (name, object) pairs, sorted by name without case.
    static std::vector<std::pair<std::wstring, IXO*>> Instances();
    // Grows on every change to the registry; call-site caches compare it to re-resolve.
    static std::uint64_t Generation() { return s_generation; }
    // Lets tests invalidate every call-site cache without changing the registry.
    static void BumpGeneration();

    // ---- dispatch by name -----------------------------------------------------------------
    const orvo::DispEntry* FindDispEntry(std::wstring_view name) const {
        return GetDispatchMap().Find(name);
    }

    // The method `name` bound to this object when it is declared as R(A...); else empty.
    template <class Sig> orvo::BoundMethod<Sig> GetFunction(std::wstring_view name) {
        const orvo::DispEntry* e = FindDispEntry(name);
        if (!e || e->kind != orvo::DispEntry::Kind::Method)
            return {};
        return Bind<Sig>(e->method);
    }

    // The getter (get != 0) or setter of property `name` when declared as Sig. Data-member
    // properties of type T have getter T() and setter void(const T&).
    template <class Sig> orvo::BoundMethod<Sig> GetSetFunction(std::wstring_view name, int get) {
        const orvo::DispEntry* e = FindDispEntry(name);
        if (!e || e->kind != orvo::DispEntry::Kind::Property)
            return {};
        return Bind<Sig>(get ? e->getter : e->setter);
    }

    // Script-style call: `kind` says how the name is used (a call, a property read, a
    // property write whose value is the last argument).
    orvo::DispStatus Invoke(std::wstring_view name,
                            unsigned kind,
                            std::span<orvo::DispVariant> args,
                            orvo::DispVariant& result);
    static orvo::DispStatus InvokeEntry(IXO* self,
                                        const orvo::DispEntry& entry,
                                        unsigned kind,
                                        std::span<orvo::DispVariant> args,
                                        orvo::DispVariant& result);

    // Whether the registry holds this object as a service instance.
    bool IsRegisteredInstance() const { return m_registrations != 0; }

    // Marks a higher layer gives its most tested base classes: asking for one costs a load,
    // where dynamic_cast walks the class hierarchy comparing type names.
    bool HasKindMark(std::uint8_t mark) const { return (m_kindMarks & mark) != 0; }

    // Weak reference for holders that may outlive the object. Empty once the object has
    // let its weak references go.
    orvo::IXORef WeakRef() const;

protected:
    void SetKindMark(std::uint8_t mark) { m_kindMarks |= mark; }

    // Turns every weak reference to this object null and refuses new ones: an object being
    // torn down is dead to scripts and posted work before its memory goes.
    void ReleaseWeakRefs();

private:
    template <class Sig> friend class orvo::MethodCall;
    friend class orvo::RegistrySnapshot;

    // A declared part bound to this object when it has exactly the signature Sig.
    template <class Sig> orvo::BoundMethod<Sig> Bind(const orvo::DispPart& part) {
        if (!part.thunk || *part.signature != typeid(Sig))
            return {};
        using Bound = orvo::BoundMethod<Sig>;
        return Bound(this,
                     reinterpret_cast<typename Bound::Thunk>(part.thunk),
                     orvo::FromRawMember<typename Bound::Member>(part.member));
    }
    void ForgetRegistrations();

    static std::uint64_t s_generation; // read on every cached call, so kept out of the registry
    mutable std::shared_ptr<IXO*> m_weakCell;
    unsigned m_registrations = 0; // names this object is registered under as an instance
    bool m_weakReleased = false;
    std::uint8_t m_kindMarks = 0;
};

namespace orvo {

// Registers T's factory under its key. The key must be T's own (ORVO_KEY in T itself), not
// one inherited from a base class.
template <class T> int RegisterFactory() {
    static_assert(std::is_same_v<decltype(&T::GetIXOKey), const wchar_t* (T::*)() const>,
                  "the class must declare its own key with ORVO_KEY");
    return ::IXO::Register(T::kIXOKey, []() -> ::IXO* { return new T(); });
}

// Registers the one instance of service T under its key.
template <class T> int RegisterInstance(T* instance) {
    static_assert(std::is_same_v<decltype(&T::GetIXOKey), const wchar_t* (T::*)() const>,
                  "the class must declare its own key with ORVO_KEY");
    return ::IXO::Register(T::kIXOKey, instance);
}

} // namespace orvo
