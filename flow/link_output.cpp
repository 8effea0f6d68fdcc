#include "flow/link_output.h"

#include "core/contracts.h"
#include "core/element.h"
#include "core/xdo.h"
#include "data/meta_io_data.h"
#include "platform/base/lenient.h"
#include "platform/base/nocase.h"

namespace {

void SetUserState(XDO* visual, int state) {
    static orvo::ContractMethod<orvo::contract::VisualSetUserState> s_setUserState;
    if (auto set = s_setUserState.Get(visual))
        set(state, 1);
}

void SetUpdateCount(XDO* visual, int count) {
    static orvo::ContractMethod<orvo::contract::VisualSetUpdateCount> s_setUpdateCount;
    if (auto set = s_setUpdateCount.Get(visual))
        set(count);
}

} // namespace

namespace orvo {

void ReadFormulaType(XElement* e, CFormula& formula) {
    std::wstring type;
    if (!e->GetValue(L"FormulaType", type) && !e->GetValue(L"Type", type))
        return;
    if (plat::EqualsNoCase(type, L"Int") || plat::EqualsNoCase(type, L"Integer"))
        formula.SetPrecision(CFormula::PRECISION_INT);
    else if (plat::EqualsNoCase(type, L"Int64") || plat::EqualsNoCase(type, L"Integer64"))
        formula.SetPrecision(CFormula::PRECISION_INT64);
    else if (plat::EqualsNoCase(type, L"Double"))
        formula.SetPrecision(CFormula::PRECISION_DOUBLE);
    else if (plat::EqualsNoCase(type, L"String"))
        formula.SetPrecision(CFormula::PRECISION_STRING);
}

std::wstring ReadFormatString(XElement* e) {
    int id = 0;
    if (e->GetValue(L"Format_StrID", id))
        return GetLangText(id);
    std::wstring text;
    e->GetValue(L"Format_Str", text);
    return text;
}

} // namespace orvo

// ---- output links ---------------------------------------------------------------------------

int CLinkOutput::SetElement(XElement* e, XMetaIOData* output, int clear) {
    if (!e)
        return 0;
    m_clear = clear;
    e->GetBool(L"Clear", m_clear);
    std::wstring item;
    if (!output || !e->GetValue(L"Item", item) || !output->GetRowFieldIndex(item.c_str(), m_path))
        return 0;
    e->GetValue(L"statelink", m_stateLinkText);
    if (e->GetValue(L"Link", m_linkText)) {
        std::wstring format;
        if (e->GetValue(L"Format", format))
            m_format.SetFormat(format);
        m_formatString = orvo::ReadFormatString(e);
    }
    e->GetBool(L"Animation", m_animation);
    return 1;
}

void CLinkOutput::ReadLinks(XElement* e) {
    if (e->GetValue(L"Link", m_linkText)) {
        std::wstring format;
        if (e->GetValue(L"Format", format))
            m_format.SetFormat(format);
    }
    e->GetValue(L"StateLink", m_stateLinkText);
    e->GetValue(L"CalcLink", m_calcLinkText);
}

void CLinkOutput::MakeObject(XDO*) {
    m_targets.Parse(m_linkText, nullptr);
    m_calcTargets.Parse(m_calcLinkText, nullptr);
    m_stateTargets.Parse(m_stateLinkText, nullptr);
}

void CLinkOutput::LinkObject(XDO* owner) {
    m_targets.Resolve(owner);
    m_calcTargets.Resolve(owner);
    m_stateTargets.Resolve(owner);
}

void CLinkOutput::Finish(std::wstring& value) const {
    value = m_format.GetString(value);
    if (!m_formatString.empty())
        value = orvo::WrapWithFormatString(m_formatString, value);
}

int CLinkOutput::GetValue(XMetaIOData* received, std::wstring& value) {
    if (!received || !received->GetVal(m_path, value, 0))
        return 0;
    Finish(value);
    return 1;
}

void CLinkOutput::Write(const std::wstring& value, const std::function<void()>& afterEach) {
    for (const CDataLink& target : m_targets) {
        target.Write(nullptr, value);
        if (XDO* visual = target.Visual(); visual && m_animation)
            SetUpdateCount(visual, 5);
        if (afterEach)
            afterEach();
    }
    const int state = plat::_wtoi(value.c_str());
    for (const CDataLink& target : m_stateTargets) {
        if (XDO* visual = target.Visual())
            SetUserState(visual, state);
        if (afterEach)
            afterEach();
    }
}

void CLinkOutput::Clear() {
    if (!m_clear)
        return;
    for (const CDataLink& target : m_targets) {
        target.Write(nullptr, L"");
        if (XDO* visual = target.Visual())
            SetUpdateCount(visual, 0);
    }
    for (const CDataLink& target : m_stateTargets) {
        if (XDO* visual = target.Visual())
            SetUserState(visual, 0);
    }
}

// ---- formula links ----------------------------------------------------------------------------

int CDRLinkFormula::SetElement(XElement* e, XMetaIOData* output, int clear) {
    if (!e)
        return 0;
    m_clear = clear;
    e->GetBool(L"Clear", m_clear);
    orvo::ReadFormulaType(e, m_formula);
    if (output) {
        std::wstring text;
        if (e->GetValue(L"Formula", text)) {
            if (!m_formula.SetFormula(output, text))
                return 0;
        } else if (e->GetValue(L"Postfix", text)) {
            if (!m_formula.SetPostfix(output, text))
                return 0;
        }
    }
    ReadLinks(e);
    return 1;
}

void CDRLinkFormula::LinkObject(XDO* owner) {
    CLinkOutput::LinkObject(owner);
    m_formula.LinkObject(owner);
}

int CDRLinkFormula::GetValue(XMetaIOData* received, std::wstring& value) {
    m_formula.EvaluateNE(received, value);
    value = m_format.GetString(value);
    return 1;
}
