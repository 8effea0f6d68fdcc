#pragma once
// Shell pieces in a real offscreen window, painted by a small theme: white text on navy text
// boxes, grey edits, green images; scroll bars with a red "ScrollBar.Down" and a blue thumb,
// green while pressed, and no style for the up arrow.
#include <cstdlib>
#include <memory>

#include "ui/xwindow_fixture.h"

namespace orvo::test {

constexpr COLORREF kNavy = RGB(0, 0, 128);

inline const char* const kShellTheme = R"(<Theme>
  <UIStyle Control="TextBox"><DrawEvent>
    <Fill BackColor="0,0,128"/><Text TextColor="255,255,255"/></DrawEvent></UIStyle>
  <UIStyle Control="Bare"><DrawEvent><Fill BackColor="0,0,128"/></DrawEvent></UIStyle>
  <UIStyle Control="Edit"><DrawEvent><Fill BackColor="128,128,128"/></DrawEvent></UIStyle>
  <UIStyle Control="Image"><DrawEvent><Fill BackColor="0,255,0"/></DrawEvent></UIStyle>
  <UIStyle Control="ScrollBar"><DrawEvent><Fill BackColor="255,255,255"/></DrawEvent></UIStyle>
  <UIStyle Control="ScrollBar.Down"><DrawEvent><Fill BackColor="255,0,0"/></DrawEvent></UIStyle>
  <UIStyle Control="ScrollBar.Thumb"><DrawEvent><Fill BackColor="0,0,255"/></DrawEvent>
    <DrawEvent Trigger="Mouse.Click"><Fill BackColor="0,255,0"/></DrawEvent></UIStyle>
</Theme>)";

class ShellTest : public XWindowTest {
protected:
    void SetUp() override {
        XWindowTest::SetUp();
        shellTheme = ParseMarkup(kShellTheme);
        ASSERT_TRUE(shellTheme && XThemeMan::Instance().LoadTheme(shellTheme.get()));
    }
    QImage Rendered() {
        Win()->XOnTimer(XWindow::TIMER_PAINT);
        Pump(2);
        return Native()->RenderImage();
    }
    // Pixels of `area` within `tolerance` of `colour` in every channel.
    static int Count(const QImage& image, const CRect& area, COLORREF colour, int tolerance = 0) {
        auto near = [tolerance](int a, int b) { return std::abs(a - b) <= tolerance; };
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) {
                const COLORREF c = PixelAt(image, x, y);
                count += near(GetRValue(c), GetRValue(colour)) &&
                         near(GetGValue(c), GetGValue(colour)) &&
                         near(GetBValue(c), GetBValue(colour));
            }
        return count;
    }

    std::unique_ptr<XElement> shellTheme;
};

} // namespace orvo::test
