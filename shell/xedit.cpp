#include "shell/xedit.h"

#include "core/lang_man.h"
#include "core/language.h"
#include "core/lib.h"
#include "nubra/ixo_ref.h"
#include "ui/xtheme.h"
#include "ui/xwindow.h"

namespace {

[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XEdit>();

// The line edit leaves the style's border visible around it.
constexpr int kInset = 2;

} // namespace

ORVO_DISPATCH(
    XEdit, XUI, ORVO_METHOD(Commit), ORVO_METHOD(Revert), ORVO_PROPERTY_EX(GetText, SetText, Text))

XEdit::XEdit() = default;

XEdit::~XEdit() = default;

int XEdit::SetElement(XElement* e) {
    if (!XUI::SetElement(e) || !e)
        return 0;
    e->GetValue(L"Text", m_text);
    e->GetValue(L"MaxLength", m_maxLength);
    e->GetBool(L"ReadOnly", m_readOnly);
    if (XTheme* theme = CurrentTheme()) {
        // A colour that does not resolve keeps the default.
        COLORREF colour = m_textColour;
        if (theme->ReadColor(e, L"TextColor", colour))
            m_textColour = colour;
        colour = m_backColour;
        if (theme->ReadColor(e, L"BackColor", colour))
            m_backColour = colour;
    }
    return 1;
}

XWindow* XEdit::Host() {
    return dynamic_cast<XWindow*>(GetXDO(XDO_STYLE_WINDOWHOST, 1));
}

int XEdit::CreateInstance() {
    m_field.NoteCreationRow();
    if (!XUI::CreateInstance())
        return 0;
    orvo::BoundField::Listen(*this);
    XWindow* host = Host();
    plat::Window* window = host ? host->GetNativeWindow() : nullptr;
    if (!window)
        return 1;
    m_edit = std::make_unique<plat::LineEdit>(*window);
    m_edit->SetHandler(this);
    m_edit->SetMaxLength(m_maxLength);
    m_edit->SetReadOnly(m_readOnly || !IsEnabled());
    m_edit->SetColours(m_textColour, m_backColour);
    if (XLanguage* language = XLangMan::Instance().CurrentLanguage())
        if (CFont* font = language->GetDefaultFont())
            m_edit->SetFont(*font);
    m_edit->SetText(GetText());
    Place();
    return 1;
}

void XEdit::Teardown() {
    // The line edit goes quietly: a dying object commits nothing and runs no event.
    m_edit.reset();
    XUI::Teardown();
}

int XEdit::Recalc(XRect* parent) {
    const int result = XUI::Recalc(parent);
    Place();
    return result;
}

int XEdit::SetUIShow(int show, int create) {
    const int result = XUI::SetUIShow(show, create);
    Place();
    return result;
}

void XEdit::SetUIDisable() {
    XUI::SetUIDisable();
    if (m_edit)
        m_edit->SetReadOnly(m_readOnly || !IsEnabled());
}

void XEdit::Place() {
    if (!m_edit)
        return;
    bool shown = IsShow();
    for (XDO* up = parent(); up && shown; up = up->parent()) {
        if (orvo::HasStyle(up, XDO_STYLE_WINDOWHOST))
            break;
        if (auto* visual = orvo::HasStyle(up, XDO_STYLE_UI) ? dynamic_cast<XUI*>(up) : nullptr)
            shown = visual->IsShow();
    }
    CRect area = *this;
    if (XWindow* host = Host())
        area.OffsetRect(-host->GetLogX(), 0);
    area.DeflateRect(kInset, kInset);
    m_edit->Move(area);
    if (shown && !area.IsRectEmpty())
        m_edit->Show();
    else
        m_edit->Hide();
}

int XEdit::SetFocus() {
    const int result = XUI::SetFocus();
    if (m_edit)
        m_edit->SetFocus();
    return result;
}

std::wstring XEdit::GetText() const {
    std::wstring value;
    return m_field.Read(*this, value) ? value : m_text;
}

bool XEdit::Store(const std::wstring& text) {
    if (FindDataSource() && GetDataField() >= 0)
        return m_field.Write(*this, text);
    m_text = text;
    return true;
}

bool XEdit::Apply(const std::wstring& text) {
    if (text == GetText() || !Store(text)) {
        Revert();
        return false;
    }
    // The field may keep the value in its own form (a number's digits, a fixed width).
    Revert();
    const orvo::IXORef alive = WeakRef();
    RunObjectEvent(EVT_CHANGE);
    return alive.Alive();
}

bool XEdit::Commit() {
    return m_edit && m_edit->IsModified() && Apply(m_edit->GetText());
}

void XEdit::GetData(std::wstring* out) {
    if (out)
        *out = GetText();
}

void XEdit::SetData(const wchar_t* value) {
    SetText(value ? value : L"");
}

void XEdit::SetText(const std::wstring& text) {
    Apply(text);
}

void XEdit::Revert() {
    if (m_edit)
        m_edit->SetText(GetText());
}

void XEdit::OnNotifierChanged(XDO* notifier, int notifyId, int a, int b) {
    XUI::OnNotifierChanged(notifier, notifyId, a, b);
    if (m_edit && !m_edit->IsModified())
        m_edit->SetText(GetText());
}

void XEdit::OnCommit(plat::LineEdit&) {
    // Enter sends the value on: the gates linking the edit gather and apply it, changed or not
    // (a trader presses Enter again to ask for the same code once more).
    const orvo::IXORef alive = WeakRef();
    Commit();
    if (alive.Alive())
        TriggerLinkedGates();
}

void XEdit::OnCancel(plat::LineEdit&) {
    Revert();
}

void XEdit::OnFocus(plat::LineEdit&, bool gained) {
    if (gained)
        XUI::SetFocus();
    else
        Commit();
}

bool XEdit::OnTab(plat::LineEdit&, bool forward) {
    auto* screen = dynamic_cast<XLib*>(GetXDO(XDO_STYLE_SCREEN, 1));
    if (!screen || screen->GetTabStops().empty())
        return false;
    // What was typed is committed as the focus leaves, as a click elsewhere would.
    screen->TabNavi(forward);
    return true;
}
