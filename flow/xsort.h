#pragma once
// XSort ("Sort"): every row of another IO data object, ordered by one field ("Field") read
// as text and compared as a string, an integer or a floating number ("Type"), ascending or
// descending ("Order"). Each change of the source sorts it again.
#include <string>

#include "data/sort_kind.h"
#include "flow/mapped_rows.h"

class XSort : public XMappedRows {
    ORVO_DISPATCH_MAP()

public:
    ORVO_KEY(L"Sort")

    int SetElement(XElement* e) override;
    int CreateInstance() override;
    int RunObjectEvent(int n) override;
    void OnNotifierChanged(XDO* notifier, int notifyId, int code, int value) override;

    // Field, type and order changed together, and the rows sorted again when one differs.
    int ChangeFTO(const wchar_t* field, const wchar_t* type, const wchar_t* order);
    int ChangeTO(const wchar_t* type, const wchar_t* order);
    int ChangeT(const wchar_t* type);
    int ChangeO(const wchar_t* order);
    // The position of a source row in the sorted order, or -1.
    int GetSortRow(int sourceRow) const;
    std::wstring GetOrder() const;
    std::wstring GetType() const;
    std::wstring GetField() const { return m_field; }

    // "NONE", "STR"/"STRING", "FLOAT"/"DOUBLE", "INT"/"INTEGER" and "ASC"/"ASCENDING",
    // "DESC"/"DESCENDING", of any case; -1 for other words.
    static int StrToType(const wchar_t* word);
    static int StrToOrder(const wchar_t* word);

protected:
    // Every source row, in order of the field; listeners hear (0, 0).
    void Refresh();

private:
    void SortRows();
    // Applies a change; 1 when it was taken (sorting again only when something differs).
    int Change(const std::wstring& field, int type, int order);

    std::wstring m_field;
    int m_fieldIndex = -1;
    SORT_TYPE m_type = SORT_NONE;
    SORT_ORDER m_order = SORT_ASC;
};
