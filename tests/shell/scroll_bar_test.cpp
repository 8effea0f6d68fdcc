// Scroll bars: a clamped position moved by arrows, track pages and the thumb, told to listeners.
#include <climits>

#include "shell/xscroll_bar.h"
#include "shell_fixture.h"

namespace orvo::test {
namespace {

using Log = std::vector<std::wstring>;

// "v" at the right edge: arrows 0..20 and 80..100, a track of 60 between them; positions 0 to
// 90 with a page of 10, so the thumb has its least length, 8. "k" destroys itself as it moves.
const char* const kBars = R"(<Script/>
  <Cell Name="grid" Rect="0,0,150,100"/>
  <ScrollBar Name="v" Listener="grid" Max="99" Page="10" Line="3" Rect="180,0,20,100">
    <this.Event Trigger="Object.Change" Action="Script.Scrolled"/></ScrollBar>
  <ScrollBar Name="k" Max="99" Rect="150,0,20,100">
    <this.Event Trigger="Object.Change" Action="Script.Kill"/></ScrollBar>)";

class ScrollBarTest : public ShellTest {
protected:
    XScrollBar* Bar(const wchar_t* name) { return dynamic_cast<XScrollBar*>(UI(name)); }
    // The grid hears the bar's positions.
    static void Hear(XDO*, XDO*, int, int position, int) { heard.push_back(position); }
    void Click(CPoint at) {
        Cursor(at);
        Press(at);
        Release(at);
    }
    static inline std::vector<int> heard;
};

TEST_F(ScrollBarTest, ThePositionStaysInsideEvenForBadRanges) {
    OpenWindow(R"(<ScrollBar Name="a" Min="10" Max="5" Pos="7" Rect="0,0,20,100"/>
                  <ScrollBar Name="b" Max="99" Page="-4" Pos="500" Rect="20,0,20,100"/>
                  <ScrollBar Name="c" Rect="40,0,0,0"/>)");
    XScrollBar* a = Bar(L"a");
    EXPECT_EQ(a->GetMax(), 10) << "a reversed range is empty";
    EXPECT_EQ(a->GetPos(), 10);
    EXPECT_TRUE(a->PartRect(XScrollBar::PART_THUMB).IsRectEmpty()) << "nothing to scroll";
    XScrollBar* b = Bar(L"b");
    EXPECT_EQ(b->GetPos(), 99) << "a page below 1 reaches the maximum";
    b->SetPage(10);
    EXPECT_EQ(b->GetPos(), 90);
    b->SetRange(INT_MIN, INT_MAX);
    b->SetPage(INT_MAX);
    EXPECT_EQ(b->GetMaxPos(), 1) << "2^32 positions, INT_MAX of them in a page";
    b->SetPos(INT_MIN);
    EXPECT_TRUE(b->ScrollBy(INT_MAX));
    EXPECT_EQ(b->GetPos(), -1);
    EXPECT_TRUE(b->ScrollBy(INT_MAX));
    EXPECT_FALSE(b->ScrollBy(INT_MAX)) << "at the end";
    EXPECT_EQ(Bar(L"c")->PartAt(CPoint(40, 0)), XScrollBar::PART_NONE);
    Rendered();
}

TEST_F(ScrollBarTest, ArrowsAndTheTrackStepWhileHeldAndListenersHear) {
    OpenWindow(kBars);
    heard.clear();
    UI(L"grid")->SetOnNotifierChanged(&Hear);
    XScrollBar* v = Bar(L"v");
    Cursor({190, 90});
    Press({190, 90});
    EXPECT_EQ(v->GetPressedPart(), XScrollBar::PART_LINE_FORWARD);
    Win()->XOnTimer(XWindow::TIMER_REPEAT);
    Release({190, 90});
    EXPECT_EQ(v->GetPressedPart(), XScrollBar::PART_NONE);
    for (int i = 0; i < 3; ++i)
        Click({190, 5});
    EXPECT_EQ(heard, (std::vector<int>{3, 6, 3, 0})) << "nothing past the start";
    EXPECT_EQ(RecordingScript::runs, Log(4, L"Scrolled:v"));

    // The thumb is 20..28; pages repeat until it is under the cursor at 50 (43..51 at 40).
    Cursor({190, 50});
    Press({190, 50});
    for (int i = 0; i < 10; ++i)
        Win()->XOnTimer(XWindow::TIMER_REPEAT);
    Release({190, 50});
    EXPECT_EQ(v->GetPos(), 40);
    Click({190, 22});
    EXPECT_EQ(v->GetPos(), 30);

    RecordingScript::runs.clear();
    Cursor({160, 90});
    Press({160, 90});
    EXPECT_EQ(page->GetObjByNameDown(L"k"), nullptr);
    Win()->XOnTimer(XWindow::TIMER_REPEAT);
    Release({160, 90});
    EXPECT_EQ(RecordingScript::runs, Log{L"Kill:k"});
}

TEST_F(ScrollBarTest, TheThumbFollowsADragAndThemeStylesPaintTheParts) {
    OpenWindow(kBars + std::string(R"(<ScrollBar Name="h" Vertical="False" Style="Flat" Max="9"
                                                 Page="5" Rect="0,80,100,20"/>)"));
    XScrollBar* v = Bar(L"v");
    QImage image = Rendered();
    EXPECT_EQ(PixelAt(image, 190, 90), kRed) << "ScrollBar.Down";
    EXPECT_EQ(PixelAt(image, 190, 24), kBlue) << "ScrollBar.Thumb";
    EXPECT_EQ(PixelAt(image, 185, 5), RGB(0xDC, 0xDC, 0xDC)) << "no ScrollBar.Up: plain";
    EXPECT_EQ(PixelAt(image, 190, 10), RGB(0x40, 0x40, 0x40)) << "with its glyph";
    EXPECT_EQ(PixelAt(image, 60, 90), RGB(0xEE, 0xEE, 0xEE)) << "no Flat style: plain track";
    EXPECT_EQ(Bar(L"h")->PartRect(XScrollBar::PART_THUMB), CRect(20, 80, 50, 100));

    Cursor({190, 24});
    Press({190, 24}); // 4 pixels into the thumb
    EXPECT_EQ(PixelAt(Rendered(), 190, 24), kGreen) << "pressed";
    Move({190, 50}, Button::Left);
    EXPECT_EQ(v->GetPos(), 45) << "the thumb at 46: 26 of 52 free pixels";
    Move({190, 300}, Button::Left);
    EXPECT_EQ(v->GetPos(), 90);
    Release({190, 0});
    EXPECT_EQ(v->GetPos(), 0);
    EXPECT_EQ(PixelAt(Rendered(), 190, 24), kBlue);
}

} // namespace
} // namespace orvo::test
