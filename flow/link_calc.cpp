#include "flow/link_calc.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "core/contracts.h"
#include "core/element.h"
#include "core/notice_messages.h"
#include "core/xdo.h"
#include "data/meta_io_data.h"
#include "nubra/tok.h"
#include "nubra/trim_blanks.h"
#include "platform/base/format.h"
#include "platform/base/lenient.h"
#include "platform/base/nocase.h"

// Integer results are computed in 64 bits and narrowed with wrap, as the formula engine's
// 32-bit arithmetic does: a sum past 2^31 reads the same here as in a formula, and nothing
// overflows. A zero divisor gives "0" (Divide and Rate alike): a quote without a base price
// must show a quiet zero, not stop the answer.

namespace {

using Operands = std::vector<CVariant>;

struct MethodName {
    const wchar_t* name;
    CDRLinkCalc::Method method;
};

constexpr MethodName kMethods[] = {
    {L"Plus", CDRLinkCalc::METHOD_PLUS},
    {L"Minus", CDRLinkCalc::METHOD_MINUS},
    {L"Divide", CDRLinkCalc::METHOD_DIVIDE},
    {L"Rate", CDRLinkCalc::METHOD_RATE},
    {L"AddSign", CDRLinkCalc::METHOD_ADD_SIGN},
    {L"LastClose", CDRLinkCalc::METHOD_LAST_CLOSE},
    {L"UpDownRatio", CDRLinkCalc::METHOD_UP_DOWN_RATIO},
    {L"FormatDate", CDRLinkCalc::METHOD_FORMAT_DATE},
    {L"PriceState", CDRLinkCalc::METHOD_PRICE_STATE},
};

CDRLinkCalc::Method MethodOf(const std::wstring& name) {
    for (const MethodName& m : kMethods) {
        if (plat::EqualsNoCase(name, m.name))
            return m.method;
    }
    return CDRLinkCalc::METHOD_NONE;
}

std::wstring Int(std::int64_t value) {
    return plat::FormatInt(static_cast<int>(static_cast<std::uint32_t>(value)));
}

std::wstring Percent(double value) {
    return plat::Format(L"%.2f%%", value);
}

// The text of a calc target without its thousands separators; empty when unreadable.
std::wstring CalcText(const CDataLink& target) {
    std::wstring text;
    if (!target.Read(nullptr, text))
        text.clear();
    std::erase(text, L',');
    return text;
}

// Two operands: the received values when there are exactly two, else the two calc targets.
std::optional<std::pair<std::int64_t, std::int64_t>> TwoOperands(const Operands& operands,
                                                                 const CDataLinks& calc) {
    if (operands.size() == 2)
        return std::pair<std::int64_t, std::int64_t>(operands[0].GetInt(), operands[1].GetInt());
    if (calc.Size() == 2)
        return std::pair<std::int64_t, std::int64_t>(plat::_wtoi(CalcText(calc[0])),
                                                     plat::_wtoi(CalcText(calc[1])));
    return std::nullopt;
}

// Sign codes 4 and 5 mark a falling price.
bool Falling(const CVariant& sign) {
    const int code = sign.GetInt();
    return code == 4 || code == 5;
}

std::optional<std::wstring> Plus(const Operands& operands) {
    std::int64_t sum = 0;
    for (const CVariant& v : operands)
        sum += v.GetInt();
    return Int(sum);
}

std::optional<std::wstring> Divide(std::int64_t a, std::int64_t b) {
    if (a == 0 || b == 0)
        return std::wstring(L"0");
    return Int(a / b);
}

std::optional<std::wstring> Rate(std::int64_t a, std::int64_t b) {
    if (a == 0 || b == 0)
        return std::wstring(L"0");
    return Percent(static_cast<double>(b - a) / static_cast<double>(b) * 100.0);
}

std::optional<std::wstring> LastClose(const Operands& operands) {
    const std::int64_t price = operands[0].GetInt();
    const std::int64_t change = operands[1].GetInt();
    int sign = 0;
    if (!operands[2].GetInt(sign) || sign < 3)
        return Int(price - change);
    return Int(sign > 3 ? price + change : price);
}

std::optional<std::wstring> UpDownRatio(const Operands& operands) {
    const std::int64_t price = operands[0].GetInt();
    std::int64_t change = operands[1].GetInt();
    if (Falling(operands[2]))
        change = -change;
    if (price == change)
        return Percent(0.0);
    const double ratio = static_cast<double>(price) / static_cast<double>(price - change);
    return Percent((ratio - 1.0) * 100.0);
}

std::optional<std::wstring> FormatDate(const CVariant& date) {
    std::wstring text;
    if (!date.Get(text))
        return std::wstring();
    if (text.size() != 8)
        return std::nullopt;
    return text.substr(0, 4) + L'.' + text.substr(4, 2) + L'.' + text.substr(6, 2);
}

// Colours each visual calc target after the first by its value against the first: 2 above,
// 5 below, 3 level (or when either cannot be read as a number).
void PriceState(const CDataLinks& calc) {
    static orvo::ContractMethod<orvo::contract::VisualSetUserState> s_setUserState;
    if (calc.Empty())
        return;
    const std::wstring baseText = CalcText(calc[0]);
    const double base = plat::_wtof(baseText);
    for (std::size_t i = 1; i < calc.Size(); ++i) {
        XDO* visual = calc[i].Visual();
        if (!visual)
            continue;
        auto set = s_setUserState.Get(visual);
        if (!set)
            continue;
        const std::wstring text = CalcText(calc[i]);
        const double value = plat::_wtof(text);
        int state = 3;
        if (!baseText.empty() && !text.empty() && value > base)
            state = 2;
        else if (!baseText.empty() && !text.empty() && value < base)
            state = 5;
        set(state, 1);
    }
}

} // namespace

int CDRLinkCalc::SetElement(XElement* e, XMetaIOData* output, int clear) {
    if (!e)
        return 0;
    m_clear = clear;
    e->GetBool(L"Clear", m_clear);
    std::wstring method;
    if (!e->GetValue(L"Method", method))
        return 0;
    m_method = MethodOf(method);

    m_items.clear();
    std::wstring items;
    e->GetValue(L"Items", items);
    CTok names(items, L",");
    std::wstring piece;
    while (names.GetNext(piece)) {
        const std::wstring name(orvo::TrimBlanks(piece));
        if (name.empty())
            continue;
        std::vector<int> path;
        if (output && output->GetRowFieldIndex(name.c_str(), path))
            m_items.push_back(std::move(path));
        else
            ConfirmMsg(L"Unknown Calc Item: " + name);
    }
    ReadLinks(e);
    return 1;
}

int CDRLinkCalc::GetValue(XMetaIOData* received, std::wstring& value) {
    m_operands.clear();
    if (received) {
        for (const std::vector<int>& path : m_items) {
            CVariant v;
            if (received->GetVal(path, v, 0))
                m_operands.push_back(std::move(v));
        }
    }
    if (m_method == METHOD_PRICE_STATE) {
        PriceState(m_calcTargets);
        return 1;
    }

    std::optional<std::wstring> result;
    const Operands& ops = m_operands;
    switch (m_method) {
    case METHOD_PLUS:
        result = Plus(ops);
        break;
    case METHOD_MINUS:
        if (auto ab = TwoOperands(ops, m_calcTargets))
            result = Int(ab->first - ab->second);
        break;
    case METHOD_DIVIDE:
        if (auto ab = TwoOperands(ops, m_calcTargets))
            result = Divide(ab->first, ab->second);
        break;
    case METHOD_RATE:
        if (auto ab = TwoOperands(ops, m_calcTargets))
            result = Rate(ab->first, ab->second);
        break;
    case METHOD_ADD_SIGN:
        if (ops.size() == 2) {
            const std::int64_t amount = ops[0].GetInt();
            result = Int(Falling(ops[1]) ? -amount : amount);
        }
        break;
    case METHOD_LAST_CLOSE:
        if (ops.size() == 3)
            result = LastClose(ops);
        break;
    case METHOD_UP_DOWN_RATIO:
        if (ops.size() == 3)
            result = UpDownRatio(ops);
        break;
    case METHOD_FORMAT_DATE:
        if (ops.size() == 1)
            result = FormatDate(ops[0]);
        break;
    default:
        break;
    }
    if (!result)
        return 0;
    value = m_format.GetString(*result);
    return 1;
}
