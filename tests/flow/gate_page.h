#pragma once
// Pages for gate tests, built from markup as screens are. "Probe" objects hold a data value;
// they and "ProbeGate" gates log every gate event they receive with the gate element as it
// stood. Each can refuse events ("Refuse"="14,20"), trigger another gate from
// "GateBeforeInput" ("Nested") or close the page from "GateAfterInput" ("DestroyPage").
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/object_lifetime.h"
#include "flow/xgate.h"
#include "markup_page.h"
#include "nubra/tok.h"

namespace test {

inline std::vector<std::wstring>& GateLog() {
    static std::vector<std::wstring> log;
    return log;
}

// What a probe or probe gate does on an event: log it, run the nested trigger, say whether
// the event is refused.
class ProbeBehaviour {
public:
    void Read(XElement* e) {
        std::wstring refuse;
        if (e->GetValue(L"Refuse", refuse)) {
            CTok tok(refuse, L",");
            int n = 0;
            while (tok.GetNext(n))
                m_refused.insert(n);
        }
        e->GetValue(L"Nested", m_nested);
        e->GetBool(L"DestroyPage", m_destroyPage);
    }
    bool OnEvent(XDO* self, int n) {
        if (n < EVT_GATE_BEFORE_INPUT || n > EVT_GATE_NEXT)
            return true;
        std::wstring entry = self->GetName() + L":" + std::to_wstring(n);
        if (XDO::s_pGateElement && n <= EVT_GATE_AFTER_OUTPUT)
            entry += L"[" + XDO::s_pGateElement->MakeString() + L"]";
        GateLog().push_back(entry);
        if (n == EVT_GATE_BEFORE_INPUT && !m_nested.empty()) {
            auto* gate = orvo::KindOf<XGate>(self->GetNearObjByName(m_nested.c_str()));
            GateLog().push_back(L"nested=" +
                                std::to_wstring(gate ? gate->TriggerWithElem(self, nullptr) : -1));
        }
        if (n == EVT_GATE_AFTER_INPUT && m_destroyPage)
            orvo::DestroyObject(self->GetTopParent());
        return m_refused.count(n) == 0;
    }

private:
    std::set<int> m_refused;
    std::wstring m_nested;
    bool m_destroyPage = false;
};

class GateProbe : public XDO {
    ORVO_DISPATCH_MAP()

public:
    ORVO_KEY(L"Probe")

    int SetElement(XElement* e) override {
        if (!XDO::SetElement(e))
            return 0;
        m_probe.Read(e);
        std::wstring data;
        if (e->GetValue(L"Data", data))
            SetData(data.c_str());
        return 1;
    }
    int RunObjectEvent(int n) override {
        const bool agreed = m_probe.OnEvent(this, n);
        return XDO::RunObjectEvent(n) && agreed ? 1 : 0;
    }

private:
    ProbeBehaviour m_probe;
};

class ProbeGate : public XGate {
    ORVO_DISPATCH_MAP()

public:
    ORVO_KEY(L"ProbeGate")

    int SetElement(XElement* e) override {
        if (!XGate::SetElement(e))
            return 0;
        m_probe.Read(e);
        return 1;
    }
    int RunObjectEvent(int n) override {
        const bool agreed = m_probe.OnEvent(this, n);
        return XGate::RunObjectEvent(n) && agreed ? 1 : 0;
    }

private:
    ProbeBehaviour m_probe;
};

class GateTest : public MarkupPageTest {
protected:
    void SetUp() override {
        MarkupPageTest::SetUp();
        orvo::RegisterFactory<GateProbe>();
        orvo::RegisterFactory<ProbeGate>();
        // Probes take part in apply walks as receivers: they log the events they are handed.
        XGate::RegisterApplyIXO(L"Probe");
        GateLog().clear();
    }
    void TearDown() override {
        MarkupPageTest::TearDown();
        IXO::Unregister(L"Probe");
        IXO::Unregister(L"ProbeGate");
        GateLog().clear();
    }

    XDO* Obj(const wchar_t* name) const { return page->GetObjByNameDown(name); }
    XGate* Gate(const wchar_t* name) const { return orvo::KindOf<XGate>(Obj(name)); }
    std::wstring Data(const wchar_t* name) const {
        std::wstring value;
        if (XDO* obj = Obj(name))
            obj->GetData(&value);
        return value;
    }
};

} // namespace test
