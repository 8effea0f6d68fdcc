#pragma once
// XStruct ("structure"): a named record layout declared in markup together with its rows.
// Children: "this.field" (one typed field), "this.addrow" (one initial row) and nested
// "structure" elements (one level deep), which become DT_STRUCT fields of their parent once
// read. "basename" copies a definition of the "StructureSet" file.
#include <string>
#include <vector>

#include "core/xdo.h"
#include "data/record.h"
#include "data/row_storage.h"

class XStruct : public XDO {
public:
    XStruct();
    const wchar_t* GetIXOKey() const override { return L"structure"; }

    int SetElement(XElement* e) override;
    int SetMethod(const wchar_t* name, XElement* e) override;
    int AfterChildElement() override;

    // ---- definition ---------------------------------------------------------------------------
    const CRecord& GetRecord() const { return m_record; }
    CRecord& GetRecord() { return m_record; }
    int GetFieldIndex(const wchar_t* name) const {
        return m_record.GetFieldIndex(name ? name : L"");
    }
    bool GetRowFieldIndex(const wchar_t* path, std::vector<int>& out) const {
        return m_record.GetRowFieldIndex(path, out);
    }
    // The field a resolved path ends at (rows are not checked here), or null.
    const CRecord::CField* GetField(const std::vector<int>& path) const;
    DT_DATA_TYPE GetFieldType(const std::vector<int>& path) const;
    CFormat* GetFieldFormat(const std::vector<int>& path) const;
    int GetRecordSize() const { return m_record.GetRecordSize(); }
    int GetFieldCount() const { return m_record.GetFieldCount(); }
    int GetMaxRow() const { return m_maxRow; }
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
    int GetRows() const { return m_count; }
    // The declared rows (or the ring's MaxRow rows); false when memory already exists, when a
    // ring would hold DT_PT_STR cells, or when the rows do not fit (see RowStorage).
    bool ConfirmDataMem();
    // At least `rows` rows; false when they cannot be made.
    bool ConfirmDataMem(int rows);
    // A cell as text; false for a row or column outside the structure.
    bool SetVal(int row, int col, const wchar_t* text);
    bool GetVal(int row, int col, std::wstring& out) const;
    // The definition and rows of `source`; a ring source is not copied.
    void CopyStruct(const XStruct& source);

private:
    int ReadField(XElement* e);
    int ReadAddRow(XElement* e);
    // Appends this nested structure to `parent` as a DT_STRUCT field.
    int AppendTo(XStruct& parent);
    int PhysicalRow(int row) const;
    // The row memory of a top-level structure, with the message when it cannot be made.
    int AllocateDeclaredRows();

    bool m_nested = false;
    int m_count = 1;
    bool m_dynamic = false;
    int m_maxRow = 0;
    int m_ringStart = 0;
    bool m_memReady = false;
    CRecord m_record;
    orvo::RowStorage m_rows;
};
