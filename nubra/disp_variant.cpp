#include "nubra/disp_variant.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "nubra/ixo.h"
#include "platform/base/nocase.h"

namespace orvo {

namespace {

// A whole text read as a number (surrounding blanks allowed), as scripts expect when a
// string is passed where a number goes; partial numbers do not convert.
bool ParseNumber(const std::wstring& text, double& out) {
    std::string ascii;
    ascii.reserve(text.size());
    for (wchar_t c : text) {
        if (c > 0x7f)
            return false;
        ascii.push_back(static_cast<char>(c));
    }
    std::size_t b = ascii.find_first_not_of(" \t");
    std::size_t e = ascii.find_last_not_of(" \t");
    if (b == std::string::npos)
        return false;
    const char* first = ascii.data() + b;
    const char* last = ascii.data() + e + 1;
    if (*first == '+')
        ++first;
    auto [p, ec] = std::from_chars(first, last, out);
    return ec == std::errc() && p == last;
}

} // namespace

DispVariant::DispVariant(IXO* object) {
    if (object)
        m_value = object->WeakRef();
    else
        m_value = IXORef{};
}

const DispVariant& DispVariant::Deref() const {
    const DispVariant* v = this;
    // A by-reference chain is short; the bound guards against a cycle built by mistake.
    for (int hops = 0; hops < 16; ++hops) {
        auto* const* target = std::get_if<DispVariant*>(&v->m_value);
        if (!target || !*target)
            return *v;
        v = *target;
    }
    return *v;
}

DispVariant& DispVariant::Deref() {
    return const_cast<DispVariant&>(static_cast<const DispVariant*>(this)->Deref());
}

IXO* DispVariant::AsObject() const {
    const auto* ref = std::get_if<IXORef>(&Deref().m_value);
    return ref ? ref->Get() : nullptr;
}

bool DispVariant::ToBool(bool& out) const {
    const DispVariant& v = Deref();
    switch (v.Type()) {
    case VarType::Empty:
        out = false;
        return true;
    case VarType::Bool:
        out = std::get<bool>(v.m_value);
        return true;
    case VarType::String: {
        const auto& s = std::get<std::wstring>(v.m_value);
        if (plat::EqualsNoCase(s, L"True")) {
            out = true;
            return true;
        }
        if (plat::EqualsNoCase(s, L"False")) {
            out = false;
            return true;
        }
        double d = 0;
        if (!ParseNumber(s, d))
            return false;
        out = d != 0;
        return true;
    }
    default: {
        double d = 0;
        if (!v.ToDouble(d))
            return false;
        out = d != 0;
        return true;
    }
    }
}

bool DispVariant::ToDouble(double& out) const {
    const DispVariant& v = Deref();
    switch (v.Type()) {
    case VarType::Empty:
        out = 0;
        return true;
    case VarType::Bool:
        out = std::get<bool>(v.m_value) ? -1.0 : 0.0; // script True is -1
        return true;
    case VarType::Int32:
        out = std::get<std::int32_t>(v.m_value);
        return true;
    case VarType::Int64:
        out = static_cast<double>(std::get<std::int64_t>(v.m_value));
        return true;
    case VarType::Double:
        out = std::get<double>(v.m_value);
        return true;
    case VarType::String:
        return ParseNumber(std::get<std::wstring>(v.m_value), out);
    default:
        return false;
    }
}

bool DispVariant::ToInt64(std::int64_t& out) const {
    const DispVariant& v = Deref();
    switch (v.Type()) {
    case VarType::Int32:
        out = std::get<std::int32_t>(v.m_value);
        return true;
    case VarType::Int64:
        out = std::get<std::int64_t>(v.m_value);
        return true;
    default: {
        double d = 0;
        if (!v.ToDouble(d))
            return false;
        // Scripts round halves to even when a fraction meets an integer parameter.
        d = std::nearbyint(d);
        if (!(d >= -9223372036854775808.0 && d < 9223372036854775808.0))
            return false;
        out = static_cast<std::int64_t>(d);
        return true;
    }
    }
}

bool DispVariant::ToText(std::wstring& out) const {
    const DispVariant& v = Deref();
    switch (v.Type()) {
    case VarType::Empty:
        out.clear();
        return true;
    case VarType::Bool:
        out = std::get<bool>(v.m_value) ? L"True" : L"False";
        return true;
    case VarType::Int32:
        out = std::to_wstring(std::get<std::int32_t>(v.m_value));
        return true;
    case VarType::Int64:
        out = std::to_wstring(std::get<std::int64_t>(v.m_value));
        return true;
    case VarType::Double: {
        char buf[64];
        auto [p, ec] = std::to_chars(buf, buf + sizeof buf, std::get<double>(v.m_value));
        if (ec != std::errc())
            return false;
        out.assign(buf, p);
        return true;
    }
    case VarType::String:
        out = std::get<std::wstring>(v.m_value);
        return true;
    default:
        return false;
    }
}

} // namespace orvo
