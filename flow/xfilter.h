#pragma once
// XFilter ("filter"): the rows of another IO data object for which a formula ("Formula",
// evaluated in the precision of "FormulaType" or "Type") is not zero. It follows inserts,
// updates and removals at the source's ends incrementally, testing only the rows they touch.
#include <string>

#include "flow/formula.h"
#include "flow/mapped_rows.h"

class XFilter : public XMappedRows {
public:
    ORVO_KEY(L"filter")

    int SetElement(XElement* e) override;
    int CreateInstance() override;
    int RunObjectEvent(int n) override;
    void OnNotifierChanged(XDO* notifier, int notifyId, int code, int value) override;

    // The view row showing source row `sourceRow`, or -1.
    int GetFilterRow(int sourceRow) const;

private:
    // Whether source row `row` passes the formula.
    bool EvalRow(XMetaIOData* source, int row);
    // Tests source rows [from, to) in order and appends the passing ones to `map` (emptied
    // first with `clear`); how many passed.
    int MakeArrRow(int from, int to, std::vector<int>& map, bool clear);
    // Follows one change at the source.
    void Follow(XMetaIOData* source, int code, int value);

    std::wstring m_formulaText;
    CFormula m_formula;
};
