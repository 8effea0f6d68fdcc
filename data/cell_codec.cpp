#include "data/cell_codec.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <type_traits>

#include "platform/base/codepage.h"
#include "platform/base/format.h"
#include "platform/base/lenient.h"
#include "platform/base/nocase.h"

namespace orvo {

bool WritePtStr(unsigned char* cell, std::wstring_view text, StringTable& strings) {
    if (std::wstring* s = strings.Get(TakeCell<std::uint32_t>(cell))) {
        s->assign(text);
        return true;
    }
    const std::uint32_t handle = strings.New(text);
    PutCell<std::uint32_t>(cell, handle);
    return handle != 0;
}

bool IsTrueWord(std::string_view text) {
    constexpr std::string_view kTrue = "true";
    if (text.size() != kTrue.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c =
            text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] + ('a' - 'A')) : text[i];
        if (c != kTrue[i])
            return false;
    }
    return true;
}

namespace {

// Integer text written into `out`'s own buffer, so a reused string does not reallocate.
template <class T> void AssignInteger(std::wstring& out, T value) {
    wchar_t digits[24];
    wchar_t* end = std::end(digits);
    wchar_t* p = end;
    using U = std::make_unsigned_t<T>;
    const bool negative = value < 0;
    U magnitude = negative ? U(0) - static_cast<U>(value) : static_cast<U>(value);
    do {
        *--p = static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (negative)
        *--p = L'-';
    out.assign(p, end);
}

} // namespace

std::string_view CellChars(const CRecord::CField& field, const unsigned char* cell) {
    const auto* chars = reinterpret_cast<const char*>(cell);
    return std::string_view(chars, strnlen(chars, static_cast<std::size_t>(field.Size)));
}

bool WriteCellText(const CRecord::CField& field,
                   unsigned char* cell,
                   std::wstring_view text,
                   StringTable& strings) {
    switch (field.Type) {
    case DT_INT:
        PutCell<std::int32_t>(cell, plat::_wtoi(text));
        return true;
    case DT_UINT: {
        unsigned value = 0;
        if (plat::ScanUnsigned(text, value))
            PutCell<std::uint32_t>(cell, value);
        return true;
    }
    case DT_STR:
        return WriteCellAnsi(field, cell, plat::ToAnsi(text), strings);
    case DT_PT_STR:
        return WritePtStr(cell, text, strings);
    case DT_BOOL:
        PutCell<std::int32_t>(cell, plat::EqualsNoCase(text, L"true") ? 1 : 0);
        return true;
    case DT_DOUBLE:
        PutCell<double>(cell, plat::_wtof(text));
        return true;
    case DT_FLOAT:
        PutCell<float>(cell, static_cast<float>(plat::_wtof(text)));
        return true;
    case DT_CHAR: {
        const std::string ansi = plat::ToAnsi(text);
        *cell = ansi.empty() ? 0 : static_cast<unsigned char>(ansi[0]);
        return true;
    }
    case DT_INT64:
        PutCell<std::int64_t>(cell, plat::_wtoi64(text));
        return true;
    default:
        return false;
    }
}

bool ReadCellText(const CRecord::CField& field,
                  const unsigned char* cell,
                  std::wstring& out,
                  const StringTable& strings) {
    switch (field.Type) {
    case DT_INT:
        AssignInteger(out, TakeCell<std::int32_t>(cell));
        return true;
    case DT_UINT:
        AssignInteger(out, TakeCell<std::uint32_t>(cell));
        return true;
    case DT_STR:
        plat::AssignFromAnsi(CellChars(field, cell), out);
        return true;
    case DT_PT_STR: {
        const std::wstring* s = strings.Get(TakeCell<std::uint32_t>(cell));
        if (s)
            out = *s;
        else
            out.clear();
        return true;
    }
    case DT_BOOL:
        out = TakeCell<std::int32_t>(cell) ? L"true" : L"false";
        return true;
    case DT_DOUBLE:
        out = plat::FormatDouble(TakeCell<double>(cell));
        return true;
    case DT_FLOAT:
        out = plat::FormatDouble(TakeCell<float>(cell));
        return true;
    case DT_CHAR:
        // "%c" of the byte: a zero byte is one zero character, as the variant's text gives it.
        if (*cell)
            out = plat::FromAnsi(std::string_view(reinterpret_cast<const char*>(cell), 1));
        else
            out.assign(1, L'\0');
        return true;
    case DT_INT64:
        AssignInteger(out, TakeCell<std::int64_t>(cell));
        return true;
    default:
        return false;
    }
}

bool ReadCellVariant(const CRecord::CField& field,
                     const unsigned char* cell,
                     CVariant& out,
                     const StringTable& strings) {
    switch (field.Type) {
    case DT_INT:
        return out.SetInt(TakeCell<std::int32_t>(cell));
    case DT_UINT:
        return out.SetUInt(TakeCell<std::uint32_t>(cell));
    case DT_BOOL:
        return out.SetBool(TakeCell<std::int32_t>(cell));
    case DT_DOUBLE:
        return out.SetDouble(TakeCell<double>(cell));
    case DT_FLOAT:
        return out.SetFloat(TakeCell<float>(cell));
    case DT_CHAR:
        return out.SetChar(static_cast<char>(*cell));
    case DT_INT64:
        return out.SetInt64(TakeCell<std::int64_t>(cell));
    case DT_STR:
        return out.SetString(plat::FromAnsi(CellChars(field, cell)));
    case DT_PT_STR: {
        const std::wstring* s = strings.Get(TakeCell<std::uint32_t>(cell));
        return out.SetString(s ? std::wstring_view(*s) : std::wstring_view());
    }
    default:
        return false;
    }
}

bool WriteCellVariant(const CRecord::CField& field,
                      unsigned char* cell,
                      const CVariant& value,
                      StringTable& strings) {
    if (const std::wstring* text = value.GetRawString())
        return WriteCellText(field, cell, *text, strings);
    switch (field.Type) {
    case DT_INT: {
        int v = 0;
        return value.GetInt(v) && (PutCell<std::int32_t>(cell, v), true);
    }
    case DT_UINT: {
        unsigned v = 0;
        return value.GetUInt(v) && (PutCell<std::uint32_t>(cell, v), true);
    }
    case DT_BOOL: {
        int v = 0;
        return value.GetBool(v) && (PutCell<std::int32_t>(cell, v ? 1 : 0), true);
    }
    case DT_DOUBLE: {
        double v = 0;
        return value.GetDouble(v) && (PutCell<double>(cell, v), true);
    }
    case DT_FLOAT: {
        float v = 0;
        return value.GetFloat(v) && (PutCell<float>(cell, v), true);
    }
    case DT_CHAR: {
        char v = 0;
        return value.GetChar(v) && (*cell = static_cast<unsigned char>(v), true);
    }
    case DT_INT64: {
        std::int64_t v = 0;
        return value.GetInt64(v) && (PutCell<std::int64_t>(cell, v), true);
    }
    case DT_STR:
    case DT_PT_STR: {
        std::wstring text;
        return value.Get(text) && WriteCellText(field, cell, text, strings);
    }
    default:
        return false;
    }
}

} // namespace orvo
