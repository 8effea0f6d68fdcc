// Font descriptions and text alignment read from and written to attributes.
#include <gtest/gtest.h>

#include "core/element.h"
#include "platform/gui/gdi_flags.h"
#include "ui/text_align.h"
#include "ui/xfont.h"

namespace {

TEST(FontKeywordsTest, KeywordsReadIntoTheLogFontAndWriteBack) {
    XElement element(L"Font");
    element.SetValue(L"Height", L"-13");
    element.SetValue(L"Italic", L"1");
    element.SetValue(L"Weight", L" bold ");
    element.SetValue(L"CharSet", L"Hangul");
    element.SetValue(L"Quality", L"NONANTIALIASED");
    element.SetValue(L"Pitch", L"FIXED");
    element.SetValue(L"Family", L"MODERN");
    element.SetValue(L"ClipPrecision", L"LH_ANGLES");
    element.SetValue(L"FaceName", L"굴림");
    LOGFONT font;
    XFont::SetElement(&element, font);
    EXPECT_EQ(font.lfHeight, -13);
    EXPECT_EQ(font.lfItalic, 1);
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    EXPECT_EQ(font.lfCharSet, HANGUL_CHARSET);
    EXPECT_EQ(font.lfQuality, NONANTIALIASED_QUALITY);
    EXPECT_EQ(font.lfPitchAndFamily, FIXED_PITCH | FF_MODERN);
    EXPECT_EQ(font.lfClipPrecision, 0x10);
    EXPECT_EQ(font.lfFaceName, L"굴림");

    XElement written(L"Font");
    XFont::GetElement(&written, font);
    LOGFONT again;
    XFont::SetElement(&written, again);
    EXPECT_EQ(again, font);
    std::wstring text;
    written.GetValue(L"Weight", text);
    EXPECT_EQ(text, L"BOLD");
    written.GetValue(L"OutPrecision", text);
    EXPECT_EQ(text, L"DEFAULT");
}

TEST(FontKeywordsTest, ValuesWithoutKeywordsAndUnknownKeywords) {
    LOGFONT font;
    font.lfWeight = 550;
    font.lfOutPrecision = 4; // TrueType
    font.lfCharSet = 77;
    XElement written(L"Font");
    XFont::GetElement(&written, font);
    std::wstring text;
    written.GetValue(L"Weight", text);
    EXPECT_EQ(text, L"550");
    written.GetValue(L"OutPrecision", text);
    EXPECT_EQ(text, L"TT");
    written.GetValue(L"CharSet", text);
    EXPECT_EQ(text, L"DEFAULT");

    // "TT", "DEFAULT" and unknown words are not read: the fields stay.
    LOGFONT read;
    read.lfOutPrecision = 8;
    read.lfCharSet = HANGUL_CHARSET;
    read.lfWeight = FW_LIGHT;
    XElement unknown(L"Font");
    unknown.SetValue(L"OutPrecision", L"TT");
    unknown.SetValue(L"CharSet", L"DEFAULT");
    unknown.SetValue(L"Weight", L"heavyish");
    XFont::SetElement(&unknown, read);
    EXPECT_EQ(read.lfOutPrecision, 8);
    EXPECT_EQ(read.lfCharSet, HANGUL_CHARSET);
    EXPECT_EQ(read.lfWeight, FW_LIGHT);
    unknown.SetValue(L"Weight", L"550");
    XFont::SetElement(&unknown, read);
    EXPECT_EQ(read.lfWeight, 550);
}

TEST(FontKeywordsTest, TextAlignmentAddsToSingleLineWithoutPrefix) {
    EXPECT_EQ(orvo::ReadTextAlign(L""), DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(orvo::ReadTextAlign(L"right, vcenter, nonsense"),
              DT_SINGLELINE | DT_NOPREFIX | DT_RIGHT | DT_VCENTER);
    EXPECT_EQ(orvo::ReadTextAlign(L"MULTILINE,WORDBREAK,END_ELLIPSIS"),
              DT_NOPREFIX | DT_WORDBREAK | DT_END_ELLIPSIS);
    EXPECT_EQ(orvo::ReadTextAlign(L"MULTILINE,SINGLELINE") & DT_SINGLELINE, DT_SINGLELINE);
}

} // namespace
