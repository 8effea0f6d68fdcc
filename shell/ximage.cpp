#include "shell/ximage.h"

#include "nubra/ixo_ref.h"
#include "nubra/trim_blanks.h"
#include "platform/gui/dc.h"
#include "ui/contracts.h"
#include "ui/res_image.h"

namespace {

[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XImage>();

CResImg* LookUp(const std::wstring& name) {
    static orvo::ContractCall<orvo::contract::ResManGetImageObject> s_getImage;
    auto getImage = s_getImage.Get();
    return getImage && !name.empty() ? getImage(name.c_str()) : nullptr;
}

// Draws `image` at its own size scaled onto `rect`, through the world transform, so that
// icons keep their transparency.
void DrawStretched(CDC* dc, CResImg* image, const CRect& rect) {
    XFORM previous;
    dc->GetWorldTransform(previous);
    const int previousMode = dc->SetGraphicsMode(GM_ADVANCED);
    XFORM scale;
    scale.eM11 = static_cast<float>(rect.Width()) / static_cast<float>(image->GetWidth());
    scale.eM22 = static_cast<float>(rect.Height()) / static_cast<float>(image->GetHeight());
    scale.eDx = static_cast<float>(rect.left);
    scale.eDy = static_cast<float>(rect.top);
    dc->ModifyWorldTransform(&scale, MWT_LEFTMULTIPLY);
    image->Draw(dc, CRect(0, 0, image->GetWidth(), image->GetHeight()));
    dc->SetWorldTransform(previous);
    dc->SetGraphicsMode(previousMode);
}

} // namespace

ORVO_DISPATCH(XImage,
              XUI,
              ORVO_PROPERTY_EX(GetImage, SetImage, Image),
              ORVO_PROPERTY_EX(GetStretch, SetStretch, Stretch))

XImage::XImage() = default;

int XImage::SetElement(XElement* e) {
    if (!XUI::SetElement(e) || !e)
        return 0;
    e->GetBool(L"Stretch", m_stretch);
    if (const std::wstring* name = e->FindValue(L"Image"))
        SetImage(std::wstring(orvo::TrimBlanks(*name)));
    return 1;
}

void XImage::SetImage(const std::wstring& name) {
    m_name = name;
    m_image = LookUp(name);
    Repaint(nullptr);
}

void XImage::SetStretch(bool stretch) {
    if (stretch == m_stretch)
        return;
    m_stretch = stretch;
    Repaint(nullptr);
}

void XImage::Draw(CDC* dc) {
    if (!dc)
        return;
    XUI::Draw(dc);
    if (!m_image || m_image->GetWidth() <= 0 || m_image->GetHeight() <= 0 || IsRectEmpty())
        return;
    if (m_stretch) {
        DrawStretched(dc, m_image, *this);
        return;
    }
    const CSize size(m_image->GetWidth(), m_image->GetHeight());
    const CPoint at(left + (Width() - size.cx) / 2, top + (Height() - size.cy) / 2);
    // A larger image is cut to the rectangle, centred.
    const int saved = dc->SaveDC();
    dc->IntersectClipRect(*this);
    m_image->Draw(dc, CRect(at, size));
    dc->RestoreDC(saved);
}
