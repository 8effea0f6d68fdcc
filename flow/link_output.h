#pragma once
// CLinkOutput ("output" of a data request): reads one field of the received structure and
// writes it, formatted, into its targets; the visual objects of its "StateLink" take the
// value as their user state. CDRLinkFormula ("Formula") computes the value with a formula
// instead; CDRLinkCalc ("calc") with a fixed market calculation.
#include <functional>
#include <string>
#include <vector>

#include "flow/data_link.h"
#include "flow/formula.h"
#include "nubra/format.h"

class XDO;
class XElement;
class XMetaIOData;

class CLinkOutput {
public:
    CLinkOutput() = default;
    CLinkOutput(const CLinkOutput&) = delete;
    CLinkOutput& operator=(const CLinkOutput&) = delete;
    virtual ~CLinkOutput() = default;

    // 0 drops the link: "Item" is missing or names no field of `output`.
    virtual int SetElement(XElement* e, XMetaIOData* output, int clear);
    virtual void LinkObject(XDO* owner);
    // The value for this answer; 0 when there is none.
    virtual int GetValue(XMetaIOData* received, std::wstring& value);
    // Parses the link texts into targets; resolved by LinkObject.
    virtual void MakeObject(XDO* owner);
    // With Clear on: empties the targets and resets the states of the state targets.
    virtual void Clear();

    // Writes `value` into every target, then sets the state targets' user state from it;
    // `afterEach` runs after each of them.
    void Write(const std::wstring& value, const std::function<void()>& afterEach);

    const CDataLinks& GetTargets() const { return m_targets; }
    const CDataLinks& GetCalcTargets() const { return m_calcTargets; }
    const CDataLinks& GetStateTargets() const { return m_stateTargets; }

protected:
    // "Link" with "Format", "StateLink"/"statelink" and "CalcLink".
    void ReadLinks(XElement* e);
    // Applies the format and then the format string.
    void Finish(std::wstring& value) const;

    std::vector<int> m_path;
    int m_clear = 0;
    int m_animation = 0;
    std::wstring m_linkText;
    std::wstring m_calcLinkText;
    std::wstring m_stateLinkText;
    std::wstring m_formatString;
    CDataLinks m_targets;
    CDataLinks m_calcTargets;
    CDataLinks m_stateTargets;
    CFormat m_format;
};

class CDRLinkFormula : public CLinkOutput {
public:
    int SetElement(XElement* e, XMetaIOData* output, int clear) override;
    void LinkObject(XDO* owner) override;
    int GetValue(XMetaIOData* received, std::wstring& value) override;

private:
    CFormula m_formula;
};

namespace orvo {
// "Int"/"Integer", "Int64"/"Integer64", "Double", "String" of "FormulaType" (or else "Type")
// into `formula`; other texts leave it alone.
void ReadFormulaType(XElement* e, CFormula& formula);
// "Format_StrID" (a language text) or else "Format_Str".
std::wstring ReadFormatString(XElement* e);
} // namespace orvo
