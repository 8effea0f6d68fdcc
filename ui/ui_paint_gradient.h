#pragma once
// "Gradient": linear (vertical or horizontal) or radial colour runs through two or more stops.
// Fewer than two stops draw nothing. "Gamma" is kept for content that asks for it; the runs
// themselves are interpolated linearly in each channel.
#include <vector>

#include "platform/base/colorref.h"
#include "ui/ui_paint_base.h"

class CUIPaintGradient : public CUIPaintBase {
public:
    enum Type : int { TYPE_HORIZONTAL = 0, TYPE_VERTICAL = 1, TYPE_RADIAL = 2 };

    // "Type", "Direction" (wins over "Type"; "Left" and "Up" reverse the stops), "Color"
    // (names separated by "."; the first name the theme cannot resolve ends the list), "Gamma".
    int SetAttribute(XTheme* theme, XElement* element) override;
    void Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) override;

    int GetType() const { return m_type; }
    double GetGamma() const { return m_gamma; }
    const std::vector<COLORREF>& Stops() const { return m_stops; }

private:
    void DrawLinear(CDC* dc, const CRect& rect) const;
    void DrawRadial(CDC* dc, const CRect& rect) const;

    int m_type = TYPE_VERTICAL;
    std::vector<COLORREF> m_stops;
    double m_gamma = 0.4;
};
