#pragma once
// XReformIOData ("ReformIOData"): the base of views that show another data object's rows
// filtered or reordered. It names its source like a proxy but insists on a name, and
// translates view rows to source rows; at this level the view is the source unchanged.
#include "data/proxy_io_data.h"
#include "data/sort_kind.h"

class XReformIOData : public XProxyIOData {
    ORVO_DISPATCH_MAP()

public:
    ORVO_KEY(L"ReformIOData")

    int SetElement(XElement* e) override;

    // The source row shown at `row`.
    virtual int GetOrgRow(int row) { return row; }
    // Answers 0: nothing is sorted at this level.
    virtual int Sort(int field, SORT_TYPE type, SORT_ORDER order);
    // Sort with the field named and the type ("NONE", "STR"/"STRING", "FLOAT", "INT"/"INTEGER")
    // and order ("ASC", "DESC") as words of any case; an unknown word sorts nothing.
    virtual int SortVB(const wchar_t* field, const wchar_t* type, const wchar_t* order);
};
