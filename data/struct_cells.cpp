// XStruct: field lookups, row memory and cell access.
#include <algorithm>
#include <cstring>

#include "data/cell_codec.h"
#include "data/inner_struct.h"
#include "data/struct.h"

using orvo::PutCell;
using orvo::TakeCell;

// ---- definition lookups ------------------------------------------------------------------------

int XStruct::GetFieldIndex(const wchar_t* name) {
    return m_record.GetFieldIndex(name ? name : L"");
}

bool XStruct::GetRowFieldIndex(const wchar_t* path, std::vector<int>& out) {
    return m_record.GetRowFieldIndex(path, out);
}

const CRecord::CField* XStruct::GetField(const std::vector<int>& path) const {
    const CRecord* record = &m_record;
    const CRecord::CField* field = nullptr;
    for (std::size_t i = 1; i < path.size(); i += 2) {
        field = record ? record->GetField(path[i]) : nullptr;
        if (!field)
            return nullptr;
        record = field->InnerStruct ? &field->InnerStruct->record : nullptr;
    }
    return field;
}

DT_DATA_TYPE XStruct::GetFieldType(const std::vector<int>& path) {
    const CRecord::CField* f = GetField(path);
    return f ? f->Type : DT_NONE;
}

CFormat* XStruct::GetFieldFormat(const std::vector<int>& path) {
    const CRecord::CField* f = GetField(path);
    return f ? f->Format.get() : nullptr;
}

int XStruct::GetISCnt(int field) const {
    const CRecord::CField* f = m_record.GetField(field);
    return f && f->Type == DT_STRUCT && f->InnerStruct ? f->InnerStruct->count : 0;
}

// ---- row memory ------------------------------------------------------------------------------

bool XStruct::ConfirmDataMem() {
    if (m_memReady)
        return false;
    if (m_maxRow < 1) {
        if (m_count < 1)
            return true;
        if (!m_rows.Append(m_record, m_count, m_dynamic))
            return false;
    } else {
        if (HasPointerField() || !m_rows.Append(m_record, m_maxRow, m_dynamic))
            return false;
    }
    m_memReady = true;
    return true;
}

bool XStruct::ConfirmDataMem(int rows) {
    if (!m_memReady && !ConfirmDataMem())
        return false;
    if (rows <= m_count)
        return true;
    if (m_maxRow > 0) {
        // A ring never grows: it only puts more of its rows in use, and each one it puts in
        // use is a new row, not the record it held before.
        if (rows > m_maxRow)
            return false;
        const int first = std::max(m_count, 0);
        m_count = rows;
        for (int r = first; r < rows; ++r)
            m_rows.ResetRow(m_record, PhysicalRow(r));
        return true;
    }
    // Rows beyond the count (left by SetRowCount) are dropped, so every added row is new.
    m_rows.Truncate(m_record, std::max(m_count, 0));
    if (!m_rows.Append(m_record, rows - m_rows.Rows(), m_dynamic))
        return false;
    m_count = rows;
    m_memReady = true;
    return true;
}

bool XStruct::SetRowCount(unsigned int rows) {
    // A ring whose rows were never made has none to put in use.
    if (rows > static_cast<unsigned int>(std::max(m_maxRow, 0)) || (rows > 0 && !m_memReady))
        return false;
    m_count = static_cast<int>(rows);
    return true;
}

// ---- cell addresses ---------------------------------------------------------------------------

unsigned char* XStruct::Cell(int row, int col, const CRecord::CField*& field) {
    field = nullptr;
    int offset = 0;
    const CRecord::CField* f = m_record.FieldAt(col, offset);
    const int physical = PhysicalRow(row);
    unsigned char* bytes = physical < 0 ? nullptr : m_rows.Row(physical);
    if (!bytes || !f || m_rows.RowSize() != m_record.GetRecordSize())
        return nullptr;
    field = f;
    return bytes + offset;
}

const unsigned char* XStruct::Cell(int row, int col, const CRecord::CField*& field) const {
    return const_cast<XStruct*>(this)->Cell(row, col, field);
}

unsigned char* XStruct::Cell(const std::vector<int>& path, const CRecord::CField*& field) {
    field = nullptr;
    if (path.size() != 2 && path.size() != 4)
        return nullptr;
    const CRecord::CField* outer = nullptr;
    unsigned char* bytes = Cell(path[0], path[1], outer);
    if (!bytes || path.size() == 2) {
        field = outer;
        return bytes;
    }
    if (outer->Type != DT_STRUCT || !outer->InnerStruct)
        return nullptr;
    const CInnerStruct& inner = *outer->InnerStruct;
    const CRecord::CField* f = inner.record.GetField(path[3]);
    const int innerSize = inner.GetRecordSize();
    const int innerRow = path[2];
    // The inner rows must lie inside the field's bytes of this row.
    if (!f || innerSize < 0 || innerRow < 0 || innerRow >= inner.count ||
        static_cast<std::int64_t>(innerRow + 1) * innerSize > outer->Size)
        return nullptr;
    field = f;
    return bytes + static_cast<std::ptrdiff_t>(innerRow) * innerSize +
           inner.record.GetOffSet(path[3]);
}

const unsigned char* XStruct::Cell(const std::vector<int>& path,
                                   const CRecord::CField*& field) const {
    return const_cast<XStruct*>(this)->Cell(path, field);
}

// ---- text ---------------------------------------------------------------------------------

bool XStruct::GetVal(int row, int col, std::wstring& out, int) {
    const CRecord::CField* f = nullptr;
    const unsigned char* cell = Cell(row, col, f);
    return cell && orvo::ReadCellText(*f, cell, out, m_rows.Strings());
}

bool XStruct::SetVal(int row, int col, const wchar_t* text, int) {
    const CRecord::CField* f = nullptr;
    unsigned char* cell = text ? Cell(row, col, f) : nullptr;
    return cell && orvo::WriteCellText(*f, cell, text, m_rows.Strings());
}

bool XStruct::SetVal(int row, int col, const char* text, int) {
    const CRecord::CField* f = nullptr;
    unsigned char* cell = text ? Cell(row, col, f) : nullptr;
    return cell && orvo::WriteCellAnsi(*f, cell, text, m_rows.Strings());
}

bool XStruct::GetVal(const std::vector<int>& path, std::wstring& out, int) {
    const CRecord::CField* f = nullptr;
    const unsigned char* cell = Cell(path, f);
    return cell && orvo::ReadCellText(*f, cell, out, m_rows.Strings());
}

bool XStruct::SetVal(const std::vector<int>& path, const wchar_t* text, int) {
    const CRecord::CField* f = nullptr;
    unsigned char* cell = text ? Cell(path, f) : nullptr;
    return cell && orvo::WriteCellText(*f, cell, text, m_rows.Strings());
}

bool XStruct::SetVal(const std::vector<int>& path, const char* text, int) {
    const CRecord::CField* f = nullptr;
    unsigned char* cell = text ? Cell(path, f) : nullptr;
    return cell && orvo::WriteCellAnsi(*f, cell, text, m_rows.Strings());
}

std::wstring XStruct::GetValVB(int row, int col) {
    std::wstring text;
    if (!GetVal(row, col, text))
        text.clear();
    return text;
}

// ---- variant ------------------------------------------------------------------------------

bool XStruct::GetVal(int row, int col, CVariant& out, int) {
    const CRecord::CField* f = nullptr;
    const unsigned char* cell = Cell(row, col, f);
    return cell && orvo::ReadCellVariant(*f, cell, out, m_rows.Strings());
}

bool XStruct::SetVal(int row, int col, const CVariant& value, int) {
    const CRecord::CField* f = nullptr;
    unsigned char* cell = Cell(row, col, f);
    return cell && orvo::WriteCellVariant(*f, cell, value, m_rows.Strings());
}

bool XStruct::GetVal(const std::vector<int>& path, CVariant& out, int) {
    const CRecord::CField* f = nullptr;
    const unsigned char* cell = Cell(path, f);
    return cell && orvo::ReadCellVariant(*f, cell, out, m_rows.Strings());
}

bool XStruct::GetNumber(const std::vector<int>& path, CellNumber& out) {
    const CRecord::CField* f = nullptr;
    const unsigned char* cell = Cell(path, f);
    if (!cell)
        return false;
    switch (f->Type) {
    case DT_INT:
        out.whole = TakeCell<std::int32_t>(cell);
        break;
    case DT_INT64:
        out.whole = TakeCell<std::int64_t>(cell);
        break;
    case DT_DOUBLE:
        out.real = TakeCell<double>(cell);
        break;
    default:
        return false;
    }
    out.type = f->Type;
    return true;
}

bool XStruct::SetVal(const std::vector<int>& path, const CVariant& value, int) {
    const CRecord::CField* f = nullptr;
    unsigned char* cell = Cell(path, f);
    return cell && orvo::WriteCellVariant(*f, cell, value, m_rows.Strings());
}

// ---- exact types --------------------------------------------------------------------------

template <class T> bool XStruct::GetTyped(int row, int col, DT_DATA_TYPE type, T& out) const {
    const CRecord::CField* f = nullptr;
    const unsigned char* cell = Cell(row, col, f);
    if (!cell || f->Type != type)
        return false;
    out = TakeCell<T>(cell);
    return true;
}

template <class T>
bool XStruct::GetTypedAt(const std::vector<int>& path, DT_DATA_TYPE type, T& out) const {
    const CRecord::CField* f = nullptr;
    const unsigned char* cell = Cell(path, f);
    if (!cell || f->Type != type)
        return false;
    out = TakeCell<T>(cell);
    return true;
}

template <class T> bool XStruct::SetTyped(int row, int col, DT_DATA_TYPE type, T value) {
    const CRecord::CField* f = nullptr;
    unsigned char* cell = Cell(row, col, f);
    if (!cell || f->Type != type)
        return false;
    PutCell<T>(cell, value);
    return true;
}

bool XStruct::GetVal(int row, int col, int& out, int) {
    return GetTyped(row, col, DT_INT, out);
}

bool XStruct::SetVal(int row, int col, int value, int) {
    return SetTyped(row, col, DT_INT, value);
}

bool XStruct::GetVal(const std::vector<int>& path, int& out, int) {
    return GetTypedAt(path, DT_INT, out);
}

bool XStruct::GetValUInt(int row, int col, unsigned int& out) {
    return GetTyped(row, col, DT_UINT, out);
}

bool XStruct::SetValUInt(int row, int col, unsigned int value) {
    return SetTyped(row, col, DT_UINT, value);
}

bool XStruct::GetValBool(int row, int col, bool& out) {
    std::int32_t value = 0;
    if (!GetTyped(row, col, DT_BOOL, value))
        return false;
    out = value != 0;
    return true;
}

bool XStruct::SetValBool(int row, int col, bool value) {
    return SetTyped<std::int32_t>(row, col, DT_BOOL, value ? 1 : 0);
}

bool XStruct::GetVal(int row, int col, double& out, int) {
    return GetTyped(row, col, DT_DOUBLE, out);
}

bool XStruct::SetVal(int row, int col, double value, int) {
    return SetTyped(row, col, DT_DOUBLE, value);
}

bool XStruct::GetValFloat(int row, int col, float& out) {
    return GetTyped(row, col, DT_FLOAT, out);
}

bool XStruct::SetValFloat(int row, int col, float value) {
    return SetTyped(row, col, DT_FLOAT, value);
}

bool XStruct::GetValChar(int row, int col, char& out) {
    return GetTyped(row, col, DT_CHAR, out);
}

bool XStruct::SetValChar(int row, int col, char value) {
    return SetTyped(row, col, DT_CHAR, value);
}

bool XStruct::GetValInt64(int row, int col, std::int64_t& out) {
    return GetTyped(row, col, DT_INT64, out);
}

bool XStruct::SetValInt64(int row, int col, std::int64_t value) {
    return SetTyped(row, col, DT_INT64, value);
}

bool XStruct::GetValInt64(const std::vector<int>& path, std::int64_t& out) {
    return GetTypedAt(path, DT_INT64, out);
}

bool XStruct::GetVal(int row, int col, std::wstring*& out, int) {
    const CRecord::CField* f = nullptr;
    const unsigned char* cell = Cell(row, col, f);
    return StringOf(cell, f, out);
}

bool XStruct::GetVal(const std::vector<int>& path, std::wstring*& out, int) {
    const CRecord::CField* f = nullptr;
    const unsigned char* cell = Cell(path, f);
    return StringOf(cell, f, out);
}

bool XStruct::StringOf(const unsigned char* cell,
                       const CRecord::CField* field,
                       std::wstring*& out) {
    std::wstring* s = cell && field->Type == DT_PT_STR
                          ? m_rows.Strings().Get(TakeCell<std::uint32_t>(cell))
                          : nullptr;
    if (!s)
        return false;
    out = s;
    return true;
}

// ---- bytes ----------------------------------------------------------------------------------

bool XStruct::SetValBin(int row, int col, const void* bytes, int length) {
    const CRecord::CField* f = nullptr;
    unsigned char* cell = bytes && length >= 0 ? Cell(row, col, f) : nullptr;
    if (!cell)
        return false;
    if (f->Type == DT_STR) {
        if (length < f->Size)
            std::memset(cell, 0, static_cast<std::size_t>(f->Size));
        std::memcpy(cell, bytes, static_cast<std::size_t>(std::min(length, f->Size)));
        return true;
    }
    if (f->Type == DT_STRUCT && length == f->Size) {
        std::memcpy(cell, bytes, static_cast<std::size_t>(length));
        return true;
    }
    return false;
}

bool XStruct::GetValBlob(int row, int col, void*& where) {
    const CRecord::CField* f = nullptr;
    unsigned char* cell = Cell(row, col, f);
    if (!cell)
        return false;
    where = cell;
    return true;
}
