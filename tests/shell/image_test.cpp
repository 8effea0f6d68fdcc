// Images: a "ResMan" image centred or stretched over the style's background.
#include "shell/ximage.h"
#include "shell_fixture.h"

namespace orvo::test {
namespace {

// A bitmap of a given size in one colour.
class SizedImage : public CResImg {
public:
    SizedImage(int width, int height, COLORREF fill) : CResImg(KIND_BITMAP), colour(fill) {
        SetSize(width, height);
    }
    int Load(const XElement*) override { return 1; }
    void Draw(CDC* dc, const CRect& rect) override { dc->FillSolidRect(rect, colour); }
    COLORREF colour;
};

// Stands in for "ResMan": "logo" is 10x6 red, "flat" has no size.
class Images : public IXO {
    ORVO_DISPATCH_MAP()

public:
    CResImg* GetImageObject(const wchar_t* name) {
        const std::wstring_view wanted(name);
        return wanted == L"logo" ? &logo : wanted == L"flat" ? &flat : nullptr;
    }
    SizedImage logo{10, 6, RGB(255, 0, 0)};
    SizedImage flat{0, 0, RGB(255, 0, 0)};
};

ORVO_DISPATCH_INLINE(Images, IXO, ORVO_PROVIDE(contract::ResManGetImageObject, GetImageObject))

class ImageTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        IXO::Register(L"ResMan", &images);
    }
    Images images;
};

TEST_F(ImageTest, CentresOrStretchesOverTheStyleAndMissingImagesLeaveIt) {
    OpenWindow(R"(<Image Name="c" Image="logo" Rect="0,0,40,20"/>
                  <Image Name="s" Image=" logo " Stretch="True" Rect="50,0,40,20"/>
                  <Image Name="tiny" Image="logo" Rect="100,0,4,4"/>
                  <Image Name="gone" Image="nothing.bmp" Rect="0,40,20,20"/>
                  <Image Name="flat" Image="flat" Stretch="True" Rect="20,40,20,20"/>)");
    QImage image = Rendered();
    EXPECT_EQ(Count(image, CRect(0, 0, 40, 20), kRed), 60);
    EXPECT_EQ(PixelAt(image, 15, 7), kRed) << "from (15, 7) to (25, 13)";
    EXPECT_EQ(PixelAt(image, 14, 7), kGreen) << "the style around it";
    EXPECT_EQ(PixelAt(image, 25, 13), kGreen);
    EXPECT_EQ(Count(image, CRect(50, 0, 90, 20), kRed), 800) << "stretched over all of it";
    EXPECT_EQ(Count(image, CRect(100, 0, 104, 4), kRed), 16) << "cut to a smaller rectangle";
    EXPECT_EQ(PixelAt(image, 104, 1), kWhite);
    EXPECT_EQ(Count(image, CRect(0, 40, 40, 60), kGreen), 800) << "no image, only the style";

    auto* gone = dynamic_cast<XImage*>(UI(L"gone"));
    EXPECT_EQ(gone->GetResImg(), nullptr);
    gone->SetImage(L"logo");
    gone->SetStretch(true);
    EXPECT_EQ(Count(Rendered(), CRect(0, 40, 20, 60), kRed), 400);
}

} // namespace
} // namespace orvo::test
