// The window host's hit index answers as the walk over the objects does, and follows the tree,
// the layout and the flags as they change.
#include <gtest/gtest.h>

#include "platform/base/text.h"
#include "ui/hit_index.h"
#include "ui/hit_order.h"
#include "xui_fixture.h"

namespace orvo::test {
namespace {

class HitIndexTest : public XUITest {
protected:
    // Every third point over the host and a little around it.
    void ExpectIndexAnswersAsTheWalk(const char* after) {
        for (int y = -4; y < 106; y += 3) {
            for (int x = -4; x < 206; x += 3) {
                const CPoint pt(x, y);
                XUI* walked = FirstInHitOrder(*Host(), [pt](XUI* o) { return o->PtInRect(pt); });
                XUI* indexed = index.Find(*Host(), pt);
                ASSERT_EQ(indexed, walked)
                    << after << ": at " << x << "," << y << " the index found "
                    << (indexed ? plat::ToUtf8(indexed->GetName()) : "nothing") << ", the walk "
                    << (walked ? plat::ToUtf8(walked->GetName()) : "nothing");
            }
        }
    }

    HitIndex index;
};

TEST_F(HitIndexTest, AnswersAsTheWalkThroughEveryChange) {
    Open(R"x(<Cell Name="panel" Rect="0,0,100%,100%">
               <Cell Name="a" Rect="10,10,40,30"/>
               <Cell Name="b" Rect="30,20,40,30"><Cell Name="inB" Rect="35,25,5,5"/></Cell>
               <Cell Name="quiet" Rect="0,50,60,40" flag_del="NotifyMouse">
                 <Cell Name="inQuiet" Rect="5,55,10,10"/>
               </Cell>
               <Cell Name="hidden" Rect="100,0,50,50" flag="Hide"><Cell Rect="100,0,9,9"/></Cell>
               <Cell Name="off" Rect="150,50,40,40" ENABLE="False"><Cell Rect="150,50,9,9"/></Cell>
               <WindowCell Name="w" Rect="120,60,30,30"/>
             </Cell>
             <Cell Name="empty" Rect="50,50,0,10"/>
             <Cell Name="over" Rect="90,40,30,30"/>)x");
    ExpectIndexAnswersAsTheWalk("as opened");
    EXPECT_EQ(index.Find(*Host(), {66, 46}), UI(L"inB"));
    EXPECT_EQ(index.Find(*Host(), {12, 12}), UI(L"a"));
    EXPECT_EQ(index.Find(*Host(), {121, 61}), UI(L"panel")) << "a window takes its own mouse";

    UI(L"b")->SetShow(false);
    ExpectIndexAnswersAsTheWalk("b hidden");
    UI(L"a")->SetEnable(false);
    UI(L"off")->SetEnable(true);
    ExpectIndexAnswersAsTheWalk("a disabled, off enabled");
    ASSERT_TRUE(UI(L"over")->SetLeft(L"5"));
    ExpectIndexAnswersAsTheWalk("over moved");
    UI(L"hidden")->SetShow(true);
    DestroyObject(UI(L"quiet"));
    ExpectIndexAnswersAsTheWalk("hidden shown, quiet gone");
    auto* added = new XUI();
    added->SetName(L"added");
    UI(L"panel")->AddChild(added);
    added->RecalcRect();
    ExpectIndexAnswersAsTheWalk("a child added");
    EXPECT_EQ(index.Find(*Host(), {199, 99}), added);
}

TEST_F(HitIndexTest, RectanglesAtTheEdgesOfTheCoordinatesAreFiledSafely) {
    Open(R"x(<Cell Name="huge" Rect="-2147483648,-2147483648,2147483647,2147483647"/>
             <Cell Name="far" Rect="2147483000,2147483000,600,600"/>
             <Cell Name="small" Rect="10,10,10,10"/>)x");
    for (const CPoint pt : {CPoint(12, 12),
                            CPoint(-2147483647, 5),
                            CPoint(2147483100, 2147483100),
                            CPoint(2147483646, 2147483646)}) {
        EXPECT_EQ(index.Find(*Host(), pt),
                  FirstInHitOrder(*Host(), [pt](XUI* o) { return o->PtInRect(pt); }));
    }
}

} // namespace
} // namespace orvo::test
