#include "platform/gui/font.h"

#include <algorithm>
#include <cstdlib>

#include "platform/gui/face_substitution.h"

namespace {

// lfHeight 0: the character height GDI gives a default font on a 96 DPI screen.
constexpr int kDefaultCharacterHeight = 12;
// Beyond this a font only wastes memory; markup can ask for anything.
constexpr int kLargestPixelSize = 2000;

QFont MakeFont(const LOGFONT& lf) {
    QFont font;
    font.setFamilies(plat::SubstituteFace(lf.lfFaceName, lf.lfPitchAndFamily));
    font.setStyleStrategy(lf.lfQuality == NONANTIALIASED_QUALITY ? QFont::NoAntialias
                                                                 : QFont::PreferDefault);
    const long long requested =
        lf.lfHeight == 0 ? kDefaultCharacterHeight : std::llabs(lf.lfHeight);
    const int pixels = static_cast<int>(std::clamp<long long>(requested, 1, kLargestPixelSize));
    font.setPixelSize(pixels);
    if (lf.lfHeight > 0) {
        // A cell height: shrink the character so that ascent plus descent fits the cell.
        const int cell = QFontMetrics(font).height();
        if (cell > pixels)
            font.setPixelSize(std::max(1, pixels * pixels / cell));
    }
    const int weight = lf.lfWeight <= 0 ? FW_NORMAL : std::clamp(lf.lfWeight, 1, 1000);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(lf.lfItalic != 0);
    font.setUnderline(lf.lfUnderline != 0);
    font.setStrikeOut(lf.lfStrikeOut != 0);
    font.setKerning(false);
    return font;
}

} // namespace

CFont::CFont() : CFont(Default()) {}

CFont::CFont(const LOGFONT& description)
    : m_description(description), m_font(MakeFont(description)), m_metrics(m_font) {}

bool CFont::CreateFontIndirect(const LOGFONT& description) {
    m_description = description;
    m_font = MakeFont(description);
    m_metrics = QFontMetrics(m_font);
    m_runs = std::make_shared<TextRunCache>(); // copies made before keep the old font's runs
    return true;
}

bool CFont::CreatePointFont(int pointSizeTenths, std::wstring_view face) {
    LOGFONT lf;
    // Rounded like MulDiv(points, 96, 72), negative: a character height.
    const long long tenths = std::clamp(pointSizeTenths, 1, 100000);
    lf.lfHeight = -static_cast<int>((tenths * 96 + 360) / 720);
    lf.lfFaceName.assign(face);
    return CreateFontIndirect(lf);
}

bool CFont::GetLogFont(LOGFONT& description) const {
    description = m_description;
    return true;
}

const CFont& CFont::Default() {
    // Never destroyed: a QFont must not outlive the application object that made it.
    static const CFont* font = [] {
        LOGFONT lf;
        lf.lfHeight = -kDefaultCharacterHeight;
        lf.lfFaceName = L"굴림";
        return new CFont(lf);
    }();
    return *font;
}
