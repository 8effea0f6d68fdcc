#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "core/notice_man.h"
#include "core/scr_man.h"
#include "platform/base/text.h"
#include "support/recording_presenter.h"
#include "ui/xrect.h"

namespace {

class FakeWindow : public orvo::LayoutWindow {
public:
    bool IsWindow() const override { return alive; }
    CRect GetClientRect() const override { return CRect(CPoint(), size); }
    CPoint ClientOrigin() const override { return origin; }
    CRect GetWindowRect() const override { return CRect(origin, size); }
    void SetWindowPos(const CRect& rect, unsigned how) override {
        placed = rect;
        flags = how;
    }

    CSize size{400, 300};
    CPoint origin{1000, 500};
    bool alive = true;
    CRect placed;
    unsigned flags = 0;
};

FakeWindow* g_hostWindow = nullptr;

// Stands in for the window host: the root of layout, bound to g_hostWindow.
class HostBox : public XRect {
public:
    int CreateInstance() override { return XRect::CreateInstance() && SetWindow(g_hostWindow); }
};

// An object with a window of its own.
class WindowBox : public XRect {
public:
    WindowBox() { m_nStyle |= XDO_STYLE_NATIVEWND; }
    orvo::LayoutWindow* GetOwnWindow() override { return &window; }
    FakeWindow window;
};

using Attributes = std::initializer_list<std::pair<const wchar_t*, const wchar_t*>>;

XElement*
Element(const wchar_t* tag, Attributes attributes, std::initializer_list<XElement*> children = {}) {
    auto* e = new XElement(tag);
    for (const auto& [key, value] : attributes)
        e->SetValue(key, value);
    for (XElement* child : children)
        e->AppendChild(child);
    return e;
}

class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        IXO::Register(L"hostbox", []() -> IXO* { return new HostBox(); });
        IXO::Register(L"box", []() -> IXO* { return new XRect(); });
        IXO::Register(L"winbox", []() -> IXO* { return new WindowBox(); });
        IXO::Register(L"plain", []() -> IXO* { return new XDO(); });
        previousPresenter = XNoticeMan::Instance().Presenter();
        XNoticeMan::Instance().SetPresenter(&notices);
        g_hostWindow = &window;
    }
    void TearDown() override {
        g_hostWindow = nullptr;
        orvo::SetDesktopWindow(nullptr);
        XNoticeMan::Instance().SetPresenter(previousPresenter);
        for (const wchar_t* tag : {L"hostbox", L"box", L"winbox", L"plain"})
            IXO::Unregister(tag);
    }

    // A page whose root is a host box with `attributes` over `children`.
    void Open(Attributes attributes, std::initializer_list<XElement*> children) {
        XElement* root = Element(L"hostbox", attributes, children);
        root->SetValue(L"Name", L"root");
        page.reset(XScrMan::Instance().OpenPageMem(root, nullptr, nullptr));
        ASSERT_TRUE(page);
    }
    XRect* Rect(const wchar_t* name) {
        auto* rect = dynamic_cast<XRect*>(page->GetObjByNameDown(name));
        EXPECT_TRUE(rect) << "no rectangle named " << plat::ToUtf8(name);
        return rect;
    }
    static CRect Placed(XRect* rect) { return *static_cast<CRect*>(rect); }

    FakeWindow window;
    orvo::XDOPtr page;
    RecordingPresenter notices;
    orvo::NoticePresenter* previousPresenter = nullptr;
};

TEST_F(LayoutTest, RectanglesResolveAgainstTheirParentsInnerRectangle) {
    Open({{L"Margin", L"10,20,30,40"}},
         {Element(L"box", {{L"Name", L"fill"}}),
          Element(L"box", {{L"Name", L"upside"}, {L"Rect", L"10,10,50%,-20"}})});
    EXPECT_EQ(Placed(Rect(L"root")), CRect(0, 0, 400, 300));
    EXPECT_EQ(Rect(L"root")->GetInner().rect, CRect(10, 20, 370, 260));
    EXPECT_EQ(Placed(Rect(L"fill")), CRect(10, 20, 370, 260));
    EXPECT_EQ(Placed(Rect(L"upside")), CRect(20, 30, 200, 10))
        << "the bottom 20 pixels above the top";
    EXPECT_EQ(Rect(L"upside")->GetHostWindow(), &window) << "inherited at creation";
}

TEST_F(LayoutTest, MarginsAreOfTheObjectsOwnSizeAndMayBeNegative) {
    Open(
        {},
        {Element(L"box",
                 {{L"Name", L"framed"}, {L"Rect", L"0,0,200,100"}, {L"Margin", L"10%,0,10%,0"}},
                 {Element(L"box", {{L"Name", L"inside"}})}),
         Element(L"box",
                 {{L"Name", L"bleeding"}, {L"Rect", L"50,50,100,100"}, {L"Margin", L"-5,-5,-5,-5"}},
                 {Element(L"box", {{L"Name", L"outside"}})}),
         Element(L"box",
                 {{L"Name", L"flat"}, {L"Rect", L"10,10,0,0"}, {L"Margin", L"50%,50%,0,0"}},
                 {Element(L"box", {{L"Name", L"nothing"}, {L"Rect", L"0,0,80%,80%"}})})});
    EXPECT_EQ(Placed(Rect(L"inside")), CRect(20, 0, 180, 100));
    EXPECT_EQ(Placed(Rect(L"outside")), CRect(45, 45, 155, 155));
    EXPECT_EQ(Placed(Rect(L"nothing")), CRect(10, 10, 10, 10)) << "percent of zero is zero";
}

TEST_F(LayoutTest, AlignmentMeasuresFromTheChosenEdgeOrCentre) {
    const std::vector<std::pair<const wchar_t*, CPoint>> cases{
        {L"Right", {290, 40}},
        {L"Bottom", {10, 210}},
        {L"Right,Bottom", {290, 210}},
        {L"Center", {150, 125}},
        {L"OCenter", {160, 165}},
        {L"HCenter,Right", {150, 40}},
        {L"HOcenter,Right,VOCenter,Bottom", {160, 165}},
        {L" right , BOGUS ", {290, 40}},
        {L"bogus", {10, 40}},
    };
    std::initializer_list<XElement*> none;
    Open({}, none);
    for (const auto& [align, topLeft] : cases) {
        XElement* e = Element(L"box", {{L"Rect", L"10,40,100,50"}, {L"Align", align}});
        // Built under the page, which deletes it.
        auto* rect = dynamic_cast<XRect*>(XScrMan::Instance().MakeObject(e, page.get()));
        delete e;
        ASSERT_TRUE(rect);
        EXPECT_EQ(Placed(rect), CRect(topLeft, CSize(100, 50))) << plat::ToUtf8(align);
    }
}

TEST_F(LayoutTest, AlignmentIsAgainstTheParentsInnerRectangle) {
    Open({{L"Margin", L"10,20,30,40"}},
         {Element(L"box", {{L"Name", L"r"}, {L"Rect", L"5,5,100,50"}, {L"Align", L"right,bottom"}}),
          Element(L"box", {{L"Name", L"c"}, {L"Rect", L"5,5,100,50"}, {L"Align", L"OCenter"}})});
    EXPECT_EQ(Placed(Rect(L"r")), CRect(265, 205, 365, 255));
    EXPECT_EQ(Placed(Rect(L"c")), CRect(145, 120, 245, 170));
}

TEST_F(LayoutTest, DockKeywordsAreKeptAndUnknownOnesIgnored) {
    Open({{L"Dock", L"bottom"}}, {Element(L"box", {{L"Name", L"b"}, {L"Dock", L"Middle"}})});
    EXPECT_EQ(Rect(L"root")->GetDock(), XRect::DOCK_BOTTOM);
    EXPECT_EQ(Rect(L"b")->GetDock(), XRect::DOCK_NONE);
    Rect(L"b")->Docking(L"Left");
    EXPECT_EQ(Rect(L"b")->GetDock(), XRect::DOCK_LEFT);
}

TEST_F(LayoutTest, AnObjectWithAWindowLaysOutItsChildrenInItsClientArea) {
    Open({},
         {Element(L"winbox",
                  {{L"Name", L"panel"}, {L"Rect", L"50,40,50%,100"}, {L"Margin", L"5,5,5,5"}},
                  {Element(L"box", {{L"Name", L"cell"}, {L"Rect", L"0,0,50%,100%"}})})});
    XRect* panel = Rect(L"panel");
    EXPECT_EQ(Placed(panel), CRect(50, 40, 250, 140)) << "its place in the parent window";
    EXPECT_EQ(panel->GetRectEx().rect, CRect(0, 0, 200, 100));
    EXPECT_EQ(panel->GetInner().rect, CRect(5, 5, 195, 95));
    EXPECT_EQ(Placed(Rect(L"cell")), CRect(5, 5, 100, 95));

    window.size = CSize(800, 600);
    Rect(L"root")->SetWindow(&window);
    Rect(L"root")->OnSizeChange();
    auto& own = static_cast<WindowBox*>(panel)->window;
    EXPECT_EQ(own.placed, CRect(50, 40, 450, 140)) << "the window follows the rectangle";
    EXPECT_EQ(own.flags, 0x14u) << "no Z-order change, no activation";
    EXPECT_EQ(Placed(Rect(L"cell")), CRect(5, 5, 100, 95))
        << "what the window holds waits for the window's own size change";
    panel->OnSizeChange();
    EXPECT_EQ(Placed(Rect(L"cell")), CRect(5, 5, 200, 95));
}

TEST_F(LayoutTest, AResizeFollowsTheReferenceRectanglesThroughPlainObjects) {
    Open({},
         {Element(
             L"box",
             {{L"Name", L"quarter"}, {L"Rect", L"0,0,50%,50%"}},
             {Element(L"plain",
                      {},
                      {Element(L"box", {{L"Name", L"column"}, {L"Rect", L"10%,0,50%,100%"}})})})});
    EXPECT_EQ(Placed(Rect(L"column")), CRect(20, 0, 120, 150));
    window.size = CSize(800, 600);
    XRect* root = Rect(L"root");
    ASSERT_TRUE(root->SetWindow(&window));
    root->OnSizeChange();
    EXPECT_EQ(Placed(Rect(L"quarter")), CRect(0, 0, 400, 300));
    EXPECT_EQ(Placed(Rect(L"column")), CRect(40, 0, 240, 300));
}

TEST_F(LayoutTest, ScriptSettersReplaceOneExpressionAndLayOutTheChildren) {
    Open({},
         {Element(L"box",
                  {{L"Name", L"half"}, {L"Rect", L"10,10,100,100"}},
                  {Element(L"box", {{L"Name", L"inner"}, {L"Rect", L"0,0,50%,50%"}})})});
    XRect* half = Rect(L"half");
    std::vector<orvo::DispVariant> args{orvo::DispVariant(L"50%^8")};
    orvo::DispVariant result;
    ASSERT_EQ(half->Invoke(L"SetWidth", orvo::InvokeMethod, args, result), orvo::DispStatus::Ok);
    EXPECT_EQ(result, orvo::DispVariant(true));
    std::vector<orvo::DispVariant> none;
    ASSERT_EQ(half->Invoke(L"GetWidth", orvo::InvokeMethod, none, result), orvo::DispStatus::Ok);
    EXPECT_EQ(result, orvo::DispVariant(200));
    EXPECT_EQ(Placed(Rect(L"inner")), CRect(10, 10, 110, 60)) << "children follow";

    EXPECT_FALSE(half->SetHeight(L"tall"));
    EXPECT_FALSE(half->SetTop(nullptr));
    EXPECT_EQ(Placed(half), CRect(10, 10, 210, 110)) << "an unreadable expression changes nothing";
    EXPECT_TRUE(half->SetLeft(L"25%"));
    EXPECT_TRUE(half->SetTop(L"5"));
    EXPECT_TRUE(half->SetHeight(L"30rev"));
    EXPECT_EQ(Placed(half), CRect(100, 5, 300, 125));
    EXPECT_EQ(half->GetLeft(), 100);
    EXPECT_EQ(half->GetTop(), 5);
    EXPECT_EQ(half->GetHeight(), 120);

    EXPECT_EQ(half->GetAbsRect(), L"1100,505,1300,625");
    EXPECT_EQ(half->GetAbsX(), 1100);
    EXPECT_EQ(half->GetAbsY(), 505);
    CRect screen;
    ASSERT_TRUE(half->GetScreenRect(screen));
    EXPECT_EQ(screen, CRect(1100, 505, 1300, 625));

    window.size = CSize(200, 300);
    ASSERT_TRUE(Rect(L"root")->SetWindow(&window));
    half->RecalcRect();
    EXPECT_EQ(Placed(half), CRect(50, 5, 146, 65)) << "half of 200 snapped to 8";
    EXPECT_EQ(Placed(Rect(L"inner")), CRect(50, 5, 98, 35));
}

TEST_F(LayoutTest, WithoutAWindowNothingIsOnTheScreen) {
    orvo::XDOPtr owned(new XRect());
    auto* loose = static_cast<XRect*>(owned.get());
    ASSERT_TRUE(loose->SetLeft(L"7"));
    EXPECT_EQ(loose->GetAbsRect(), L"");
    EXPECT_EQ(loose->GetAbsX(), 7);
    CRect screen;
    EXPECT_FALSE(loose->GetScreenRect(screen));
    EXPECT_EQ(Placed(loose), CRect(7, 0, 7, 0)) << "100% of no desktop";

    FakeWindow desktop;
    desktop.size = CSize(1920, 1080);
    orvo::SetDesktopWindow(&desktop);
    loose->RecalcRect();
    EXPECT_EQ(Placed(loose), CRect(7, 0, 1927, 1080));
    desktop.alive = false;
    EXPECT_FALSE(loose->SetWindow(&desktop)) << "a destroyed window";
    EXPECT_FALSE(loose->SetWindow(nullptr));
    loose->RecalcRect();
    EXPECT_EQ(Placed(loose), CRect(7, 0, 7, 0));
}

TEST_F(LayoutTest, AnObjectWithAWindowIsWhereItsWindowIs) {
    Open({}, {Element(L"winbox", {{L"Name", L"panel"}, {L"Rect", L"50,40,100,100"}})});
    auto* panel = static_cast<WindowBox*>(Rect(L"panel"));
    panel->window.origin = CPoint(3000, 2000);
    CRect screen;
    ASSERT_TRUE(panel->GetScreenRect(screen));
    EXPECT_EQ(screen, CRect(3000, 2000, 3400, 2300));
    panel->window.alive = false;
    EXPECT_FALSE(panel->GetScreenRect(screen));
}

TEST_F(LayoutTest, BadRectanglesAreRefusedAndBadMarginsLeaveTheObjectUnaligned) {
    // A refused object stops the building of its later siblings: each bad one has a parent
    // of its own.
    Open({{L"Margin", L"10,10,10,10"}},
         {Element(L"plain", {}, {Element(L"box", {{L"Name", L"short"}, {L"Rect", L"1,2,3"}})}),
          Element(L"plain", {}, {Element(L"box", {{L"Name", L"word"}, {L"Rect", L"1,2,wide,4"}})}),
          Element(L"box", {{L"Name", L"loose"}, {L"Rect", L"5,5,20,20"}, {L"Margin", L"1,2,3"}})});
    ASSERT_EQ(notices.confirms.size(), 2u);
    EXPECT_EQ(notices.confirms[0].text,
              L"Rect=\"1,2,3\": x, y, width and height are needed, as four position expressions "
              L"separated by commas.");
    EXPECT_EQ(Placed(Rect(L"loose")), CRect(5, 5, 25, 25)) << "not moved into the parent";
    EXPECT_EQ(Placed(Rect(L"short")), CRect()) << "never resolved";
    EXPECT_EQ(notices.confirms[1].text,
              L"Rect=\"1,2,wide,4\": x, y, width and height are needed, as four position "
              L"expressions separated by commas.");
}

} // namespace
