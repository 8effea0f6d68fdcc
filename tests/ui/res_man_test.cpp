// "ResMan": images declared in the resource file, images loaded on request, and how bitmaps
// draw.
#include <gtest/gtest.h>

#include <vector>

#include "image_project.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "theme_markup.h"
#include "ui/xtheme_man.h"

namespace {

using orvo::test::Canvas;
using orvo::test::SampleColour;

constexpr COLORREF kWhite = RGB(255, 255, 255);
const orvo::test::Pixels kBlue = [](int, int) { return 0xFF0000FFu; };

class ResManTest : public ::testing::Test {
protected:
    // Declares bitmap "b" of the sample with `attributes` and draws it into `rect`.
    Canvas DrawBitmap(const std::string& attributes, CRect rect) {
        const auto root = orvo::test::ParseMarkup(
            "<Bitmap Name=\"b\" File=\"s.bmp\" Path=\"icons\" " + attributes + "/>");
        p.resMan.LoadResources(root.get());
        Canvas canvas;
        if (CResImg* image = p.resMan.GetImageObject(L"b"))
            image->Draw(canvas.dc.get(), rect);
        return canvas;
    }

    orvo::test::ImageProject p;
};

TEST_F(ResManTest, TheResourceFileDeclaresImagesAndTheLaterOfANameWins) {
    EXPECT_EQ(p.resMan.InitializeIXO(), 0) << "no resource file";
    p.WriteResource("<Resource><Bitmap Name=\"x\"");
    EXPECT_EQ(p.resMan.InitializeIXO(), 0) << "one that does not parse";

    p.WriteSample("icons/a.bmp");
    p.WriteSample("icons/b.bmp", 2);
    p.WriteSample("secret.bmp");
    p.WriteIcon("icons/open.ico", kBlue);
    p.WriteResource(R"(<Resource><Group><Bitmap Name="Grid" File="a.bmp" Path="icons"/>
        <ICON name="Open" File="OPEN.ico" Path="Icons"/></Group>
        <bitmap Name="grid" File="b.bmp" Path="icons"/><Bitmap File="a.bmp" Path="icons"/>
        <Bitmap Name="lost" File="a.bmp" Path="nowhere"/><Icon Name="bad" File="a.ico"/>
        <Bitmap Name="up" File="..\secret.bmp" Path="icons"/></Resource>)");
    EXPECT_EQ(p.resMan.InitializeIXO(), 1);
    EXPECT_EQ(p.resMan.GetImageNames(), (std::vector<std::wstring>{L"grid", L"open"}));
    CResImg* grid = p.resMan.GetImageObject(L"GRID");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->GetKind(), CResImg::KIND_BITMAP);
    EXPECT_EQ(plat::FileNameOf(grid->GetFilePath()), L"b.bmp");
    EXPECT_EQ(CSize(grid->GetWidth(), grid->GetHeight()), CSize(8, 6));
    CResImg* open = p.resMan.GetImageObject(L"open");
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->GetKind(), CResImg::KIND_ICON);
    EXPECT_EQ(CSize(open->GetWidth(), open->GetHeight()), CSize(16, 16));
}

TEST_F(ResManTest, OtherIconsAndBitmapsLoadFromTheImageFolderOnRequest) {
    p.WriteSample("image/logo.bmp");
    p.WriteSample("image/logo.png"); // a bitmap in all but its name
    p.WriteSample("secret.bmp");
    p.WriteIcon("image/tool.ico", kBlue);
    CResImg* logo = p.resMan.GetImageObject(L"Logo.BMP");
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(p.resMan.GetImageObject(L"LOGO.bmp"), logo);
    EXPECT_EQ(p.resMan.GetImageNames(), std::vector<std::wstring>{L"logo.bmp"});
    for (const wchar_t* refused :
         {L"logo", L"logo.png", L"", L"../secret.bmp", L"..\\secret.bmp", L"a\"<>|*?:.ico"})
        EXPECT_EQ(p.resMan.GetImageObject(refused), nullptr) << plat::ToUtf8(refused);
    EXPECT_EQ(p.resMan.GetImageObject(nullptr), nullptr);

    orvo::IconHandle tool = p.resMan.GetIconHandle(L"Tool.ico", false);
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(p.resMan.GetIconHandle(L"tool.ico", false), tool);
    orvo::IconHandle copy = p.resMan.GetIconHandle(L"tool.ico", true);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, tool);
    EXPECT_EQ(copy->GetPixel(3, 3), RGB(0, 0, 255));
    orvo::DestroyIconHandle(copy);
    EXPECT_EQ(p.resMan.GetIconHandle(L"logo.bmp", false), nullptr);
    EXPECT_EQ(p.resMan.GetIconHandle(L"none.ico", true), nullptr);
}

TEST_F(ResManTest, AFailedIconIsNotKeptButANamedBitmapIsKeptEvenWithoutItsFile) {
    p.dir.Write("image/empty.ico", "");
    p.dir.Write("image/junk.bmp", "BM this is no bitmap");
    std::filesystem::create_directory(p.dir.Path("image/folder.ico"));
    for (const wchar_t* broken : {L"late.ico", L"empty.ico", L"folder.ico"})
        EXPECT_EQ(p.resMan.GetImageObject(broken), nullptr) << plat::ToUtf8(broken);
    EXPECT_TRUE(p.resMan.GetImageNames().empty());
    p.WriteIcon("image/late.ico", kBlue);
    EXPECT_NE(p.resMan.GetImageObject(L"late.ico"), nullptr) << "tried again";

    // A bitmap is had once its file is named; without an image in it, it draws nothing.
    for (const wchar_t* empty : {L"missing.bmp", L"junk.bmp"}) {
        CResImg* bitmap = p.resMan.GetImageObject(empty);
        ASSERT_NE(bitmap, nullptr) << plat::ToUtf8(empty);
        EXPECT_EQ(CSize(bitmap->GetWidth(), bitmap->GetHeight()), CSize(0, 0));
        orvo::test::Canvas canvas(8, 8);
        bitmap->Draw(canvas.dc.get(), CRect(0, 0, 8, 8));
        EXPECT_EQ(canvas.At(3, 3), RGB(255, 255, 255));
    }
}

TEST_F(ResManTest, BitmapsDrawClippedAtTheirOwnSizeOrStretchedIntoTheRectangle) {
    p.WriteSample("icons/s.bmp");
    // Own size, clipped one column wider and one row shorter than the rectangle.
    const Canvas clipped = DrawBitmap("", CRect(10, 10, 12, 12));
    EXPECT_EQ(clipped.At(10, 10), SampleColour(0, 0));
    EXPECT_EQ(clipped.At(12, 10), SampleColour(2, 0));
    EXPECT_EQ(clipped.At(13, 10), kWhite);
    EXPECT_EQ(clipped.At(10, 11), kWhite);
    CRect clip;
    clipped.dc->GetClipBox(&clip);
    EXPECT_EQ(clip, CRect(0, 0, 60, 40)) << "the clip is put back";
    const Canvas roomy = DrawBitmap("", CRect(20, 20, 40, 40));
    EXPECT_EQ(roomy.At(23, 22), SampleColour(3, 2));
    EXPECT_EQ(roomy.At(24, 22), kWhite);

    const Canvas stretched = DrawBitmap("Stretch=\"1\"", CRect(0, 0, 8, 6));
    EXPECT_EQ(stretched.At(1, 1), SampleColour(0, 0));
    EXPECT_EQ(stretched.At(6, 4), SampleColour(3, 2));
    EXPECT_EQ(stretched.At(7, 5), SampleColour(3, 2));
    EXPECT_EQ(stretched.At(8, 5), kWhite);
    EXPECT_EQ(stretched.At(7, 6), kWhite);
}

TEST_F(ResManTest, TransparentBitmapsLeaveOutTheirTransColourNamedByTheTheme) {
    p.WriteSample("icons/s.bmp");
    const std::string key = "TransColor=\"key\" Transparent=\"1\"";
    const auto theme = orvo::test::ParseMarkup(
        "<Theme><ColorDef Name=\"key\" Color=\"170,100,200\"/></Theme>"); // SampleColour(3, 1)
    ASSERT_EQ(XThemeMan::Instance().LoadTheme(theme.get()), 1);
    const Canvas keyed = DrawBitmap(key, CRect(0, 0, 4, 4));
    XThemeMan::Instance().Reset();
    EXPECT_EQ(keyed.At(3, 1), kWhite);
    EXPECT_EQ(keyed.At(2, 1), SampleColour(2, 1));
    EXPECT_EQ(DrawBitmap(key, CRect(0, 0, 4, 4)).At(3, 1), SampleColour(3, 1))
        << "without a theme \"key\" is no colour and magenta stays the transparent one";
    EXPECT_EQ(DrawBitmap("TransColor=\"#AA64C8\"", CRect(0, 0, 4, 4)).At(3, 1), SampleColour(3, 1))
        << "not transparent";
}

} // namespace
