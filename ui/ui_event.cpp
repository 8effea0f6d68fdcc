#include "ui/ui_event.h"

#include <algorithm>

#include "core/element.h"
#include "nubra/call_site.h"
#include "nubra/trim_blanks.h"
#include "platform/base/lenient.h"
#include "platform/base/nocase.h"
#include "platform/base/text.h"
#include "ui/contracts.h"
#include "ui/keyword_list.h"
#include "ui/paint_target.h"
#include "ui/xtheme.h"

int CUIEvent::SetElement(XTheme* theme, XElement* element) {
    std::wstring text;
    if (element->GetValue(L"Trigger", text)) {
        if (plat::EqualsNoCase(text, L"Mouse.Over"))
            m_trigger = TRIGGER_OVER;
        else if (plat::EqualsNoCase(text, L"Mouse.Click"))
            m_trigger = TRIGGER_CLICK;
    }
    if (element->GetValue(L"State", text))
        ReadState(text);
    if (element->GetValue(L"OnPaint", text) && text.find(L',') != std::wstring::npos) {
        m_hasHandler = true;
        m_handlerText = text;
    }
    if (element->GetValue(L"Color", text))
        ReadColors(theme, text);
    if (element->GetValue(L"Image", text))
        ReadImages(text);
    if (!m_primitives.SetElement(theme, element->GetFirstChild()))
        m_primitives.Clear();
    return 1;
}

void CUIEvent::ReadState(const std::wstring& text) {
    for (std::wstring_view item : orvo::SplitItems(text, L',')) {
        const std::size_t dot = item.find(L'.');
        if (dot == std::wstring_view::npos)
            continue;
        const std::wstring_view kind = item.substr(0, dot);
        const std::wstring_view word = item.substr(dot + 1);
        if (plat::EqualsNoCase(kind, L"Object")) {
            const int bit = plat::EqualsNoCase(word, L"Select") ? orvo::PaintTarget::STATE_SELECT
                            : plat::EqualsNoCase(word, L"Disable")
                                ? orvo::PaintTarget::STATE_DISABLE
                                : 0;
            if (bit)
                m_state = (m_state == -1 ? 0 : m_state) | bit;
        } else if (plat::EqualsNoCase(kind, L"User")) {
            m_userState = plat::_wtoi(word);
        }
    }
}

void CUIEvent::ReadColors(XTheme* theme, const std::wstring& text) {
    for (std::wstring_view name : orvo::SplitItems(text, L'.')) {
        COLORREF colour = 0;
        if (!theme->GetColor(std::wstring(name).c_str(), &colour))
            return;
        m_colours.push_back(colour);
    }
}

void CUIEvent::ReadImages(const std::wstring& text) {
    static orvo::ContractCall<orvo::contract::ResManGetImageObject> s_getImage;
    auto getImage = s_getImage.Get();
    for (std::wstring_view name : orvo::SplitItems(text, L','))
        m_images.push_back(getImage ? getImage(std::wstring(name).c_str()) : nullptr);
}

void CUIEvent::Draw(CDC* dc, orvo::PaintTarget* object) {
    Draw(dc, object ? object->PaintRect() : CRect(), object);
}

void CUIEvent::Draw(CDC* dc, CRect rect, orvo::PaintTarget* object) {
    if (m_hasHandler)
        DrawHandler(dc, object);
    m_primitives.Draw(dc, rect, object, this);
}

void CUIEvent::DrawHandler(CDC* dc, orvo::PaintTarget* object) {
    if (!m_handlerTried) {
        m_handlerTried = true;
        const std::size_t comma = m_handlerText.find(L',');
        const std::wstring_view module =
            orvo::TrimBlanks(std::wstring_view(m_handlerText).substr(0, comma));
        const std::wstring function(
            orvo::TrimBlanks(std::wstring_view(m_handlerText).substr(comma + 1)));
        m_handlerModule = plat::Module::Open(module);
        if (m_handlerModule)
            m_handler =
                reinterpret_cast<Handler>(m_handlerModule.Symbol(plat::ToUtf8(function).c_str()));
    }
    if (m_handler)
        m_handler(dc, object);
}

int CUIEvent::GetColor(int index, COLORREF& colour) const {
    if (index < 0 || static_cast<std::size_t>(index) >= m_colours.size())
        return 0;
    colour = m_colours[static_cast<std::size_t>(index)];
    return 1;
}

int CUIEvent::SetColor(int index, COLORREF colour) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_colours.size())
        return 0;
    m_colours[static_cast<std::size_t>(index)] = colour;
    return 1;
}

int CUIEvent::GetImg(int index, CResImg*& image) const {
    if (index < 0 || static_cast<std::size_t>(index) >= m_images.size())
        return 0;
    image = m_images[static_cast<std::size_t>(index)];
    return 1;
}

int CUIEvent::SetImg(int index, CResImg* image) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_images.size())
        return 0;
    m_images[static_cast<std::size_t>(index)] = image;
    return 1;
}

void CUIEvent::SetImgArray(const std::vector<CResImg*>& images) {
    const std::size_t count = std::min(images.size(), m_images.size());
    std::copy_n(images.begin(), count, m_images.begin());
}
