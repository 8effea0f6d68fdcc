#include "ui/ui_paint_gradient.h"

#include <algorithm>
#include <cmath>

#include "core/element.h"
#include "nubra/trim_blanks.h"
#include "platform/base/nocase.h"
#include "platform/gui/dc.h"
#include "ui/keyword_list.h"
#include "ui/xtheme.h"

namespace {

// Each channel: from * (1 - t) rounded plus to * t rounded, as the runs were always drawn;
// the sum of two roundings can reach 256 and is held at 255.
COLORREF Mix(COLORREF from, COLORREF to, double t) {
    auto channel = [t](int a, int b) {
        const long value = std::lround(a * (1.0 - t)) + std::lround(b * t);
        return static_cast<std::uint8_t>(std::clamp<long>(value, 0, 255));
    };
    return RGB(channel(GetRValue(from), GetRValue(to)),
               channel(GetGValue(from), GetGValue(to)),
               channel(GetBValue(from), GetBValue(to)));
}

// Each channel mixed in light rather than in its coded value: decoded with 1 / gamma, mixed,
// coded again. A gamma of 0.4 (light = value^2.5) keeps the middle of a dark-to-light run
// from turning muddy.
COLORREF MixInLight(COLORREF from, COLORREF to, double t, double gamma) {
    auto channel = [t, gamma](int a, int b) {
        const double light =
            std::pow(a / 255.0, 1.0 / gamma) * (1.0 - t) + std::pow(b / 255.0, 1.0 / gamma) * t;
        const long value = std::lround(std::pow(light, gamma) * 255.0);
        return static_cast<std::uint8_t>(std::clamp<long>(value, 0, 255));
    };
    return RGB(channel(GetRValue(from), GetRValue(to)),
               channel(GetGValue(from), GetGValue(to)),
               channel(GetBValue(from), GetBValue(to)));
}

} // namespace

int CUIPaintGradient::SetAttribute(XTheme* theme, XElement* element) {
    std::wstring text;
    if (element->GetValue(L"Type", text)) {
        const std::wstring_view type = orvo::TrimBlanks(text);
        if (plat::EqualsNoCase(type, L"Horizontal"))
            m_type = TYPE_HORIZONTAL;
        else if (plat::EqualsNoCase(type, L"Vertical"))
            m_type = TYPE_VERTICAL;
        else if (plat::EqualsNoCase(type, L"Radial"))
            m_type = TYPE_RADIAL;
    }
    bool reversed = false;
    if (element->GetValue(L"Direction", text)) {
        const std::wstring_view direction = orvo::TrimBlanks(text);
        if (plat::EqualsNoCase(direction, L"Left") || plat::EqualsNoCase(direction, L"Right"))
            m_type = TYPE_HORIZONTAL;
        if (plat::EqualsNoCase(direction, L"Up") || plat::EqualsNoCase(direction, L"Down"))
            m_type = TYPE_VERTICAL;
        reversed = plat::EqualsNoCase(direction, L"Left") || plat::EqualsNoCase(direction, L"Up");
    }
    if (element->GetValue(L"Color", text)) {
        for (std::wstring_view name : orvo::SplitItems(text, L'.')) {
            COLORREF colour = 0;
            if (!theme->GetColor(std::wstring(name).c_str(), &colour))
                break;
            m_stops.push_back(colour);
        }
        if (reversed)
            std::reverse(m_stops.begin(), m_stops.end());
    }
    double gamma = 0;
    if (element->GetValue(L"Gamma", gamma) && std::isfinite(gamma) && gamma > 0 &&
        gamma <= kMaxGamma) {
        m_gamma = gamma;
        m_gammaGiven = true;
    }
    return 1;
}

COLORREF CUIPaintGradient::Blend(COLORREF from, COLORREF to, double t) const {
    return m_gammaGiven ? MixInLight(from, to, t, m_gamma) : Mix(from, to, t);
}

void CUIPaintGradient::Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) {
    if (m_stops.size() >= 2 && !rect.IsRectEmpty()) {
        if (m_type == TYPE_RADIAL)
            DrawRadial(dc, rect);
        else
            DrawLinear(dc, rect);
    }
    CUIPaintBase::Draw(dc, rect, object, event);
}

void CUIPaintGradient::DrawLinear(CDC* dc, const CRect& rect) const {
    // Written for columns of a horizontal run; a vertical run swaps the axes. 64-bit
    // arithmetic: rectangles from markup may span the whole int range.
    const bool horizontal = m_type == TYPE_HORIZONTAL;
    const long long start = horizontal ? rect.left : rect.top;
    const long long end = horizontal ? rect.right : rect.bottom;
    const long long acrossStart = (horizontal ? rect.top : rect.left) + 1LL;
    const long long acrossEnd = (horizontal ? rect.bottom : rect.right) - 1LL;
    if (acrossStart >= acrossEnd)
        return;
    // Nothing outside the clip box is drawn, so neither is it computed.
    CRect clip;
    dc->GetClipBox(&clip);
    const long long visibleStart = horizontal ? clip.left : clip.top;
    const long long visibleEnd = horizontal ? clip.right : clip.bottom;
    auto line = [&](long long at, COLORREF colour) {
        if (at < visibleStart || at >= visibleEnd)
            return;
        const int a = static_cast<int>(at);
        const int from = static_cast<int>(acrossStart);
        const int to = static_cast<int>(acrossEnd);
        const COLORREF background = dc->GetBkColor();
        if (horizontal)
            dc->FillSolidRect(CRect(a, from, a + 1, to), colour);
        else
            dc->FillSolidRect(CRect(from, a, to, a + 1), colour);
        dc->SetBkColor(background);
    };
    const long long length = end - start - 1;
    const long long segments = static_cast<long long>(m_stops.size()) - 1;
    const long long segment = length / segments;
    const long long last = end - 2;
    const long long firstVisible = std::max(start + 1, visibleStart);
    const long long lastVisible = std::min(last, visibleEnd - 1);
    for (long long i = 1; i <= segments; ++i) {
        const long long offset = (i - 1) * segment;
        // Only the part of the segment that can be seen.
        const long long kFrom = std::max(0LL, firstVisible - (start + 1 + offset));
        const long long kTo = std::min(segment, lastVisible - (start + 1 + offset));
        for (long long k = kFrom; k <= kTo; ++k) {
            const double t =
                segment > 0 ? static_cast<double>(k) / static_cast<double>(segment) : 0.0;
            line(start + 1 + offset + k,
                 Blend(m_stops[static_cast<std::size_t>(i - 1)],
                       m_stops[static_cast<std::size_t>(i)],
                       t));
        }
    }
    for (long long at = std::max(start + 2 + segments * segment, firstVisible); at <= lastVisible;
         ++at)
        line(at, m_stops.back());
}

void CUIPaintGradient::DrawRadial(CDC* dc, const CRect& rect) const {
    // Concentric ellipses from the outside in, two pixels wide, each band running from one
    // stop to the next. Bounded by the surface: a ring larger than it shows nothing new.
    const long long width = rect.Width();
    const long long height = rect.Height();
    const long long smaller = std::min(width, height);
    if (smaller <= 0 || smaller > 65536)
        return;
    const CBrush* previousBrush = dc->SelectObject(&CBrush::Stock(NULL_BRUSH));
    const std::size_t bands = m_stops.size() - 1;
    if (bands > 1) {
        const COLORREF background = dc->GetBkColor();
        dc->FillSolidRect(rect, m_stops.back());
        dc->SetBkColor(background);
    }
    const long long radius = smaller / 2;
    const long long bandSteps = std::max(1LL, radius / static_cast<long long>(bands));
    for (std::size_t band = 0; band < bands; ++band) {
        for (long long step = 0; step < bandSteps; ++step) {
            const long long inset = static_cast<long long>(band) * bandSteps + step;
            if (inset > radius)
                break;
            const double t = static_cast<double>(step) / static_cast<double>(bandSteps);
            const CPen pen(PS_SOLID, 2, Blend(m_stops[band], m_stops[band + 1], t));
            const CPen* previousPen = dc->SelectObject(&pen);
            CRect ring = rect;
            ring.DeflateRect(static_cast<int>(inset), static_cast<int>(inset));
            dc->Ellipse(ring);
            if (previousPen)
                dc->SelectObject(previousPen);
        }
    }
    if (previousBrush)
        dc->SelectObject(previousBrush);
}
