#pragma once
// The conversions between one cell's bytes and text or variant values, by the field's type.
// Cells are unaligned: every value is read and written with memcpy.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "data/inline_number.h"
#include "data/record.h"
#include "data/string_table.h"
#include "data/variant.h"
#include "platform/base/codepage.h"
#include "platform/base/lenient.h"

namespace orvo {

template <class T> inline void PutCell(unsigned char* cell, T value) {
    std::memcpy(cell, &value, sizeof(T));
}

template <class T> inline T TakeCell(const unsigned char* cell) {
    T value;
    std::memcpy(&value, cell, sizeof(T));
    return value;
}

// Text into a cell; false for DT_STRUCT, DT_BLOB and DT_NONE. DT_STR is cut to the width in
// the process code page and zero padded; DT_PT_STR takes the whole text.
bool WriteCellText(const CRecord::CField& field,
                   unsigned char* cell,
                   std::wstring_view text,
                   StringTable& strings);
// Text already in the process code page. Gives what converting it to wide text first would,
// without converting where the bytes are used as they stand. Inline (below): received text
// is mapped a cell at a time, by the hundred thousand.
bool WriteCellAnsi(const CRecord::CField& field,
                   unsigned char* cell,
                   std::string_view ansi,
                   StringTable& strings);
// A DT_PT_STR cell's string set to `text` (a new string when the cell names none).
bool WritePtStr(unsigned char* cell, std::wstring_view text, StringTable& strings);
// "true" without case.
bool IsTrueWord(std::string_view text);
// The text form of a cell; false for DT_STRUCT, DT_BLOB and DT_NONE.
bool ReadCellText(const CRecord::CField& field,
                  const unsigned char* cell,
                  std::wstring& out,
                  const StringTable& strings);
// A DT_STR cell's bytes up to the width or the first zero byte.
std::string_view CellChars(const CRecord::CField& field, const unsigned char* cell);

bool ReadCellVariant(const CRecord::CField& field,
                     const unsigned char* cell,
                     CVariant& out,
                     const StringTable& strings);
// Text variants are written as text; others are converted to the cell's type.
bool WriteCellVariant(const CRecord::CField& field,
                      unsigned char* cell,
                      const CVariant& value,
                      StringTable& strings);

inline bool WriteCellAnsi(const CRecord::CField& field,
                          unsigned char* cell,
                          std::string_view ansi,
                          StringTable& strings) {
    switch (field.Type) {
    case DT_STR: {
        const auto width = static_cast<std::size_t>(field.Size);
        std::memset(cell, 0, width);
        std::memcpy(cell, ansi.data(), std::min(ansi.size(), width));
        return true;
    }
    case DT_CHAR:
        *cell = ansi.empty() ? 0 : static_cast<unsigned char>(ansi[0]);
        return true;
    case DT_PT_STR:
        return WritePtStr(cell, plat::FromAnsi(ansi), strings);
    // Number texts are ASCII: the bytes read as their decoded text would.
    case DT_INT:
        PutCell<std::int32_t>(cell, InlineAtoi(ansi));
        return true;
    case DT_UINT: {
        unsigned value = 0;
        if (plat::ScanUnsigned(ansi, value))
            PutCell<std::uint32_t>(cell, value);
        return true;
    }
    case DT_BOOL:
        PutCell<std::int32_t>(cell, IsTrueWord(ansi) ? 1 : 0);
        return true;
    case DT_DOUBLE:
        PutCell<double>(cell, InlineAtof(ansi));
        return true;
    case DT_FLOAT:
        PutCell<float>(cell, static_cast<float>(InlineAtof(ansi)));
        return true;
    case DT_INT64:
        PutCell<std::int64_t>(cell, InlineAtoi64(ansi));
        return true;
    default:
        return false;
    }
}

} // namespace orvo
