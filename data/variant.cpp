#include "data/variant.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/base/codepage.h"
#include "platform/base/lenient.h"
#include "platform/base/nocase.h"

// Narrowing a double to float relies on IEEE behaviour (overflow gives infinity).
static_assert(std::numeric_limits<double>::is_iec559 && std::numeric_limits<float>::is_iec559);

namespace {

// Truncation toward zero as the x86 conversion instructions do it, which is what the data
// written on Windows was produced with: NaN and values out of range give the "integer
// indefinite", the lowest value of the type. Never undefined behaviour.
int TruncateToInt(double value) {
    if (value > -2147483649.0 && value < 2147483648.0)
        return static_cast<int>(value);
    return std::numeric_limits<int>::min();
}

std::int64_t TruncateToInt64(double value) {
    if (value >= -0x1p63 && value < 0x1p63)
        return static_cast<std::int64_t>(value);
    return std::numeric_limits<std::int64_t>::min();
}

// A DT_CHAR converts to a number only when it is a decimal digit.
bool DigitValue(char c, int& out) {
    if (c < '0' || c > '9')
        return false;
    out = c - '0';
    return true;
}

// The digits are ASCII; assigning them widens them and reuses the buffer of `out`.
template <class Integer> void AssignInteger(std::wstring& out, Integer value) {
    char buf[24];
    const auto result = std::to_chars(buf, buf + sizeof buf, value);
    out.assign(buf, result.ptr);
}

// "%f": six decimals; NaN and infinities spelled as plat::Format spells them.
void AssignFixed(std::wstring& out, double value) {
    if (std::isnan(value)) {
        out = L"nan";
    } else if (std::isinf(value)) {
        out = value < 0 ? L"-inf" : L"inf";
    } else {
        char buf[328]; // DBL_MAX has 309 integer digits
        const auto result =
            std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 6);
        out.assign(buf, result.ptr);
    }
}

} // namespace

CVariant::CVariant(CVariant&& source) noexcept : m_type(source.m_type), m_value(source.m_value) {
    if (source.m_type == DT_STR)
        source.m_type = DT_NONE;
}

CVariant& CVariant::operator=(const CVariant& source) {
    if (&source != this)
        Set(source);
    return *this;
}

CVariant& CVariant::operator=(CVariant&& source) noexcept {
    if (&source != this) {
        ReleaseString();
        m_type = source.m_type;
        m_value = source.m_value;
        if (source.m_type == DT_STR)
            source.m_type = DT_NONE;
    }
    return *this;
}

CVariant::~CVariant() {
    ReleaseString();
}

bool CVariant::Set(const CVariant& source) {
    if (&source == this)
        return true;
    if (source.m_type != DT_STR)
        ReleaseString();
    switch (source.m_type) {
    case DT_STR:
        if (m_type == DT_STR)
            *m_value.text = *source.m_value.text;
        else
            m_value.text = new std::wstring(*source.m_value.text);
        break;
    case DT_INT:
    case DT_UINT:
    case DT_PT_STR:
    case DT_BOOL:
    case DT_DOUBLE:
    case DT_CHAR:
    case DT_INT64:
    case DT_FLOAT:
        m_value = source.m_value;
        break;
    default:
        return false;
    }
    m_type = source.m_type;
    return true;
}

// ---- conversions ----------------------------------------------------------------------------

bool CVariant::GetInt(int& out) const {
    switch (m_type) {
    case DT_INT:
        out = m_value.i32;
        return true;
    case DT_UINT:
        out = static_cast<int>(m_value.u32);
        return true;
    case DT_INT64:
        out = static_cast<int>(static_cast<std::uint32_t>(m_value.i64));
        return true;
    case DT_DOUBLE:
        out = TruncateToInt(m_value.f64);
        return true;
    case DT_FLOAT:
        out = TruncateToInt(m_value.f32);
        return true;
    case DT_CHAR:
        return DigitValue(m_value.ch, out);
    case DT_STR:
    case DT_PT_STR:
        out = plat::_wtoi(*m_value.text);
        return true;
    default:
        return false;
    }
}

bool CVariant::GetUInt(unsigned int& out) const {
    switch (m_type) {
    case DT_INT:
        out = static_cast<unsigned int>(m_value.i32);
        return true;
    case DT_UINT:
        out = m_value.u32;
        return true;
    case DT_INT64:
        out = static_cast<unsigned int>(m_value.i64);
        return true;
    // Through 64 bits, so that 3e9 keeps its value and -1.5 wraps to 0xFFFFFFFF.
    case DT_DOUBLE:
        out = static_cast<unsigned int>(TruncateToInt64(m_value.f64));
        return true;
    case DT_FLOAT:
        out = static_cast<unsigned int>(TruncateToInt64(m_value.f32));
        return true;
    case DT_CHAR: {
        int digit = 0;
        if (!DigitValue(m_value.ch, digit))
            return false;
        out = static_cast<unsigned int>(digit);
        return true;
    }
    case DT_STR:
    case DT_PT_STR:
        return plat::ScanUnsigned(*m_value.text, out);
    default:
        return false;
    }
}

bool CVariant::GetInt64(std::int64_t& out) const {
    switch (m_type) {
    case DT_INT:
        out = m_value.i32;
        return true;
    case DT_UINT:
        out = m_value.u32;
        return true;
    case DT_INT64:
        out = m_value.i64;
        return true;
    case DT_DOUBLE:
        out = TruncateToInt64(m_value.f64);
        return true;
    case DT_FLOAT:
        out = TruncateToInt64(m_value.f32);
        return true;
    case DT_CHAR: {
        int digit = 0;
        if (!DigitValue(m_value.ch, digit))
            return false;
        out = digit;
        return true;
    }
    case DT_STR:
    case DT_PT_STR:
        out = plat::_wtoi64(*m_value.text);
        return true;
    default:
        return false;
    }
}

// One table for double and float, converting each source straight to F so that a 64-bit
// integer is rounded once.
template <class F> bool CVariant::GetFloating(F& out) const {
    switch (m_type) {
    case DT_INT:
        out = static_cast<F>(m_value.i32);
        return true;
    case DT_UINT:
        out = static_cast<F>(m_value.u32);
        return true;
    case DT_INT64:
        out = static_cast<F>(m_value.i64);
        return true;
    case DT_DOUBLE:
        out = static_cast<F>(m_value.f64);
        return true;
    case DT_FLOAT:
        out = static_cast<F>(m_value.f32);
        return true;
    case DT_CHAR: {
        int digit = 0;
        if (!DigitValue(m_value.ch, digit))
            return false;
        out = static_cast<F>(digit);
        return true;
    }
    case DT_STR:
    case DT_PT_STR:
        out = static_cast<F>(plat::_wtof(*m_value.text));
        return true;
    default:
        return false;
    }
}

bool CVariant::GetDouble(double& out) const {
    return GetFloating(out);
}

bool CVariant::GetFloat(float& out) const {
    return GetFloating(out);
}

bool CVariant::GetBool(int& out) const {
    switch (m_type) {
    case DT_INT:
        out = m_value.i32 != 0 ? 1 : 0;
        return true;
    case DT_UINT:
        out = m_value.u32 != 0 ? 1 : 0;
        return true;
    case DT_INT64:
        out = m_value.i64 != 0 ? 1 : 0;
        return true;
    case DT_BOOL:
        out = m_value.i32;
        return true;
    case DT_STR:
    case DT_PT_STR:
        if (plat::EqualsNoCase(*m_value.text, L"true")) {
            out = 1;
            return true;
        }
        if (plat::EqualsNoCase(*m_value.text, L"false")) {
            out = 0;
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool CVariant::GetChar(char& out) const {
    if (m_type == DT_CHAR) {
        out = m_value.ch;
        return true;
    }
    if ((m_type != DT_STR && m_type != DT_PT_STR) || m_value.text->empty())
        return false;
    // The first byte of the text in the process code page; the first character decides it.
    const std::string bytes = plat::ToAnsi(std::wstring_view(*m_value.text).substr(0, 1));
    if (bytes.empty())
        return false;
    out = bytes.front();
    return true;
}

bool CVariant::GetPtStr(std::wstring*& out) const {
    if (m_type != DT_PT_STR)
        return false;
    out = m_value.text;
    return true;
}

bool CVariant::Get(std::wstring& out) const {
    switch (m_type) {
    case DT_INT:
        AssignInteger(out, m_value.i32);
        return true;
    case DT_UINT:
        AssignInteger(out, m_value.u32);
        return true;
    case DT_INT64:
        AssignInteger(out, m_value.i64);
        return true;
    case DT_STR:
    case DT_PT_STR:
        out = *m_value.text;
        return true;
    case DT_BOOL:
        out = m_value.i32 ? L"true" : L"false";
        return true;
    case DT_DOUBLE:
        AssignFixed(out, m_value.f64);
        return true;
    case DT_FLOAT:
        AssignFixed(out, m_value.f32);
        return true;
    case DT_CHAR:
        // "%c" of a byte: the character with that code, as plat::Format writes it.
        out.assign(1, static_cast<wchar_t>(static_cast<unsigned char>(m_value.ch)));
        return true;
    default:
        return false;
    }
}

// ---- by value -------------------------------------------------------------------------------

int CVariant::GetInt() const {
    int value = 0;
    return GetInt(value) ? value : 0;
}

unsigned int CVariant::GetUInt() const {
    unsigned int value = 0;
    return GetUInt(value) ? value : 0;
}

int CVariant::GetBool() const {
    int value = 0;
    return GetBool(value) ? value : 0;
}

double CVariant::GetDouble() const {
    double value = 0.0;
    return GetDouble(value) ? value : 0.0;
}

float CVariant::GetFloat() const {
    float value = 0.0f;
    return GetFloat(value) ? value : 0.0f;
}

std::int64_t CVariant::GetInt64() const {
    std::int64_t value = 0;
    return GetInt64(value) ? value : 0;
}

char CVariant::GetChar() const {
    char value = ' ';
    return GetChar(value) ? value : ' ';
}

// ---- equality -------------------------------------------------------------------------------

bool CVariant::operator==(const CVariant& other) const noexcept {
    if (this == &other)
        return true;
    if (m_type != other.m_type)
        return false;
    switch (m_type) {
    case DT_INT:
        return m_value.i32 == other.m_value.i32;
    case DT_UINT:
        return m_value.u32 == other.m_value.u32;
    case DT_INT64:
        return m_value.i64 == other.m_value.i64;
    case DT_CHAR:
        return m_value.ch == other.m_value.ch;
    case DT_BOOL:
        return (m_value.i32 != 0) == (other.m_value.i32 != 0);
    case DT_DOUBLE:
        return m_value.f64 == other.m_value.f64;
    case DT_FLOAT:
        return m_value.f32 == other.m_value.f32;
    case DT_STR:
        return *m_value.text == *other.m_value.text;
    case DT_PT_STR:
        return m_value.text == other.m_value.text;
    default:
        return false;
    }
}
