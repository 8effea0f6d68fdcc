#pragma once
// A Windows device context over a QPainter drawing into a QImage, with GDI's rules:
//
//   - a rectangle's right and bottom edges lie outside it; Rectangle(10,10,110,50) covers x
//     10..109 and y 10..49, its one-pixel outline inside that; with a null pen the fill is
//     one pixel smaller;
//   - LineTo leaves out its end point; shapes are drawn without antialiasing (text may be);
//   - hatched brushes repeat an 8x8 cell from the device origin, gaps filled with the
//     background colour in OPAQUE mode;
//   - the clip region and SelectClipRgn work in device pixels; IntersectClipRect and every
//     drawing call take logical coordinates, mapped through the world transform.
//
// The DC keeps its own state (pen, brush, font, colours, position, clip, transform) and
// hands the painter only what a call needs, in device coordinates. Sections of the
// implementation: dc.cpp (surface, objects, state, clip, transform, pixels), dc_shapes.cpp
// (lines, rectangles, curves, polygons, paths), dc_text.cpp, dc_blit.cpp.
//
// Speed: FillSolidRect and single-line text allocate nothing once the colour and font are
// set; the text goes through one reused UTF-16 buffer.
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <memory>
#include <string_view>
#include <vector>

#include "platform/base/colorref.h"
#include "platform/base/geometry.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/brush.h"
#include "platform/gui/font.h"
#include "platform/gui/gdi_flags.h"
#include "platform/gui/pen.h"
#include "platform/gui/region.h"
#include "platform/gui/xform.h"

class CDC {
public:
    CDC();
    ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // A memory DC: draws into a 1x1 bitmap until another one is selected. The reference DC is
    // accepted for the Windows shape of the call; every surface here is alike.
    bool CreateCompatibleDC(const CDC* reference);
    // The surface this DC draws into, or null before CreateCompatibleDC.
    const QImage* Surface() const { return m_surface.get(); }

    // Selection returns what was selected before (null when nothing changed), for putting it
    // back. The DC keeps its own copy of a pen, brush or font, so the object may go away.
    const CPen* SelectObject(const CPen* pen);
    const CBrush* SelectObject(const CBrush* brush);
    const CFont* SelectObject(const CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    // WHITE_BRUSH ... NULL_PEN; false for other values.
    bool SelectStockObject(int which);

    COLORREF SetTextColor(COLORREF colour);
    COLORREF GetTextColor() const { return m_state.textColour; }
    COLORREF SetBkColor(COLORREF colour);
    COLORREF GetBkColor() const { return m_state.backColour; }
    int SetBkMode(int mode);
    int GetBkMode() const { return m_state.backMode; }
    unsigned SetTextAlign(unsigned align);
    int SetPolyFillMode(int mode);
    int SetStretchBltMode(int mode);

    // State: 1, 2, ... for each save; RestoreDC(n) goes back to save n, RestoreDC(-k) k saves
    // back. False for a level that was never saved.
    int SaveDC();
    bool RestoreDC(int level);

    // Clipping. The kinds NULLREGION, SIMPLEREGION, COMPLEXREGION or RGN_ERROR come back.
    int SelectClipRgn(const CRgn* region);
    int ExtSelectClipRgn(const CRgn* region, int mode);
    int IntersectClipRect(int left, int top, int right, int bottom);
    int IntersectClipRect(const CRect& rect) {
        return IntersectClipRect(rect.left, rect.top, rect.right, rect.bottom);
    }
    int ExcludeClipRect(int left, int top, int right, int bottom);
    int GetClipBox(CRect* box) const;
    bool RectVisible(const CRect& rect) const;
    bool PtVisible(int x, int y) const;

    // World transforms need GM_ADVANCED, as in GDI; a transform that is not finite or does
    // not invert is refused and the current one stays.
    int SetGraphicsMode(int mode);
    bool SetWorldTransform(const XFORM& transform);
    bool ModifyWorldTransform(const XFORM* transform, int mode);
    bool GetWorldTransform(XFORM& transform) const;

    // Pixels. GetPixel answers CLR_INVALID outside the surface or the clip region.
    COLORREF SetPixel(int x, int y, COLORREF colour);
    COLORREF GetPixel(int x, int y) const;

    // Lines and shapes with the current pen and brush.
    CPoint MoveTo(int x, int y);
    CPoint GetCurrentPosition() const { return m_state.position; }
    bool LineTo(int x, int y);
    bool Polyline(const CPoint* points, int count);
    bool Rectangle(int left, int top, int right, int bottom);
    bool Rectangle(const CRect& rect) {
        return Rectangle(rect.left, rect.top, rect.right, rect.bottom);
    }
    bool Ellipse(int left, int top, int right, int bottom);
    bool Ellipse(const CRect& rect) {
        return Ellipse(rect.left, rect.top, rect.right, rect.bottom);
    }
    bool RoundRect(int left, int top, int right, int bottom, int width, int height);
    bool Polygon(const CPoint* points, int count);
    // PT_MOVETO, PT_LINETO, PT_BEZIERTO (three points in a row), each but a move may carry
    // PT_CLOSEFIGURE. False, with nothing drawn, for any other sequence.
    bool PolyDraw(const CPoint* points, const unsigned char* kinds, int count);

    // Fills with a brush or a colour: right and bottom edges excluded, the pen unused.
    void FillRect(const CRect& rect, const CBrush* brush);
    // As MFC's: the background colour becomes `colour` and stays so.
    void FillSolidRect(const CRect& rect, COLORREF colour);
    void FillSolidRect(int x, int y, int width, int height, COLORREF colour) {
        FillSolidRect(CRect(x, y, plat::WrapAdd(x, width), plat::WrapAdd(y, height)), colour);
    }
    void FrameRect(const CRect& rect, const CBrush* brush);
    bool FillRgn(const CRgn* region, const CBrush* brush);

    // Paths: between BeginPath and EndPath, lines and shapes are recorded instead of drawn.
    bool BeginPath();
    bool EndPath();
    bool CloseFigure();
    bool AbortPath();
    bool FillPath();
    bool StrokePath();
    bool StrokeAndFillPath();
    // The closed path as a region, which then replaces `region`; the path is used up.
    bool PathToRegion(CRgn& region);

    // Text with the current font, text colour and background.
    CSize GetTextExtent(std::wstring_view text) const;
    bool TextOut(int x, int y, std::wstring_view text) {
        return ExtTextOut(x, y, 0, nullptr, text);
    }
    bool ExtTextOut(int x, int y, unsigned options, const CRect* rect, std::wstring_view text);
    // The height of the text drawn (or, with DT_VCENTER or DT_BOTTOM, the distance from the
    // top of `rect` to the bottom of the text); with DT_CALCRECT nothing is drawn and `rect`
    // grows or shrinks to the text.
    int DrawText(std::wstring_view text, CRect& rect, unsigned format);
    // Win32's form: count -1 means up to the terminating zero; null text or rect draws nothing.
    int DrawText(const wchar_t* text, int count, CRect* rect, unsigned format);

    // Blits between DCs. The source rectangle is in the source's device pixels; parts outside
    // the source surface are left out.
    bool BitBlt(int x,
                int y,
                int width,
                int height,
                const CDC* source,
                int sourceX,
                int sourceY,
                unsigned rop);
    // Negative extents mirror, as in GDI.
    bool StretchBlt(int x,
                    int y,
                    int width,
                    int height,
                    const CDC* source,
                    int sourceX,
                    int sourceY,
                    int sourceWidth,
                    int sourceHeight,
                    unsigned rop);
    // Constant alpha, and with AC_SRC_ALPHA the source's own premultiplied alpha too. False
    // for negative extents or a source rectangle outside the source surface.
    bool AlphaBlend(int x,
                    int y,
                    int width,
                    int height,
                    const CDC* source,
                    int sourceX,
                    int sourceY,
                    int sourceWidth,
                    int sourceHeight,
                    BLENDFUNCTION blend);
    // Copies every source pixel except those of `transparent`.
    bool TransparentBlt(int x,
                        int y,
                        int width,
                        int height,
                        const CDC* source,
                        int sourceX,
                        int sourceY,
                        int sourceWidth,
                        int sourceHeight,
                        COLORREF transparent);

private:
    struct State {
        CPen pen = CPen::Stock(BLACK_PEN);
        const CPen* penObject = &CPen::Stock(BLACK_PEN);
        CBrush brush = CBrush::Stock(WHITE_BRUSH);
        const CBrush* brushObject = &CBrush::Stock(WHITE_BRUSH);
        CFont font;
        const CFont* fontObject = &CFont::Default();
        COLORREF textColour = RGB(0, 0, 0);
        COLORREF backColour = RGB(255, 255, 255);
        int backMode = OPAQUE;
        unsigned textAlign = TA_LEFT | TA_TOP;
        int polyFillMode = ALTERNATE;
        int stretchMode = COLORONCOLOR;
        int graphicsMode = GM_COMPATIBLE;
        CPoint position;
        XFORM transform;
        bool clipped = false;
        QRegion clip; // device pixels, when clipped
    };

    bool Drawable() const { return m_surface != nullptr && m_painter.isActive(); }
    void BeginPainting();
    void ApplyClip();
    QRect SurfaceRect() const;
    // The clip region or, without one, the whole surface.
    QRegion VisibleRegion() const;

    // Logical to device coordinates.
    QPointF MapF(double x, double y) const;
    QPoint Map(int x, int y) const;
    QTransform QtTransform() const;
    // The device rectangle of a logical one when the transform keeps axes; false otherwise.
    bool MapRect(const CRect& rect, QRect& device) const;
    QPainterPath MapPath(const QPainterPath& logical) const;
    QRegion DeviceRegionOf(const CRect& rect) const;

    // Device-space drawing helpers.
    void FillDevice(const QRect& rect, const CBrush& brush);
    void FillDevicePath(const QPainterPath& path, const CBrush& brush);
    void StrokeDevicePath(const QPainterPath& path);
    void DrawShapePath(const QPainterPath& devicePath);
    void DrawDeviceLine(QPoint from, QPoint to, int& dashPhase);
    void DrawDevicePolyline(const QPolygon& points);
    void SetPainterColour(COLORREF colour);
    void SetPainterFont();
    void FillLogical(const CRect& rect, COLORREF colour);

    // Text.
    const QString& ToQString(std::wstring_view text) const;
    int TextWidth(std::wstring_view text) const;
    // One line with its top-left corner at (x, top), logical coordinates.
    void DrawTextRun(std::wstring_view text, int x, int top);
    void DrawPrefixUnderline(std::wstring_view line, std::size_t index, int x, int top);
    void ClipTo(const CRect& rect);
    int
    DrawSingleLine(std::wstring_view line, CRect& rect, unsigned format, std::size_t underlined);

    // Blits.
    bool FillWithoutSource(const CRect& rect, unsigned rop);
    // The work of AlphaBlend and TransparentBlt, from any image of the DC's format; the
    // source rectangle has been checked against the image.
    bool BlendImage(int x,
                    int y,
                    int width,
                    int height,
                    const QImage& image,
                    int sourceX,
                    int sourceY,
                    int sourceWidth,
                    int sourceHeight,
                    BLENDFUNCTION blend);
    bool KeyedImage(int x,
                    int y,
                    int width,
                    int height,
                    const QImage& image,
                    int sourceX,
                    int sourceY,
                    int sourceWidth,
                    int sourceHeight,
                    COLORREF transparent);
    friend class CDib;
    // Calls perPixel(x, y, destination pixel&) for each visible pixel of a device rectangle.
    template <class PerPixel> void ForEachVisiblePixel(const QRect& target, PerPixel&& perPixel);

    std::shared_ptr<QImage> m_surface;
    CBitmap m_defaultBitmap;
    CBitmap* m_selectedBitmap = nullptr;
    QPainter m_painter;
    State m_state;
    std::vector<State> m_saved;

    // Path recording, in device coordinates.
    bool m_recordingPath = false;
    bool m_pathReady = false;
    QPainterPath m_path;

    // What the painter holds now, so that unchanged colours and fonts are not set again.
    COLORREF m_painterColour = CLR_INVALID;
    QFont m_painterFontValue;
    mutable QString m_text;
};
