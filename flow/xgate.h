#pragma once
// XGate ("gate"): moves named values between the objects of one screen. Triggering a gate
// runs three walks over the object tree, each starting at the gate:
//
//   gather     every gate met adds its output items' values to the gate element
//   pre-apply  loaders met switch their page to suit the gate element
//   apply      every gate met writes its input items' keys into their linked objects; loaders,
//              data sequences and the registered apply kinds get the element through events
//
// A walk visits the start's children, its later siblings and the start itself, then climbs
// to the parent and does the same there (the children before the one it came from). Gates
// steer the walks with "gup"/"gdown"/"aup"/"adown", and their switches override those by the
// triggering gate's name or a key of the element. Drag and drop between windows go through
// the drag gate near the source and the drop gate near the target.
#include <memory>
#include <string>
#include <vector>

#include "core/xdo.h"
#include "flow/xgate_item.h"
#include "flow/xgate_switch.h"

// Gate events, run on the objects the walks meet.
enum XGateEvent : int {
    EVT_GATE_BEFORE_INPUT = 14,
    EVT_GATE_AFTER_INPUT = 15,
    EVT_GATE_BEFORE_OUTPUT = 16,
    EVT_GATE_AFTER_OUTPUT = 17,
    EVT_GATE_CHILD = 20, // on a first child: false keeps a gather out of its parent's children
    EVT_GATE_NEXT = 21,  // on a next sibling: false makes a gather skip it
};

class XGate : public XDO {
    ORVO_DISPATCH_MAP()

public:
    XGate();
    ORVO_KEY(L"gate")

    using ScanInfo = TREE_SCAN_INFO<XDO>;

    int SetElement(XElement* e) override;
    int SetMethod(const wchar_t* name, XElement* e) override;
    int RunObjectEvent(int n) override;

    // Resolves the items' links and the switches' values against the first child object.
    void LinkObject();

    // ---- triggering -----------------------------------------------------------------------
    int Trigger(XDO* source) { return TriggerWithElem(source, nullptr); }
    // Gathers, merges `extra` over the gathered values and applies; 0 when the gate has no
    // output type or any trigger or apply is running.
    int TriggerWithElem(XDO* source, XElement* extra);
    int TriggerVB() { return TriggerWithElem(this, nullptr); }

    // ---- gathering ------------------------------------------------------------------------
    int Gather(XElement* element) { return _Gather(element, nullptr, 1); }
    // Without climbing: this gate's subtree, its later siblings and the gate itself.
    int LocalGather(XElement* element) { return _Gather(element, nullptr, 0); }
    int GatherDrag(XElement* drag);
    void MakeOutputInfo(XElement* element, XElement* drag);
    void OutputProc(XElement* element, XElement* drag, int direction);
    void InputProc(XElement* element, int direction);

    // ---- applying -------------------------------------------------------------------------
    int Apply();
    int Apply(XElement* element);
    int ApplyVB() { return Apply(); }
    int ApplyParamVB(const wchar_t* text);
    int SetParam(const wchar_t* text);

    // ---- fields ---------------------------------------------------------------------------
    int GetTypes() const { return m_types; }
    bool HasType(int type) const { return (m_types & type) != 0; }
    const std::vector<std::unique_ptr<XGateItem>>& GetItems() const { return m_items; }
    bool IsApplied() const { return m_applied; }
    bool IsAutoTrigger() const { return m_autoTrigger; }
    bool IsDragTrigger() const { return m_dragTrigger; }
    bool IsDropTrigger() const { return m_dropTrigger; }
    bool IsDragBlock() const { return m_dragBlock; }
    bool IsDropBlock() const { return m_dropBlock; }

    // ---- statics --------------------------------------------------------------------------
    static int GetTriggerDepth() { return s_nTriggerDepth; }
    // Registry keys whose objects receive the gate element through events during apply.
    static int RegisterApplyIXO(const wchar_t* key);
    static bool IsApplyIXO(const std::wstring& key);
    // Replays the gate data a loader kept into the page it loaded.
    static int ChildPageTrigger(XDO* root, XElement* saved);
    static XGate* FindDragGate(XDO* obj);
    static XGate* FindDropGate(XDO* obj);
    // The first drop gate of `obj`'s whole screen, in pre-order from its top object.
    static XGate* FindDefaultDropGate(XDO* obj);
    // The element a drag from `obj` carries (owned by the caller), or null.
    static XElement* FindGatherDrag(XDO* obj);
    static int DropGateTrigger(XDO* obj, XElement* element);
    // The element handed to a screen opened by link; the first auto-triggered gate of that
    // screen takes it (ownership passes).
    static void SetLinkElement(std::unique_ptr<XElement> element);
    static XElement* GetLinkElement() { return s_pLinkElem.get(); }

    static int GatherProc(int phase, XDO* obj, ScanInfo& info);
    static int PreApplyProc(int phase, XDO* obj, ScanInfo& info);
    static int ApplyProc(int phase, XDO* obj, ScanInfo& info);
    static int FindGateProc(int phase, XDO* obj, ScanInfo& info);

protected:
    ~XGate() override;

    int _Gather(XElement* element, XElement* drag, int climb);
    bool IsGUp(const XElement* element) const;
    bool IsGDown(const XElement* element) const;
    bool IsAUp(const XElement* element) const;
    bool IsADown(const XElement* element) const;
    bool IsKeepInnerItem(const XElement* element) const;

private:
    struct Walk;
    // The three walks: (element, drag) through the gather, then pre-apply and apply.
    static void RunWalk(XDO* start, ScanInfo::Callback callback, Walk& walk);
    static void RunGatherWalk(XDO* start, XElement* element, XElement* drag, bool climb);
    static void RunApplyWalks(XDO* start, XElement* element, XGate* trigger, bool climb);
    static void RunPreApplyWalk(XDO* start, XElement* element, XGate* trigger, bool climb);
    static void SteerApply(int phase, XDO* obj, ScanInfo& info, const Walk& walk);
    // What an apply walk does at a gate: mark it applied, then input between its events.
    void ReceiveApply(XElement* element, int direction);
    // The events of other receivers, which read the element themselves.
    static void ReceiveApplyEvents(XDO* receiver, XElement* element, int direction);
    // Before and after an apply walk goes below this gate: the element to carry on with.
    XElement* EnterWithLocalGather(XElement* element);
    XElement* LeaveLocalGather(XElement* element);
    // Resolves one permission through the switches that take part in the walk kind.
    bool Resolve(const XElement* element,
                 bool gatherSwitch,
                 const XGateSwitch::Override& (XGateSwitch::*which)() const,
                 bool own) const;

    int m_types = XGateItem::TYPE_INPUT | XGateItem::TYPE_OUTPUT | XGateItem::TYPE_PARAM |
                  XGateItem::TYPE_SAVE;
    std::vector<std::unique_ptr<XGateItem>> m_items;
    std::vector<std::unique_ptr<XGateSwitch>> m_switches;
    bool m_autoTrigger = false;
    bool m_dragTrigger = false;
    bool m_dropTrigger = false;
    bool m_dragBlock = false;
    bool m_dropBlock = false;
    bool m_gup = true;
    bool m_gdown = true;
    bool m_aup = true;
    bool m_adown = true;
    bool m_keepInnerItem = true;
    bool m_applied = false;
    // While an apply walk is below this gate with a local gather merged in: the walk's own
    // element, and the merged one standing in for it.
    XElement* m_savedElement = nullptr;
    std::unique_ptr<XElement> m_mergedElement;

    static int s_nTriggerDepth;
    static std::vector<std::wstring> s_arrApplyIXO;
    static std::unique_ptr<XElement> s_pLinkElem;
};

// Triggers the gate named `name` near `caller`: 0 when there is none, else 1 even when the
// trigger was refused. Exported for "User." actions.
extern "C" int GateTrigger(XDO* caller, const wchar_t* name);
