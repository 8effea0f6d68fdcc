#pragma once
// XRect: the layout rectangle every visual object is. It holds the "Rect", "Margin", "Align"
// and "Dock" of its element and resolves them against the inner rectangle (its rectangle
// less its margins) of the nearest enclosing XRect, giving the object its rectangle in the
// client coordinates of the window it paints into. An object that owns a window lays its
// children out in that window's client coordinates instead.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/xdo.h"
#include "platform/base/geometry.h"
#include "ui/layout_window.h"
#include "ui/rect_ex.h"

class XRect : public XDO, public CRect {
    ORVO_DISPATCH_MAP()

public:
    enum AlignBits : int {
        ALIGN_LEFT = 1,
        ALIGN_RIGHT = 2,
        ALIGN_TOP = 4,
        ALIGN_BOTTOM = 8,
        ALIGN_HCENTER = 16,
        ALIGN_HOCENTER = 32,
        ALIGN_VCENTER = 64,
        ALIGN_VOCENTER = 128,
        ALIGN_CENTER = ALIGN_HCENTER | ALIGN_VCENTER,
        ALIGN_OCENTER = ALIGN_HOCENTER | ALIGN_VOCENTER,
    };
    enum Dock : int { DOCK_NONE = 0, DOCK_TOP = 1, DOCK_LEFT = 2, DOCK_RIGHT = 3, DOCK_BOTTOM = 4 };

    XRect();
    ORVO_KEY(L"XRect")

    // "Rect" (four expressions, else the element is refused with a message), "Margin" (fewer
    // than four leave the margins unresolvable and the object unaligned), "Align", "Dock".
    int SetElement(XElement* e) override;
    // Only "Rect", "Margin", "Align" and "Dock": theme primitives lay out like objects.
    int SetLayoutElement(XElement* e);
    // Takes the host window of the enclosing layout rectangle, then lays itself out.
    int CreateInstance() override;

    // ---- layout --------------------------------------------------------------------------------
    // Against `parent`'s inner rectangle, or the desktop window's client area for null.
    virtual int Recalc(XRect* parent);
    // Against `reference` as if it were the enclosing rectangle's inner rectangle.
    int RecalcIn(const CRect& reference);
    // Against the nearest enclosing layout rectangle.
    int Recalc();
    // Lays out the children again after this object's rectangle changed.
    virtual void OnSizeChange();
    // RecalcLayout (from XDO, run once the subtree is created) has nothing to add here: classes
    // that place their children themselves answer it.
    void ApplyAlign(XRect* parent);
    void ApplyAlignIn(const CRect& reference);
    // Walks `first` and its following siblings: each layout rectangle is recalculated against
    // `parent`, then moves its own window or lays out its own children.
    static void Resize(XRect* parent, XDO* first);
    // Moves whenever the rectangle of a visual object changes: hit test indexes compare it.
    // Rectangles change through layout alone.
    static std::uint64_t LayoutVersion() { return s_layoutVersion; }

    // ---- windows -------------------------------------------------------------------------------
    // Makes `window`'s client area this object's rectangle; 0 for a null or destroyed window.
    int SetWindow(orvo::LayoutWindow* window);
    orvo::LayoutWindow* GetHostWindow() const { return m_pWnd; }
    // An object with style 0x100 owns a window; the window host answers which one once it
    // exists.
    bool OwnsWindow() const { return (GetObjectStyle() & XDO_STYLE_NATIVEWND) != 0; }
    virtual orvo::LayoutWindow* GetOwnWindow() { return nullptr; }
    // Where this object paints and takes the mouse, in the client coordinates of the window it
    // paints into. One that owns a window paints into that window, whose client area it fills
    // wherever the window sits in its parent.
    CRect ClientRect() const {
        return OwnsWindow() ? m_rect.rect : static_cast<const CRect&>(*this);
    }
    // On the screen; false without a window.
    bool GetScreenRect(CRect& out);

    // ---- descriptions --------------------------------------------------------------------------
    // "Left", "Right", "Top", "Bottom", "HCenter", "HOcenter", "VCenter", "VOCenter", "Center",
    // "OCenter", separated by ","; they replace the current bits, unknown ones are ignored.
    void Align(std::wstring_view text);
    // "Top", "Left", "Right" or "Bottom"; anything else keeps the current value.
    void Docking(std::wstring_view text);
    int GetAlign() const { return m_nAlign; }
    int GetDock() const { return m_nDock; }
    const CRectEx& GetRectEx() const { return m_rect; }
    const CRectEx& GetInner() const { return m_inner; }
    const CRectEx& GetMargin() const { return m_margin; }

    // ---- script interface ----------------------------------------------------------------------
    std::wstring GetAbsRect();
    int GetAbsX();
    int GetAbsY();
    int GetTop() { return top; }
    int GetLeft() { return left; }
    int GetWidth() { return Width(); }
    int GetHeight() { return Height(); }
    bool SetTop(const wchar_t* expression) { return SetExpression(&CRectEx::XTop, expression); }
    bool SetLeft(const wchar_t* expression) { return SetExpression(&CRectEx::XLeft, expression); }
    bool SetWidth(const wchar_t* expression) { return SetExpression(&CRectEx::XWidth, expression); }
    bool SetHeight(const wchar_t* expression) {
        return SetExpression(&CRectEx::XHeight, expression);
    }
    void RecalcRect();
    // x, y, width and height as pixel expressions taken from `rect` (in the enclosing inner
    // rectangle), without laying out: a container that places its children sets them before
    // their layout runs.
    void PlaceByPixels(const CRect& rect);

private:
    bool SetExpression(bool (CRectEx::*set)(std::wstring_view), const wchar_t* expression);
    XRect* EnclosingRect() const;
    // The host window nearest from this object upward that still exists.
    orvo::LayoutWindow* NearestHostWindow() const;
    // The base rectangle; a visual object's change moves the layout version.
    void PlaceAt(const CRect& rect);

    static inline std::uint64_t s_layoutVersion = 0;

    CRectEx m_rect;
    CRectEx m_inner;
    CRectEx m_margin;
    orvo::LayoutWindow* m_pWnd = nullptr;
    int m_nAlign = ALIGN_LEFT | ALIGN_TOP;
    int m_nDock = DOCK_NONE;
};
