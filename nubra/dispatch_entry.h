#pragma once
// One name in a class's dispatch map: a method, or a property with getter and/or setter.
// Each part keeps a typed thunk with the exact signature it was declared with (native
// callers must ask for that signature) and a variant invoker for scripts.
#include <cstddef>
#include <span>
#include <tuple>
#include <typeinfo>
#include <utility>

#include "nubra/disp_convert.h"

class IXO;

namespace orvo {

using RawThunk = void (*)();
using RawMember = void (IXO::*)();
using VariantInvoker = DispStatus (*)(IXO* self, std::span<DispVariant> args, DispVariant& result);

struct DispPart {
    RawThunk thunk = nullptr;
    const std::type_info* signature = nullptr; // typeid of R(A...)
    VariantInvoker invoke = nullptr;           // null when a variant cannot carry the types
    // A non-const member function as a member of IXO (R (IXO::*)(A...) stored erased), for
    // calls without the thunk; null for other parts.
    RawMember member = nullptr;
    explicit operator bool() const { return thunk != nullptr; }
};

struct DispEntry {
    enum class Kind { Method, Property };
    const wchar_t* name = L"";
    Kind kind = Kind::Method;
    DispPart method; // Kind::Method
    DispPart getter; // Kind::Property
    DispPart setter; // Kind::Property; empty for read-only properties
};

namespace detail {

template <class F> struct MemberFn;
#define ORVO_MEMBER_FN(QUAL)                                                                       \
    template <class C, class R, class... A> struct MemberFn<R (C::*)(A...) QUAL> {                 \
        using Class = C;                                                                           \
        using Result = R;                                                                          \
        using Signature = R(A...);                                                                 \
        using Args = std::tuple<A...>;                                                             \
    };
ORVO_MEMBER_FN()
ORVO_MEMBER_FN(const)
ORVO_MEMBER_FN(noexcept)
ORVO_MEMBER_FN(const noexcept)
#undef ORVO_MEMBER_FN

template <auto Fn, class Sig> struct MethodThunk;
template <auto Fn, class R, class... A> struct MethodThunk<Fn, R(A...)> {
    using C = typename MemberFn<decltype(Fn)>::Class;

    static R Call(IXO* self, A... args) {
        return (static_cast<C*>(self)->*Fn)(std::forward<A>(args)...);
    }

    static constexpr bool scriptable = (ScriptParam<A> && ...) && ScriptResult<R>;

    static DispStatus Invoke(IXO* self, std::span<DispVariant> args, DispVariant& result) {
        if (args.size() != sizeof...(A))
            return DispStatus::WrongArgCount;
        return InvokeWith(self, args, result, std::index_sequence_for<A...>{});
    }

    template <std::size_t... I>
    static DispStatus InvokeWith(IXO* self,
                                 [[maybe_unused]] std::span<DispVariant> args,
                                 DispVariant& result,
                                 std::index_sequence<I...>) {
        std::tuple<typename ArgStorage<A>::type...> stored;
        DispStatus status = DispStatus::Ok;
        ((status = status == DispStatus::Ok ? Load(args[I], std::get<I>(stored)) : status), ...);
        if (status != DispStatus::Ok)
            return status;
        C* object = static_cast<C*>(self);
        if constexpr (std::is_void_v<R>) {
            (object->*Fn)(Pass<A>(std::get<I>(stored))...);
            result = DispVariant();
        } else {
            result = ToVariant((object->*Fn)(Pass<A>(std::get<I>(stored))...));
        }
        (StoreBack<A>(std::get<I>(stored), args[I]), ...);
        return DispStatus::Ok;
    }
};

// R (C::*)(A...) as R (IXO::*)(A...): C derives from IXO, so the member pointer converts and
// calls the same member on any object of C.
template <class F> struct AsIXOMember { static constexpr bool value = false; };
#define ORVO_AS_IXO_MEMBER(QUAL)                                                                   \
    template <class C, class R, class... A> struct AsIXOMember<R (C::*)(A...) QUAL> {              \
        static constexpr bool value = true;                                                        \
        using Type = R (IXO::*)(A...);                                                             \
    };
ORVO_AS_IXO_MEMBER()
ORVO_AS_IXO_MEMBER(noexcept)
#undef ORVO_AS_IXO_MEMBER

template <auto Fn> DispPart MakeMethodPart();

} // namespace detail

// A member pointer stored with its type erased, and given its type back. Converting to another
// member pointer type and back gives the original; nothing calls it in between.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wcast-function-type"
template <class M> RawMember ToRawMember(M member) {
    return reinterpret_cast<RawMember>(member);
}
template <class M> M FromRawMember(RawMember member) {
    return reinterpret_cast<M>(member);
}
#pragma GCC diagnostic pop

namespace detail {

template <auto Fn> DispPart MakeMethodPart() {
    using Sig = typename MemberFn<decltype(Fn)>::Signature;
    using Thunk = MethodThunk<Fn, Sig>;
    DispPart part;
    part.thunk = reinterpret_cast<RawThunk>(&Thunk::Call);
    part.signature = &typeid(Sig);
    if constexpr (AsIXOMember<decltype(Fn)>::value)
        part.member = ToRawMember(static_cast<typename AsIXOMember<decltype(Fn)>::Type>(Fn));
    if constexpr (Thunk::scriptable)
        part.invoke = &Thunk::Invoke;
    return part;
}

template <class M> struct MemberData;
template <class C, class T> struct MemberData<T C::*> {
    using Class = C;
    using Type = T;
};

// Data-member properties: the getter returns a copy, the setter takes a const reference.
template <auto Member> struct FieldThunk {
    using C = typename MemberData<decltype(Member)>::Class;
    using T = typename MemberData<decltype(Member)>::Type;

    static T Get(IXO* self) { return static_cast<C*>(self)->*Member; }
    static void Set(IXO* self, const T& value) { static_cast<C*>(self)->*Member = value; }

    static DispStatus InvokeGet(IXO* self, std::span<DispVariant> args, DispVariant& result) {
        if (!args.empty())
            return DispStatus::WrongArgCount;
        result = ToVariant(Get(self));
        return DispStatus::Ok;
    }
    static DispStatus InvokeSet(IXO* self, std::span<DispVariant> args, DispVariant& result) {
        if (args.size() != 1)
            return DispStatus::WrongArgCount;
        T value{};
        DispStatus status = Load(args[0], value);
        if (status == DispStatus::Ok)
            Set(self, value);
        result = DispVariant();
        return status;
    }
};

} // namespace detail

// Entry builders for the dispatch map of class C:
//   orvo::Method<&C::DoParse>(L"DoParse")
//   orvo::Property<&C::m_strName>(L"Name")
//   orvo::PropertyEx<&C::GetText, &C::SetText>(L"Text")    (setter may be nullptr)
template <auto Fn> DispEntry Method(const wchar_t* name) {
    DispEntry e;
    e.name = name;
    e.kind = DispEntry::Kind::Method;
    e.method = detail::MakeMethodPart<Fn>();
    return e;
}

template <auto Member> DispEntry Property(const wchar_t* name) {
    using Thunk = detail::FieldThunk<Member>;
    using T = typename Thunk::T;
    static_assert(detail::StorableArg<T>, "property type must be a variant-compatible type");
    DispEntry e;
    e.name = name;
    e.kind = DispEntry::Kind::Property;
    e.getter = {reinterpret_cast<RawThunk>(&Thunk::Get), &typeid(T()), &Thunk::InvokeGet};
    e.setter = {
        reinterpret_cast<RawThunk>(&Thunk::Set), &typeid(void(const T&)), &Thunk::InvokeSet};
    return e;
}

template <auto Getter, auto Setter = nullptr> DispEntry PropertyEx(const wchar_t* name) {
    DispEntry e;
    e.name = name;
    e.kind = DispEntry::Kind::Property;
    e.getter = detail::MakeMethodPart<Getter>();
    if constexpr (!std::is_null_pointer_v<decltype(Setter)>)
        e.setter = detail::MakeMethodPart<Setter>();
    return e;
}

} // namespace orvo
