#include "core/xdo.h"

#include <utility>

#include "core/contracts.h"
#include "core/live_objects.h"
#include "core/main_man.h"
#include "core/notice_messages.h"
#include "core/object_lifetime.h"
#include "core/window_hooks.h"
#include "nubra/call_site.h"
#include "nubra/trim_blanks.h"
#include "platform/base/format.h"
#include "platform/base/nocase.h"

XElement* XDO::s_pGateElement = nullptr;
XElement* XDO::s_pMsgElement = nullptr;
XElement* XDO::s_pEvtElement = nullptr;
XElement* XDO::s_pMethodElement = nullptr;
IXO* XDO::s_pLang = nullptr;

using namespace std::string_view_literals;

namespace {

// Sets a "current element" static for the length of a dispatch and puts the outer one back.
class CurrentElement {
public:
    CurrentElement(XElement*& slot, XElement* value) : m_slot(slot), m_saved(slot) { slot = value; }
    ~CurrentElement() { m_slot = m_saved; }
    CurrentElement(const CurrentElement&) = delete;
    CurrentElement& operator=(const CurrentElement&) = delete;

private:
    XElement*& m_slot;
    XElement* m_saved;
};

std::wstring Item(const XElement* e, const wchar_t* key) {
    std::wstring value;
    if (e && key)
        e->GetValue(key, value);
    return value;
}

std::wstring ItemString(const XElement* e) {
    return e ? e->MakeString() : std::wstring();
}

// A message or event element built from a name and "key=value,..." items.
std::unique_ptr<XElement> BuildElement(const wchar_t* name, const wchar_t* items) {
    auto e = std::make_unique<XElement>(name ? name : L"");
    if (items)
        e->MakeValue(items);
    return e;
}

std::uint64_t g_lastSerial = 0;

// The sender and origin handed to each handler in turn. A handler may destroy either; the
// handlers after it then get null, not a dangling object. The weak references are taken
// when the first handler runs, so objects without handlers pay nothing.
class HandlerParties {
public:
    HandlerParties(XDO* sender, XDO* origin) : m_sender(sender), m_origin(origin) {}

    // Call before each handler.
    void Refresh() {
        if (!m_watching) {
            m_senderRef = m_sender ? m_sender->WeakRef() : orvo::IXORef();
            m_originRef = m_origin ? m_origin->WeakRef() : orvo::IXORef();
            m_watching = true;
        }
        m_sender = static_cast<XDO*>(m_senderRef.Get());
        m_origin = static_cast<XDO*>(m_originRef.Get());
    }
    XDO* Sender() const { return m_sender; }
    XDO* Origin() const { return m_origin; }

private:
    XDO* m_sender;
    XDO* m_origin;
    orvo::IXORef m_senderRef;
    orvo::IXORef m_originRef;
    bool m_watching = false;
};

} // namespace

ORVO_DISPATCH(XDO,
              IXO,
              ORVO_PROPERTY_AS(m_strName, Name),
              ORVO_METHOD_AS(SetElementVB, SetElement),
              ORVO_METHOD_AS(SetMethodVB, SetMethod),
              ORVO_METHOD_AS(GetIXOVB, GetIXO),
              ORVO_METHOD_AS(GetTopParentVB, GetTopParent),
              ORVO_METHOD_AS(GetObjUpVB, GetObjUp),
              ORVO_METHOD_AS(GetObjDownVB, GetObjDown),
              ORVO_METHOD_AS(GetNearObjVB, GetNearObj),
              ORVO_METHOD_AS(GetNearObjKeyVB, GetNearObjKey),
              ORVO_METHOD_AS(FindLinkVB, FindLink),
              ORVO_METHOD_AS(FindDataVB, FindData),
              ORVO_METHOD_AS(SendMsgVB, SendMsg),
              ORVO_METHOD_AS(SetDataVB, SetData),
              ORVO_METHOD_AS(GetDataVB, GetData),
              ORVO_METHOD_AS(MsgBoxVB, MsgBox),
              ORVO_METHOD_AS(TraceVB, TRACE),
              ORVO_METHOD_AS(SetTimerVB, SetTimer),
              ORVO_METHOD_AS(KillTimerVB, KillTimer),
              ORVO_METHOD_AS(SetFocusVB, SetFocus),
              ORVO_METHOD_AS(BroadcastMsgVB, BroadcastMsg),
              ORVO_METHOD_AS(PostMsgVB, PostMsg),
              ORVO_METHOD_AS(SendEvtVB, SendEvt),
              ORVO_METHOD_AS(PostEvtVB, PostEvt),
              ORVO_METHOD(SetGateItem),
              ORVO_METHOD(GetGateItem),
              ORVO_METHOD(GetMsgItem),
              ORVO_METHOD(GetEvtItem),
              ORVO_METHOD(GetMethodItem),
              ORVO_METHOD(GetScreenItem),
              ORVO_METHOD(GetGateItemString),
              ORVO_METHOD(GetMsgItemString),
              ORVO_METHOD(GetEvtItemString),
              ORVO_METHOD(GetMethodItemString),
              ORVO_METHOD(GetScreenItemString),
              ORVO_METHOD(SetScreenItemString),
              ORVO_METHOD_AS(RunObjectEventByName, RunObjectEvent),
              ORVO_METHOD_AS(ActionVB, Action),
              ORVO_METHOD_AS(NotifyChangeVB, NotifyChange),
              ORVO_METHOD_AS(SetOnNotifierChangedVB, SetOnNotifierChanged),
              ORVO_PROPERTY_EX(GetDataValueVB, SetDataValueVB, DataValue),
              ORVO_PROPERTY_AS(m_strParam, Parameter))

static_assert(sizeof(XDO) > orvo::LiveObjects::kBytesPerSlot);

XDO::XDO() : m_serial(++g_lastSerial) {
    SetKindMark(orvo::kScreenObjectMark);
    orvo::LiveObjects::Add(this);
}

XDO::~XDO() {
    // Deleted without DestroyObject: the objects below are still whole and get their proper
    // teardown; this one can only have the base's.
    if (!m_dying) {
        orvo::TeardownOnDelete(this);
        extract_node(0, nullptr);
    }
    delete m_pParamElement;
    m_pParamElement = nullptr;
    // The bases then drop the declared messages and delete the children.
}

void XDO::Teardown() {
    if (m_bTimer)
        KillTimerVB();
    if (m_pSelector) {
        if (m_nStyle & XDO_STYLE_UI)
            m_pSelector->RemoveMember(this);
        m_pSelector = nullptr;
    }
    if (!m_strName.empty())
        TellScript(false);
    DetachListeners();
    ReleaseWeakRefs();
    orvo::LiveObjects::Remove(this);
}

// ---- element ------------------------------------------------------------------------------

XDO* XDO::ElderScript() {
    // Each object remembers its answer, and the answer of an object is that of its previous
    // sibling, or of its parent for a first child: a page of n named objects finds its
    // scripts in O(n), not O(n^2). Any unlink moves the link version and retires every
    // remembered answer; appending changes no answer.
    const std::uint64_t version = tree_node<XDO>::LinkVersion();
    auto elder = [](XDO* node) { return node->previous() ? node->previous() : node->parent(); };
    XDO* found = nullptr;
    XDO* stop = nullptr;
    for (XDO* node = this; node; node = elder(node)) {
        if (node->m_elderScriptVersion == version) {
            found = node->m_elderScript;
            stop = node;
            break;
        }
        if (orvo::HasStyle(node, XDO_STYLE_SCRIPT)) {
            found = stop = node;
            break;
        }
    }
    for (XDO* node = this; node != stop; node = elder(node)) {
        node->m_elderScript = found;
        node->m_elderScriptVersion = version;
    }
    return found;
}

void XDO::TellScript(bool registering) {
    static orvo::ContractMethod<orvo::contract::ScriptRegObject> s_reg;
    static orvo::ContractMethod<orvo::contract::ScriptUnregObject> s_unreg;
    XDO* start = orvo::HasStyle(this, XDO_STYLE_SCRIPT) ? parent() : this;
    XDO* script = start ? start->ElderScript() : nullptr;
    if (!script)
        return;
    if (registering) {
        if (auto reg = s_reg.Get(script))
            reg(m_strName.c_str(), this);
    } else if (script->m_dying) {
        // The script goes in the same teardown and forgets every name at once; its names
        // hold the objects weakly, so none of them reaches a freed one meanwhile.
    } else if (auto unreg = s_unreg.Get(script)) {
        unreg(m_strName.c_str());
    }
}

int XDO::SetElement(XElement* e) {
    m_nCreateState = 1;
    if (!e)
        return 1;
    if (const std::wstring* name = e->FindValue(L"Name"sv))
        m_strName = orvo::TrimBlanks(*name);
    if (!m_strName.empty())
        TellScript(true);
    e->GetValue(L"Param"sv, m_strParam);
    e->GetValue(L"DataValue"sv, m_strDataValue);
    e->GetBool(L"Save"sv, m_bSave);
    if (const std::wstring* format = e->FindValue(L"Format"sv))
        m_pFormat = CFormat::Compiled(*format);
    listener<XDO>::SetElement(e);
    if (m_pendingListeners)
        LinkAfterCreate();
    return 1;
}

int XDO::SetMethod(const wchar_t* name, XElement* e) {
    std::wstring_view method(name ? name : L"");
    if (plat::EqualsNoCase(method, L"Event")) {
        auto evt = std::make_unique<XEvent>();
        // Object events are found by scanning the declared events (GetEventSlot): most objects
        // declare none, and a table of slots in every object would cost more than the scan.
        if (evt->SetElement(e))
            m_events.push_back(std::move(evt));
    } else if (plat::EqualsNoCase(method, L"Message")) {
        auto msg = std::make_unique<XMessage<XDO>>();
        msg->SetElement(e);
        AddMessage(std::move(msg));
    } else if (plat::EqualsNoCase(method, L"Radio")) {
        ConfirmMsg(L"Radio 개체는 더이상 지원하지 않습니다.", 0, 0);
    } else if (plat::EqualsNoCase(method, L"__param__")) {
        XElement* chain = nullptr;
        if (e && e->GetFirstChild()) {
            chain = e->GetFirstChild();
            *e->FirstChildSlot() = nullptr;
            for (XElement* c = chain; c; c = c->GetNextSibling())
                c->SetParent(nullptr);
        }
        SetParamElement(chain);
    } else if (plat::EqualsNoCase(method, L"Gate")) {
        ConfirmMsg(plat::Format(L"%s.gate not support", m_strName), 0, 0);
    }
    return 1;
}

void XDO::SetParamElement(XElement* chain) {
    if (chain == m_pParamElement)
        return;
    delete m_pParamElement;
    m_pParamElement = chain;
}

int XDO::CreateInstance() {
    m_nCreateState = 2;
    for (const auto& m : GetMessages())
        m->MakeTarget(this);
    return 1;
}

XEvent* XDO::GetEventSlot(int n) const {
    if (n < 0 || n >= XEvent::kObjectEventCount)
        return nullptr;
    for (auto it = m_events.rbegin(); it != m_events.rend(); ++it) {
        if ((*it)->GetTriggerKind() == XEvent::TriggerObject && (*it)->GetTriggerID() == n)
            return it->get();
    }
    return nullptr;
}

XEvent* XDO::GetEvent(int kind, int id) const {
    for (const auto& e : m_events) {
        if (e->GetTriggerKind() == kind && e->GetTriggerID() == id)
            return e.get();
    }
    return nullptr;
}

// ---- data and settings ----------------------------------------------------------------------

void XDO::SetData(const wchar_t* value) {
    std::wstring_view v(value ? value : L"");
    m_strDataValue = m_pFormat ? m_pFormat->GetString(v) : std::wstring(v);
}

void XDO::GetData(std::wstring* out) {
    if (out)
        *out = m_strDataValue;
}

std::wstring XDO::GetDataValueVB() {
    std::wstring value;
    GetData(&value);
    return value;
}

int XDO::SetPropW(const wchar_t*, const wchar_t*, const wchar_t*) {
    return 0;
}

int XDO::GetPropW(const wchar_t*, const wchar_t*, std::wstring&) {
    return 0;
}

void XDO::LoadObject(XElement* settings) {
    if (settings && m_bSave && !m_strName.empty())
        settings->GetValue(m_strName, m_strDataValue);
    _LoadObject(settings);
}

void XDO::SaveObject(XElement* settings) {
    if (settings && m_bSave && !m_strName.empty())
        settings->SetValue(m_strName, m_strDataValue);
    _SaveObject(settings);
}

void XDO::_LoadObject(XElement* settings) {
    for (XDO* c = child(); c; c = c->next())
        c->LoadObject(settings);
}

void XDO::_SaveObject(XElement* settings) {
    for (XDO* c = child(); c; c = c->next())
        c->SaveObject(settings);
}

XElement* XDO::GetSettingsElement(int) {
    return nullptr;
}

XElement* XDO::GetSaveSection(int create) {
    XDO* root = GetXDO(XDO_STYLE_SCREEN, 0);
    if (!root)
        root = GetTopParent();
    XElement* section = root->GetSettingsElement(create);
    if (!section || root == this)
        return section;
    // The named objects from just below the root down to this one.
    std::vector<XDO*> path;
    for (XDO* node = this; node && node != root; node = node->parent()) {
        if (!node->m_strName.empty())
            path.push_back(node);
    }
    for (auto it = path.rbegin(); it != path.rend() && section; ++it) {
        XElement* found = nullptr;
        for (XElement* c = section->GetFirstChild(); c && !found; c = c->GetNextSibling()) {
            std::wstring name;
            if (plat::EqualsNoCase(c->GetTagName(), L"Object") && c->GetValue(L"name", name) &&
                plat::EqualsNoCase(name, (*it)->m_strName))
                found = c;
        }
        if (!found && create) {
            found = new XElement(L"Object");
            found->SetValue(L"name", (*it)->m_strName);
            section->AppendChild(found);
        }
        section = found;
    }
    return section;
}

// ---- focus, timers, selectors -------------------------------------------------------------

int XDO::SetFocus() {
    static orvo::ContractMethod<orvo::contract::ScreenNotifySetFocus> s_notify;
    XDO* screen = parent() ? parent()->GetXDO(XDO_STYLE_SCREEN, 0) : nullptr;
    if (screen) {
        if (auto notify = s_notify.Get(screen); notify && notify(this))
            return 1;
    }
    GetTopParent()->m_pFocus = nullptr;
    return 0;
}

void XDO::RemoveMember(XDO*) {}

bool XDO::SetTimerVB(int period, int count) {
    XDO* host = GetXDO(XDO_STYLE_WINDOWHOST, 0);
    auto* hooks = dynamic_cast<orvo::WindowHostHooks*>(host);
    if (hooks && hooks->RegTimer(this, period, count))
        m_bTimer = 1;
    return m_bTimer != 0;
}

bool XDO::KillTimerVB() {
    if (!m_bTimer)
        return false;
    if (auto* hooks = dynamic_cast<orvo::WindowHostHooks*>(GetXDO(XDO_STYLE_WINDOWHOST, 0)))
        hooks->UnRegTimer(this);
    m_bTimer = 0;
    return true;
}

XDO* XDO::LinkCut(int remove, XDO* replacement) {
    if (!remove)
        return extract_node(0, replacement);
    orvo::DestroyObject(this, replacement);
    return nullptr;
}

// ---- searches -----------------------------------------------------------------------------

XDO* XDO::GetObjByNameDown(const wchar_t* name) {
    if (!name || !*name)
        return nullptr;
    std::wstring_view wanted(name);
    return find_down([wanted](XDO* n) { return plat::EqualsNoCase(n->m_strName, wanted); });
}

XDO* XDO::GetLocalObjByNameDown(const wchar_t* name) {
    if (!name || !*name)
        return nullptr;
    std::wstring_view wanted(name);
    // A nested screen answers nothing, and the search does not continue past it.
    std::vector<XDO*> pending{this};
    while (!pending.empty()) {
        XDO* node = pending.back();
        pending.pop_back();
        if (node->m_nStyle & XDO_STYLE_SCREEN)
            continue;
        if (plat::EqualsNoCase(node->m_strName, wanted))
            return node;
        if (node->next())
            pending.push_back(node->next());
        if (node->child())
            pending.push_back(node->child());
    }
    return nullptr;
}

XDO* XDO::GetObjByName(const wchar_t* name, XDO* stop) {
    if (!name || !*name)
        return nullptr;
    std::wstring_view wanted(name);
    XDO* from = stop;
    for (XDO* ancestor = parent(); ancestor; from = ancestor, ancestor = ancestor->parent()) {
        for (XDO* c = ancestor->child(); c && c != from; c = c->next()) {
            if (plat::EqualsNoCase(c->m_strName, wanted))
                return c;
        }
        if (plat::EqualsNoCase(ancestor->m_strName, wanted))
            return ancestor;
    }
    return nullptr;
}

XDO* XDO::GetObjByNameUp(const wchar_t* name) {
    return GetObjByName(name, this);
}

XDO* XDO::GetNearObjByName(const wchar_t* name) {
    return name ? GetNearObjByName(std::wstring_view(name)) : nullptr;
}

XDO* XDO::GetNearObjByName(std::wstring_view name) {
    if (name.empty())
        return nullptr;
    return find_near([name](XDO* n) { return plat::EqualsNoCase(n->m_strName, name); });
}

XDO* XDO::GetNearObjByKey(const wchar_t* key) {
    if (!key || !*key)
        return nullptr;
    std::wstring_view wanted(key);
    return find_near([wanted](XDO* n) { return plat::EqualsNoCase(n->GetIXOKey(), wanted); });
}

XDO* XDO::GetXDODown(const wchar_t* key) {
    if (!key)
        return nullptr;
    std::wstring_view wanted(key);
    return find_down([wanted](XDO* n) {
        return plat::EqualsNoCase(n->GetIXOKey(), wanted) ||
               plat::EqualsNoCase(n->m_strKey, wanted);
    });
}

XDO* XDO::GetXDO(int flags, int up) {
    XDO* start = up ? parent() : this;
    return start ? start->find_parent([flags](XDO* n) { return (n->m_nStyle & flags) != 0; })
                 : nullptr;
}

XDO* XDO::GetXDO(const wchar_t* key, int up) {
    XDO* start = up ? parent() : this;
    if (!start || !key)
        return nullptr;
    std::wstring_view wanted(key);
    return start->find_parent([wanted](XDO* n) {
        return plat::EqualsNoCase(n->GetIXOKey(), wanted) ||
               plat::EqualsNoCase(n->m_strKey, wanted);
    });
}

XDO* XDO::GetFirstObject(int flags) {
    return find_first([flags](XDO* n) { return (n->m_nStyle & flags) != 0; });
}

int XDO::FindObjectInTree(XDO* obj, int) {
    return obj && find_near([obj](XDO* n) { return n == obj; }) ? 1 : 0;
}

XDO* XDO::GetSelector(const wchar_t* name, int up) {
    XDO* start = up ? parent() : this;
    if (!start || !name)
        return nullptr;
    std::wstring_view wanted(name);
    return start->ScanTreeElder([wanted](XDO* n) {
        return (n->m_nStyle & XDO_STYLE_SELECTOR) && plat::EqualsNoCase(n->m_strName, wanted);
    });
}

// ---- messages and events --------------------------------------------------------------------

int XDO::RunObjectEvent(int n) {
    if (n == EVT_AFTERCREATE) {
        if (m_linksAfterCreate)
            listener<XDO>::Register();
    } else if (n == EVT_INITIALIZE)
        m_nCreateState = 3;
    else if (n == EVT_RUN)
        m_nCreateState = 4;
    XEvent* handler = GetEventSlot(n);
    return handler ? handler->Run(this) : 1;
}

void XDO::AddLinkedGate(XDO* gate) {
    if (!gate)
        return;
    if (!m_linkedGates)
        m_linkedGates = std::make_unique<std::vector<orvo::IXORef>>();
    m_linkedGates->push_back(gate->WeakRef());
}

int XDO::TriggerLinkedGates() {
    if (!HasLinkedGates())
        return 0;
    static orvo::ContractMethod<orvo::contract::GateTrigger> s_trigger;
    orvo::DispatchScope scope;
    // A copy: a gate's walk may link or destroy objects, this one included.
    const std::vector<orvo::IXORef> gates = *m_linkedGates;
    int ran = 0;
    for (const orvo::IXORef& ref : gates) {
        auto* gate = static_cast<XDO*>(ref.Get());
        if (!gate || gate->IsTornDown())
            continue;
        if (auto trigger = s_trigger.Get(gate)) {
            trigger();
            ++ran;
        }
    }
    return ran;
}

int XDO::RunObjectEventVB(const wchar_t* name) {
    int id = XEvent::GetEvtObj(name);
    return id >= 0 && id < XEvent::kObjectEventCount ? RunObjectEvent(id) : 0;
}

int XDO::RunMsg(int fromUp, XElement* msg, XDO* sender, XDO* origin, int&) {
    if (!msg)
        return 1;
    orvo::DispatchScope scope;
    CurrentElement current(s_pMsgElement, msg);
    auto alive = WeakRef();
    HandlerParties parties(sender, origin);
    // By index: a handler may declare more events or destroy this object.
    for (std::size_t i = 0; i < m_events.size(); ++i) {
        XEvent* evt = m_events[i].get();
        if (evt->GetTriggerKind() != XEvent::TriggerMessage ||
            !plat::EqualsNoCase(evt->GetTriggerName(), msg->GetTagName()))
            continue;
        parties.Refresh();
        evt->SetContext(fromUp, msg, parties.Sender(), parties.Origin());
        evt->Run(this);
        if (!alive.Alive())
            break;
    }
    return 1;
}

void XDO::SendEvent(XElement* evt, XDO* sender) {
    if (!evt)
        return;
    orvo::DispatchScope scope;
    CurrentElement current(s_pEvtElement, evt);
    auto alive = WeakRef();
    HandlerParties parties(sender, sender);
    for (std::size_t i = 0; i < m_events.size(); ++i) {
        XEvent* e = m_events[i].get();
        if (e->GetTriggerKind() != XEvent::TriggerEvent ||
            !plat::EqualsNoCase(e->GetTriggerName(), evt->GetTagName()))
            continue;
        parties.Refresh();
        e->SetContext(0, evt, parties.Sender(), parties.Origin());
        e->Run(this);
        if (!alive.Alive())
            break;
    }
}

void XDO::SendMsgStep(int fromUp,
                      XElement* msg,
                      const orvo::IXORef& senderRef,
                      const orvo::IXORef& originRef,
                      bool& down,
                      bool& up) {
    // Looked up again for every handler, since the one before may have destroyed them.
    auto sender = [&senderRef] { return static_cast<XDO*>(senderRef.Get()); };
    auto origin = [&originRef] { return static_cast<XDO*>(originRef.Get()); };
    down = up = true;
    bool byDefault = true;
    int sendDown = 1;
    XMessage<XDO>* m = FindMsg(msg->GetTagName().c_str());
    if (m) {
        up = m->SendUp();
        down = m->SendDown();
        sendDown = down;
        auto alive = WeakRef();
        if (m->SelfProc()) {
            RunMsg(fromUp, msg, sender(), origin(), sendDown);
            byDefault = false;
            if (!alive.Alive()) {
                down = up = false;
                return;
            }
        }
        if (m->Forwards()) {
            XElement forwarded(m->GetForwardName(), nullptr);
            forwarded.Merge(msg);
            PostMsg(&forwarded, origin(), 1);
        }
        if ((fromUp && !m->FromUp()) || (!fromUp && !m->FromDown())) {
            down = up = false;
            return;
        }
        if (m->HasTargets()) {
            m->RunMsg(fromUp, msg, sender(), origin(), sendDown);
            down = up = false;
            return;
        }
    }
    if (!m || byDefault)
        RunMsg(fromUp, msg, sender(), origin(), sendDown);
    down = down && sendDown != 0;
}

void XDO::SendMsg(int fromUp, XElement* msg, XDO* sender, XDO* origin) {
    if (!msg)
        return;
    orvo::DispatchScope scope;
    // The walk keeps its own stack: a message crosses any depth of nesting, and an object
    // destroyed by a handler on the way is simply no longer visited. Sender and origin are
    // held weakly too: once destroyed, the handlers after get null.
    struct Hop {
        orvo::IXORef node;
        int fromUp;
        orvo::IXORef sender;
    };
    const orvo::IXORef originRef = origin ? origin->WeakRef() : orvo::IXORef();
    std::vector<Hop> hops;
    hops.push_back({WeakRef(), fromUp, sender ? sender->WeakRef() : orvo::IXORef()});
    std::vector<XDO*> children;
    while (!hops.empty()) {
        Hop hop = std::move(hops.back());
        hops.pop_back();
        auto* node = static_cast<XDO*>(hop.node.Get());
        if (!node)
            continue;
        bool down = false, up = false;
        node->SendMsgStep(hop.fromUp, msg, hop.sender, originRef, down, up);
        if (!hop.node.Alive())
            continue;
        auto* from = static_cast<XDO*>(hop.sender.Get());
        if (up && !hop.fromUp && node->parent())
            hops.push_back({node->parent()->WeakRef(), 0, hop.node});
        if (down) {
            children.clear();
            for (XDO* c = node->child(); c; c = c->next()) {
                if (c != from)
                    children.push_back(c);
            }
            for (auto it = children.rbegin(); it != children.rend(); ++it)
                hops.push_back({(*it)->WeakRef(), 1, hop.node});
        }
    }
}

namespace {

// "MainMan" while it can deliver posted work, else null (posting then drops silently).
XMainMan* PostingWindow() {
    static orvo::ContractCall<orvo::contract::MainManGetMainMan> s_mainMan;
    auto getMain = s_mainMan.Get();
    return getMain ? dynamic_cast<XMainMan*>(getMain()) : nullptr;
}

} // namespace

void XDO::PostMsg(XElement* msg, XDO* origin, int selfOnly) {
    XMainMan* mainMan = msg ? PostingWindow() : nullptr;
    if (!mainMan)
        return;
    // The copy keeps tag and attributes; text and children do not travel.
    auto copy = std::make_shared<XElement>(msg->GetTagName(), nullptr);
    copy->Merge(msg);
    orvo::IXORef target = WeakRef();
    orvo::IXORef from = origin ? origin->WeakRef() : orvo::IXORef();
    mainMan->Post([target, from, copy, selfOnly] {
        auto* to = static_cast<XDO*>(target.Get());
        if (!to)
            return;
        auto* originObj = static_cast<XDO*>(from.Get());
        if (selfOnly) {
            int sendDown = 1;
            to->RunMsg(0, copy.get(), to, originObj, sendDown);
        } else {
            to->SendMsg(0, copy.get(), to, originObj);
        }
    });
}

void XDO::PostEvent(XElement* evt, XDO* sender) {
    XMainMan* mainMan = evt ? PostingWindow() : nullptr;
    if (!mainMan)
        return;
    auto copy = std::make_shared<XElement>(evt->GetTagName(), nullptr);
    copy->Merge(evt);
    orvo::IXORef target = WeakRef();
    orvo::IXORef from = sender ? sender->WeakRef() : orvo::IXORef();
    mainMan->Post([target, from, copy] {
        if (auto* to = static_cast<XDO*>(target.Get()))
            to->SendEvent(copy.get(), static_cast<XDO*>(from.Get()));
    });
}

int XDO::Action(const wchar_t* text) {
    XEvent temporary;
    temporary.ParseAction(text);
    return temporary.Run(this);
}

void XDO::BroadcastMsgVB(const wchar_t* name, const wchar_t* items) {
    auto msg = BuildElement(name, items);
    SendMsg(0, msg.get(), nullptr, nullptr);
}

void XDO::PostMsgVB(const wchar_t* name, const wchar_t* items) {
    auto msg = BuildElement(name, items);
    PostMsg(msg.get(), nullptr, 0);
}

void XDO::SendEvtVB(const wchar_t* name, const wchar_t* items) {
    auto evt = BuildElement(name, items);
    SendEvent(evt.get(), this);
}

void XDO::PostEvtVB(const wchar_t* name, const wchar_t* items) {
    auto evt = BuildElement(name, items);
    PostEvent(evt.get(), this);
}

void XDO::SendMsgVB(bool fromUp, XElement* msg, XDO* sender, XDO* origin) {
    SendMsg(fromUp ? 1 : 0, msg, sender, origin);
}

// ---- script helpers -------------------------------------------------------------------------

IXO* XDO::GetIXOVB(const wchar_t* name) {
    return name ? IXO::GetIXO(name) : nullptr;
}

XDO* XDO::FindLinkVB(const wchar_t* expr) {
    return FindLink(this, expr ? expr : L"");
}

std::wstring XDO::FindDataVB(const wchar_t* expr) {
    return FindData(this, expr ? expr : L"");
}

void XDO::MsgBoxVB(const wchar_t* text) {
    ConfirmMsg(text ? text : L"", 0, 0);
}

void XDO::SetGateItem(const wchar_t* key, const wchar_t* value) {
    if (s_pGateElement && key)
        s_pGateElement->SetValue(key, value ? value : L"");
}

std::wstring XDO::GetGateItem(const wchar_t* key) {
    return Item(s_pGateElement, key);
}
std::wstring XDO::GetMsgItem(const wchar_t* key) {
    return Item(s_pMsgElement, key);
}
std::wstring XDO::GetEvtItem(const wchar_t* key) {
    return Item(s_pEvtElement, key);
}
std::wstring XDO::GetMethodItem(const wchar_t* key) {
    return Item(s_pMethodElement, key);
}
std::wstring XDO::GetScreenItem(const wchar_t* key) {
    return Item(GetTopParent()->m_pParamElement, key);
}
std::wstring XDO::GetGateItemString() {
    return ItemString(s_pGateElement);
}
std::wstring XDO::GetMsgItemString() {
    return ItemString(s_pMsgElement);
}
std::wstring XDO::GetEvtItemString() {
    return ItemString(s_pEvtElement);
}
std::wstring XDO::GetMethodItemString() {
    return ItemString(s_pMethodElement);
}
std::wstring XDO::GetScreenItemString() {
    return ItemString(GetTopParent()->m_pParamElement);
}

void XDO::SetScreenItemString(const wchar_t* key, const wchar_t* value) {
    XDO* top = GetTopParent();
    if (!key)
        return;
    if (!top->m_pParamElement)
        top->m_pParamElement = new XElement(L"param");
    top->m_pParamElement->SetValue(key, value ? value : L"");
}
