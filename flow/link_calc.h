#pragma once
// CDRLinkCalc ("calc" of a data request): a value computed from fields of the received
// structure (or from the values of its "CalcLink" objects) by one of the fixed market
// calculations: "Plus", "Minus", "Divide", "Rate", "AddSign", "LastClose", "UpDownRatio",
// "FormatDate" and "PriceState".
#include <string>
#include <vector>

#include "data/variant.h"
#include "flow/link_output.h"

class CDRLinkCalc : public CLinkOutput {
public:
    enum Method : int {
        METHOD_NONE = 0,
        METHOD_PLUS,
        METHOD_MINUS,
        METHOD_DIVIDE,
        METHOD_RATE,
        METHOD_ADD_SIGN,
        METHOD_LAST_CLOSE,
        METHOD_UP_DOWN_RATIO,
        METHOD_FORMAT_DATE,
        METHOD_PRICE_STATE,
    };

    // 0 without "Method"; an unknown method is kept and yields no value. Item names that name
    // no field are shown as "Unknown Calc Item: " and the name, and skipped.
    int SetElement(XElement* e, XMetaIOData* output, int clear) override;
    // 0 when the method yields no value (wrong operand count, unknown method).
    int GetValue(XMetaIOData* received, std::wstring& value) override;

    Method GetMethod() const { return m_method; }

private:
    std::vector<std::vector<int>> m_items;
    std::vector<CVariant> m_operands; // refilled by every GetValue
    Method m_method = METHOD_NONE;
};
