// Fonts from LOGFONT fields and the face names screens use.
#include <gtest/gtest.h>

#include <QFontInfo>

#include "platform/gui/face_substitution.h"
#include "platform/gui/font.h"

namespace {

CFont Make(const wchar_t* face, int height = -12, int weight = FW_NORMAL) {
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfFaceName = face;
    return CFont(lf);
}

TEST(FontTest, WindowsFaceNamesResolveToInstalledFonts) {
    struct Case {
        const wchar_t* face;
        const char* family;
    };
    const Case cases[] = {{L"굴림", "NanumGothic"},
                          {L"돋움", "NanumGothic"},
                          {L"맑은 고딕", "NanumGothic"},
                          {L"gulim", "NanumGothic"},
                          {L"Malgun Gothic", "NanumGothic"},
                          {L"System", "NanumGothic"},
                          {L"굴림체", "NanumGothicCoding"},
                          {L"돋움체", "NanumGothicCoding"},
                          {L"바탕", "NanumMyeongjo"},
                          {L"Batang", "NanumMyeongjo"},
                          {L"Arial", "DejaVu Sans"},
                          {L"Tahoma", "DejaVu Sans"},
                          {L"MS Sans Serif", "DejaVu Sans"},
                          {L"Courier New", "DejaVu Sans Mono"},
                          {L"Times New Roman", "DejaVu Serif"}};
    for (const auto& c : cases) {
        const CFont font = Make(c.face);
        EXPECT_EQ(QFontInfo(font.Font()).family().toStdString(), c.family)
            << QString::fromWCharArray(c.face).toStdString();
    }
}

TEST(FontTest, UnknownFacesFallBackByPitchAndFamily) {
    EXPECT_EQ(plat::SubstituteFace(L"No Such Face", 0).front(), "NanumGothic");
    EXPECT_EQ(plat::SubstituteFace(L"No Such Face", FF_ROMAN).front(), "NanumMyeongjo");
    EXPECT_EQ(plat::SubstituteFace(L"", FIXED_PITCH).front(), "NanumGothicCoding");
    EXPECT_EQ(plat::SubstituteFace(L"  Arial ", 0).front(), "DejaVu Sans");
    // Installed but not in the table: used as written.
    EXPECT_EQ(plat::SubstituteFace(L"NanumSquare", 0).front(), "NanumSquare");
    // The fallback carries the glyphs the first choice lacks.
    EXPECT_TRUE(plat::SubstituteFace(L"Arial", 0).contains("NanumGothic"));
}

TEST(FontTest, HeightSignChoosesCharacterOrCellHeight) {
    const CFont character = Make(L"굴림", -20);
    EXPECT_EQ(character.Font().pixelSize(), 20);
    const CFont cell = Make(L"굴림", 20);
    EXPECT_LE(cell.Metrics().height(), 21);
    EXPECT_LT(cell.Font().pixelSize(), 20);
    const CFont byDefault = Make(L"굴림", 0);
    EXPECT_EQ(byDefault.Font().pixelSize(), 12);
    const CFont absurd = Make(L"굴림", INT_MIN, INT_MAX);
    EXPECT_EQ(absurd.Font().pixelSize(), 2000);
    EXPECT_EQ(absurd.Font().weight(), 1000);
}

TEST(FontTest, StyleFieldsCarryOverAndComeBack) {
    LOGFONT lf;
    lf.lfHeight = -13;
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = 1;
    lf.lfUnderline = 1;
    lf.lfStrikeOut = 1;
    lf.lfFaceName = L"돋움";
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(lf));
    EXPECT_EQ(font.Font().weight(), QFont::Bold);
    EXPECT_TRUE(font.Font().italic());
    EXPECT_TRUE(font.Font().underline());
    EXPECT_TRUE(font.Font().strikeOut());
    LOGFONT back;
    font.GetLogFont(back);
    EXPECT_EQ(back, lf);
    CFont points;
    points.CreatePointFont(90, L"굴림");
    LOGFONT nine;
    points.GetLogFont(nine);
    EXPECT_EQ(nine.lfHeight, -12);
}

} // namespace
