// Repaint requests and the paint walk of visual objects.
#include <vector>

#include "core/lang_man.h"
#include "data/data_source.h"
#include "platform/gui/dc.h"
#include "ui/contracts.h"
#include "ui/paint_host.h"
#include "ui/ui_event.h"
#include "ui/ui_style.h"
#include "ui/xtheme.h"
#include "ui/xui.h"

namespace {

// The window host `object` paints into: itself when it is one.
XDO* PaintingWindow(XDO* object) {
    return object->GetXDO(XDO_STYLE_WINDOWHOST, 0);
}

// A selector's selected member is drawn once more over everything before it, when it paints
// into the same window as `painter`.
void DrawSelectedOnTop(CDC* dc, XDO* selector, XDO* painter) {
    static orvo::ContractMethod<orvo::contract::SelectorGetCurUI> s_getCurUI;
    auto getCurUI = s_getCurUI.Get(selector);
    XUI* selected = getCurUI ? AsVisual(getCurUI()) : nullptr;
    if (selected && selected->IsShow() && PaintingWindow(selected) == PaintingWindow(painter))
        selected->Draw(dc);
}

} // namespace

void XUI::Repaint(const CRect* rect) {
    for (XDO* up = parent(); up; up = up->parent()) {
        if (!orvo::HasStyle(up, XDO_STYLE_WINDOWHOST))
            continue;
        if (auto* host = dynamic_cast<orvo::PaintHost*>(up))
            host->RegPaint(this, rect ? *rect : static_cast<const CRect&>(*this));
        return;
    }
}

CRect XUI::PaintRect() const {
    return ClientRect();
}

void XUI::OnPaint(CDC* dc) {
    if (!dc)
        return;
    const CFont* previous = nullptr;
    if (XLanguage* language = XLangMan::Instance().CurrentLanguage()) {
        if (CFont* font = language->GetDefaultFont())
            previous = dc->SelectObject(font);
    }
    OnPaintStart(dc);
    Draw(dc);
    Paint(dc, child());
    OnPaintAfterChild(dc);
    OnPaintEnd(dc);
    if (previous)
        dc->SelectObject(previous);
}

void XUI::OnPaintEnd(CDC* dc) {
    if (m_onPaintEnd)
        m_onPaintEnd(dc, this);
}

void XUI::Paint(CDC* dc, XDO* node) {
    if (!dc)
        return;
    // Siblings in a loop, not a call per sibling: a long row of cells must not deepen the
    // stack. Each visual sibling hears OnPaintAfterNext once everything after it is painted,
    // so the last one hears first; a selector then draws its selected member.
    std::vector<XDO*> finishing;
    // Most objects of a large window lie outside what is being painted: the box around the
    // clip region turns them away before the exact test.
    CRect clipBox;
    dc->GetClipBox(&clipBox);
    for (; node; node = node->next()) {
        XUI* visual = AsVisual(node);
        if (visual || orvo::HasStyle(node, XDO_STYLE_SELECTOR))
            finishing.push_back(node);
        if (!visual) {
            Paint(dc, node->child());
            continue;
        }
        // A window paints itself; a hidden object takes its subtree out of view.
        if (orvo::HasStyle(visual, XDO_STYLE_WINDOWHOST) || !visual->IsShow())
            continue;
        if (CRect overlap; !overlap.IntersectRect(clipBox, *visual) || !dc->RectVisible(*visual))
            continue;
        visual->Draw(dc);
        Paint(dc, visual->child());
        visual->OnPaintAfterChild(dc);
    }
    for (auto it = finishing.rbegin(); it != finishing.rend(); ++it) {
        if (XUI* visual = AsVisual(*it))
            visual->OnPaintAfterNext(dc);
        else
            DrawSelectedOnTop(dc, *it, this);
    }
}

XMetaIOData* XUI::DrawSource(int& row) const {
    XMetaIOData* source = FindDataSource();
    // A container painting the source row by row (a grid) sets the row; otherwise an own
    // source, or one made current without a row, shows its first one.
    if (int current = CDataSource::CurrentRowOf(source); current >= 0)
        row = current;
    else
        row = GetDataSource() || m_nDataRecord == -1 ? 0 : m_nDataRecord;
    return source;
}

void XUI::Draw(CDC* dc) {
    if ((m_nFlags & UI_USERSTATE) && m_nFieldID != -1) {
        int row = 0;
        int value = 0;
        // Only a change asks for another paint, so drawing never keeps itself going.
        if (XMetaIOData* source = DrawSource(row);
            source && source->GetVal(row, m_nFieldID, value, m_nFieldIDType) &&
            value != m_nUserState)
            SetUserState(value, 1);
    }
    XTheme* theme = CurrentTheme();
    if (!m_images.empty()) {
        CUIEvent* event = m_pEvent;
        if (!event && m_pStyle)
            event = m_pStyle->GetFirstEvent();
        if (!event && theme && theme->GetDefaultStyle())
            event = theme->GetDefaultStyle()->GetFirstEvent();
        if (event)
            event->SetImgArray(m_images);
    }
    if (theme)
        theme->Draw(dc, this, m_pEvent);
}
