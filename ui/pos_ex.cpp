#include "ui/pos_ex.h"

#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "core/element.h"
#include "platform/base/format.h"

namespace orvo {
int TruncateToInt(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value);
}
} // namespace orvo

namespace {

constexpr std::array<std::wstring_view, 8> kSuffixes{
    L"px", L"%", L"#", L"rev", L"min", L"max", L"in", L"cm"};

std::wstring_view Trim(std::wstring_view text) {
    const auto blank = [](wchar_t c) {
        return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
    };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Plain ASCII, or nothing: from_chars reads narrow text, independent of the locale.
bool Narrow(std::wstring_view text, std::string& out) {
    out.clear();
    for (wchar_t c : text) {
        if (c <= 0 || c > 0x7f)
            return false;
        out.push_back(static_cast<char>(c));
    }
    return !out.empty();
}

// A decimal number with an optional sign, fraction and exponent; no "inf" or "nan".
bool ReadNumber(std::wstring_view text, double& out) {
    std::string s;
    if (!Narrow(Trim(text), s))
        return false;
    bool negative = false;
    std::size_t start = 0;
    if (s[0] == '+' || s[0] == '-') {
        negative = s[0] == '-';
        start = 1;
    }
    if (start == s.size() ||
        !(std::isdigit(static_cast<unsigned char>(s[start])) || s[start] == '.'))
        return false;
    double value = 0;
    const auto [end, error] = std::from_chars(s.data() + start, s.data() + s.size(), value);
    if (error != std::errc() || end != s.data() + s.size() || !std::isfinite(value))
        return false;
    out = negative ? -value : value;
    return true;
}

bool ReadInteger(std::wstring_view text, int& out) {
    std::string s;
    if (!Narrow(Trim(text), s))
        return false;
    const char* first = s.data() + (s[0] == '+' ? 1 : 0);
    const auto [end, error] = std::from_chars(first, s.data() + s.size(), out);
    return error == std::errc() && end == s.data() + s.size();
}

} // namespace

bool CPosEx::SetPos(std::wstring_view text) {
    std::vector<std::wstring_view> parts;
    for (std::size_t from = 0;;) {
        const std::size_t caret = text.find(L'^', from);
        parts.push_back(text.substr(from, caret == std::wstring_view::npos ? caret : caret - from));
        if (caret == std::wstring_view::npos)
            break;
        from = caret + 1;
    }
    if (parts.size() > 3)
        return false;

    std::wstring_view number = parts[0];
    int scale = SCALE_PX;
    for (std::size_t i = 0; i < kSuffixes.size(); ++i) {
        const std::size_t at = number.find(kSuffixes[i]);
        if (at != std::wstring_view::npos) {
            scale = static_cast<int>(i);
            number = number.substr(0, at);
            break;
        }
    }
    double value = 0;
    if (!ReadNumber(number, value))
        return false;

    int divisor = 0;
    int addend = 0;
    const bool snap = parts.size() > 1 && ReadInteger(parts[1], divisor) && divisor != 0;
    if (snap && parts.size() > 2 && !ReadInteger(parts[2], addend))
        addend = 0;

    m_dPos = value;
    m_nScale = scale;
    m_bDiv = snap;
    m_nDiv = snap ? divisor : 0;
    m_nAdd = snap ? addend : 0;
    if (scale == SCALE_PX)
        m_nPos = orvo::TruncateToInt(value);
    return true;
}

void CPosEx::SetPos(int position, int scale, double value) {
    m_nPos = position;
    m_nScale = scale;
    m_dPos = value;
}

bool CPosEx::Recalc(const CRect& reference, Axis axis, int ownOffset) {
    if (m_nScale == SCALE_UNSET)
        return false;
    const double width = reference.Width();
    const double height = reference.Height();
    const bool horizontal = axis == Axis::Horizontal;
    const double same = horizontal ? width : height;
    const double other = horizontal ? height : width;
    switch (m_nScale) {
    case SCALE_PERCENT:
        m_nPos = orvo::TruncateToInt(same * m_dPos / 100);
        break;
    case SCALE_REMAIN:
        m_nPos = orvo::TruncateToInt((same - ownOffset) * m_dPos / 100);
        break;
    case SCALE_REV:
        m_nPos = orvo::TruncateToInt(other * m_dPos / 100);
        break;
    case SCALE_MIN:
        m_nPos = orvo::TruncateToInt(std::min(width, height) * m_dPos / 100);
        break;
    case SCALE_MAX:
        m_nPos = orvo::TruncateToInt(std::max(width, height) * m_dPos / 100);
        break;
    default: // pixels keep what was read; "in" and "cm" keep what they had
        break;
    }
    if (m_bDiv && m_nDiv != 0) {
        // In 64 bits: INT_MIN % -1 and the sum must not overflow; the result wraps like the
        // 32-bit arithmetic of every other coordinate.
        const long long p = m_nPos;
        m_nPos = static_cast<int>(p - p % m_nDiv + m_nAdd);
    }
    return true;
}

void CPosEx::SaveObject(XElement* element) const {
    if (!element)
        return;
    element->SetValue(L"dPos", plat::Format(L"%f", m_dPos));
    element->SetValue(L"Pos", m_nPos);
    element->SetValue(L"Scale", m_nScale);
    element->SetValue(L"Div", m_nDiv);
    element->SetValue(L"Add", m_nAdd);
    element->SetBool(L"IsDiv", m_bDiv);
}

void CPosEx::LoadObject(const XElement* element) {
    if (!element)
        return;
    element->GetValue(L"dPos", m_dPos);
    element->GetValue(L"Pos", m_nPos);
    element->GetValue(L"Scale", m_nScale);
    element->GetValue(L"Div", m_nDiv);
    element->GetValue(L"Add", m_nAdd);
    element->GetBool(L"IsDiv", m_bDiv);
}
