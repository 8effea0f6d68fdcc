// The grid client's rows: the body template painted once per visible row, each time showing
// another row of the data source.
#include <algorithm>
#include <climits>

#include "data/data_source.h"
#include "platform/gui/dc.h"
#include "platform/gui/window.h"
#include "ui/xgrid_client.h"
#include "ui/xtable.h"

namespace {

// A row no data source has: the cells of an empty row past the data read nothing.
constexpr int kNoRow = INT_MAX;
constexpr COLORREF kFlashColour = RGB(0, 0, 255);

// Gives a cell object a mouse state for one paint and takes it back after.
class PaintMouseState {
public:
    PaintMouseState(XUI* object, int code) : m_object(object) {
        if (m_object)
            m_object->SetEvent(code, 0);
    }
    ~PaintMouseState() {
        if (m_object)
            m_object->SetEvent(XWindow::MOUSE_NONE, 0);
    }
    PaintMouseState(const PaintMouseState&) = delete;
    PaintMouseState& operator=(const PaintMouseState&) = delete;

private:
    XUI* m_object;
};

} // namespace

void XGridClient::Draw(CDC* dc) {
    m_contentDrawn = false;
    XWindow::Draw(dc);
    // A style without a "Text" primitive still shows the rows.
    if (!m_contentDrawn)
        DrawRows(dc);
}

void XGridClient::DrawContent(CDC* dc, CRect&, CUIEvent*, CUIPaintText*) {
    if (m_contentDrawn)
        return; // a style with two text primitives paints the rows once
    m_contentDrawn = true;
    DrawRows(dc);
}

void XGridClient::DrawRows(CDC* dc) {
    m_nPaintedRows = 0;
    XTable* body = m_pBody;
    const int h = GetRowHeight();
    if (!dc || !body || h < 1)
        return;
    CDataSource current(GetSource());
    XFORM base;
    dc->GetWorldTransform(base);
    CRect clip;
    dc->GetClipBox(&clip);
    const int limit = m_pTail ? m_pTail->top : GetInner().rect.bottom;
    for (long long k = 0;; ++k) {
        const long long top = body->top + k * h;
        if (top >= limit || top >= clip.bottom || top > INT_MAX - h)
            break;
        if (top + h <= clip.top)
            continue; // rows above what is being painted cost nothing
        const int r = static_cast<int>(std::min<long long>(m_nStartRow + k, INT_MAX));
        // The rows are counted again each time: a handler may have emptied the source.
        const int rows = GetRowCount();
        const int dataRow = m_bReverseRow ? rows - r - 1 : r;
        const bool empty = r >= rows && m_bHideEmptyRow;
        current.SetDataRecord(dataRow >= 0 && dataRow < rows ? dataRow : kNoRow);

        XFORM shift;
        shift.eDy = static_cast<float>(k * h);
        dc->SetWorldTransform(base);
        dc->ModifyWorldTransform(&shift, MWT_LEFTMULTIPLY);

        int state = ROW_NORMAL;
        if (r == m_nSelectRow && m_bHighlightRow)
            state = ROW_SELECTED;
        else if (m_nToggleRow > 0 && (r / m_nToggleRow) % 2 == 1)
            state = ROW_TOGGLED;
        body->SetUserState(state, 1);
        body->Draw(dc);
        if (r == m_nSelectRow && m_bHighlightCol)
            if (XUI* selected = GetBodyObject(m_nSelectCol)) {
                const int active = selected->PaintFlags() & STATE_USERSTATE ? 1 : 0;
                const int before = selected->SetUserState(CELL_SELECTED, 1);
                selected->Draw(dc);
                selected->SetUserState(before, active);
            }
        if (!empty) {
            XUI* hovered = m_bMouseUI && m_hover.row == r ? GetBodyObject(m_hover.column) : nullptr;
            const bool pressed = m_pressed.row >= 0;
            const PaintMouseState mouse(pressed && !(m_pressed == m_hover) ? nullptr : hovered,
                                        pressed ? MOUSE_LDOWN : MOUSE_OVER);
            body->Paint(dc, body->child());
        }
        body->OnPaintAfterChild(dc);
        ++m_nPaintedRows;
    }
    dc->SetWorldTransform(base);
}

void XGridClient::FlashRepaint(const CRect& rect) {
    plat::Window* window = GetNativeWindow();
    if (!window || rect.IsRectEmpty())
        return;
    m_flash = rect;
    m_flash.OffsetRect(-GetLogX(), 0);
    window->Invalidate(&m_flash);
    window->UpdateWindow();
    m_flash.SetRectEmpty();
    RegPaint(rect);
}

void XGridClient::OnPaint(CDC* dc) {
    if (dc && !m_flash.IsRectEmpty()) {
        dc->FillSolidRect(m_flash, kFlashColour);
        return;
    }
    XWindow::OnPaint(dc);
}

void XGridClient::RepaintRow(int row) {
    const CRect rect = GetRowRect(row);
    if (!rect.IsRectEmpty())
        RegPaint(rect);
}

void XGridClient::RepaintCell(int row, int column) {
    const CRect rect = GetCellRect(row, column);
    if (!rect.IsRectEmpty())
        RegPaint(rect);
}

void XGridClient::RepaintBody() {
    RegPaint(GetBodyRect());
}
