#include "ui/ui_paint_image.h"

#include "core/element.h"
#include "nubra/call_site.h"
#include "ui/contracts.h"
#include "ui/res_image.h"
#include "ui/ui_event.h"

int CUIPaintImage::SetAttribute(XTheme*, XElement* element) {
    if (!element->GetValue(L"Src", m_name))
        element->GetValue(L"Image", m_name);
    element->GetValue(L"ImageIndex", m_index);
    return 1;
}

void CUIPaintImage::Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) {
    CResImg* image = nullptr;
    if (m_index >= 0) {
        if (event)
            event->GetImg(m_index, image);
    } else {
        if (!m_image && !m_name.empty()) {
            static orvo::ContractCall<orvo::contract::ResManGetImageObject> s_getImage;
            auto getImage = s_getImage.Get();
            m_image = getImage ? getImage(m_name.c_str()) : nullptr;
            if (!m_image)
                m_name.clear();
        }
        image = m_image;
    }
    if (image)
        image->Draw(dc, rect);
    CUIPaintBase::Draw(dc, rect, object, event);
}
