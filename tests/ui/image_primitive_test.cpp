// The "Image" primitive and the images of a draw event.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "image_project.h"
#include "support/golden_image.h"
#include "theme_markup.h"
#include "ui/ui_style.h"

namespace {

using orvo::test::Canvas;
using orvo::test::TestObject;
using orvo::test::ThemeFrom;

constexpr COLORREF kRed = RGB(220, 40, 40);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// A red disc on a clear ground, its edge smoothed through its own alpha.
const orvo::test::Pixels kDisc = [](int x, int y) {
    const double cover = std::clamp(7.5 - std::hypot(x - 7.5, y - 7.5), 0.0, 1.0);
    return static_cast<std::uint32_t>(std::lround(cover * 255)) << 24 | 0xDC2828u;
};

class ImagePrimitiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        p.WriteSample("image/s.bmp");
        p.WriteIcon("image/disc.ico", kDisc);
        object.rect = CRect(0, 0, 120, 48);
    }
    Canvas Draw(const XTheme& theme) {
        Canvas canvas(120, 48);
        theme.Draw(canvas.dc.get(), &object, nullptr);
        return canvas;
    }
    orvo::test::ImageProject p;
    TestObject object;
};

TEST_F(ImagePrimitiveTest, DrawsTheEventsImageByIndexOrANamedImageLookedUpOnce) {
    const auto theme = ThemeFrom(R"(<UIStyle Control="default">
        <DrawEvent Image="s.bmp, gone.ico ,disc.ico"><Image ImageIndex="2"/><Image ImageIndex="3"/>
          <SetRect Rect="20,0,100%,100%"><Image Image="s.bmp"><Fill BackColor="0,0,0"/></Image>
            <SetRect Rect="10,0,100%,100%"><Image Src="gone.ico"/></SetRect></SetRect>
        </DrawEvent></UIStyle>)");
    CUIEvent* event = theme->GetDefaultStyle()->GetFirstEvent();
    CResImg* image = nullptr;
    EXPECT_TRUE(event->GetImg(1, image));
    EXPECT_EQ(image, nullptr) << "a missing image keeps its place";
    const Canvas first = Draw(*theme);
    EXPECT_EQ(first.At(8, 8), kRed) << "the disc at the rectangle's corner";
    EXPECT_EQ(first.At(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(first.At(21, 0), kBlack) << "the children draw over the image";

    // A file for "gone.ico" now exists, but the primitive asked once and forgot the name.
    p.WriteIcon("image/gone.ico", kDisc);
    EXPECT_EQ(Draw(*theme).At(30, 0), kBlack);

    // An object's own images go over the first entries; the list keeps its length.
    CResImg* sample = p.resMan.GetImageObject(L"s.bmp");
    event->SetImgArray({nullptr, nullptr, sample, sample});
    EXPECT_EQ(Draw(*theme).At(0, 0), orvo::test::SampleColour(0, 0));
    EXPECT_FALSE(event->GetImg(3, image));
    EXPECT_FALSE(event->SetImg(-1, sample));
}

TEST_F(ImagePrimitiveTest, ImagesInAThemeDrawAsTheReferenceShows) {
    p.WriteSample("icons/grid.bmp");
    p.WriteSample("image/big.bmp", 3);
    p.WriteResource(R"(<Resource>
        <Bitmap Name="wide" File="grid.bmp" Path="icons" Stretch="1"/>
        <Bitmap Name="keyed" File="grid.bmp" Path="icons" Stretch="1" Transparent="1"
                TransColor="#AA64C8"/></Resource>)");
    ASSERT_EQ(p.resMan.InitializeIXO(), 1);
    const auto theme = ThemeFrom(R"(<UIStyle Control="default">
        <DrawEvent Image="disc.ico"><Fill BackColor="#203040"/>
          <SetRect Rect="4,4,36,24"><Image Src="wide"/></SetRect>
          <SetRect Rect="44,4,32,24"><Fill BackColor="#F0C040"/><Image Src="keyed"/></SetRect>
          <SetRect Rect="84,4,8,8"><Image Src="big.bmp"/></SetRect>
          <SetRect Rect="84,16,8,8"><Image ImageIndex="0"/></SetRect>
          <SetRect Rect="4,32,100%,14"><Fill BackColor="#FFFFFF"/><Image Src="disc.ico"/></SetRect>
        </DrawEvent></UIStyle>)");
    EXPECT_TRUE(orvo::test::MatchesGolden(Draw(*theme).bitmap->Snapshot(),
                                          "image_primitive",
                                          {ORVO_GOLDEN_DIR, ORVO_GOLDEN_FAILURES}));
}

} // namespace
