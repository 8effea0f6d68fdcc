#pragma once
// CPosEx: one coordinate or extent of a layout, written in markup as an expression ("120",
// "50%", "30rev^8^2") and resolved in pixels against a reference rectangle. Layout rectangles
// and table rows and columns are sized with it.
#include <string_view>

#include "platform/base/geometry.h"

class XElement;

class CPosEx {
public:
    // Units by their index; the suffixes are searched in this order.
    enum Scale : int {
        SCALE_UNSET = -1,
        SCALE_PX = 0,      // "px" or none: the number itself
        SCALE_PERCENT = 1, // "%": of the same-axis extent
        SCALE_REMAIN = 2,  // "#": of what the same axis has left after the object's own offset
        SCALE_REV = 3,     // "rev": of the other-axis extent
        SCALE_MIN = 4,     // "min": of the smaller extent
        SCALE_MAX = 5,     // "max": of the larger extent
        SCALE_INCH = 6,    // "in": recognised, not converted
        SCALE_CM = 7,      // "cm": recognised, not converted
    };
    enum class Axis { Horizontal, Vertical };

    // A number, an optional unit suffix, then optionally "^" divisor and "^" addend. False
    // (nothing changed) when the number is missing, malformed or not finite, or when there
    // are more than three parts. A divisor that is not a non-zero integer leaves snapping off.
    bool SetPos(std::wstring_view text);
    void SetPos(int position, int scale, double value);

    // Resolves against `reference` on `axis`; `ownOffset` is the object's own resolved x (or
    // y) that "#" measures the remainder from. False when no expression was ever set.
    bool Recalc(const CRect& reference, Axis axis, int ownOffset);

    double GetValue() const { return m_dPos; }
    int GetPos() const { return m_nPos; }
    int GetScale() const { return m_nScale; }
    int GetDivisor() const { return m_nDiv; }
    int GetAddend() const { return m_nAdd; }
    bool IsSnap() const { return m_bDiv; }

    // The six fields under "dPos", "Pos", "Scale", "Div", "Add" and "IsDiv".
    void SaveObject(XElement* element) const;
    void LoadObject(const XElement* element);

private:
    double m_dPos = 0.0;
    int m_nPos = 0;
    int m_nScale = SCALE_UNSET;
    int m_nDiv = 0;
    int m_nAdd = 0;
    bool m_bDiv = false;
};

namespace orvo {
// A double as an int, truncated toward zero; out-of-range values saturate and NaN gives 0,
// so absurd sizes in markup stay absurd instead of undefined.
int TruncateToInt(double value);
} // namespace orvo
