#pragma once
// "Gradient": linear (vertical or horizontal) or radial colour runs through two or more stops.
// Fewer than two stops draw nothing. Without "Gamma" each channel's coded value is
// interpolated linearly; a "Gamma" g (0 < g <= 100) mixes in light instead: each value is
// decoded as value^(1/g), mixed, and coded back.
#include <vector>

#include "platform/base/colorref.h"
#include "ui/ui_paint_base.h"

class CUIPaintGradient : public CUIPaintBase {
public:
    enum Type : int { TYPE_HORIZONTAL = 0, TYPE_VERTICAL = 1, TYPE_RADIAL = 2 };
    // A larger "Gamma" means nothing visible and is ignored, as are 0 and negative ones.
    static constexpr double kMaxGamma = 100.0;

    // "Type", "Direction" (wins over "Type"; "Left" and "Up" reverse the stops), "Color"
    // (names separated by "."; the first name the theme cannot resolve ends the list), "Gamma".
    int SetAttribute(XTheme* theme, XElement* element) override;
    void Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) override;

    int GetType() const { return m_type; }
    double GetGamma() const { return m_gamma; }
    bool HasGamma() const { return m_gammaGiven; }
    const std::vector<COLORREF>& Stops() const { return m_stops; }

private:
    void DrawLinear(CDC* dc, const CRect& rect) const;
    void DrawRadial(CDC* dc, const CRect& rect) const;
    COLORREF Blend(COLORREF from, COLORREF to, double t) const;

    int m_type = TYPE_VERTICAL;
    std::vector<COLORREF> m_stops;
    double m_gamma = 0.4;
    bool m_gammaGiven = false;
};
