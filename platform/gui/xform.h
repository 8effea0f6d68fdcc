#pragma once
// GDI's world transform: x' = x*eM11 + y*eM21 + eDx, y' = x*eM12 + y*eM22 + eDy.
#include <cmath>

struct XFORM {
    float eM11 = 1;
    float eM12 = 0;
    float eM21 = 0;
    float eM22 = 1;
    float eDx = 0;
    float eDy = 0;

    constexpr bool operator==(const XFORM&) const = default;

    bool IsIdentity() const { return *this == XFORM(); }
    // Moves without scaling, shearing or turning.
    bool IsTranslation() const { return eM11 == 1 && eM12 == 0 && eM21 == 0 && eM22 == 1; }
    // Right angles only: rectangles stay rectangles.
    bool KeepsAxes() const { return eM12 == 0 && eM21 == 0; }
    bool IsFinite() const {
        return std::isfinite(eM11) && std::isfinite(eM12) && std::isfinite(eM21) &&
               std::isfinite(eM22) && std::isfinite(eDx) && std::isfinite(eDy);
    }
    // A transform that collapses the plane cannot be drawn through or undone.
    bool IsInvertible() const {
        const double det = static_cast<double>(eM11) * eM22 - static_cast<double>(eM12) * eM21;
        return IsFinite() && std::abs(det) > 1e-12;
    }
    // This transform applied first, then `then` (CombineTransform(result, this, then)).
    XFORM Then(const XFORM& then) const {
        return {eM11 * then.eM11 + eM12 * then.eM21,
                eM11 * then.eM12 + eM12 * then.eM22,
                eM21 * then.eM11 + eM22 * then.eM21,
                eM21 * then.eM12 + eM22 * then.eM22,
                eDx * then.eM11 + eDy * then.eM21 + then.eDx,
                eDx * then.eM12 + eDy * then.eM22 + then.eDy};
    }
};
