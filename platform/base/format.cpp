#include "platform/base/format.h"

#include "platform/base/codepage.h"
#include "platform/base/lenient.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace plat {

namespace {

// Keeps "%999999999d" from asking for gigabytes.
constexpr int kMaxWidth = 4096;
constexpr int kMaxPrecision = 4096;

struct Conversion {
    bool left = false;
    bool plus = false;
    bool space = false;
    bool alternate = false;
    bool zero = false;
    int width = 0;
    int precision = -1;      // none given
    bool length64 = false;   // ll, I64, j: integers are 64-bit even when negative
    bool narrowText = false; // h: %hs and %hc take narrow text
    wchar_t conversion = 0;
};

struct IntegerValue {
    bool negative = false;
    std::uint64_t magnitude = 0;
};

IntegerValue IntegerOf(const FormatArg& arg) {
    if (arg.kind() == FormatArg::Kind::Unsigned || arg.kind() == FormatArg::Kind::Pointer) {
        return {false, arg.AsUnsigned()};
    }
    const std::int64_t v = arg.AsSigned();
    return {v < 0, v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v)};
}

std::wstring Widen(const char* first, const char* last) {
    return std::wstring(first, last);
}

std::wstring Digits(std::uint64_t value, int base, bool upper) {
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, value, base);
    std::wstring out = Widen(buf, result.ptr);
    if (upper) {
        for (wchar_t& c : out) {
            if (c >= L'a' && c <= L'f') {
                c -= L'a' - L'A';
            }
        }
    }
    return out;
}

wchar_t SignOf(bool negative, const Conversion& conv) {
    if (negative) {
        return L'-';
    }
    if (conv.plus) {
        return L'+';
    }
    return conv.space ? L' ' : 0;
}

// Applies the width: zeros go between sign/prefix and the digits when asked for.
void Emit(std::wstring& out,
          const Conversion& conv,
          wchar_t sign,
          std::wstring_view prefix,
          std::wstring_view body,
          bool zeroPad) {
    const std::size_t length = (sign ? 1 : 0) + prefix.size() + body.size();
    const std::size_t pad = static_cast<std::size_t>(conv.width) > length ? conv.width - length : 0;
    if (pad > 0 && !conv.left && !zeroPad) {
        out.append(pad, L' ');
    }
    if (sign) {
        out += sign;
    }
    out += prefix;
    if (pad > 0 && !conv.left && zeroPad) {
        out.append(pad, L'0');
    }
    out += body;
    if (pad > 0 && conv.left) {
        out.append(pad, L' ');
    }
}

void FormatInteger(std::wstring& out, const Conversion& conv, const FormatArg& arg) {
    IntegerValue v = IntegerOf(arg);
    const bool isSigned = conv.conversion == L'd' || conv.conversion == L'i';
    if (!isSigned && v.negative) {
        // A negative int under %u/%x/%o shows its 32-bit pattern, as the C runtime reads
        // an int there; with a 64-bit length, or a value beyond int, the 64-bit pattern.
        const std::uint64_t bits = 0 - v.magnitude;
        const bool fitsInt = v.magnitude <= 0x80000000u;
        v = {false, (fitsInt && !conv.length64) ? (bits & 0xFFFFFFFFu) : bits};
    }
    int base = 10;
    if (conv.conversion == L'x' || conv.conversion == L'X') {
        base = 16;
    } else if (conv.conversion == L'o') {
        base = 8;
    }
    std::wstring body = Digits(v.magnitude, base, conv.conversion == L'X');
    if (conv.precision == 0 && v.magnitude == 0) {
        body.clear();
    }
    if (conv.precision > 0 && body.size() < static_cast<std::size_t>(conv.precision)) {
        body.insert(0, conv.precision - body.size(), L'0');
    }
    std::wstring_view prefix;
    if (conv.alternate && base == 8 && (body.empty() || body[0] != L'0')) {
        body.insert(0, 1, L'0');
    } else if (conv.alternate && base == 16 && v.magnitude != 0) {
        prefix = conv.conversion == L'X' ? L"0X" : L"0x";
    }
    const wchar_t sign = isSigned ? SignOf(v.negative, conv) : 0;
    Emit(out, conv, sign, prefix, body, conv.zero && !conv.left && conv.precision < 0);
}

// The digits of |value| as printf writes them for %f, %e or %g, without sign.
std::string FloatBody(double value, wchar_t conversion, int precision, bool alternate) {
    const wchar_t kind = static_cast<wchar_t>(conversion | 0x20); // lower case
    std::string buf(static_cast<std::size_t>(precision) + 400, '\0');
    char* const first = buf.data();
    char* const last = buf.data() + buf.size();
    auto write = [&](std::chars_format format, int digits) {
        return std::string(first, std::to_chars(first, last, value, format, digits).ptr);
    };
    // '#' keeps the decimal point even without digits after it.
    auto ensurePoint = [](std::string& s) {
        if (s.find('.') == std::string::npos) {
            const std::size_t e = s.find('e');
            s.insert(e == std::string::npos ? s.size() : e, 1, '.');
        }
    };
    std::string body;
    if (kind == L'f' || kind == L'e') {
        body = write(kind == L'f' ? std::chars_format::fixed : std::chars_format::scientific,
                     precision);
        if (alternate) {
            ensurePoint(body);
        }
        return body;
    }
    // %g: scientific when the exponent is below -4 or not below the precision.
    const int significant = precision == 0 ? 1 : precision;
    const std::string probe = write(std::chars_format::scientific, significant - 1);
    std::size_t exponentAt = probe.find('e') + 1;
    exponentAt += probe[exponentAt] == '+' ? 1 : 0;
    int exponent = 0;
    std::from_chars(probe.data() + exponentAt, probe.data() + probe.size(), exponent);
    if (exponent >= -4 && exponent < significant) {
        body = write(std::chars_format::fixed, significant - 1 - exponent);
    } else {
        body = probe;
    }
    if (alternate) {
        ensurePoint(body);
    } else if (body.find('.') != std::string::npos) {
        // Without '#', trailing zeros of the fraction go, and the point with them.
        const std::size_t e = body.find('e');
        const std::size_t end = e == std::string::npos ? body.size() : e;
        std::size_t cut = end;
        while (body[cut - 1] == '0') {
            --cut;
        }
        if (body[cut - 1] == '.') {
            --cut;
        }
        body.erase(cut, end - cut);
    }
    return body;
}

void FormatFloat(std::wstring& out, const Conversion& conv, double value) {
    const bool upper =
        conv.conversion == L'F' || conv.conversion == L'E' || conv.conversion == L'G';
    std::string body;
    bool negative = false;
    bool finite = true;
    if (std::isnan(value)) {
        body = "nan"; // no sign: the sign of a NaN is noise
        finite = false;
    } else if (std::isinf(value)) {
        body = "inf";
        negative = value < 0;
        finite = false;
    } else {
        negative = std::signbit(value);
        const int precision = conv.precision < 0 ? 6 : conv.precision;
        body = FloatBody(std::fabs(value), conv.conversion, precision, conv.alternate);
    }
    std::wstring wide(body.begin(), body.end());
    if (upper) {
        for (wchar_t& c : wide) {
            if (c >= L'a' && c <= L'z') {
                c -= L'a' - L'A';
            }
        }
    }
    Emit(out, conv, SignOf(negative, conv), {}, wide, finite && conv.zero && !conv.left);
}

// %s and %S differ only for narrow arguments on Windows; here a narrow argument is always
// text of the process code page and a wide one is taken as is.
std::wstring TextOf(const FormatArg& arg) {
    switch (arg.kind()) {
    case FormatArg::Kind::WideText:
        return std::wstring(arg.Wide());
    case FormatArg::Kind::NarrowText:
        return FromAnsi(arg.Narrow());
    case FormatArg::Kind::Double: {
        char buf[64];
        const auto result = std::to_chars(buf, buf + sizeof buf, arg.AsDouble());
        return Widen(buf, result.ptr);
    }
    case FormatArg::Kind::Pointer:
        return Digits(arg.AsUnsigned(), 16, true);
    default: {
        const IntegerValue v = IntegerOf(arg);
        return (v.negative ? L"-" : L"") + Digits(v.magnitude, 10, false);
    }
    }
}

void FormatText(std::wstring& out, const Conversion& conv, const FormatArg& arg) {
    std::wstring text = TextOf(arg);
    if (conv.precision >= 0 && text.size() > static_cast<std::size_t>(conv.precision)) {
        text.resize(conv.precision);
    }
    Emit(out, conv, 0, {}, text, false);
}

void FormatChar(std::wstring& out, const Conversion& conv, const FormatArg& arg) {
    std::wstring text;
    if (arg.kind() == FormatArg::Kind::WideText || arg.kind() == FormatArg::Kind::NarrowText) {
        text = TextOf(arg).substr(0, 1);
    } else {
        const std::uint64_t code = arg.AsUnsigned();
        const bool narrowForm = conv.narrowText || conv.conversion == L'C';
        if (narrowForm && code >= 0x80 && code <= 0xFF) {
            text = FromAnsi(std::string(1, static_cast<char>(code)));
        } else if (code <= 0x10FFFF) {
            text.assign(1, static_cast<wchar_t>(code));
        } else {
            text.assign(1, static_cast<wchar_t>(0xFFFD));
        }
    }
    Emit(out, conv, 0, {}, text, false);
}

void FormatPointer(std::wstring& out, const Conversion& conv, const FormatArg& arg) {
    std::wstring digits = Digits(arg.AsUnsigned(), 16, true);
    const std::size_t full = sizeof(void*) * 2;
    if (digits.size() < full) {
        digits.insert(0, full - digits.size(), L'0');
    }
    Emit(out, conv, 0, {}, digits, false);
}

int ClampTo(std::int64_t v, int limit) {
    return v > limit ? limit : static_cast<int>(v);
}

// Reads flags, width, precision and length of the conversion after a '%'. Returns false
// when the format ends inside the conversion.
class SpecReader {
public:
    SpecReader(std::wstring_view format, std::span<const FormatArg> args, std::size_t& nextArg)
        : m_format(format), m_args(args), m_nextArg(nextArg) {}

    bool Read(std::size_t& pos, Conversion& conv) {
        for (; pos < m_format.size(); ++pos) {
            const wchar_t c = m_format[pos];
            if (c == L'-') {
                conv.left = true;
            } else if (c == L'+') {
                conv.plus = true;
            } else if (c == L' ') {
                conv.space = true;
            } else if (c == L'#') {
                conv.alternate = true;
            } else if (c == L'0') {
                conv.zero = true;
            } else {
                break;
            }
        }
        if (pos < m_format.size() && m_format[pos] == L'*') {
            ++pos;
            const std::int64_t w = StarValue();
            if (w < 0) {
                conv.left = true;
            }
            conv.width = ClampTo(w < 0 ? -w : w, kMaxWidth);
        } else {
            conv.width = ReadNumber(pos, kMaxWidth);
        }
        if (pos < m_format.size() && m_format[pos] == L'.') {
            ++pos;
            if (pos < m_format.size() && m_format[pos] == L'*') {
                ++pos;
                const std::int64_t p = StarValue();
                conv.precision = p < 0 ? -1 : ClampTo(p, kMaxPrecision);
            } else {
                conv.precision = ReadNumber(pos, kMaxPrecision);
            }
        }
        ReadLength(pos, conv);
        if (pos >= m_format.size()) {
            return false;
        }
        conv.conversion = m_format[pos++];
        return true;
    }

private:
    std::int64_t StarValue() {
        if (m_nextArg >= m_args.size()) {
            return 0;
        }
        const std::int64_t v = m_args[m_nextArg++].AsSigned();
        // Keeps the negation of INT64_MIN defined.
        return v < -kMaxWidth ? -kMaxWidth : v;
    }

    int ReadNumber(std::size_t& pos, int limit) {
        std::int64_t n = 0;
        for (; pos < m_format.size() && m_format[pos] >= L'0' && m_format[pos] <= L'9'; ++pos) {
            n = std::min<std::int64_t>(n * 10 + (m_format[pos] - L'0'), limit);
        }
        return static_cast<int>(n);
    }

    void ReadLength(std::size_t& pos, Conversion& conv) {
        const std::wstring_view rest = m_format.substr(pos);
        if (rest.starts_with(L"I64")) {
            conv.length64 = true;
            pos += 3;
        } else if (rest.starts_with(L"I32")) {
            pos += 3;
        } else if (rest.starts_with(L"ll")) {
            conv.length64 = true;
            pos += 2;
        } else if (rest.starts_with(L"hh")) {
            pos += 2;
        } else if (!rest.empty()) {
            switch (rest[0]) {
            case L'j':
            case L'q':
                conv.length64 = true;
                ++pos;
                break;
            case L'h':
                conv.narrowText = true;
                ++pos;
                break;
            case L'l':
            case L'L':
            case L'w':
            case L'I':
            case L'z':
            case L't':
                ++pos;
                break;
            default:
                break;
            }
        }
    }

    std::wstring_view m_format;
    std::span<const FormatArg> m_args;
    std::size_t& m_nextArg;
};

} // namespace

std::int64_t FormatArg::AsSigned() const {
    switch (m_kind) {
    case Kind::Signed:
        return m_signed;
    case Kind::Unsigned:
    case Kind::Pointer:
        return static_cast<std::int64_t>(m_unsigned);
    case Kind::Double:
        if (std::isnan(m_double)) {
            return 0;
        }
        if (m_double <= -0x1p63) {
            return std::numeric_limits<std::int64_t>::min();
        }
        if (m_double >= 0x1p63) {
            return std::numeric_limits<std::int64_t>::max();
        }
        return static_cast<std::int64_t>(m_double);
    case Kind::WideText:
        return _wtoi64(m_wide);
    case Kind::NarrowText:
        return _wtoi64(FromAnsi(m_narrow));
    }
    return 0;
}

std::uint64_t FormatArg::AsUnsigned() const {
    switch (m_kind) {
    case Kind::Unsigned:
    case Kind::Pointer:
        return m_unsigned;
    case Kind::Double:
        if (std::isnan(m_double) || m_double < 0) {
            return static_cast<std::uint64_t>(AsSigned());
        }
        if (m_double >= 0x1p64) {
            return std::numeric_limits<std::uint64_t>::max();
        }
        return static_cast<std::uint64_t>(m_double);
    default:
        return static_cast<std::uint64_t>(AsSigned());
    }
}

double FormatArg::AsDouble() const {
    switch (m_kind) {
    case Kind::Signed:
        return static_cast<double>(m_signed);
    case Kind::Unsigned:
    case Kind::Pointer:
        return static_cast<double>(m_unsigned);
    case Kind::Double:
        return m_double;
    case Kind::WideText:
        return _wtof(m_wide);
    case Kind::NarrowText:
        return _wtof(FromAnsi(m_narrow));
    }
    return 0;
}

std::wstring FormatV(std::wstring_view format, std::span<const FormatArg> args) {
    std::wstring out;
    out.reserve(format.size() + 16);
    std::size_t nextArg = 0;
    SpecReader reader(format, args, nextArg);
    std::size_t pos = 0;
    while (pos < format.size()) {
        const std::size_t percent = format.find(L'%', pos);
        if (percent == std::wstring_view::npos) {
            out += format.substr(pos);
            break;
        }
        out += format.substr(pos, percent - pos);
        pos = percent + 1;
        if (pos < format.size() && format[pos] == L'%') {
            out += L'%';
            ++pos;
            continue;
        }
        Conversion conv;
        if (!reader.Read(pos, conv)) {
            out += format.substr(percent);
            break;
        }
        const wchar_t c = conv.conversion;
        const bool known =
            std::wstring_view(L"diuxXocCsSfFeEgGp").find(c) != std::wstring_view::npos;
        if (!known) {
            // Unknown conversions are shown as written so the mistake is visible.
            out += format.substr(percent, pos - percent);
            continue;
        }
        if (nextArg >= args.size()) {
            continue;
        }
        const FormatArg& arg = args[nextArg++];
        switch (c) {
        case L'd':
        case L'i':
        case L'u':
        case L'x':
        case L'X':
        case L'o':
            FormatInteger(out, conv, arg);
            break;
        case L'c':
        case L'C':
            FormatChar(out, conv, arg);
            break;
        case L's':
        case L'S':
            FormatText(out, conv, arg);
            break;
        case L'p':
            FormatPointer(out, conv, arg);
            break;
        default:
            FormatFloat(out, conv, arg.AsDouble());
            break;
        }
    }
    return out;
}

std::wstring FormatInt(int value) {
    return Format(L"%d", value);
}

std::wstring FormatUInt(unsigned value) {
    return Format(L"%u", value);
}

std::wstring FormatInt64(std::int64_t value) {
    return Format(L"%I64d", value);
}

std::wstring FormatDouble(double value, int decimals) {
    return Format(L"%.*f", decimals, value);
}

} // namespace plat
