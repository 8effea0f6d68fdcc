// Scroll bars: a clamped position moved by arrows, track pages and the thumb, told to listeners.
#include <climits>

#include "shell/xscroll_bar.h"
#include "shell_fixture.h"

namespace orvo::test {
namespace {

// A scrolled view: it hears what its bars send, and sets them as a grid does.
class ScrollView : public XUI {
    ORVO_DISPATCH_MAP()

public:
    ORVO_KEY(L"ScrollView")
    int RunMsg(int fromUp, XElement* msg, XDO* sender, XDO* origin, int& sendDown) override {
        if (msg && msg->GetTagName() == L"#ScrollPos#") {
            std::wstring vertical, pos;
            msg->GetValue(L"VScroll", vertical);
            msg->GetValue(L"CurPos", pos);
            heard.push_back(vertical + L":" + pos);
        }
        return XUI::RunMsg(fromUp, msg, sender, origin, sendDown);
    }
    static inline std::vector<std::wstring> heard;
};

using Log = std::vector<std::wstring>;

} // namespace
} // namespace orvo::test

ORVO_DISPATCH(orvo::test::ScrollView, XUI)

namespace orvo::test {
namespace {

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

// A scrolled view and its bars talk in messages: the view sets the range, the page and the
// position; the user's moves come back as positions.
TEST_F(ScrollBarTest, ScrolledViewsSetTheirBarsAndHearTheUsersMoves) {
    RegisterFactory<ScrollView>();
    ScrollView::heard.clear();
    OpenWindow(R"(<ScrollView Name="view" Rect="0,0,200,100">
                    <ScrollBar Name="v" Rect="180,0,20,100"/>
                    <ScrollBar Name="h" Vertical="False" Rect="0,80,180,20"/>
                  </ScrollView>)");
    XDO* view = page->GetObjByNameDown(L"view");
    XElement set(L"#VScrollSet#");
    set.SetValue(L"MinPos", 0);
    set.SetValue(L"MaxPos", 99);
    set.SetValue(L"CurPos", 40);
    set.SetValue(L"Page", 10);
    view->SendMsg(1, &set, view, view);
    EXPECT_EQ(Bar(L"v")->GetMax(), 99);
    EXPECT_EQ(Bar(L"v")->GetPage(), 10);
    EXPECT_EQ(Bar(L"v")->GetPos(), 40);
    EXPECT_EQ(Bar(L"h")->GetPos(), 0) << "a horizontal bar takes only #HScrollSet#";
    EXPECT_TRUE(ScrollView::heard.empty()) << "setting a bar tells nobody";

    XElement hset(L"#HScrollSet#");
    hset.SetValue(L"MaxPos", 499);
    hset.SetValue(L"CurPos", 600);
    hset.SetValue(L"Page", 180);
    view->SendMsg(1, &hset, view, view);
    EXPECT_EQ(Bar(L"h")->GetPos(), 320) << "kept where a page still fits";

    Bar(L"v")->ScrollBy(5);
    Bar(L"h")->ScrollTo(0);
    EXPECT_EQ(ScrollView::heard, (Log{L"True:45", L"False:0"}));
}

} // namespace
} // namespace orvo::test
