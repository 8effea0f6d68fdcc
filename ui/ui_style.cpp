#include "ui/ui_style.h"

#include "core/element.h"
#include "platform/base/nocase.h"
#include "ui/paint_target.h"

namespace {

constexpr int kSelect = orvo::PaintTarget::STATE_SELECT;
constexpr int kDisable = orvo::PaintTarget::STATE_DISABLE;

} // namespace

int CUIStyle::SetElement(XTheme* theme, XElement* first) {
    for (XElement* element = first; element; element = element->GetNextSibling()) {
        if (!plat::EqualsNoCase(element->GetTagName(), L"DrawEvent"))
            continue;
        auto event = std::make_unique<CUIEvent>();
        event->SetElement(theme, element);
        if (!m_first)
            m_first = event.get();
        m_events.push_back(std::move(event));
    }
    return m_first ? 1 : 0;
}

CUIEvent* CUIStyle::SubsetSearch(int mask, int mouse) const {
    CUIEvent* last = nullptr;
    for (const auto& event : m_events) {
        const int state = event->GetState();
        if (state == -1 || (state & ~mask) != 0)
            continue;
        if (event->GetTrigger() == mouse)
            return event.get();
        last = event.get();
    }
    return last;
}

CUIEvent* CUIStyle::GetUIEvent(int flags, int mouse, int userState) const {
    CUIEvent* found = nullptr;
    if (flags & orvo::PaintTarget::STATE_USERSTATE) {
        for (const auto& event : m_events) {
            if (event->GetUserState() != userState)
                continue;
            if (event->GetTrigger() == mouse)
                return event.get();
            found = event.get();
        }
    } else if ((flags & kSelect) && (flags & kDisable)) {
        for (const auto& event : m_events) {
            const int state = event->GetState();
            if (state == -1 || (state & (kSelect | kDisable)) != (kSelect | kDisable))
                continue;
            if (event->GetTrigger() == mouse)
                return event.get();
            found = event.get();
        }
        if (!found)
            found = SubsetSearch(kDisable, mouse);
        if (!found)
            found = SubsetSearch(kSelect, mouse);
    } else if (flags & (kSelect | kDisable)) {
        found = SubsetSearch(flags, mouse);
    }
    if (found)
        return found;
    for (const auto& event : m_events) {
        if (event->GetTrigger() == mouse)
            return event.get();
    }
    return nullptr;
}

CUIEvent* CUIStyle::GetUIEvent(int flags, int mouse, orvo::PaintTarget* object) const {
    return GetUIEvent(flags, mouse, object ? object->PaintUserState() : 0);
}

void CUIStyle::Draw(CDC* dc, orvo::PaintTarget* object, CUIEvent* event) const {
    if (!event)
        event = m_first;
    if (!event)
        return;
    event->Draw(dc, object);
    if (m_focusPaint && object && object->HasFocus() &&
        (object->PaintFlags() & orvo::PaintTarget::STATE_CANFOCUS)) {
        CRect rect = object->PaintRect();
        m_focusPaint->Draw(dc, rect, object, event);
    }
}
