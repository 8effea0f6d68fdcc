#pragma once
// RowStorage: the bytes of a structure's rows, either one contiguous block or one buffer per
// row, and the variable-length strings its DT_PT_STR cells refer to. A DT_PT_STR cell holds
// a 32-bit handle into this storage's string table (0: none), never an address, so rows can
// be copied and moved as plain bytes.
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "data/record.h"

namespace orvo {

class RowStorage {
public:
    // Appends `rows` rows of `record`'s layout, each zeroed and given the field defaults.
    // False, with nothing changed, when the layout is refused, the storage would exceed
    // CRecord::kMaxRecordSize bytes, or memory runs out.
    bool Append(const CRecord& record, int rows, bool perRow);
    void Clear();

    int Rows() const { return m_rows; }
    // The bytes of one physical row, or null.
    unsigned char* Row(int row);
    const unsigned char* Row(int row) const;

    // Writes `text` into a cell, converted by the field's type; false for a bad cell or a
    // type that takes no text (DT_STRUCT, DT_BLOB).
    bool SetText(const CRecord& record, int row, int col, std::wstring_view text);
    // The text form of a cell; false for a bad cell, DT_STRUCT and DT_BLOB.
    bool GetText(const CRecord& record, int row, int col, std::wstring& out) const;
    // The string a handle names, or null.
    std::wstring* String(std::uint32_t handle);
    const std::wstring* String(std::uint32_t handle) const;

private:
    void InitRow(const CRecord& record, unsigned char* row);
    std::uint32_t NewString(const std::wstring& text);
    unsigned char* Cell(const CRecord& record, int row, int col, const CRecord::CField*& field);

    bool m_perRow = false;
    int m_rowSize = 0;
    int m_rows = 0;
    std::vector<unsigned char> m_block;                // contiguous rows
    std::vector<std::vector<unsigned char>> m_buffers; // one per row
    std::deque<std::wstring> m_strings; // handle h is index h - 1; elements never move
};

} // namespace orvo
