#pragma once
// How native parameter and result types meet DispVariant when a script invokes a method.
// A parameter type is "scriptable" when a variant converts to it; methods with other
// parameter types (raw out-pointers, element maps) remain callable natively only.
#include <cmath>
#include <concepts>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>

#include "nubra/disp_variant.h"

class IXO;

namespace orvo {

enum class DispStatus {
    Ok,
    UnknownName,   // the object publishes nothing of that name
    NotScriptable, // the entry has parameter or result types a variant cannot carry
    WrongArgCount,
    TypeMismatch,
    NullUse,   // Null passed where a value is needed
    ReadOnly,  // property put on a property without setter
    WriteOnly, // property get on a property without getter
    DeadObject // the object is gone
};

namespace detail {

template <class T> using Bare = std::remove_cvref_t<T>;

// Pointers to classes only declared so far (a font type, say) are simply not IXO pointers.
template <class U>
concept Complete = requires {
    sizeof(U);
};

template <class T>
concept IXOPointer = std::is_pointer_v<T> && Complete<std::remove_cv_t<std::remove_pointer_t<T>>> &&
    std::is_base_of_v<IXO, std::remove_cv_t<std::remove_pointer_t<T>>>;

// The value a parameter is loaded into before the call.
template <class P> struct ArgStorage { using type = Bare<P>; };
template <> struct ArgStorage<const wchar_t*> { using type = std::wstring; };
template <> struct ArgStorage<std::wstring_view> { using type = std::wstring; };

template <class S>
concept StorableArg =
    std::is_same_v<S, bool> ||(std::is_integral_v<S> && !std::is_same_v<S, wchar_t>) ||
    std::is_floating_point_v<S> || std::is_same_v<S, std::wstring> ||
    std::is_same_v<S, DispVariant> || std::is_same_v<S, DispArray> || IXOPointer<S>;

template <class P>
concept ScriptParam = StorableArg<typename ArgStorage<P>::type> &&
    (!std::is_pointer_v<P> || std::is_same_v<P, const wchar_t*> || IXOPointer<P>);

template <class R>
concept ScriptResult = std::is_void_v<R> || StorableArg<Bare<R>> || std::is_same_v < Bare<R>,
const wchar_t* > ;

inline DispStatus Missing(const DispVariant& v) {
    return v.IsNull() ? DispStatus::NullUse : DispStatus::TypeMismatch;
}

template <class S> DispStatus Load(const DispVariant& in, S& out) {
    const DispVariant& v = in.Deref();
    if constexpr (std::is_same_v<S, DispVariant>) {
        out = v;
    } else if constexpr (std::is_same_v<S, bool>) {
        if (!v.ToBool(out))
            return Missing(v);
    } else if constexpr (std::is_integral_v<S>) {
        std::int64_t n = 0;
        if (!v.ToInt64(n))
            return Missing(v);
        if constexpr (std::is_unsigned_v<S>) {
            // Unsigned parameters take the bit pattern of negative 32-bit values, as the
            // original callers passed handles and colours through signed script numbers.
            if (n < 0 && n >= std::numeric_limits<std::int32_t>::min() && sizeof(S) == 4)
                n = static_cast<std::uint32_t>(static_cast<std::int32_t>(n));
            if (n < 0 || static_cast<std::uint64_t>(n) > std::numeric_limits<S>::max())
                return DispStatus::TypeMismatch;
        } else {
            if (n < std::numeric_limits<S>::min() || n > std::numeric_limits<S>::max())
                return DispStatus::TypeMismatch;
        }
        out = static_cast<S>(n);
    } else if constexpr (std::is_floating_point_v<S>) {
        double d = 0;
        if (!v.ToDouble(d))
            return Missing(v);
        out = static_cast<S>(d);
    } else if constexpr (std::is_same_v<S, std::wstring>) {
        if (!v.ToText(out))
            return Missing(v);
    } else if constexpr (std::is_same_v<S, DispArray>) {
        const DispArray* a = v.AsArray();
        if (!a)
            return DispStatus::TypeMismatch;
        out = *a;
    } else if constexpr (IXOPointer<S>) {
        if (v.IsEmpty()) {
            out = nullptr;
            return DispStatus::Ok;
        }
        if (v.Type() != VarType::Object)
            return DispStatus::TypeMismatch;
        IXO* object = v.AsObject();
        if (!object) {
            out = nullptr; // Nothing, or an object that has gone away
            return DispStatus::Ok;
        }
        out = dynamic_cast<S>(object);
        if (!out)
            return DispStatus::TypeMismatch;
    }
    return DispStatus::Ok;
}

template <class S> DispVariant ToVariant(S&& value) {
    using T = Bare<S>;
    if constexpr (std::is_same_v<T, DispVariant>) {
        return std::forward<S>(value);
    } else if constexpr (std::is_same_v<T, bool>) {
        return DispVariant(static_cast<bool>(value));
    } else if constexpr (std::is_integral_v<T>) {
        if constexpr (sizeof(T) < 4 || (sizeof(T) == 4 && std::is_signed_v<T>)) {
            return DispVariant(static_cast<std::int32_t>(value));
        } else {
            if (value <= static_cast<T>(std::numeric_limits<std::int32_t>::max()) &&
                (std::is_unsigned_v<T> ||
                 value >= static_cast<T>(std::numeric_limits<std::int32_t>::min())))
                return DispVariant(static_cast<std::int32_t>(value));
            return DispVariant(static_cast<std::int64_t>(value));
        }
    } else if constexpr (std::is_floating_point_v<T>) {
        return DispVariant(static_cast<double>(value));
    } else if constexpr (std::is_same_v<T, std::wstring> || std::is_same_v<T, const wchar_t*>) {
        return DispVariant(value);
    } else if constexpr (std::is_same_v<T, DispArray>) {
        return DispVariant(DispArray(std::forward<S>(value)));
    } else {
        static_assert(IXOPointer<T>);
        return DispVariant(static_cast<IXO*>(value));
    }
}

template <class P, class S> decltype(auto) Pass(S& stored) {
    if constexpr (std::is_same_v<P, const wchar_t*>)
        return stored.c_str();
    else if constexpr (std::is_same_v<P, std::wstring_view>)
        return std::wstring_view(stored);
    else if constexpr (std::is_lvalue_reference_v<P>)
        return static_cast<P>(stored);
    else
        return static_cast<Bare<P>&&>(stored);
}

// Non-const reference parameters are out-parameters: their new value goes back to the
// variable the script passed.
template <class P, class S> void StoreBack(S& stored, DispVariant& arg) {
    if constexpr (std::is_lvalue_reference_v<P> && !std::is_const_v<std::remove_reference_t<P>>) {
        if constexpr (std::is_same_v<S, DispVariant>)
            arg.Deref() = stored;
        else
            arg.Deref() = ToVariant(stored);
    }
}

} // namespace detail
} // namespace orvo
