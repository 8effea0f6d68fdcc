#pragma once
// XDO: the base of every object a markup element creates. Each object is at once a named,
// script-callable registry object, a node of the object tree, a party to change
// notification, and a target of declared messages and events.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/element.h"
#include "core/event.h"
#include "core/listener.h"
#include "core/message.h"
#include "core/object_lifetime.h"
#include "core/tree_node.h"
#include "nubra/format.h"
#include "nubra/ixo.h"

class CFont;

// Style bits read by tree searches.
enum XDOStyle : int {
    XDO_STYLE_IODATA = 0x2,
    XDO_STYLE_CLASS = 0x4,
    XDO_STYLE_STRUCT = 0x10,
    XDO_STYLE_RECT = 0x20,
    XDO_STYLE_UI = 0x40,
    XDO_STYLE_WINDOWHOST = 0x80,
    XDO_STYLE_NATIVEWND = 0x100,
    XDO_STYLE_FRAME = 0x200,
    XDO_STYLE_LOADER = 0x10000,
    XDO_STYLE_SCREEN = 0x20000,
    XDO_STYLE_GRID = 0x80000,
    XDO_STYLE_SELECTOR = 0x100000,
    XDO_STYLE_GATE = 0x200000,
    // A "Script": the object named objects register with. Set by the script layer so the core
    // can find scripts without knowing their class.
    XDO_STYLE_SCRIPT = 0x40000000,
};

// Object event numbers.
enum XDOEvent : int {
    EVT_BEFORECREATE = 0,
    EVT_AFTERCREATE = 1,
    EVT_INITIALIZE = 2,
    EVT_RUN = 3,
    EVT_CHILDADDED = 4,
    EVT_DESTROY = 5,
    EVT_PAINT = 6,
    EVT_DRAGGING = 7,
    EVT_REPEAT = 9,
    EVT_SELECT = 10,
    EVT_UNSELECT = 11,
    EVT_CHANGE = 12,
    EVT_TIMER = 13,
};

struct MSG;

namespace orvo {
struct TreeTeardown;
} // namespace orvo

class XDO : public IXO, public tree_node<XDO>, public listener<XDO>, public message<XDO> {
    ORVO_DISPATCH_MAP()

public:
    XDO();

    ORVO_KEY(L"XDO")

    // ---- life cycle (derived classes call the base first) ----------------------------------
    virtual int SetElement(XElement* e);
    virtual int SetMethod(const wchar_t* name, XElement* e);
    virtual int AfterChildElement() { return 1; }
    // Once everything after the object in its file is built. Only objects that asked with
    // HearAfterNextElement() hear it: otherwise building a page would visit every object once
    // more, from the end, long after it left the cache.
    virtual int AfterNextElement() { return 1; }
    bool HearsAfterNextElement() const { return m_hearsAfterNext; }
    virtual int CreateInstance();
    virtual int RunObjectEvent(int n);
    virtual int RunMsg(int fromUp, XElement* msg, XDO* sender, XDO* origin, int& sendDown);
    virtual void SendMsg(int fromUp, XElement* msg, XDO* sender, XDO* origin);
    virtual void SendEvent(XElement* evt, XDO* sender);
    virtual int OnPreTranslateMsg(MSG*) { return 0; }
    virtual void LoadObject(XElement* settings);
    virtual void SaveObject(XElement* settings);
    virtual void SetData(const wchar_t* value);
    virtual void GetData(std::wstring* out);
    virtual const wchar_t* GetTextPtr() { return nullptr; }
    virtual int SetPropW(const wchar_t* name, const wchar_t* sub, const wchar_t* value);
    virtual int GetPropW(const wchar_t* name, const wchar_t* sub, std::wstring& out);
    virtual int SetFocus();
    // A container that lists `member` (a selector) lets it go before it is unlinked.
    virtual void RemoveMember(XDO* member);
    // The settings element of a screen, held by its root; null for other objects.
    virtual XElement* GetSettingsElement(int create);
    // A layout rectangle (style 0x20) lays itself out again once everything below it and
    // after it was created; 0 fails the creation of the screen. Layout lives in the UI layer,
    // so the core only asks.
    virtual int RecalcLayout() { return 1; }

    // ---- life ----------------------------------------------------------------------------------
    // Objects end through orvo::DestroyObject (or LinkCut with remove), never by a plain
    // delete: the destructor is protected.
    bool IsTornDown() const { return m_tornDown; }
    // Different for every object the process ever made, so an address text of a destroyed
    // object never names the next object at the same address.
    std::uint64_t GetSerial() const { return m_serial; }
    // Asks the processor for what every walk over a page reads of this object: the tree links
    // and the create state, torn-down flag, events and style. Objects start on 16 bytes, so
    // the links may straddle two cache lines, and so may the fields from the create state on.
    void PrefetchWalkedFields() const {
        __builtin_prefetch(this);
        __builtin_prefetch(&m_pNext);
        __builtin_prefetch(&m_nCreateState);
        __builtin_prefetch(&m_nStyle);
    }
    // The nearest "Script" among the elders (this object, its earlier siblings nearest first,
    // then its parent and the parent's earlier siblings, and so on up); null when none.
    XDO* ElderScript();

    // Recurse into the children without touching this object's own value; a sibling chain
    // is walked by its parent's loop, so no call nests per sibling.
    void _LoadObject(XElement* settings);
    void _SaveObject(XElement* settings);

    // ---- fields ------------------------------------------------------------------------------
    const std::wstring& GetName() const { return m_strName; }
    void SetName(const std::wstring& name) { m_strName = name; }
    const std::wstring& GetParameter() const { return m_strParam; }
    const std::wstring& GetKeyText() const { return m_strKey; }
    void SetKeyText(const std::wstring& key) { m_strKey = key; }
    int GetObjectStyle() const { return m_nStyle; }
    void SetObjectStyle(int style) { m_nStyle = style; }
    int IsSaveLoad() const { return m_bSave; }
    int GetCreateState() const { return m_nCreateState; }
    void SetCreateState(int state) { m_nCreateState = state; }
    XElement* GetParamElement() const { return m_pParamElement; }
    void SetParamElement(XElement* chain); // takes ownership; the old chain is deleted
    XDO* GetFocusRecord() const { return m_pFocus; }
    void SetFocusRecord(XDO* focus) { m_pFocus = focus; }
    XDO* GetSelectorOwner() const { return m_pSelector; }
    void SetSelectorOwner(XDO* selector) { m_pSelector = selector; }
    const std::vector<std::unique_ptr<XEvent>>& GetEvents() const { return m_events; }
    // The handler of object event n: the last "Object." event declared for it.
    XEvent* GetEventSlot(int n) const;
    XEvent* GetEvent(int kind, int id) const;
    const CFormat* GetFormat() const { return m_pFormat.get(); }
    bool HasTimer() const { return m_bTimer != 0; }

    // ---- tree searches (names compare without case) ------------------------------------------
    XDO* GetTopParent() { return top_node(); }
    XDO* GetObjByNameDown(const wchar_t* name);
    XDO* GetLocalObjByNameDown(const wchar_t* name);
    XDO* GetObjByName(const wchar_t* name, XDO* stop);
    XDO* GetObjByNameUp(const wchar_t* name);
    XDO* GetNearObjByName(const wchar_t* name);
    XDO* GetNearObjByName(std::wstring_view name);
    XDO* GetNearObjByKey(const wchar_t* key);
    XDO* GetXDODown(const wchar_t* key);
    XDO* GetXDO(int flags, int up);
    XDO* GetXDO(const wchar_t* key, int up);
    XDO* GetFirstObject(int flags);
    int FindObjectInTree(XDO* obj, int flags);
    XDO* GetSelector(const wchar_t* name, int up);
    // Unlinks this object (a replacement may take its place); with `remove` it is deleted
    // and null returned.
    XDO* LinkCut(int remove, XDO* replacement);
    XElement* GetSaveSection(int create);

    // ---- gates -------------------------------------------------------------------------------
    void AddLinkedGate(XDO* gate);
    // Triggers every live gate that links this object (an edit on Enter, a selector on a
    // new selection); the number of gates that ran.
    int TriggerLinkedGates();
    bool HasLinkedGates() const { return m_linkedGates && !m_linkedGates->empty(); }

    // ---- messages and events -----------------------------------------------------------------
    int RunObjectEventVB(const wchar_t* name);
    // Posted copies are delivered later by "MainMan"; without it nothing happens.
    void PostMsg(XElement* msg, XDO* origin, int selfOnly);
    void PostEvent(XElement* evt, XDO* sender);
    int Action(const wchar_t* text);

    // ---- statics -----------------------------------------------------------------------------
    static XElement* s_pGateElement;
    static XElement* s_pMsgElement;
    static XElement* s_pEvtElement;
    static XElement* s_pMethodElement;
    static IXO* s_pLang;

    // ---- script interface ---------------------------------------------------------------------
    int SetElementVB(XElement* e) { return SetElement(e); }
    int SetMethodVB(const wchar_t* name, XElement* e) { return SetMethod(name, e); }
    IXO* GetIXOVB(const wchar_t* name);
    XDO* GetTopParentVB() { return GetTopParent(); }
    XDO* GetObjUpVB(const wchar_t* name) { return GetObjByNameUp(name); }
    XDO* GetObjDownVB(const wchar_t* name) { return GetObjByNameDown(name); }
    XDO* GetNearObjVB(const wchar_t* name) { return GetNearObjByName(name); }
    XDO* GetNearObjKeyVB(const wchar_t* key) { return GetNearObjByKey(key); }
    XDO* FindLinkVB(const wchar_t* expr);
    std::wstring FindDataVB(const wchar_t* expr);
    void SendMsgVB(bool fromUp, XElement* msg, XDO* sender, XDO* origin);
    void SetDataVB(const wchar_t* value) { SetData(value); }
    void GetDataVB(std::wstring& out) { GetData(&out); }
    void MsgBoxVB(const wchar_t* text);
    void TraceVB(const wchar_t*) {}
    bool SetTimerVB(int period, int count);
    bool KillTimerVB();
    bool SetFocusVB() { return SetFocus() != 0; }
    void BroadcastMsgVB(const wchar_t* name, const wchar_t* items);
    void PostMsgVB(const wchar_t* name, const wchar_t* items);
    void SendEvtVB(const wchar_t* name, const wchar_t* items);
    void PostEvtVB(const wchar_t* name, const wchar_t* items);
    void SetGateItem(const wchar_t* key, const wchar_t* value);
    std::wstring GetGateItem(const wchar_t* key);
    std::wstring GetMsgItem(const wchar_t* key);
    std::wstring GetEvtItem(const wchar_t* key);
    std::wstring GetMethodItem(const wchar_t* key);
    std::wstring GetScreenItem(const wchar_t* key);
    std::wstring GetGateItemString();
    std::wstring GetMsgItemString();
    std::wstring GetEvtItemString();
    std::wstring GetMethodItemString();
    std::wstring GetScreenItemString();
    void SetScreenItemString(const wchar_t* key, const wchar_t* value);
    void RunObjectEventByName(const wchar_t* name) { RunObjectEventVB(name); }
    void ActionVB(const wchar_t* text) { Action(text); }
    void NotifyChangeVB(int a, int b) { NotifyChange(a, b); }
    void SetOnNotifierChangedVB(ChangeCallback callback) { SetOnNotifierChanged(callback); }
    std::wstring GetDataValueVB();
    void SetDataValueVB(const std::wstring& value) { SetData(value.c_str()); }

protected:
    ~XDO() override;

    // Called by a derived class that adds parts linked after creation.
    void LinkAfterCreate() { m_linksAfterCreate = true; }
    bool LinksAfterCreate() const { return m_linksAfterCreate; }
    // For classes that override AfterNextElement, from their constructor.
    void HearAfterNextElement() { m_hearsAfterNext = true; }

    // The first step of destruction, run once per object while the whole tree around it is
    // still linked and every object still whole: the "Destroy" event, then everything the
    // object holds outside itself (its timer, its name in the script, its listeners, the
    // focus, its selector, its weak references and its address). Derived classes let go of
    // what they registered elsewhere and call the base last.
    virtual void Teardown();

    // What every walk over a page reads of each object comes first, next to the tree links,
    // so a walk over a page too big for the cache misses fewer lines per object.
    int m_nCreateState = 0;

private:
    bool m_dying = false;    // a teardown has claimed this object
    bool m_tornDown = false; // its teardown has run
    // It holds parts that find other objects once the screen exists ("Listener" names, a
    // library's methods): the creation walk reads the parts of these objects only, since on
    // a big page they sit in lines the walk would otherwise not need.
    bool m_linksAfterCreate = false;
    bool m_hearsAfterNext = false;

protected:
    std::vector<std::unique_ptr<XEvent>> m_events;
    int m_bSave = 0;
    int m_nStyle = 1;
    int m_bTimer = 0;
    XDO* m_pFocus = nullptr;
    XElement* m_pParamElement = nullptr; // owned chain
    // The gates whose items link this object, in link order (one per link, so a gate
    // linking it twice is triggered twice); made on first use, held weakly.
    std::unique_ptr<std::vector<orvo::IXORef>> m_linkedGates;
    XDO* m_pSelector = nullptr;
    std::unique_ptr<IXO> m_pReserved2;
    std::wstring m_strKey;
    std::wstring m_strName;
    std::wstring m_strParam;
    std::wstring m_strDataValue;
    std::shared_ptr<const CFormat> m_pFormat; // shared by the objects with the same format

private:
    friend class tree_node<XDO>;
    friend void orvo::DestroyObject(XDO* obj, XDO* replacement);
    friend struct orvo::TreeTeardown;

    std::uint64_t m_serial;
    XDO* m_elderScript = nullptr;
    std::uint64_t m_elderScriptVersion = 0; // the link version m_elderScript was found at

    // The handling of one object on a message's way; returns what to do next. Sender and
    // origin come weakly: a handler may destroy them.
    void SendMsgStep(int fromUp,
                     XElement* msg,
                     const orvo::IXORef& sender,
                     const orvo::IXORef& origin,
                     bool& down,
                     bool& up);
    // Calls "RegObject" (registering) or "UnregObject" on the nearest script of the elders.
    void TellScript(bool registering);
};

// ---- kinds ------------------------------------------------------------------------------------
namespace orvo {
// Whether an object is of a kind, the one way to ask: by class (the object as T, or null),
// or, for kinds a lower layer cannot name (a script, a frame), by style bits.
template <class T> T* KindOf(IXO* obj) {
    return dynamic_cast<T*>(obj);
}
// Every screen object carries this mark: building a page asks it of each object made.
inline constexpr std::uint8_t kScreenObjectMark = 1;
template <> inline XDO* KindOf<XDO>(IXO* obj) {
    return obj && obj->HasKindMark(kScreenObjectMark) ? static_cast<XDO*>(obj) : nullptr;
}
inline bool HasStyle(const XDO* obj, int styleBits) {
    return obj && (obj->GetObjectStyle() & styleBits) != 0;
}
} // namespace orvo

// ---- free functions ---------------------------------------------------------------------------
// Object addresses in text: "ptr:" and the object's full address. Only live objects come
// back from a text; anything else yields null.
std::wstring XdoToPtr(const XDO* obj);
XDO* PtrToXdo(const std::wstring& text);
bool IsLiveXdo(const XDO* obj);
XDO* GetOpener(XDO* obj);
int FrameAutoClose(XDO* obj, int close);
XDO* FindLink(XDO* obj, std::wstring expr);
std::wstring FindData(IXO* obj, const std::wstring& expr);
int XDO_SetData(XDO* obj, const wchar_t* target, const wchar_t* value);
int GetIniFile(std::wstring& file, const wchar_t* key);
std::wstring GetUserIniStr(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue);
int SetUserIniStr(const wchar_t* section, const wchar_t* key, const wchar_t* value);
int GetLangText(int id, std::wstring& out);
std::wstring GetLangText(int id);
CFont* GetSystemFont(const wchar_t* name);
