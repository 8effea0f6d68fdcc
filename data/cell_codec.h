#pragma once
// The conversions between one cell's bytes and text or variant values, by the field's type.
// Cells are unaligned: every value is read and written with memcpy.
#include <cstring>
#include <string>
#include <string_view>

#include "data/record.h"
#include "data/string_table.h"
#include "data/variant.h"

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
// without converting where the bytes are used as they stand.
bool WriteCellAnsi(const CRecord::CField& field,
                   unsigned char* cell,
                   std::string_view ansi,
                   StringTable& strings);
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

} // namespace orvo
