#include "platform/gui/face_substitution.h"

#include <QFontDatabase>
#include <QString>

#include <array>
#include <cwctype>

#include "platform/gui/gdi_flags.h"

namespace {

enum class Kind { Gothic, GothicFixed, Serif, LatinSans, LatinFixed, LatinSerif };

struct Substitute {
    std::wstring_view face;
    Kind kind;
};

constexpr std::array kSubstitutes{
    Substitute{L"굴림", Kind::Gothic},
    Substitute{L"돋움", Kind::Gothic},
    Substitute{L"맑은 고딕", Kind::Gothic},
    Substitute{L"새굴림", Kind::Gothic},
    Substitute{L"Gulim", Kind::Gothic},
    Substitute{L"Dotum", Kind::Gothic},
    Substitute{L"Malgun Gothic", Kind::Gothic},
    Substitute{L"System", Kind::Gothic},
    Substitute{L"굴림체", Kind::GothicFixed},
    Substitute{L"돋움체", Kind::GothicFixed},
    Substitute{L"GulimChe", Kind::GothicFixed},
    Substitute{L"DotumChe", Kind::GothicFixed},
    Substitute{L"바탕", Kind::Serif},
    Substitute{L"바탕체", Kind::Serif},
    Substitute{L"궁서", Kind::Serif},
    Substitute{L"Batang", Kind::Serif},
    Substitute{L"BatangChe", Kind::Serif},
    Substitute{L"Arial", Kind::LatinSans},
    Substitute{L"Tahoma", Kind::LatinSans},
    Substitute{L"Verdana", Kind::LatinSans},
    Substitute{L"MS Sans Serif", Kind::LatinSans},
    Substitute{L"Microsoft Sans Serif", Kind::LatinSans},
    Substitute{L"Segoe UI", Kind::LatinSans},
    Substitute{L"Courier New", Kind::LatinFixed},
    Substitute{L"Courier", Kind::LatinFixed},
    Substitute{L"Consolas", Kind::LatinFixed},
    Substitute{L"Fixedsys", Kind::LatinFixed},
    Substitute{L"Times New Roman", Kind::LatinSerif},
};

QStringList FamiliesOf(Kind kind) {
    switch (kind) {
    case Kind::GothicFixed:
        return {QStringLiteral("NanumGothicCoding"), QStringLiteral("DejaVu Sans Mono")};
    case Kind::Serif:
        return {QStringLiteral("NanumMyeongjo"), QStringLiteral("DejaVu Serif")};
    case Kind::LatinSans:
        return {QStringLiteral("DejaVu Sans"), QStringLiteral("NanumGothic")};
    case Kind::LatinFixed:
        return {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("NanumGothicCoding")};
    case Kind::LatinSerif:
        return {QStringLiteral("DejaVu Serif"), QStringLiteral("NanumMyeongjo")};
    case Kind::Gothic:
        break;
    }
    return {QStringLiteral("NanumGothic"), QStringLiteral("DejaVu Sans")};
}

bool SameFace(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i])))
            return false;
    }
    return true;
}

std::wstring_view Trimmed(std::wstring_view face) {
    while (!face.empty() && face.front() == L' ')
        face.remove_prefix(1);
    while (!face.empty() && face.back() == L' ')
        face.remove_suffix(1);
    return face;
}

Kind KindOfPitchAndFamily(unsigned char pitchAndFamily) {
    const unsigned char family = pitchAndFamily & 0xF0;
    if (family == FF_ROMAN)
        return Kind::Serif;
    if (family == FF_MODERN || (pitchAndFamily & 0x03) == FIXED_PITCH)
        return Kind::GothicFixed;
    return Kind::Gothic;
}

} // namespace

namespace plat {

QStringList SubstituteFace(std::wstring_view face, unsigned char pitchAndFamily) {
    face = Trimmed(face);
    for (const auto& substitute : kSubstitutes) {
        if (SameFace(face, substitute.face))
            return FamiliesOf(substitute.kind);
    }
    QStringList families = FamiliesOf(KindOfPitchAndFamily(pitchAndFamily));
    if (!face.empty()) {
        const QString asWritten =
            QString::fromWCharArray(face.data(), static_cast<qsizetype>(face.size()));
        if (QFontDatabase::hasFamily(asWritten))
            families.prepend(asWritten);
    }
    return families;
}

} // namespace plat
