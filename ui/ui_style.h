#pragma once
// CUIStyle: how one kind of control looks: its draw events in document order and the paint
// drawn over it while it has the focus.
#include <memory>
#include <vector>

#include "ui/ui_event.h"

class CUIPaint;

class CUIStyle {
public:
    // Every "DrawEvent" of the chain from `first` becomes an event; 0 when there is none.
    int SetElement(XTheme* theme, XElement* first);

    // The event for an object's state flags, mouse code and user state; null when no event
    // answers them (the object is then drawn with the first event).
    CUIEvent* GetUIEvent(int flags, int mouse, int userState) const;
    CUIEvent* GetUIEvent(int flags, int mouse, orvo::PaintTarget* object) const;

    // Draws `event`, else the first event; then the focus paint over a focused object.
    void Draw(CDC* dc, orvo::PaintTarget* object, CUIEvent* event) const;

    CUIEvent* GetFirstEvent() const { return m_first; }
    std::size_t EventCount() const { return m_events.size(); }
    CUIEvent* EventAt(std::size_t index) const { return m_events[index].get(); }
    void SetFocusPaint(CUIPaint* paint) { m_focusPaint = paint; }

private:
    // The first event with a state inside `mask` and the trigger `mouse`, else the last one
    // with a state inside `mask`.
    CUIEvent* SubsetSearch(int mask, int mouse) const;

    CUIEvent* m_first = nullptr;
    CUIPaint* m_focusPaint = nullptr;
    std::vector<std::unique_ptr<CUIEvent>> m_events;
};
