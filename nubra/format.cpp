#include "nubra/format.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <span>

#include "nubra/trim_blanks.h"

namespace {

using orvo::MaskField;
using orvo::MaskPiece;
using orvo::NumberPicture;

// "[S20]" already moves the point further than any price feed needs; the limit keeps a
// hostile format from asking for megabytes of zeros per cell.
constexpr int kMaxScale = 20;

// A format character with quotes and escapes resolved; quoted characters are always literal.
struct FormatChar {
    wchar_t c;
    bool quoted;
};

bool Is(const FormatChar& f, wchar_t c) {
    return !f.quoted && f.c == c;
}

bool IsDigitPlaceholder(const FormatChar& f) {
    return Is(f, L'0') || Is(f, L'#');
}

std::vector<FormatChar> Lex(std::wstring_view text) {
    std::vector<FormatChar> out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\\' && i + 1 < text.size()) {
            out.push_back({text[++i], true});
        } else if (c == L'"') {
            const std::size_t close = text.find(L'"', i + 1);
            const std::size_t end = close == std::wstring_view::npos ? text.size() : close;
            for (std::size_t j = i + 1; j < end; ++j) {
                out.push_back({text[j], true});
            }
            i = end;
        } else {
            out.push_back({c, c == L'\\'});
        }
    }
    return out;
}

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// "[S2]" and "[S-2]" at the start of the format; any other bracket is literal text.
std::wstring_view TakeOptions(std::wstring_view text, int& scale) {
    while (text.size() >= 4 && text[0] == L'[' && (text[1] == L'S' || text[1] == L's')) {
        const std::size_t close = text.find(L']');
        if (close == std::wstring_view::npos) {
            break;
        }
        std::wstring_view number = text.substr(2, close - 2);
        const bool negative = !number.empty() && number.front() == L'-';
        if (!number.empty() && (number.front() == L'-' || number.front() == L'+')) {
            number.remove_prefix(1);
        }
        if (number.empty() || number.size() > 2 ||
            !std::all_of(number.begin(), number.end(), IsDigit)) {
            break;
        }
        const int value =
            number.size() == 1 ? number[0] - L'0' : (number[0] - L'0') * 10 + (number[1] - L'0');
        if (value > kMaxScale) {
            break;
        }
        scale = negative ? -value : value;
        text.remove_prefix(close + 1);
    }
    return text;
}

std::wstring Literal(std::span<const FormatChar> chars) {
    std::wstring text;
    text.reserve(chars.size());
    for (const auto& f : chars) {
        text.push_back(f.c);
    }
    return text;
}

bool HasPercent(std::span<const FormatChar> chars) {
    return std::any_of(chars.begin(), chars.end(), [](const FormatChar& f) { return Is(f, L'%'); });
}

// The number body is one run of '0', '#', ',' and one '.', from the first placeholder (or a
// '.' right before it) to the last; what stands before and after it is literal text.
NumberPicture CompilePicture(std::span<const FormatChar> part) {
    NumberPicture picture;
    const auto first = std::find_if(part.begin(), part.end(), IsDigitPlaceholder);
    if (first == part.end()) {
        picture.prefix = Literal(part);
        return picture;
    }
    std::size_t begin = static_cast<std::size_t>(first - part.begin());
    if (begin > 0 && Is(part[begin - 1], L'.')) {
        --begin;
    }
    std::size_t end = begin;
    bool point = false;
    for (std::size_t i = begin; i < part.size(); ++i) {
        if (IsDigitPlaceholder(part[i])) {
            end = i + 1;
        } else if (Is(part[i], L'.') && !point) {
            point = true;
        } else if (!Is(part[i], L',')) {
            break;
        }
    }
    picture.hasDigits = true;
    point = false;
    for (std::size_t i = begin; i < end; ++i) {
        if (Is(part[i], L'.')) {
            point = true;
        } else if (Is(part[i], L',')) {
            picture.grouping = picture.grouping || !point;
        } else if (Is(part[i], L'0')) {
            ++(point ? picture.fixedDecimals : picture.minIntegerDigits);
        } else if (point) {
            ++picture.optionalDecimals;
        }
    }
    const auto prefix = part.first(begin);
    const auto suffix = part.subspan(end);
    picture.prefix = Literal(prefix);
    picture.suffix = Literal(suffix);
    picture.percent = HasPercent(prefix) || HasPercent(suffix);
    return picture;
}

std::optional<MaskField> MaskLetter(const FormatChar& f) {
    if (f.quoted) {
        return std::nullopt;
    }
    switch (f.c) {
    case L'Y':
    case L'y':
        return MaskField::Year4;
    case L'M':
    case L'm':
        return MaskField::Month;
    case L'D':
    case L'd':
        return MaskField::Day;
    case L'H':
    case L'h':
        return MaskField::Hour;
    case L'S':
    case L's':
        return MaskField::Second;
    default:
        return std::nullopt;
    }
}

bool SameLetter(wchar_t a, wchar_t b) {
    return (a | 0x20) == (b | 0x20);
}

void AppendLiteral(std::vector<MaskPiece>& pieces, wchar_t c) {
    if (pieces.empty() || pieces.back().field != MaskField::Literal) {
        pieces.push_back({MaskField::Literal, {}});
    }
    pieces.back().literal.push_back(c);
}

MaskField FieldNextTo(const std::vector<MaskPiece>& pieces, std::size_t at, bool forward) {
    for (std::size_t i = at; forward ? i + 1 < pieces.size() : i > 0;) {
        i = forward ? i + 1 : i - 1;
        if (pieces[i].field != MaskField::Literal) {
            return pieces[i].field;
        }
    }
    return MaskField::Literal;
}

std::vector<MaskPiece> CompileMask(std::span<const FormatChar> chars) {
    std::vector<MaskPiece> pieces;
    for (std::size_t i = 0; i < chars.size();) {
        const auto field = MaskLetter(chars[i]);
        if (!field) {
            AppendLiteral(pieces, chars[i].c);
            ++i;
            continue;
        }
        std::size_t run = 1;
        while (i + run < chars.size() && !chars[i + run].quoted &&
               SameLetter(chars[i + run].c, chars[i].c)) {
            ++run;
        }
        const bool shortYear = *field == MaskField::Year4 && run < 3;
        pieces.push_back({shortYear ? MaskField::Year2 : *field, {}});
        i += run;
    }
    // "MM" is the month unless it sits beside hours or seconds: "HH:MM", "MM:SS".
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (pieces[i].field == MaskField::Month &&
            (FieldNextTo(pieces, i, false) == MaskField::Hour ||
             FieldNextTo(pieces, i, true) == MaskField::Second)) {
            pieces[i].field = MaskField::Minute;
        }
    }
    return pieces;
}

std::vector<MaskPiece> CompileTemplate(std::span<const FormatChar> chars) {
    std::vector<MaskPiece> pieces;
    for (const auto& f : chars) {
        if (Is(f, L'@')) {
            pieces.push_back({MaskField::Value, {}});
        } else {
            AppendLiteral(pieces, f.c);
        }
    }
    return pieces;
}

struct DecimalText {
    bool negative = false;
    std::wstring_view integer;  // digits before the point
    std::wstring_view fraction; // digits after it
};

// Blanks around, an optional sign, digits with an optional point: "-0001234.50", ".5", "7.".
std::optional<DecimalText> ParseDecimal(std::wstring_view raw) {
    const std::wstring_view text = orvo::TrimBlanks(raw);
    DecimalText value;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        value.negative = text[i] == L'-';
        ++i;
    }
    const std::size_t integerStart = i;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
    }
    value.integer = text.substr(integerStart, i - integerStart);
    if (i < text.size() && text[i] == L'.') {
        const std::size_t fractionStart = ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
        }
        value.fraction = text.substr(fractionStart, i - fractionStart);
    }
    if (i != text.size() || (value.integer.empty() && value.fraction.empty())) {
        return std::nullopt;
    }
    return value;
}

// The value's digits rounded half away from zero to `decimals` places after the decimal
// point has been moved by `exponent`. Positions index the written digits (integer then
// fraction); positions outside them read as zeros, so moving the point copies nothing.
class RoundedDigits {
public:
    RoundedDigits(const DecimalText& value, std::ptrdiff_t exponent, int decimals)
        : m_integer(value.integer), m_fraction(value.fraction) {
        const auto written = static_cast<std::ptrdiff_t>(m_integer.size() + m_fraction.size());
        std::ptrdiff_t firstSignificant = 0;
        while (firstSignificant < written && Raw(firstSignificant) == L'0') {
            ++firstSignificant;
        }
        m_point = static_cast<std::ptrdiff_t>(m_integer.size()) + exponent;
        m_end = m_point + decimals;
        m_begin = std::min(firstSignificant, m_point);
        m_roundUp = Raw(m_end) >= L'5';
        m_lastChanged = m_end - 1;
        if (m_roundUp) {
            while (m_lastChanged >= m_begin && Raw(m_lastChanged) == L'9') {
                --m_lastChanged;
            }
        }
        m_carryOut = m_roundUp && m_lastChanged < m_begin;
        m_zero = !m_roundUp && firstSignificant >= m_end;
    }

    bool IsZero() const { return m_zero; }
    std::ptrdiff_t IntegerCount() const { return m_point - m_begin + (m_carryOut ? 1 : 0); }
    wchar_t IntegerDigit(std::ptrdiff_t index) const {
        if (m_carryOut) {
            return index == 0 ? L'1' : L'0';
        }
        return Rounded(m_begin + index);
    }
    wchar_t FractionDigit(int index) const { return Rounded(m_point + index); }

private:
    wchar_t Raw(std::ptrdiff_t pos) const {
        if (pos < 0) {
            return L'0';
        }
        const auto at = static_cast<std::size_t>(pos);
        if (at < m_integer.size()) {
            return m_integer[at];
        }
        if (at - m_integer.size() < m_fraction.size()) {
            return m_fraction[at - m_integer.size()];
        }
        return L'0';
    }
    wchar_t Rounded(std::ptrdiff_t pos) const {
        if (m_carryOut) {
            return L'0';
        }
        if (!m_roundUp || pos < m_lastChanged) {
            return Raw(pos);
        }
        return pos == m_lastChanged ? static_cast<wchar_t>(Raw(pos) + 1) : L'0';
    }

    std::wstring_view m_integer;
    std::wstring_view m_fraction;
    std::ptrdiff_t m_point = 0;       // position of the first digit after the decimal point
    std::ptrdiff_t m_begin = 0;       // first position shown (leading zeros dropped)
    std::ptrdiff_t m_end = 0;         // one past the last decimal kept
    std::ptrdiff_t m_lastChanged = 0; // the digit that rounding up increments
    bool m_roundUp = false;
    bool m_carryOut = false; // every kept digit was 9: a new leading 1
    bool m_zero = false;
};

int Decimals(const NumberPicture& picture) {
    return picture.fixedDecimals + picture.optionalDecimals;
}

std::ptrdiff_t Exponent(const NumberPicture& picture, int scale) {
    return (picture.percent ? 2 : 0) - scale;
}

void AppendPicture(std::wstring& out,
                   const NumberPicture& picture,
                   const RoundedDigits& digits,
                   bool minus) {
    const std::ptrdiff_t count = picture.hasDigits ? digits.IntegerCount() : 0;
    const std::ptrdiff_t width = std::max<std::ptrdiff_t>(count, picture.minIntegerDigits);
    // One allocation per cell: sign, digits with group commas, point and decimals.
    out.reserve(picture.prefix.size() + picture.suffix.size() +
                static_cast<std::size_t>(width + width / 3 + Decimals(picture) + 2));
    if (minus) {
        out.push_back(L'-');
    }
    out += picture.prefix;
    if (picture.hasDigits) {
        for (std::ptrdiff_t i = 0; i < width; ++i) {
            const std::ptrdiff_t padding = width - count;
            out.push_back(i < padding ? L'0' : digits.IntegerDigit(i - padding));
            const std::ptrdiff_t remaining = width - 1 - i;
            if (picture.grouping && remaining > 0 && remaining % 3 == 0) {
                out.push_back(L',');
            }
        }
        int shown = Decimals(picture);
        while (shown > picture.fixedDecimals && digits.FractionDigit(shown - 1) == L'0') {
            --shown;
        }
        if (shown > 0) {
            out.push_back(L'.');
            for (int i = 0; i < shown; ++i) {
                out.push_back(digits.FractionDigit(i));
            }
        }
    }
    out += picture.suffix;
}

} // namespace

CFormat::CFormat(std::wstring_view format) {
    SetFormat(format);
}

std::shared_ptr<const CFormat> CFormat::Compiled(std::wstring_view format) {
    struct Cached {
        std::wstring text;
        std::shared_ptr<const CFormat> compiled;
    };
    // A few dozen distinct texts cover a project; past that the oldest entry is replaced, so
    // the cache stays small whatever the screens hold.
    constexpr std::size_t kCapacity = 64;
    thread_local std::vector<Cached> cache;
    thread_local std::size_t next = 0;
    for (const Cached& c : cache) {
        if (c.text == format)
            return c.compiled;
    }
    auto compiled = std::make_shared<const CFormat>(format);
    if (cache.size() < kCapacity) {
        cache.push_back({std::wstring(format), compiled});
    } else {
        cache[next] = {std::wstring(format), compiled};
        next = (next + 1) % kCapacity;
    }
    return compiled;
}

void CFormat::SetFormat(std::wstring_view format) {
    *this = CFormat();
    const auto chars = Lex(TakeOptions(format, m_scale));
    const auto any = [&](auto&& test) { return std::any_of(chars.begin(), chars.end(), test); };
    if (any(IsDigitPlaceholder)) {
        m_kind = Kind::Number;
        std::span<const FormatChar> rest(chars);
        while (m_sectionCount < 3) {
            const auto split = std::find_if(
                rest.begin(), rest.end(), [](const FormatChar& f) { return Is(f, L';'); });
            const auto length = static_cast<std::size_t>(split - rest.begin());
            m_sections[m_sectionCount++] = CompilePicture(rest.first(length));
            if (split == rest.end()) {
                break;
            }
            rest = rest.subspan(length + 1);
        }
    } else if (any([](const FormatChar& f) { return MaskLetter(f).has_value(); })) {
        m_kind = Kind::Mask;
        m_pieces = CompileMask(chars);
        for (const auto& piece : m_pieces) {
            const bool time = piece.field == MaskField::Hour || piece.field == MaskField::Minute ||
                              piece.field == MaskField::Second;
            m_maskHasTime = m_maskHasTime || time;
            m_maskHasDate = m_maskHasDate || (piece.field != MaskField::Literal && !time);
        }
    } else if (any([](const FormatChar& f) { return Is(f, L'@'); })) {
        m_kind = Kind::Text;
        m_pieces = CompileTemplate(chars);
    }
}

std::wstring CFormat::GetString(std::wstring_view value) const {
    switch (m_kind) {
    case Kind::Number:
        return FormatNumber(value);
    case Kind::Mask:
        return FormatMask(value);
    case Kind::Text:
        return FormatText(value);
    case Kind::PassThrough:
        break;
    }
    return std::wstring(value);
}

std::wstring CFormat::FormatNumber(std::wstring_view value) const {
    const auto parsed = ParseDecimal(value);
    if (!parsed) {
        return std::wstring(value);
    }
    const NumberPicture& positive = m_sections[0];
    const bool hasNegative = m_sectionCount > 1;
    const NumberPicture& picture = parsed->negative && hasNegative ? m_sections[1] : positive;
    const RoundedDigits digits(*parsed, Exponent(picture, m_scale), Decimals(picture));

    std::wstring out;
    if (digits.IsZero()) {
        // Zero never shows a sign, whatever sign the text had before rounding.
        const NumberPicture& zero = m_sectionCount > 2 ? m_sections[2] : positive;
        const RoundedDigits zeroDigits(DecimalText{}, 0, Decimals(zero));
        AppendPicture(out, zero, zeroDigits, false);
        return out;
    }
    AppendPicture(out, picture, digits, parsed->negative && !hasNegative);
    return out;
}

std::wstring CFormat::FormatMask(std::wstring_view value) const {
    const std::wstring_view text = orvo::TrimBlanks(value);
    if (!std::all_of(text.begin(), text.end(), IsDigit)) {
        return std::wstring(value);
    }
    // Normalised to YYYYMMDDHHMMSS; the parts the mask does not use stay zero.
    wchar_t digits[14];
    std::fill(std::begin(digits), std::end(digits), L'0');
    const std::size_t n = text.size();
    std::size_t at = 0;
    if (m_maskHasDate && m_maskHasTime) {
        if (n != 14 && n != 12) {
            return std::wstring(value);
        }
    } else if (m_maskHasDate) {
        if (n != 8) {
            return std::wstring(value);
        }
    } else {
        // HHMMSS or HHMM; numeric feeds drop the leading zero of morning hours ("93015").
        if (n < 3 || n > 6) {
            return std::wstring(value);
        }
        at = 8 + n % 2;
    }
    std::copy(text.begin(), text.end(), digits + at);

    std::wstring out;
    out.reserve(m_pieces.size() * 2 + 8);
    for (const auto& piece : m_pieces) {
        const auto append = [&](std::size_t from, std::size_t count) {
            out.append(digits + from, count);
        };
        switch (piece.field) {
        case MaskField::Literal:
            out += piece.literal;
            break;
        case MaskField::Year4:
            append(0, 4);
            break;
        case MaskField::Year2:
            append(2, 2);
            break;
        case MaskField::Month:
            append(4, 2);
            break;
        case MaskField::Day:
            append(6, 2);
            break;
        case MaskField::Hour:
            append(8, 2);
            break;
        case MaskField::Minute:
            append(10, 2);
            break;
        case MaskField::Second:
            append(12, 2);
            break;
        case MaskField::Value:
            out += value;
            break;
        }
    }
    return out;
}

std::wstring CFormat::FormatText(std::wstring_view value) const {
    std::wstring out;
    for (const auto& piece : m_pieces) {
        if (piece.field == MaskField::Value) {
            out += value;
        } else {
            out += piece.literal;
        }
    }
    return out;
}
