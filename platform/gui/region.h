#pragma once
// A GDI region in device pixels. Polygon and path regions cover exactly the pixels a
// polygon fill of the same outline covers, so clipping to a shape and filling it agree.
#include <QPainterPath>
#include <QRegion>

#include "platform/base/geometry.h"
#include "platform/gui/gdi_flags.h"

class CRgn {
public:
    bool CreateRectRgn(int left, int top, int right, int bottom);
    bool CreateRectRgnIndirect(const CRect& rect) {
        return CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom);
    }
    bool CreateEllipticRgn(int left, int top, int right, int bottom);
    bool CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height);
    // ALTERNATE or WINDING; false for fewer than three points or a null array.
    bool CreatePolygonRgn(const CPoint* points, int count, int fillMode);
    // The pixels a fill of `outline` (device coordinates) covers.
    bool CreateFromFill(const QPainterPath& outline);

    // RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF, RGN_COPY (of a); the kind of the result, or
    // RGN_ERROR for a null operand or an unknown mode.
    int CombineRgn(const CRgn* a, const CRgn* b, int mode);
    int OffsetRgn(int dx, int dy);
    bool PtInRegion(int x, int y) const;
    bool RectInRegion(const CRect& rect) const;
    int GetRgnBox(CRect* box) const;
    bool EqualRgn(const CRgn* other) const;

    const QRegion& Region() const { return m_region; }
    void SetRegion(const QRegion& region) { m_region = region; }
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    static int KindOf(const QRegion& region);

private:
    QRegion m_region;
};
