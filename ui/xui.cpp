#include "ui/xui.h"

#include <optional>
#include <string_view>

#include "core/scr_man.h"
#include "data/data_source.h"
#include "nubra/tok.h"
#include "nubra/trim_blanks.h"
#include "platform/base/nocase.h"
#include "ui/contracts.h"
#include "ui/keyword_list.h"
#include "ui/ui_style.h"
#include "ui/xtheme.h"
#include "ui/xtheme_man.h"

namespace {

constexpr orvo::Keyword kFlagKeywords[] = {
    {L"NotifyMouse", XUI::UI_NOTIFYMOUSE},
    {L"Hide", XUI::UI_HIDE},
    {L"Select", XUI::UI_SELECT},
    {L"CanFocus", XUI::UI_CANFOCUS},
    {L"UserState", XUI::UI_USERSTATE},
    {L"UIPaint", XUI::UI_UIPAINT},
    {L"Animation", XUI::UI_ANIMATION},
    {L"AutoSelect", XUI::UI_AUTOSELECT},
};

// Markup lists flags and images separated by commas, bars or blanks.
template <class Each> void ForEachToken(const std::wstring& text, Each each) {
    CTok tok(text, L",| \t");
    std::wstring token;
    while (tok.GetNext(token))
        if (!token.empty())
            each(token);
}

unsigned FlagsOf(const std::wstring& text) {
    unsigned bits = 0;
    ForEachToken(text, [&bits](const std::wstring& token) {
        int bit = 0;
        if (orvo::LookUpKeyword(token, kFlagKeywords, bit))
            bits |= static_cast<unsigned>(bit);
    });
    return bits;
}

unsigned SetOrClear(unsigned flags, unsigned bit, bool on) {
    return on ? flags | bit : flags & ~bit;
}

} // namespace

XUI* XUI::s_pFocusedObj = nullptr;

class XUI::DataSourceScope {
public:
    explicit DataSourceScope(XMetaIOData* own) {
        if (own)
            m_pushed.emplace(own);
        m_current.InitDataSource();
    }
    XMetaIOData* Source() const { return m_current.GetDataSource(); }
    int Row() const { return m_current.GetDataRecord(); }

private:
    std::optional<CDataSource> m_pushed;
    CDataSource m_current;
};

ORVO_DISPATCH(XUI,
              XRect,
              ORVO_METHOD_AS(GetContentSizeVB, GetContentSize),
              ORVO_METHOD(IsShow),
              ORVO_METHOD_AS(RepaintVB, Repaint),
              ORVO_METHOD(SetOnPaintEnd),
              ORVO_METHOD_AS(GetDataSourceVB, GetDataSource),
              ORVO_METHOD(ChangeDataField),
              ORVO_PROVIDE(orvo::contract::VisualGetSubObject, GetSubObject),
              ORVO_PROVIDE(orvo::contract::VisualSetUserState, SetUserState),
              ORVO_PROVIDE(orvo::contract::VisualSetUpdateCount, SetUpdateCount),
              ORVO_PROPERTY_EX(IsShow, SetShow, Show),
              ORVO_PROPERTY_EX(GetSelect, SetSelect, Select),
              ORVO_PROPERTY_EX(GetEnable, SetEnable, Enable),
              ORVO_PROPERTY_EX(GetUserStateVB, SetUserStateVB, UserState),
              ORVO_PROPERTY_EX(GetDataField, SetDataField, DataField),
              ORVO_PROPERTY_EX(GetDataFieldStr, SetDataFieldStr, DataFieldStr))

XUI::XUI() {
    m_nStyle |= XDO_STYLE_UI;
}

XUI::~XUI() {
    // Deleted without a teardown of its own (a plain delete): still let go of the focus and
    // the hot key.
    if (s_pFocusedObj == this)
        s_pFocusedObj = nullptr;
    ReleaseHotKey();
}

void XUI::Teardown() {
    if (s_pFocusedObj == this)
        s_pFocusedObj = nullptr;
    ReleaseHotKey();
    XRect::Teardown();
}

void XUI::ReleaseHotKey() {
    if (!m_hHotKey)
        return;
    m_hHotKey = 0;
    XScrMan::Instance().DelHotKey(m_strHotKey.c_str());
}

XTheme* XUI::CurrentTheme() {
    return XThemeMan::Instance().CurrentTheme();
}

// ---- element ------------------------------------------------------------------------------------

int XUI::SetElement(XElement* e) {
    if (!XRect::SetElement(e) || !e)
        return 0;
    e->GetBool(L"SaveSelect", m_bSaveSelect);
    ReadFlags(e);

    if (const std::wstring* data = e->FindValue(L"Data"))
        m_pDataLink = std::make_unique<std::wstring>(orvo::TrimBlanks(*data));
    if (const std::wstring* field = e->FindValue(L"Field"))
        m_strField = orvo::TrimBlanks(*field);
    e->GetValue(L"FieldID", m_nFieldID);
    e->GetValue(L"FieldIDType", m_nFieldIDType);

    std::wstring style;
    m_strStyle = plat::ToLower(e->GetValue(L"Style", style) ? style : std::wstring(GetIXOKey()));
    if (XTheme* theme = CurrentTheme())
        m_pStyle = theme->GetUIStyle(m_strStyle);
    SetEvent(-1, 1);

    int userState = 0;
    if (e->GetValue(L"UserState", userState))
        SetUserState(userState, 1);
    if (!m_pEvent)
        ResolvePaintEvent();

    if (const std::wstring* images = e->FindValue(L"ImageList"))
        ReadImageList(*images);
    if (const std::wstring* selector = e->FindValue(L"Selector"))
        JoinSelector(std::wstring(orvo::TrimBlanks(*selector)));
    if (const std::wstring* hotKey = e->FindValue(L"HotKey")) {
        // An element applied again (a script's SetElement) replaces the key.
        ReleaseHotKey();
        m_strHotKey = *hotKey;
        m_hHotKey = XScrMan::Instance().AddHotKey(m_strHotKey.c_str(), this);
    }
    e->GetBool(L"ContextMenu", m_bContextMenu);
    return 1;
}

void XUI::ReadFlags(XElement* e) {
    ++s_hitFlagsVersion;
    if (const std::wstring* removed = e->FindValue(L"flag_del"))
        m_nFlags &= ~(FlagsOf(*removed) & UI_NOTIFYMOUSE);
    if (const std::wstring* flags = e->FindValue(L"flag"))
        m_nFlags |= FlagsOf(*flags);
    if (m_nFlags & UI_AUTOSELECT)
        m_nFlags |= UI_CANFOCUS;
    // The single switches come after the list, so they win over it.
    bool on = false;
    if (e->GetBool(L"SELECT", on))
        m_nFlags = SetOrClear(m_nFlags, UI_SELECT, on);
    if (e->GetBool(L"AUTOSELECT", on))
        m_nFlags = SetOrClear(m_nFlags, UI_AUTOSELECT, on);
    if (e->GetBool(L"SHOW", on))
        m_nFlags = SetOrClear(m_nFlags, UI_HIDE, !on);
    if (e->GetBool(L"ENABLE", on))
        m_nFlags = SetOrClear(m_nFlags, UI_DISABLE, !on);
    if (e->GetBool(L"CANFOCUS", on))
        m_nFlags = SetOrClear(m_nFlags, UI_CANFOCUS, on);
}

void XUI::ReadImageList(const std::wstring& names) {
    static orvo::ContractCall<orvo::contract::ResManGetImageObject> s_getImage;
    auto getImage = s_getImage.Get();
    // A missing image keeps its place, so the indices of the others stay as written.
    ForEachToken(names, [this, &getImage](const std::wstring& name) {
        m_images.push_back(getImage ? getImage(name.c_str()) : nullptr);
    });
}

void XUI::JoinSelector(const std::wstring& name) {
    static orvo::ContractMethod<orvo::contract::SelectorAddMember> s_addMember;
    XDO* selector = GetSelector(name.c_str(), 0);
    auto addMember = s_addMember.Get(selector);
    if (!addMember || !addMember(this))
        return;
    // The selector hears of this object's end through RemoveMember.
    SetSelectorOwner(selector);
    m_nFlags |= UI_CANFOCUS;
}

int XUI::SetMethod(const wchar_t* name, XElement* e) {
    if (!name || !plat::EqualsNoCase(name, L"UIStyle"))
        return XRect::SetMethod(name, e);
    XTheme* theme = CurrentTheme();
    if (!theme || !e)
        return 1;
    auto style = std::make_unique<CUIStyle>();
    if (!style->SetElement(theme, e->GetFirstChild()))
        return 1;
    std::wstring focus;
    if (e->GetValue(L"FocusPaint", focus))
        style->SetFocusPaint(theme->GetUIPaint(focus));
    m_ownedStyle = std::move(style);
    m_pStyle = m_ownedStyle.get();
    ResolvePaintEvent();
    return 1;
}

// ---- creation and data ------------------------------------------------------------------------

int XUI::CreateInstance() {
    if (!XRect::CreateInstance())
        return 0;
    if (m_nFlags & UI_HIDE)
        SetUIShow(0, 1);
    if (!GetDataSource() && m_pDataLink) {
        if (XMetaIOData* found = AsMetaIOData(FindLink(this, *m_pDataLink)))
            m_dataSource = found->WeakRef();
    }
    const DataSourceScope scope(GetDataSource());
    if (!GetDataSource() && scope.Source()) {
        m_inheritedSource = scope.Source()->WeakRef();
        m_nDataRecord = scope.Row();
    }
    if (scope.Source() && !m_strField.empty()) {
        m_nFieldID = scope.Source()->GetFieldIndex(m_strField.c_str());
        if (m_nFieldID != -1)
            m_nFieldType = scope.Source()->GetFieldType(m_nFieldID);
    }
    m_pDataLink.reset();
    return 1;
}

XMetaIOData* XUI::GetDataSource() const {
    return AsMetaIOData(m_dataSource.Get());
}

XMetaIOData* XUI::FindDataSource() const {
    XMetaIOData* own = GetDataSource();
    return own ? own : AsMetaIOData(m_inheritedSource.Get());
}

int XUI::ChangeDataField(const wchar_t* name) {
    const DataSourceScope scope(FindDataSource());
    m_strField = name ? name : L"";
    m_nFieldID = scope.Source() ? scope.Source()->GetFieldIndex(m_strField.c_str()) : -1;
    if (m_nFieldID != -1)
        m_nFieldType = scope.Source()->GetFieldType(m_nFieldID);
    Repaint(nullptr);
    return m_nFieldID;
}

void XUI::InheritDataSource(XMetaIOData* source) {
    if (GetDataSource())
        return;
    m_inheritedSource = source ? source->WeakRef() : orvo::IXORef();
    m_nDataRecord = -1;
    m_nFieldID = source && !m_strField.empty() ? source->GetFieldIndex(m_strField.c_str()) : -1;
    if (m_nFieldID != -1)
        m_nFieldType = source->GetFieldType(m_nFieldID);
}

void XUI::SetData(const wchar_t* value) {
    XRect::SetData(value);
    NotifyChange(0, 0);
}

void XUI::OnNotifierChanged(XDO* notifier, int notifyId, int a, int b) {
    XRect::OnNotifierChanged(notifier, notifyId, a, b);
    Repaint(nullptr);
}

// ---- state
// -----------------------------------------------------------------------------------------

void XUI::ResolvePaintEvent() {
    const CUIStyle* style = m_pStyle;
    if (!style) {
        XTheme* theme = CurrentTheme();
        style = theme ? theme->GetDefaultStyle() : nullptr;
    }
    m_pEvent = style ? style->GetUIEvent(PaintFlags(), m_nMouseState, this) : nullptr;
}

void XUI::SetFlag(unsigned set, unsigned clear) {
    m_nFlags = (m_nFlags & ~clear) | set;
    if ((set | clear) & (UI_HIDE | UI_DISABLE | UI_NOTIFYMOUSE))
        ++s_hitFlagsVersion;
    Repaint(nullptr);
    ResolvePaintEvent();
    if (set & UI_HIDE)
        SetUIShow(0, 0);
    else if (clear & UI_HIDE)
        SetUIShow(1, 0);
    if ((set | clear) & UI_DISABLE)
        SetUIDisable();
}

void XUI::SetUIDisable() {
    m_nFlags = SetOrClear(m_nFlags, UI_NOTIFYMOUSE, GetEnable());
    ++s_hitFlagsVersion;
}

void XUI::SetShow(bool show) {
    if (show == IsShow())
        return;
    if (show) {
        SetFlag(0, UI_HIDE);
        Repaint(nullptr);
    } else {
        SetFlag(UI_HIDE, 0);
    }
}

void XUI::SetSelect(bool select) {
    if (select != GetSelect())
        select ? SetFlag(UI_SELECT, 0) : SetFlag(0, UI_SELECT);
}

void XUI::SetEnable(bool enable) {
    if (enable != GetEnable())
        enable ? SetFlag(0, UI_DISABLE) : SetFlag(UI_DISABLE, 0);
}

int XUI::SetUserState(int state, int active) {
    const int previous = m_nUserState;
    m_nUserState = state;
    m_nFlags = SetOrClear(m_nFlags, UI_USERSTATE, active != 0);
    Repaint(nullptr);
    ResolvePaintEvent();
    return previous;
}

void XUI::SetEvent(int event, int notify) {
    if (event != m_nMouseState) {
        m_nMouseState = event;
        Repaint(nullptr);
        ResolvePaintEvent();
    }
    if (!notify)
        return;
    // Handlers may destroy this object: its memory stays until the scope ends.
    orvo::DispatchScope scope;
    const orvo::IXORef alive = WeakRef();
    if (event == XEvent::MouseClick && (m_nFlags & UI_AUTOSELECT)) {
        SetSelect(!GetSelect());
        RunObjectEvent(GetSelect() ? EVT_SELECT : EVT_UNSELECT);
        if (!alive.Alive())
            return;
    }
    for (XDO* up = parent(); up; up = up->parent()) {
        if (auto* visual = orvo::HasStyle(up, XDO_STYLE_UI) ? orvo::KindOf<XUI>(up) : nullptr) {
            visual->NotifyEvent(event, this);
            break;
        }
    }
    // By index: a handler may declare more events.
    for (std::size_t i = 0; i < m_events.size() && alive.Alive(); ++i) {
        XEvent* handler = m_events[i].get();
        if (handler->GetTriggerKind() == XEvent::TriggerMouse && handler->GetMouseFlags() == event)
            handler->Run(this);
    }
}

int XUI::NotifyEvent(int, XUI*) {
    return 1;
}

int XUI::RunObjectEvent(int id) {
    if (!XRect::RunObjectEvent(id))
        return 0;
    if (id == EVT_INITIALIZE && (m_nFlags & UI_AUTOSELECT))
        RunObjectEvent(GetSelect() ? EVT_SELECT : EVT_UNSELECT);
    return 1;
}

// ---- focus
// ---------------------------------------------------------------------------------------

int XUI::SetFocus() {
    const int result = XRect::SetFocus();
    if (s_pFocusedObj)
        s_pFocusedObj->Repaint(nullptr);
    s_pFocusedObj = this;
    Repaint(nullptr);
    return result;
}

// ---- settings and properties ----------------------------------------------------------------

void XUI::SaveObject(XElement* settings) {
    if (settings && m_bSaveSelect && !GetName().empty())
        settings->SetValue(GetName() + L"__select", GetSelect() ? L"True" : L"False");
    XRect::SaveObject(settings);
}

void XUI::LoadObject(XElement* settings) {
    bool select = false;
    if (settings && !GetName().empty() && settings->GetBool(GetName() + L"__select", select) &&
        select != GetSelect())
        SetSelect(select);
    XRect::LoadObject(settings);
}

int XUI::GetPropW(const wchar_t* object, const wchar_t* property, std::wstring& out) {
    if ((!object || !*object) && property) {
        if (plat::EqualsNoCase(property, L"select")) {
            out = GetSelect() ? L"true" : L"false";
            return 1;
        }
        if (plat::EqualsNoCase(property, L"show")) {
            out = IsShow() ? L"true" : L"false";
            return 1;
        }
    }
    return XRect::GetPropW(object, property, out);
}

orvo::DispArray XUI::GetContentSizeVB() {
    const CSize size = GetContentSize();
    return {orvo::DispVariant(static_cast<std::int32_t>(size.cx)),
            orvo::DispVariant(static_cast<std::int32_t>(size.cy))};
}
