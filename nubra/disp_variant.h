#pragma once
// The value that crosses dispatch by name when a script (or the host) calls a method
// through a variant argument list. Loosely the VBScript variant: empty, null, boolean,
// 32/64-bit integers, double, string, object (held weakly), array and by-reference.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "nubra/ixo_ref.h"

class IXO;

namespace orvo {

enum class VarType : std::uint8_t {
    Empty,
    Null,
    Bool,
    Int32,
    Int64,
    Double,
    String,
    Object,
    Array,
    ByRef
};

class DispVariant;
using DispArray = std::vector<DispVariant>;

class DispVariant {
public:
    struct NullValue {
        bool operator==(const NullValue&) const = default;
    };

    DispVariant() = default;
    DispVariant(bool v) : m_value(v) {}
    DispVariant(std::int32_t v) : m_value(v) {}
    DispVariant(std::int64_t v) : m_value(v) {}
    DispVariant(double v) : m_value(v) {}
    DispVariant(std::wstring v) : m_value(std::move(v)) {}
    DispVariant(const wchar_t* v) : m_value(std::wstring(v ? v : L"")) {}
    DispVariant(IXO* object);
    DispVariant(IXORef object) : m_value(std::move(object)) {}
    DispVariant(DispArray items) : m_value(std::move(items)) {}

    static DispVariant Null() {
        DispVariant v;
        v.m_value = NullValue{};
        return v;
    }
    // Refers to another variant (a script variable passed ByRef); the target must outlive
    // this value.
    static DispVariant ByRef(DispVariant* target) {
        DispVariant v;
        v.m_value = target;
        return v;
    }

    VarType Type() const { return static_cast<VarType>(m_value.index()); }
    bool IsEmpty() const { return Type() == VarType::Empty; }
    bool IsNull() const { return Type() == VarType::Null; }

    // Follows by-reference values to the variant they name.
    const DispVariant& Deref() const;
    DispVariant& Deref();

    // Direct access; each returns null when the variant (after Deref) holds another type.
    const bool* AsBool() const { return std::get_if<bool>(&Deref().m_value); }
    const std::int32_t* AsInt32() const { return std::get_if<std::int32_t>(&Deref().m_value); }
    const std::int64_t* AsInt64() const { return std::get_if<std::int64_t>(&Deref().m_value); }
    const double* AsDouble() const { return std::get_if<double>(&Deref().m_value); }
    const std::wstring* AsString() const { return std::get_if<std::wstring>(&Deref().m_value); }
    const DispArray* AsArray() const { return std::get_if<DispArray>(&Deref().m_value); }
    // The object, or null when this is no object or the object has been destroyed.
    IXO* AsObject() const;

    // Conversions in the VBScript manner; false when the value does not convert (a string
    // that is not a number, Null, an object, an out-of-range number).
    bool ToBool(bool& out) const;
    bool ToInt64(std::int64_t& out) const;
    bool ToDouble(double& out) const;
    bool ToText(std::wstring& out) const;

    bool operator==(const DispVariant& other) const { return m_value == other.m_value; }

private:
    std::variant<std::monostate,
                 NullValue,
                 bool,
                 std::int32_t,
                 std::int64_t,
                 double,
                 std::wstring,
                 IXORef,
                 DispArray,
                 DispVariant*>
        m_value;
};

} // namespace orvo
