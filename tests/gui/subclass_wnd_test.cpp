#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/gui/subclass_wnd.h"

namespace {

// Writes its mark into a shared log and handles messages up to a limit.
class Marking : public CSubclassWnd {
public:
    Marking(std::string& log, char mark, unsigned handledBelow)
        : m_log(log), m_mark(mark), m_handledBelow(handledBelow) {}
    bool OnMessage(plat::Window&,
                   unsigned message,
                   std::uintptr_t,
                   std::intptr_t,
                   std::intptr_t& result) override {
        m_log += m_mark;
        if (message >= m_handledBelow)
            return false;
        result = m_mark;
        return true;
    }

private:
    std::string& m_log;
    char m_mark;
    unsigned m_handledBelow;
};

struct Owner : plat::WindowHandler {
    std::string& log;
    explicit Owner(std::string& log) : log(log) {}
    bool OnMessage(
        plat::Window&, unsigned, std::uintptr_t, std::intptr_t, std::intptr_t& result) override {
        log += 'O';
        result = 'O';
        return true;
    }
};

} // namespace

TEST(SubclassWnd, SeesEventsFirstAndPassesOnWhatItLeaves) {
    std::string log;
    Owner owner(log);
    plat::Window window(plat::WindowKind::TopLevel);
    window.SetHandler(&owner);
    Marking first(log, 'A', 0x500);
    Marking second(log, 'B', 0x400);
    EXPECT_TRUE(first.HookWindow(&window));
    EXPECT_TRUE(second.HookWindow(&window));
    EXPECT_EQ(first.HookedWindow(), &window);

    EXPECT_EQ(window.SendMessage(0x300, 0, 0), 'B'); // latest hook first
    EXPECT_EQ(log, "B");
    log.clear();
    EXPECT_EQ(window.SendMessage(0x450, 0, 0), 'A');
    EXPECT_EQ(log, "BA");
    log.clear();
    EXPECT_EQ(window.SendMessage(0x600, 0, 0), 'O');
    EXPECT_EQ(log, "BAO");

    log.clear();
    second.HookWindow(nullptr);
    EXPECT_EQ(second.HookedWindow(), nullptr);
    EXPECT_EQ(window.SendMessage(0x300, 0, 0), 'A');
    EXPECT_EQ(log, "A");
}

TEST(SubclassWnd, HooksOneWindowAtATimeAndSurvivesEitherDyingFirst) {
    std::string log;
    plat::Window one(plat::WindowKind::TopLevel);
    plat::Window two(plat::WindowKind::TopLevel);
    Marking hook(log, 'H', 0x1000);
    hook.HookWindow(&one);
    hook.HookWindow(&two); // moves
    one.SendMessage(1, 0, 0);
    EXPECT_EQ(log, "");
    two.SendMessage(1, 0, 0);
    EXPECT_EQ(log, "H");

    {
        auto shortLived = std::make_unique<Marking>(log, 'S', 0x1000);
        shortLived->HookWindow(&one);
    } // the hook dies first: the window forgets it
    log.clear();
    one.SendMessage(1, 0, 0);
    EXPECT_EQ(log, "");

    auto window = std::make_unique<plat::Window>(plat::WindowKind::TopLevel);
    Marking outliving(log, 'L', 0x1000);
    outliving.HookWindow(window.get());
    window.reset(); // the window dies first: the hook lets go on its own
    EXPECT_EQ(outliving.HookedWindow(), nullptr);

    auto parent = std::make_unique<plat::Window>(plat::WindowKind::TopLevel);
    plat::Window child(plat::WindowKind::Child, parent.get());
    parent.reset();
    EXPECT_FALSE(hook.HookWindow(&child)); // dead: nothing to hook
    EXPECT_EQ(hook.HookedWindow(), nullptr);
    EXPECT_FALSE(hook.HookWindow(nullptr));
}
