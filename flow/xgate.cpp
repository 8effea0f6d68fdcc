#include "flow/xgate.h"

#include <algorithm>

#include "core/contracts.h"
#include "core/loader.h"
#include "core/object_lifetime.h"
#include "platform/base/nocase.h"

namespace {

[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XGate>();
// Loaders replay their kept gate data into pages loaded after the start through this.
[[maybe_unused]] const int g_pageTrigger = (XLoader::SetPageTrigger(&XGate::ChildPageTrigger), 1);

} // namespace

int XGate::s_nTriggerDepth = 0;
std::vector<std::wstring> XGate::s_arrApplyIXO;
std::unique_ptr<XElement> XGate::s_pLinkElem;

ORVO_DISPATCH(XGate,
              XDO,
              ORVO_METHOD_AS(ApplyVB, Apply),
              ORVO_METHOD(ApplyParamVB),
              ORVO_METHOD(SetParam),
              ORVO_METHOD(Gather),
              ORVO_METHOD(GatherDrag),
              ORVO_METHOD(LocalGather),
              ORVO_PROVIDE(orvo::contract::GateTrigger, TriggerVB))

XGate::XGate() {
    m_nStyle |= XDO_STYLE_GATE;
}

XGate::~XGate() = default;

int XGate::SetElement(XElement* e) {
    if (!XDO::SetElement(e))
        return 0;
    std::wstring types;
    if (e->GetValue(L"Type", types))
        m_types = orvo::ParseGateTypes(types, false);
    e->GetBool(L"Trigger", m_autoTrigger);
    e->GetBool(L"AutoTrigger", m_autoTrigger);
    e->GetBool(L"DragTrigger", m_dragTrigger);
    e->GetBool(L"DropTrigger", m_dropTrigger);
    e->GetBool(L"DragBlock", m_dragBlock);
    e->GetBool(L"DropBlock", m_dropBlock);
    e->GetBool(L"gup", m_gup);
    e->GetBool(L"gdown", m_gdown);
    e->GetBool(L"aup", m_aup);
    e->GetBool(L"adown", m_adown);
    e->GetBool(L"KeepInnerItem", m_keepInnerItem);
    return 1;
}

int XGate::SetMethod(const wchar_t* name, XElement* e) {
    if (!XDO::SetMethod(name, e))
        return 0;
    const std::wstring_view method(name ? name : L"");
    if (plat::EqualsNoCase(method, L"GateItem")) {
        auto item = std::make_unique<XGateItem>();
        item->SetElement(e);
        m_items.push_back(std::move(item));
    } else if (plat::EqualsNoCase(method, L"Switch")) {
        auto gateSwitch = std::make_unique<XGateSwitch>();
        if (gateSwitch->SetElement(e) == 1)
            m_switches.push_back(std::move(gateSwitch));
    }
    return 1;
}

void XGate::LinkObject() {
    XDO* anchor = child();
    for (const auto& item : m_items) {
        if (item->LinkObject(anchor) && item->GetLinked())
            item->GetLinked()->AddLinkedGate(this);
    }
    if (!anchor)
        return;
    for (const auto& gateSwitch : m_switches)
        gateSwitch->LinkObject(anchor);
}

int XGate::RunObjectEvent(int n) {
    switch (n) {
    case EVT_AFTERCREATE:
        LinkObject();
        listener<XDO>::Register();
        break;
    case EVT_INITIALIZE:
        m_nCreateState = 3;
        break;
    case EVT_RUN:
        m_nCreateState = 4;
        if (m_autoTrigger && !m_applied) {
            if (s_pLinkElem) {
                if (XGate* drop = FindDefaultDropGate(this)) {
                    std::unique_ptr<XElement> linked = std::move(s_pLinkElem);
                    drop->TriggerWithElem(this, linked.get());
                }
            }
            // The drop gate's apply walk may already have reached this gate.
            if (m_autoTrigger && !m_applied)
                TriggerWithElem(this, nullptr);
        }
        break;
    default:
        break;
    }
    XEvent* handler = GetEventSlot(n);
    return handler ? handler->Run(this) : 1;
}

// ---- items ----------------------------------------------------------------------------------

void XGate::MakeOutputInfo(XElement* element, XElement* drag) {
    OutputProc(element, drag, ScanInfo::DIR_SELF);
}

void XGate::OutputProc(XElement* element, XElement* drag, int direction) {
    for (const auto& item : m_items)
        item->GetOutputInfo(element, drag, direction);
}

void XGate::InputProc(XElement* element, int direction) {
    for (const auto& item : m_items)
        item->SetInputInfo(element, direction);
}

// ---- switches -------------------------------------------------------------------------------

bool XGate::Resolve(const XElement* element,
                    bool gatherSwitch,
                    const XGateSwitch::Override& (XGateSwitch::*which)() const,
                    bool own) const {
    for (const auto& gateSwitch : m_switches) {
        const bool matches = gatherSwitch ? gateSwitch->IsMatchingGatherSwitch(element)
                                          : gateSwitch->IsMatchingApplySwitch(element);
        if (!matches)
            continue;
        const XGateSwitch::Override& value = (*gateSwitch.*which)();
        return value.present ? value.value : own;
    }
    return own;
}

bool XGate::IsGUp(const XElement* element) const {
    return Resolve(element, true, &XGateSwitch::GUp, m_gup);
}

bool XGate::IsGDown(const XElement* element) const {
    return Resolve(element, true, &XGateSwitch::GDown, m_gdown);
}

bool XGate::IsAUp(const XElement* element) const {
    return Resolve(element, false, &XGateSwitch::AUp, m_aup);
}

bool XGate::IsADown(const XElement* element) const {
    return Resolve(element, false, &XGateSwitch::ADown, m_adown);
}

bool XGate::IsKeepInnerItem(const XElement* element) const {
    return Resolve(element, false, &XGateSwitch::KeepInnerItem, m_keepInnerItem);
}

// ---- entry points ---------------------------------------------------------------------------

namespace {

// Holds the trigger depth up for one trigger, apply or gather.
class DepthScope {
public:
    explicit DepthScope(int& depth) : m_depth(depth) { ++m_depth; }
    ~DepthScope() { --m_depth; }
    DepthScope(const DepthScope&) = delete;
    DepthScope& operator=(const DepthScope&) = delete;

private:
    int& m_depth;
};

} // namespace

int XGate::TriggerWithElem(XDO*, XElement* extra) {
    if (!HasType(XGateItem::TYPE_OUTPUT) || s_nTriggerDepth != 0)
        return 0;
    // Handlers run inside the walks may close the screen: its objects stay whole until the
    // walks are over.
    orvo::DispatchScope dispatch;
    DepthScope depth(s_nTriggerDepth);
    XElement element(GetName(), nullptr);
    MakeOutputInfo(&element, nullptr);
    RunGatherWalk(this, &element, nullptr, true);
    if (extra)
        element.Merge(extra);
    RunApplyWalks(this, &element, this, true);
    return 1;
}

int XGate::_Gather(XElement* element, XElement* drag, int climb) {
    if (!HasType(XGateItem::TYPE_OUTPUT) || !element)
        return 0;
    orvo::DispatchScope dispatch;
    DepthScope depth(s_nTriggerDepth);
    if (element->GetTagName().empty())
        element->SetTagName(GetName());
    MakeOutputInfo(element, drag);
    RunGatherWalk(this, element, drag, climb != 0);
    return 1;
}

int XGate::GatherDrag(XElement* drag) {
    XElement element(GetName(), nullptr);
    return _Gather(&element, drag, 1);
}

int XGate::Apply() {
    if (!HasType(XGateItem::TYPE_OUTPUT))
        return 0;
    XElement element(GetName(), nullptr);
    MakeOutputInfo(&element, nullptr);
    return Apply(&element);
}

int XGate::Apply(XElement* element) {
    if (s_nTriggerDepth != 0 || !element)
        return 0;
    orvo::DispatchScope dispatch;
    DepthScope depth(s_nTriggerDepth);
    RunApplyWalks(this, element, this, true);
    return 1;
}

int XGate::ApplyParamVB(const wchar_t* text) {
    XElement element(GetName(), nullptr);
    element.MakeValue(text ? text : L"");
    return Apply(&element);
}

int XGate::SetParam(const wchar_t* text) {
    XElement element(GetName(), nullptr);
    return element.MakeValue(text ? text : L"");
}

int XGate::ChildPageTrigger(XDO* root, XElement* saved) {
    if (s_nTriggerDepth != 0 || !root || !saved)
        return 0;
    orvo::DispatchScope dispatch;
    DepthScope depth(s_nTriggerDepth);
    XElement element(saved->GetTagName(), nullptr);
    element.Merge(saved);
    RunGatherWalk(root, &element, nullptr, false);
    RunApplyWalks(root, &element, nullptr, false);
    return 1;
}

// ---- apply kinds and the link element ---------------------------------------------------------

int XGate::RegisterApplyIXO(const wchar_t* key) {
    if (!key)
        return 0;
    if (!IsApplyIXO(key))
        s_arrApplyIXO.emplace_back(key);
    return 1;
}

bool XGate::IsApplyIXO(const std::wstring& key) {
    return std::find(s_arrApplyIXO.begin(), s_arrApplyIXO.end(), key) != s_arrApplyIXO.end();
}

void XGate::SetLinkElement(std::unique_ptr<XElement> element) {
    s_pLinkElem = std::move(element);
}

extern "C" int GateTrigger(XDO* caller, const wchar_t* name) {
    if (!caller || !name || !IsLiveXdo(caller))
        return 0;
    auto* gate = orvo::KindOf<XGate>(caller->GetNearObjByName(name));
    if (!gate)
        return 0;
    gate->TriggerWithElem(caller, nullptr);
    return 1;
}
