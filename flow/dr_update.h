#pragma once
// CDRUpdate ("Update" of a data request): merges the rows of a received structure into a
// structure object of the screen (the "Control") by copying, adding at the top or bottom
// (within the control's maximum row count), overwriting the first or last row, or matching
// keys. Its "Field" children (CDRUpdateField) say which value goes into which column.
#include <memory>
#include <string>
#include <vector>

#include "flow/data_link.h"
#include "flow/formula.h"

class XDO;
class XElement;
class XMetaIOData;
class XStruct;

class CDRUpdateField {
public:
    enum Mode : int { MODE_NONE = 0, MODE_ITEM = 1, MODE_FORMULA = 2 };

    CDRUpdateField() = default;
    CDRUpdateField(const CDRUpdateField&) = delete;
    CDRUpdateField& operator=(const CDRUpdateField&) = delete;
    virtual ~CDRUpdateField() = default;

    // "Link" (control fields or objects), "Item"/"Src" or "Formula"/"Postfix" over the source,
    // "FormulaType"/"Type", "Format", "Format_StrID"/"Format_Str". 0 drops the field.
    virtual int SetElement(XElement* e, XMetaIOData* source, XMetaIOData* control);
    // One value from the source row (or inner row) into the target row of the control.
    virtual int Update(XStruct* source,
                       int sourceRow,
                       int innerRow,
                       int innerField,
                       XMetaIOData* control,
                       int targetRow);
    void LinkObject(XDO* owner);

private:
    Mode m_mode = MODE_NONE;
    std::vector<int> m_sourcePath;
    CFormula m_formula;
    CDataLinks m_targets;
    std::unique_ptr<CFormat> m_format;
    std::wstring m_formatString;
};

class CDRUpdate {
public:
    enum Method : int {
        METHOD_NONE = 0,
        METHOD_COPY,
        METHOD_ADD,
        METHOD_UPDATE,
        METHOD_UPDATE_BY_KEY
    };
    enum Where : int { WHERE_TOP = 0, WHERE_BOTTOM = 1 };

    CDRUpdate() = default;
    CDRUpdate(const CDRUpdate&) = delete;
    CDRUpdate& operator=(const CDRUpdate&) = delete;
    virtual ~CDRUpdate() = default;

    // 0 drops the update: a "Control" that names no structure (shown to the author), no valid
    // "Method", an unknown "InnerStruct", or unresolvable keys for "UpdateByKey".
    virtual int SetElement(XElement* e, XMetaIOData* source, XDO* owner, int clear);
    // Merges `received` into the control; 0 when a key cannot be read.
    virtual int Update(XStruct* received);
    virtual void LinkObject(XDO* owner);
    // With Clear on: removes the control's rows.
    virtual void Clear();

    XStruct* GetControl() const;

protected:
    int MethodCopy(XStruct* received);
    int MethodAdd(XStruct* received);
    int MethodUpdate(XStruct* received);
    int MethodUpdateByKey(XStruct* received);

private:
    // The rows the source brings: the inner rows of record 0 for an inner source.
    int SourceRows(XStruct* received) const;
    // Every field from source row (or inner row) `sourceRow` into row `targetRow`.
    void UpdateFields(XStruct* received, XStruct* control, int sourceRow, int targetRow);

    int m_clear = 1;
    std::vector<std::unique_ptr<CDRUpdateField>> m_fields;
    orvo::IXORef m_control; // a structure of the screen, held weakly
    Method m_method = METHOD_NONE;
    Where m_where = WHERE_BOTTOM;
    int m_reverseRow = 0;
    int m_skipRow = 0;
    int m_innerField = -1;
    std::vector<int> m_sourceKey;
    std::vector<int> m_targetKey;
};
