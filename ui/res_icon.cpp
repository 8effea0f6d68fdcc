#include "ui/res_icon.h"

namespace orvo {

void DestroyIconHandle(IconHandle icon) {
    delete icon;
}

} // namespace orvo

int CResIcon::Load(const XElement* element) {
    if (!ResolveFile(element) || !DecodeFile(m_icon))
        return 0;
    const CSize size = m_icon.GetSize();
    SetSize(size.cx, size.cy);
    return 1;
}

void CResIcon::Draw(CDC* dc, const CRect& rect) {
    m_icon.Draw(dc, rect.TopLeft());
}

orvo::IconHandle CResIcon::GetHandle(bool copy) const {
    return copy ? new CDib(m_icon) : &m_icon;
}
