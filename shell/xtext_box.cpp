#include "shell/xtext_box.h"

#include "nubra/ixo_ref.h"
#include "platform/gui/dc.h"
#include "ui/text_align.h"
#include "ui/ui_paint_text.h"

namespace {

[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XTextBox>();

// Text keeps clear of a border the style may draw.
constexpr int kPadding = 2;

constexpr unsigned kDefaultFormat = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;

} // namespace

ORVO_DISPATCH(XTextBox, XUI, ORVO_PROPERTY_EX(GetText, SetText, Text))

XTextBox::XTextBox() : m_textFormat(kDefaultFormat) {}

int XTextBox::SetElement(XElement* e) {
    if (!XUI::SetElement(e) || !e)
        return 0;
    e->GetValue(L"Text", m_text);
    // "Align" places the object itself; its text has a keyword list of its own.
    if (const std::wstring* align = e->FindValue(L"Text_Align"))
        m_textFormat = orvo::ReadTextAlign(*align);
    return 1;
}

int XTextBox::CreateInstance() {
    m_field.NoteCreationRow();
    if (!XUI::CreateInstance())
        return 0;
    orvo::BoundField::Listen(*this);
    return 1;
}

std::wstring XTextBox::GetText() const {
    std::wstring value;
    return m_field.Read(*this, value) ? value : m_text;
}

void XTextBox::GetData(std::wstring* out) {
    if (out)
        *out = GetText();
}

void XTextBox::SetData(const wchar_t* value) {
    const std::wstring text(value ? value : L"");
    if (!m_field.Write(*this, text))
        SetText(text);
}

void XTextBox::SetText(const std::wstring& text) {
    if (text == m_text)
        return;
    m_text = text;
    Repaint(nullptr);
}

std::wstring XTextBox::GetShownText() const {
    const std::wstring text = GetText();
    const CFormat* format = GetFormat();
    if (!format)
        format = orvo::BoundField::FieldFormat(*this);
    return format ? format->GetString(text) : text;
}

void XTextBox::Draw(CDC* dc) {
    if (!dc)
        return;
    m_contentDrawn = false;
    XUI::Draw(dc);
    if (!m_contentDrawn)
        DrawShownText(dc, *this, nullptr, nullptr);
}

void XTextBox::DrawContent(CDC* dc, CRect& rect, CUIEvent* event, CUIPaintText* text) {
    m_contentDrawn = true;
    DrawShownText(dc, rect, event, text);
}

void XTextBox::DrawShownText(CDC* dc,
                             const CRect& rect,
                             CUIEvent* event,
                             CUIPaintText* text) const {
    const std::wstring shown = GetShownText();
    if (shown.empty() || !dc)
        return;
    CRect area = rect;
    area.DeflateRect(kPadding, 0);
    unsigned format = m_textFormat;
    if (format & DT_SINGLELINE) {
        // A single line is drawn from the rectangle's top; the vertical place is set here.
        // The line's height is the font's: measuring the text itself would shape it again.
        const int height = dc->GetTextExtent(std::wstring_view()).cy;
        if (format & DT_VCENTER)
            area.top += (area.Height() - height) / 2;
        else if (format & DT_BOTTOM)
            area.top = area.bottom - height;
        format &= ~(DT_VCENTER | DT_BOTTOM);
    }
    if (text) {
        text->DrawTextW(dc, area, shown, format, event);
        return;
    }
    const int previousMode = dc->SetBkMode(TRANSPARENT);
    dc->DrawText(shown, area, format);
    dc->SetBkMode(previousMode);
}
