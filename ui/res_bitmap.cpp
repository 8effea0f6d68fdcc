#include "ui/res_bitmap.h"

#include <string>

#include "core/element.h"
#include "nubra/color.h"
#include "platform/gui/dc.h"
#include "ui/xcolor.h"
#include "ui/xtheme.h"
#include "ui/xtheme_man.h"

namespace {

bool ResolveColour(const std::wstring& text, COLORREF& colour) {
    if (const XTheme* theme = XThemeMan::Instance().CurrentTheme())
        return theme->GetColor(text.c_str(), &colour);
    return XColor::Instance().GetColor(text.c_str(), colour) || ::GetColor(text, colour);
}

} // namespace

int CResBitmap::Load(const XElement* element) {
    if (!ResolveFile(element))
        return 0;
    // A bitmap whose file is named is kept even when the file is missing or is no image: it
    // draws nothing, and the screen that names it still opens.
    DecodeFile(m_dib);
    const CSize size = m_dib.GetSize();
    SetSize(size.cx, size.cy);
    std::wstring text;
    if (element->GetValue(L"TransColor", text))
        ResolveColour(text, m_transColour);
    element->GetBool(L"Stretch", m_stretch);
    element->GetBool(L"Transparent", m_transparent);
    return 1;
}

void CResBitmap::Draw(CDC* dc, const CRect& rect) {
    if (!dc)
        return;
    m_dib.SetTransparent(m_transparent);
    m_dib.SetTransColor(m_transColour);
    const int saved = dc->SaveDC();
    if (m_stretch) {
        m_dib.Draw(dc, rect);
    } else {
        // One column wider and one row shorter than the rectangle: screens lay their
        // bitmaps out against exactly this clip.
        dc->IntersectClipRect(
            rect.left, rect.top, plat::WrapAdd(rect.right, 1), plat::WrapSub(rect.bottom, 1));
        m_dib.Draw(dc, rect.TopLeft());
    }
    dc->RestoreDC(saved);
}
