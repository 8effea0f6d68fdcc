// Input scripts: what a screen author may write, what is refused with its line, and steps
// replayed against a live window.
#include "gui/pump.h"
#include "platform/gui/test_clock.h"
#include "shell/input_player.h"
#include "shell/input_script.h"
#include "ui/xwindow_fixture.h"

namespace orvo::test {
namespace {

std::vector<InputStep> Parsed(std::wstring_view text) {
    std::vector<InputStep> steps;
    std::wstring error;
    EXPECT_TRUE(InputScript::Parse(text, steps, error)) << plat::ToUtf8(error);
    return steps;
}

std::wstring Refusal(std::wstring_view text) {
    std::vector<InputStep> steps;
    std::wstring error;
    EXPECT_FALSE(InputScript::Parse(text, steps, error));
    EXPECT_TRUE(steps.empty());
    return error;
}

TEST(InputScriptTest, StepsKeepTheirArgumentsAndLines) {
    const auto steps = Parsed(L"# the order ticket\n"
                              L"CLICK ticket.qty\r\n"
                              L"\n"
                              L"  drag  board.price   ticket.limit \n"
                              L"type 삼성 전자\n"
                              L"key return\n"
                              L"key a\n"
                              L"wait 250\n"
                              L"expect 주문 완료\n"
                              L"key shift+TAB\n"
                              L"key SHIFT");
    ASSERT_EQ(steps.size(), 9u);
    EXPECT_EQ(steps[0].kind, InputStep::Kind::Click);
    EXPECT_EQ(steps[0].target, L"ticket.qty");
    EXPECT_EQ(steps[0].line, 2);
    EXPECT_EQ(steps[1].kind, InputStep::Kind::Drag);
    EXPECT_EQ(steps[1].target, L"board.price");
    EXPECT_EQ(steps[1].dropOn, L"ticket.limit");
    EXPECT_EQ(steps[1].line, 4);
    EXPECT_EQ(steps[2].target, L"삼성 전자") << "the rest of the line, inner blanks kept";
    EXPECT_EQ(steps[3].value, 13);
    EXPECT_EQ(steps[4].value, 'A');
    EXPECT_EQ(steps[5].value, 250);
    EXPECT_EQ(steps[6].kind, InputStep::Kind::Expect);
    EXPECT_FALSE(steps[3].shift);
    EXPECT_EQ(steps[7].value, 9);
    EXPECT_TRUE(steps[7].shift);
    EXPECT_EQ(steps[8].value, 0x10) << "Shift alone is the key itself";
    EXPECT_FALSE(steps[8].shift);
    EXPECT_TRUE(Parsed(L"").empty());
    EXPECT_TRUE(Parsed(L"\n# nothing\n\n").empty());
}

TEST(InputScriptTest, MistakesAreRefusedWithTheirLine) {
    EXPECT_EQ(Refusal(L"click a\nfly b"), L"line 2: unknown command \"fly\"");
    EXPECT_EQ(Refusal(L"click"), L"line 1: click takes one object address");
    EXPECT_EQ(Refusal(L"hover a b"), L"line 1: hover takes one object address");
    EXPECT_EQ(Refusal(L"\n\ndrag a"),
              L"line 3: drag takes two object addresses: where it starts and where it drops");
    EXPECT_EQ(Refusal(L"key F25"), L"line 1: unknown key \"F25\"");
    EXPECT_EQ(Refusal(L"key shift+nothing"), L"line 1: unknown key \"nothing\"");
    EXPECT_EQ(Refusal(L"type"), L"line 1: type needs a text");
    for (const wchar_t* wait : {L"wait", L"wait -5", L"wait 600001", L"wait 1e3", L"wait 99999999"})
        EXPECT_EQ(Refusal(wait), L"line 1: wait takes a number of milliseconds from 0 to 600000")
            << plat::ToUtf8(wait);
}

class InputPlayerTest : public XWindowTest {
protected:
    bool Play(const std::wstring& script, std::wstring& error) {
        std::vector<InputStep> steps;
        if (!InputScript::Parse(script, steps, error))
            return false;
        InputPlayer player(
            [this](const std::wstring& address) -> XDO* {
                return page->GetObjByNameDown(address.c_str());
            },
            [this](const std::wstring& text) { return text == seen; });
        return player.Run(steps, error);
    }
    std::wstring seen;
};

TEST_F(InputPlayerTest, ClicksAndDragsReachTheObjectsAddressed) {
    OpenWindow(R"(<Probe Name="a" Rect="10,10,40,30"/><Probe Name="b" Rect="120,50,40,30"/>)");
    std::wstring error;
    ASSERT_TRUE(Play(L"click a\nrclick b", error)) << plat::ToUtf8(error);
    auto& log = Probe::log;
    EXPECT_NE(std::find(log.begin(), log.end(), L"a:16"), log.end()) << "a left click on a";
    EXPECT_NE(std::find(log.begin(), log.end(), L"b:32"), log.end()) << "a right click on b";

    Probe::log.clear();
    ASSERT_TRUE(Play(L"dblclick a", error)) << plat::ToUtf8(error);
    EXPECT_NE(std::find(log.begin(), log.end(), L"a:64"), log.end());
}

TEST_F(InputPlayerTest, ADragMovesFromOneObjectToTheOther) {
    OpenWindow(R"x(<Probe Name="a" Rect="10,10,40,30">
                     <this.Event Trigger="Mouse.Down" Action="Sys.Dragging(4)"/></Probe>
                   <Probe Name="b" Rect="120,50,40,30"/>)x");
    std::wstring error;
    ASSERT_TRUE(Play(L"drag a b", error)) << plat::ToUtf8(error);
    EXPECT_FALSE(Win()->IsDragging()) << "released";
    EXPECT_EQ(UI(L"a")->GetCurrentPoint(), CPoint(140, 65)) << "ended over the centre of b";
    auto& log = Probe::log;
    EXPECT_NE(std::find(log.begin(), log.end(), L"a!7"), log.end()) << "moves were reported";
}

TEST_F(InputPlayerTest, WaitsMoveTheTestClockAndTickTheObjectsTimers) {
    OpenWindow(R"(<Probe Name="a" Rect="10,10,40,30"/>)");
    plat::TestClock::Start();
    ASSERT_EQ(Win()->RegTimer(UI(L"a"), 40, 3), 1);
    std::wstring error;
    ASSERT_TRUE(Play(L"wait 100", error)) << plat::ToUtf8(error);
    const std::wstring tick = L"a!" + std::to_wstring(EVT_TIMER);
    EXPECT_EQ(std::count(Probe::log.begin(), Probe::log.end(), tick), 2) << "at 40 and 80";
    ASSERT_TRUE(Play(L"wait 1000", error));
    EXPECT_EQ(std::count(Probe::log.begin(), Probe::log.end(), tick), 3) << "three times only";
    plat::TestClock::Stop();
}

TEST_F(InputPlayerTest, StepsThatCannotRunNameTheirLine) {
    OpenWindow(
        R"(<Probe Name="a" Rect="10,10,40,30"/><Probe Name="hidden" flag="Hide" SHOW="False"/>
                  <lib Name="plain"/>)");
    std::wstring error;
    EXPECT_FALSE(Play(L"click a\nclick nobody", error));
    EXPECT_EQ(error, L"line 2: no object \"nobody\"");
    EXPECT_FALSE(Play(L"hover hidden", error));
    EXPECT_EQ(error, L"line 1: \"hidden\" is not a visual object shown in a window");
    EXPECT_FALSE(Play(L"click plain", error));
    EXPECT_EQ(error, L"line 1: \"plain\" is not a visual object shown in a window");
    EXPECT_FALSE(Play(L"expect hello", error));
    EXPECT_EQ(error, L"line 1: no message containing \"hello\" was shown");
    seen = L"hello";
    EXPECT_TRUE(Play(L"expect hello", error));
}

} // namespace
} // namespace orvo::test
