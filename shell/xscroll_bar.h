#pragma once
// XScrollBar ("ScrollBar"): a vertical or horizontal ("Vertical" False) scroll bar over a range
// of positions: "Min" to "Max", a "Page" of them seen at once and a "Line" step. The position
// stays within [Min, Max - Page + 1]; a reversed range is read as empty and a page below 0 as 0.
//
// The mouse: an arrow steps a line and repeats while held, a press on the track pages towards
// the cursor and repeats until the thumb gets there, the thumb drags. A move by the user tells
// the bar's listeners (OnNotifierChanged with the position as `a`), then runs "Change".
//
// Painting: the bar's style paints the track; the styles "<style>.Up", ".Down", ".Left",
// ".Right" and ".Thumb" (style: "Style", else "ScrollBar") paint the parts, a held part with
// its "Mouse.Click" event (the pressed look). A part whose style the theme lacks is painted
// plainly, as is the track without the bar's own style.
#include <string>

#include "ui/xui.h"

class CUIStyle;

class XScrollBar : public XUI {
    ORVO_DISPATCH_MAP()

public:
    enum Part : int {
        PART_NONE = 0,
        PART_LINE_BACK,    // the up or left arrow
        PART_LINE_FORWARD, // the down or right arrow
        PART_PAGE_BACK,    // the track before the thumb
        PART_PAGE_FORWARD, // the track after the thumb
        PART_THUMB,
    };

    XScrollBar();
    ORVO_KEY(L"ScrollBar")

    // "Vertical", "Min", "Max", "Page", "Line", "Pos" after the visual object's attributes.
    int SetElement(XElement* e) override;
    void Draw(CDC* dc) override;
    // A left press starts the action of the part under it.
    void SetEvent(int event, int notify) override;
    // "Repeat" steps, "Dragging" and the drag's end move the thumb.
    int RunObjectEvent(int id) override;
    // A scrolled view sets the bar with "#VScrollSet#" (a vertical bar) or "#HScrollSet#" (a
    // horizontal one): "MinPos", "MaxPos", "CurPos" and "Page", telling nobody. The user's
    // moves go back to the view as "#ScrollPos#" with "VScroll" and "CurPos".
    int RunMsg(int fromUp, XElement* msg, XDO* sender, XDO* origin, int& sendDown) override;

    // ---- range and position (setting them from code tells nobody) ---------------------------
    void SetRange(int min, int max);
    void SetPage(int page);
    void SetLine(int line);
    void SetPos(int pos);
    int GetMin() const { return m_min; }
    int GetMax() const { return m_max; }
    int GetPage() const { return m_page; }
    int GetLine() const { return m_line; }
    int GetPos() const { return m_pos; }
    // The largest position the range and page allow.
    int GetMaxPos() const;
    bool IsVertical() const { return m_vertical; }
    void SetVertical(bool vertical);
    void SetMin(int min) { SetRange(min, m_max); }
    void SetMax(int max) { SetRange(m_min, max); }

    // ---- user moves: clamped, then told to listeners and "Change" when the position changed --
    bool ScrollTo(int pos);
    bool ScrollBy(int delta);

    // ---- geometry ----------------------------------------------------------------------------
    CRect PartRect(Part part) const;
    Part PartAt(CPoint pt) const;
    Part GetPressedPart() const { return m_pressed; }

protected:
    ~XScrollBar() override = default;

private:
    struct Layout {
        long long trackStart = 0;
        long long trackEnd = 0;
        long long thumbStart = 0;
        long long thumbEnd = 0; // equal to thumbStart when there is nothing to scroll
    };

    Layout ComputeLayout() const;
    // A rectangle across the bar from `start` to `end` along it.
    CRect Span(long long start, long long end) const;
    long long Along(CPoint pt) const { return m_vertical ? pt.y : pt.x; }
    // The position that puts the thumb's start at `thumbStart`.
    int PosAtThumb(const Layout& layout, long long thumbStart) const;
    void Clamp();
    void StepPressedPart();
    void FollowDrag();
    void DrawPart(CDC* dc, Part part, const std::wstring& styleSuffix);

    std::wstring m_styleName;
    bool m_vertical = true;
    int m_min = 0;
    int m_max = 100;
    int m_page = 10;
    int m_line = 1;
    int m_pos = 0;
    Part m_pressed = PART_NONE;
    long long m_grab = 0; // where the thumb was taken, from its start
};
