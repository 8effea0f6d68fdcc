#pragma once
// XStruct ("structure"): a named record layout declared in markup together with its rows.
// Children: "this.field" (one typed field), "this.addrow" (one initial row) and nested
// "structure" elements (one level deep), which become DT_STRUCT fields of their parent once
// read. "basename" copies a definition of the "StructureSet" file.
//
// Rows are contiguous, one buffer per row ("type" "dynamic"), or a ring of "MaxRow" rows
// where logical row r lives in physical row (ringStart + r) mod MaxRow. Every access checks
// the row, the column and the path and answers false (or null) outside them; nothing is
// allocated on access.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "data/meta_io_data.h"
#include "data/record.h"
#include "data/row_storage.h"
#include "data/sort_kind.h"

class XStruct : public XMetaIOData {
    ORVO_DISPATCH_MAP()

public:
    XStruct();
    // A copy of `source` (definition and rows) placed under `parent`.
    XStruct(const XStruct& source, XDO* parent);
    XStruct& operator=(const XStruct& source);
    static XStruct* GetNewInstance(const XStruct& source, XDO* parent);
    ORVO_KEY(L"structure")

    int SetElement(XElement* e) override;
    int SetMethod(const wchar_t* name, XElement* e) override;
    int AfterChildElement() override;

    // ---- definition ---------------------------------------------------------------------------
    const CRecord& GetRecord() const { return m_record; }
    CRecord& GetRecord() { return m_record; }
    int GetFieldIndex(const wchar_t* name) override;
    bool GetRowFieldIndex(const wchar_t* path, std::vector<int>& out) override;
    // The field a path ends at (rows are not checked here), or null.
    const CRecord::CField* GetField(const std::vector<int>& path) const;
    using XMetaIOData::GetFieldFormat;
    using XMetaIOData::GetFieldType;
    DT_DATA_TYPE GetFieldType(const std::vector<int>& path) override;
    CFormat* GetFieldFormat(const std::vector<int>& path) override;
    int GetRecordSize() const { return m_record.GetRecordSize(); }
    int GetFieldCount() const { return m_record.GetFieldCount(); }
    int GetMaxRow() const { return m_maxRow; }
    int GetRingStart() const { return m_ringStart; }
    bool HasVirtual() const { return m_record.HasVirtual(); }
    bool IsLastFieldVirtual() const { return m_record.IsLastFieldVirtual(); }
    bool HasPointerField() const { return m_record.HasPointerField(); }
    int GetPointerFieldNo() const { return m_record.GetPointerFieldNo(); }
    // The inner row count of a DT_STRUCT field; 0 for other fields and bad indices.
    int GetISCnt(int field) const;
    bool IsNested() const { return m_nested; }
    bool IsDynamic() const { return m_dynamic; }

    // ---- rows -----------------------------------------------------------------------------------
    bool ISMem() const { return m_memReady; }
    int GetRows() override { return m_count; }
    int GetRecordCount() const { return m_count; }
    // The declared rows (or the ring's MaxRow rows); false when memory already exists, when a
    // ring would hold DT_PT_STR cells, or when the rows do not fit.
    bool ConfirmDataMem();
    // At least `rows` rows; false when they cannot be made.
    bool ConfirmDataMem(int rows);
    // Rings only: the rows in use, at most MaxRow.
    bool SetRowCount(unsigned int rows);

    // ---- cells: text ----------------------------------------------------------------------------
    using XMetaIOData::GetVal;
    using XMetaIOData::SetVal;
    bool GetVal(int row, int col, std::wstring& out, int flag = 0) override;
    bool SetVal(int row, int col, const wchar_t* text, int flag = 0) override;
    // Text in the process code page.
    bool SetVal(int row, int col, const char* text, int flag = 0);
    bool GetVal(const std::vector<int>& path, std::wstring& out, int flag = 0) override;
    bool SetVal(const std::vector<int>& path, const wchar_t* text, int flag = 0) override;
    bool SetVal(const std::vector<int>& path, const char* text, int flag = 0);

    // ---- cells: variant -------------------------------------------------------------------------
    bool GetVal(int row, int col, CVariant& out, int flag = 0) override;
    bool SetVal(int row, int col, const CVariant& value, int flag = 0) override;
    bool GetVal(const std::vector<int>& path, CVariant& out, int flag = 0) override;
    bool GetNumber(const std::vector<int>& path, CellNumber& out) override;
    bool SetVal(const std::vector<int>& path, const CVariant& value, int flag = 0) override;

    // ---- cells: exact type only (a cell of another type answers false, untouched) ---------------
    bool GetVal(int row, int col, int& out, int flag = 0) override;
    bool SetVal(int row, int col, int value, int flag = 0) override;
    bool GetVal(const std::vector<int>& path, int& out, int flag = 0);
    bool GetValUInt(int row, int col, unsigned int& out);
    bool SetValUInt(int row, int col, unsigned int value);
    bool GetValBool(int row, int col, bool& out);
    bool SetValBool(int row, int col, bool value);
    bool GetVal(int row, int col, double& out, int flag = 0);
    bool SetVal(int row, int col, double value, int flag = 0);
    bool GetValFloat(int row, int col, float& out);
    bool SetValFloat(int row, int col, float value);
    bool GetValChar(int row, int col, char& out);
    bool SetValChar(int row, int col, char value);
    bool GetValInt64(int row, int col, std::int64_t& out);
    bool SetValInt64(int row, int col, std::int64_t value);
    bool GetValInt64(const std::vector<int>& path, std::int64_t& out);
    // The string object of a DT_PT_STR cell.
    bool GetVal(int row, int col, std::wstring*& out, int flag = 0) override;
    bool GetVal(const std::vector<int>& path, std::wstring*& out, int flag = 0) override;

    // ---- cells: bytes ---------------------------------------------------------------------------
    // DT_STR: zero-filled, then min(length, width) bytes; DT_STRUCT: only an exact width.
    bool SetValBin(int row, int col, const void* bytes, int length);
    // The address of a cell's bytes; valid until the rows change.
    bool GetValBlob(int row, int col, void*& where);

    // ---- row operations -------------------------------------------------------------------------
    // One row more, its cells from `text` split at `separator`; 1, or 0 when no row was added.
    int AddRecordEx(const wchar_t* text, const wchar_t* separator);
    int AddRecord(const wchar_t* text) { return AddRecordEx(text, L","); }
    // 1, or 0 without memory, for a bad row, and for rings.
    int RemoveRecord(int row);
    // One inner row of a DT_STRUCT field of a single contiguous row; 1, or 0.
    int RemoveInnerRecord(int field, int innerRow);
    // Back to no memory and no rows.
    void RmStruct();
    bool ShiftUp(int n);
    bool ShiftDown(int n);
    // Rows first .. first + count - 1 of `source`, a structure of this layout, go in at the
    // top as received rows do: the last of them at row 0, the first just above the rows
    // there were. A ring makes room by dropping its oldest rows (and keeps only the newest
    // MaxRow of the rows given); other structures grow. Whole rows move, so this is the fast
    // way for tick and fill lists. The rows put in, or 0 for bad rows, a row size that
    // differs, or variable-length strings or repeating groups (rows that cannot move whole).
    int InsertRowsAtTop(const XStruct& source, int first, int count) {
        // A tick into a full tick list is the common case, so it stays inline: the oldest row
        // becomes row 0 and takes the tick.
        if (count == 1 && m_memReady && m_maxRow > 0 && m_count == m_maxRow &&
            m_ringStart < m_maxRow && RowsMoveWholeFrom(source)) {
            const unsigned char* from = source.m_rows.Row(source.PhysicalRow(first));
            const int start = m_ringStart > 0 ? m_ringStart - 1 : m_maxRow - 1;
            unsigned char* to = m_rows.Row(start);
            if (!from || !to)
                return 0;
            m_ringStart = start;
            // Rows are short: fixed-size blocks copy faster than a library call.
            std::size_t n = static_cast<std::size_t>(m_rows.RowSize());
            for (; n >= 32; n -= 32, from += 32, to += 32)
                std::memcpy(to, from, 32);
            if (n > 0)
                std::memcpy(to, from, n);
            return 1;
        }
        return InsertRowsAtTopGrowing(source, first, count);
    }
    // Moves the first `fields` columns of rows 0 .. rows - n - 1 down by n rows as text,
    // leaving empty texts behind.
    static bool ShiftRecordTillEnd(XStruct* target, int rows, int fields, int n);
    // Stable; 1, or 0 for a bad field or no rows. See data/README.md for the orders.
    int Sort(int field, SORT_TYPE type, SORT_ORDER order);

    // ---- copies and comparison --------------------------------------------------------------
    // The definition and rows of `source`; a ring source is not copied.
    void CopyStruct(const XStruct& source);
    // The definition of `source` and, for contiguous storage, n more rows holding the
    // source's last n rows; a ring source is ignored.
    void CopyStructByCount(const XStruct& source, int n);
    // Same rows, flags, definitions and cells, then the same for first child and next sibling.
    bool operator==(const XStruct& other) const;

    // ---- received bytes and requests -----------------------------------------------------------
    // Received records in the record layout. False, with the previous rows kept, when
    // `bytes` is shorter than the layout needs.
    bool MapData(int records, int bytes, const char* data);
    // Tab-separated text records, line feed (mode 'T': also carriage return) ending a record.
    // The separators in `data` are overwritten with zero bytes.
    bool MapDelimiterData(int records, int bytes, char* data, char mode);
    // Row 0 in the record layout (a DT_PT_STR field as its text, without terminator).
    bool DumpRecord(std::vector<unsigned char>& out) const;
    // Row 0 as text, every field followed by `delimiter`. A zero DT_CHAR cell of row 0
    // becomes a blank first.
    bool DumpDelimiterRecord(std::vector<unsigned char>& out, char delimiter);
    // Every row's cells as text, formatted by the fields' formats.
    void DumpFormat(std::vector<std::vector<std::wstring>>& out) const;

    // ---- script methods ------------------------------------------------------------------------
    int GetRecordCountVB() { return m_count; }
    bool AddRecordVB(const wchar_t* text) { return AddRecord(text) != 0; }
    bool AddRecordExVB(const wchar_t* text, const wchar_t* separator) {
        return AddRecordEx(text, separator) != 0;
    }
    bool RemoveRecordVB(int row) { return RemoveRecord(row) != 0; }
    void RemoveAllVB() { RmStruct(); }
    bool SetValVB(int row, int col, const wchar_t* text) { return SetVal(row, col, text); }
    std::wstring GetValVB(int row, int col);

private:
    int ReadField(XElement* e);
    int ReadAddRow(XElement* e);
    // Appends this nested structure to `parent` as a DT_STRUCT field.
    int AppendTo(XStruct& parent);
    // The row memory of a top-level structure, with the message when it cannot be made.
    int AllocateDeclaredRows();

    // Rows of `source` can be copied here as bytes: another structure of the same layout
    // without variable-length strings or repeating groups.
    bool RowsMoveWholeFrom(const XStruct& source) const {
        // A structure that never held a row has no row storage yet: its layout decides.
        const int rowSize = m_rows.Rows() > 0 ? m_rows.RowSize() : GetRecordSize();
        return &source != this && source.m_rows.RowSize() == rowSize && !HasPointerField() &&
               !source.HasPointerField() && source.GetFieldCount() == GetFieldCount() &&
               !HasVirtual();
    }
    // InsertRowsAtTop for every case but a tick into a full ring.
    int InsertRowsAtTopGrowing(const XStruct& source, int first, int count);
    // Logical row to physical row; -1 outside the rows in use. Inline: every cell asks.
    int PhysicalRow(int row) const {
        if (!m_memReady || row < 0 || row >= m_count)
            return -1;
        if (m_maxRow > 0) {
            // ringStart < MaxRow and row < count <= MaxRow in use, so one subtraction wraps;
            // a count above MaxRow (declared so) takes the slow way.
            const std::int64_t physical = static_cast<std::int64_t>(m_ringStart) + row;
            if (physical < m_maxRow)
                return static_cast<int>(physical);
            return static_cast<int>(physical < 2 * static_cast<std::int64_t>(m_maxRow)
                                        ? physical - m_maxRow
                                        : physical % m_maxRow);
        }
        return row < m_rows.Rows() ? row : -1;
    }
    // A cell's bytes and field by (row, column) or by path; null when it does not exist.
    unsigned char* Cell(int row, int col, const CRecord::CField*& field);
    const unsigned char* Cell(int row, int col, const CRecord::CField*& field) const;
    unsigned char* Cell(const std::vector<int>& path, const CRecord::CField*& field);
    const unsigned char* Cell(const std::vector<int>& path, const CRecord::CField*& field) const;
    // Row `sourceRow` of `source` (same layout) into row `row`, strings by value.
    void CopyRow(const XStruct& source, int sourceRow, int row);
    template <class T> bool GetTyped(int row, int col, DT_DATA_TYPE type, T& out) const;
    template <class T> bool SetTyped(int row, int col, DT_DATA_TYPE type, T value);
    template <class T>
    bool GetTypedAt(const std::vector<int>& path, DT_DATA_TYPE type, T& out) const;
    // The string a DT_PT_STR cell names; false for other cells.
    bool StringOf(const unsigned char* cell, const CRecord::CField* field, std::wstring*& out);
    // exchange helpers
    // Exactly `records` rows in use for received records, reusing the rows there are; new
    // rows skip the field defaults when the data `overwritten` every byte of them.
    bool ReceiveRows(int records, bool overwritten);
    // Received rows replace the rows there were; `count` of them in use from physical row 0.
    void AdoptRows(orvo::RowStorage& rows, int count);

    bool m_nested = false;
    int m_count = 1;
    bool m_dynamic = false;
    int m_maxRow = 0;
    int m_ringStart = 0;
    bool m_memReady = false;
    CRecord m_record;
    orvo::RowStorage m_rows;
    // The repeating group whose inner rows the last received data decided: it is no longer
    // virtual once it has rows, yet the next data decides them again. -1 for none.
    int m_receivedGroupNo = -1;
};

// Clears the structure named `name` near `from` and tells its listeners; 1, or 0 when there
// is no such structure. Exported for "User." actions.
extern "C" int StructEmpty(XDO* from, const wchar_t* name);
