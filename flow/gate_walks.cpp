// The walk callbacks of gates: what the gather, pre-apply and apply walks do at each object.
#include "core/contracts.h"
#include "core/lib.h"
#include "core/loader.h"
#include "flow/xdata_sequence.h"
#include "flow/xgate.h"
#include "platform/base/nocase.h"

struct XGate::Walk {
    XElement* element;
    XElement* drag;
    XGate* trigger; // the gate the walk started from; null for a page replay
    bool climb;
};

namespace {

XGate* AsGate(XDO* obj) {
    return obj && orvo::HasStyle(obj, XDO_STYLE_GATE) ? orvo::KindOf<XGate>(obj) : nullptr;
}

XLoader* AsLoader(XDO* obj) {
    return obj && orvo::HasStyle(obj, XDO_STYLE_LOADER) ? orvo::KindOf<XLoader>(obj) : nullptr;
}

bool Live(XDO* obj) {
    return obj && !obj->IsTornDown();
}

// Runs gate event n; a handler not declared for the walk's direction is passed over as if it
// had agreed.
bool RunDirectedEvent(XDO* obj, int n, int direction) {
    if (XEvent* handler = obj->GetEventSlot(n)) {
        const bool acts = direction == TREE_SCAN_INFO<XDO>::DIR_SELF         ? handler->FromSelf()
                          : direction == TREE_SCAN_INFO<XDO>::DIR_FROM_CHILD ? handler->FromDown()
                                                                             : handler->FromUp();
        if (!acts)
            return true;
    }
    return obj->RunObjectEvent(n) != 0;
}

// The gate element is what scripts read and write while a gate's events run; nested walks
// inside a handler see their own.
class CurrentGateElement {
public:
    explicit CurrentGateElement(XElement* element) : m_saved(XDO::s_pGateElement) {
        XDO::s_pGateElement = element;
    }
    ~CurrentGateElement() { XDO::s_pGateElement = m_saved; }
    CurrentGateElement(const CurrentGateElement&) = delete;
    CurrentGateElement& operator=(const CurrentGateElement&) = delete;

private:
    XElement* m_saved;
};

// The receivers of an apply walk besides gates: they read the element in their events.
bool IsApplyReceiver(XDO* obj) {
    return orvo::HasStyle(obj, XDO_STYLE_DATASEQUENCE) || AsLoader(obj) ||
           XGate::IsApplyIXO(obj->GetIXOKey());
}

} // namespace

// ---- the walks -------------------------------------------------------------------------------

void XGate::RunWalk(XDO* start, ScanInfo::Callback callback, Walk& walk) {
    if (!Live(start))
        return;
    ScanInfo info;
    info.callback = callback;
    info.user = &walk;
    start->ScanTreeCNSP(info);
}

void XGate::RunGatherWalk(XDO* start, XElement* element, XElement* drag, bool climb) {
    Walk walk{element, drag, nullptr, climb};
    RunWalk(start, &GatherProc, walk);
}

void XGate::RunPreApplyWalk(XDO* start, XElement* element, XGate* trigger, bool climb) {
    Walk walk{element, nullptr, trigger, climb};
    RunWalk(start, &PreApplyProc, walk);
}

void XGate::RunApplyWalks(XDO* start, XElement* element, XGate* trigger, bool climb) {
    RunPreApplyWalk(start, element, trigger, climb);
    Walk walk{element, nullptr, trigger, climb};
    RunWalk(start, &ApplyProc, walk);
}

// ---- permissions shared by the walks -----------------------------------------------------------

// Phases 0 to 3 of the pre-apply and apply walks: gates steer by aup/adown, loaders with a
// closed gate keep the walk out of their page.
void XGate::SteerApply(int phase, XDO* obj, ScanInfo& info, const Walk& walk) {
    switch (phase) {
    case orvo::ScanClimb:
        if (!walk.climb)
            info.climb = false;
        else if (XGate* gate = AsGate(obj))
            info.climb = gate->IsAUp(walk.element);
        break;
    case orvo::ScanDescend:
        if (XLoader* loader = AsLoader(obj))
            info.descend = !loader->IsGateClosed();
        break;
    case orvo::ScanFirstChild:
        if (XGate* gate = AsGate(obj->child()))
            info.descend = gate->IsADown(walk.element);
        break;
    case orvo::ScanNext:
        if (XGate* gate = AsGate(obj->next()))
            info.next = gate->IsADown(walk.element);
        break;
    default:
        break;
    }
}

// ---- gather ------------------------------------------------------------------------------------

int XGate::GatherProc(int phase, XDO* obj, ScanInfo& info) {
    auto& walk = *static_cast<Walk*>(info.user);
    if (!Live(obj))
        return 1;
    switch (phase) {
    case orvo::ScanClimb:
        if (!walk.climb)
            info.climb = false;
        else if (XGate* gate = AsGate(obj))
            info.climb = gate->IsGUp(walk.element);
        break;
    case orvo::ScanDescend:
        info.descend = Live(obj->child()) && obj->child()->RunObjectEvent(EVT_GATE_CHILD) != 0;
        if (info.descend) {
            if (XLoader* loader = AsLoader(obj))
                info.descend = !loader->IsGateClosed();
        }
        break;
    case orvo::ScanFirstChild:
        if (XGate* gate = AsGate(obj->child()))
            info.descend = gate->IsGDown(walk.element);
        break;
    case orvo::ScanNext: {
        XDO* sibling = obj->next();
        info.next = Live(sibling) && sibling->RunObjectEvent(EVT_GATE_NEXT) != 0;
        if (info.next) {
            if (XGate* gate = AsGate(sibling))
                info.next = gate->IsGDown(walk.element);
        }
        break;
    }
    case orvo::ScanVisit: {
        XGate* gate = AsGate(obj);
        if (!gate || !gate->HasType(XGateItem::TYPE_OUTPUT))
            break;
        CurrentGateElement current(walk.element);
        if (!RunDirectedEvent(gate, EVT_GATE_BEFORE_OUTPUT, info.direction))
            break;
        gate->OutputProc(walk.element, walk.drag, info.direction);
        RunDirectedEvent(gate, EVT_GATE_AFTER_OUTPUT, info.direction);
        break;
    }
    default:
        break;
    }
    return 1;
}

// ---- pre-apply ---------------------------------------------------------------------------------

int XGate::PreApplyProc(int phase, XDO* obj, ScanInfo& info) {
    auto& walk = *static_cast<Walk*>(info.user);
    if (!Live(obj))
        return 1;
    if (phase != orvo::ScanVisit) {
        SteerApply(phase, obj, info, walk);
        return 1;
    }
    // A loader that switched its page walks the new page, so pages loaded inside switch too;
    // a tab panel that changed its page walks the page shown now.
    if (XLoader* loader = AsLoader(obj); loader && loader->DoSwitch(walk.element)) {
        RunPreApplyWalk(loader, walk.element, walk.trigger, false);
    } else if (plat::EqualsNoCase(obj->GetIXOKey(), L"TabPanel")) {
        static orvo::ContractMethod<orvo::contract::TabPanelSwitchPage> s_switchPage;
        if (auto switchPage = s_switchPage.Get(obj))
            if (XDO* page = switchPage(walk.element))
                RunPreApplyWalk(page, walk.element, walk.trigger, false);
    }
    return 1;
}

// ---- apply
// ---------------------------------------------------------------------------------------

int XGate::ApplyProc(int phase, XDO* obj, ScanInfo& info) {
    auto& walk = *static_cast<Walk*>(info.user);
    if (!Live(obj))
        return 1;
    switch (phase) {
    case orvo::ScanVisit:
        if (XGate* gate = AsGate(obj))
            gate->ReceiveApply(walk.element, info.direction);
        else if (IsApplyReceiver(obj))
            ReceiveApplyEvents(obj, walk.element, info.direction);
        break;
    case orvo::ScanBeforeChildren:
        if (XGate* gate = AsGate(obj); gate && gate != walk.trigger)
            walk.element = gate->EnterWithLocalGather(walk.element);
        break;
    case orvo::ScanAfterChildren:
        if (XGate* gate = AsGate(obj))
            walk.element = gate->LeaveLocalGather(walk.element);
        break;
    default:
        SteerApply(phase, obj, info, walk);
        break;
    }
    return 1;
}

void XGate::ReceiveApply(XElement* element, int direction) {
    m_applied = true;
    if (!HasType(XGateItem::TYPE_INPUT))
        return;
    CurrentGateElement current(element);
    if (!RunDirectedEvent(this, EVT_GATE_BEFORE_INPUT, direction))
        return;
    InputProc(element, direction);
    RunDirectedEvent(this, EVT_GATE_AFTER_INPUT, direction);
}

void XGate::ReceiveApplyEvents(XDO* receiver, XElement* element, int direction) {
    CurrentGateElement current(element);
    if (!RunDirectedEvent(receiver, EVT_GATE_BEFORE_INPUT, direction))
        return;
    RunDirectedEvent(receiver, EVT_GATE_AFTER_INPUT, direction);
}

XElement* XGate::EnterWithLocalGather(XElement* element) {
    // A gate closed to gathers from outside gathers its own part and lays it over (or under,
    // with KeepInnerItem false) what the walk brings, for its subtree only.
    if (IsGDown(element) || m_savedElement || !element)
        return element;
    XElement local(element->GetTagName(), nullptr);
    if (!_Gather(&local, nullptr, 0))
        return element;
    auto merged = std::make_unique<XElement>(element->GetTagName(), nullptr);
    if (IsKeepInnerItem(element)) {
        merged->Merge(element);
        merged->Merge(&local);
    } else {
        merged->Merge(&local);
        merged->Merge(element);
    }
    m_savedElement = element;
    m_mergedElement = std::move(merged);
    return m_mergedElement.get();
}

XElement* XGate::LeaveLocalGather(XElement* element) {
    if (!m_savedElement || element != m_mergedElement.get())
        return element;
    XElement* outer = m_savedElement;
    m_savedElement = nullptr;
    m_mergedElement.reset();
    return outer;
}
