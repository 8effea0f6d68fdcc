// The screen manager hands frames, painting, hot keys and saved screens to the shell the UI
// layer installs, and answers "not available" without one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/object_lifetime.h"
#include "core/scr_man.h"
#include "core/xml_parser.h"
#include "nubra/registry_snapshot.h"

namespace {

class FrameStandIn : public XDO {
public:
    FrameStandIn() { m_nStyle |= XDO_STYLE_FRAME; }
    ORVO_KEY(L"Frame")
};

class PanelStandIn : public XDO {
public:
    ORVO_KEY(L"Panel")
};

// Keeps what it is asked and answers what the test sets.
class RecordingShell : public orvo::ShellHooks {
public:
    void AdjustFrameElement(XElement* root) override { adjusted.push_back(root->GetTagName()); }
    int OpenFrame(XDO* frame) override {
        opened.push_back(frame);
        return openAnswer;
    }
    int SetPaintTime(int ms) override { return paintTime = ms, 1; }
    int SetFrameText(XDO* frame, const wchar_t* text) override {
        texts.push_back(frame ? std::wstring(text) : L"-");
        return 1;
    }
    XDO* GetMainFrame() override { return mainFrame; }
    std::wstring GetSaveScreenName(int index) override {
        return L"layout" + std::to_wstring(index);
    }

    std::vector<std::wstring> adjusted;
    std::vector<XDO*> opened;
    std::vector<std::wstring> texts;
    int openAnswer = 1;
    int paintTime = 0;
    XDO* mainFrame = nullptr;
};

class ShellHooksTest : public ::testing::Test {
protected:
    void SetUp() override {
        registry = orvo::RegistrySnapshot::Take();
        orvo::RegisterFactory<FrameStandIn>();
        orvo::RegisterFactory<PanelStandIn>();
    }
    void TearDown() override {
        XScrMan::Instance().InstallShell(nullptr);
        registry.Restore();
    }

    static XDO* Open(const char* markup) {
        XElement* root = nullptr;
        XMLParser parser;
        if (!parser.ParseMemory(markup, &root))
            return nullptr;
        return XScrMan::Instance().OpenPageMem(root, nullptr, nullptr);
    }

    orvo::RegistrySnapshot registry;
};

TEST_F(ShellHooksTest, WithoutAShellEveryRequestIsNotAvailableAndFramesCountAsOpen) {
    XScrMan& scrMan = XScrMan::Instance();
    EXPECT_EQ(scrMan.GetShell(), nullptr);
    EXPECT_EQ(scrMan.SetPaintTime(30), 0);
    EXPECT_EQ(scrMan.GetMainFrame(), nullptr);
    EXPECT_EQ(scrMan.GetExitProc(), L"");
    auto saveScreen = scrMan.GetFunction<int(const wchar_t*)>(L"SaveScreen");
    ASSERT_TRUE(saveScreen) << "published under its name with its signature";
    EXPECT_EQ(saveScreen(L"morning"), 0);
    orvo::XDOPtr page(Open("<Panel Name='page'><Frame Name='frame'/></Panel>"));
    EXPECT_TRUE(page) << "a page with a frame opens when no shell is there to show it";
}

TEST_F(ShellHooksTest, TheInstalledShellAnswersTheScrManMethods) {
    RecordingShell shell;
    XScrMan& scrMan = XScrMan::Instance();
    scrMan.InstallShell(&shell);
    orvo::XDOPtr frame(new FrameStandIn());
    shell.mainFrame = frame.get();

    EXPECT_EQ(scrMan.GetFunction<int(int)>(L"SetPaintTime")(25), 1);
    EXPECT_EQ(shell.paintTime, 25);
    EXPECT_EQ(scrMan.GetFunction<XDO*()>(L"MainFrame")(), frame.get())
        << "MainFrame is GetMainFrame";
    EXPECT_EQ(scrMan.GetFunction<XDO*()>(L"GetMainFrame")(), frame.get());
    EXPECT_EQ(scrMan.GetFunction<int(XDO*, const wchar_t*)>(L"SetFrameText")(frame.get(), L"주문"),
              1);
    EXPECT_EQ(shell.texts, std::vector<std::wstring>{L"주문"});
    EXPECT_EQ(scrMan.GetFunction<std::wstring(int)>(L"GetSaveScreenName")(2), L"layout2");
    EXPECT_EQ(scrMan.GetFunction<int()>(L"CloseAllWindow")(), 0) << "what the shell leaves alone";

    // Scripts reach the same methods with variants.
    orvo::DispVariant result;
    std::vector<orvo::DispVariant> args{orvo::DispVariant(3)};
    ASSERT_EQ(scrMan.Invoke(L"getsavescreenname", orvo::InvokeMethod, args, result),
              orvo::DispStatus::Ok);
    std::wstring text;
    ASSERT_TRUE(result.ToText(text));
    EXPECT_EQ(text, L"layout3");
}

TEST_F(ShellHooksTest, APageWhoseFrameDoesNotOpenIsDestroyed) {
    RecordingShell shell;
    XScrMan::Instance().InstallShell(&shell);
    orvo::XDOPtr page(Open("<Panel Name='page'><Panel><Frame Name='frame'/></Panel></Panel>"));
    ASSERT_TRUE(page);
    EXPECT_EQ(shell.adjusted, std::vector<std::wstring>{L"Panel"})
        << "the element tree before building";
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0]->GetName(), L"frame");

    shell.openAnswer = 0;
    XDO* refused = Open("<Panel Name='second'><Frame Name='frame2'/></Panel>");
    EXPECT_EQ(refused, nullptr);
    ASSERT_EQ(shell.opened.size(), 2u);
    EXPECT_EQ(orvo::PendingDeletes(), 0u);
    for (XDO* opened : XScrMan::Instance().OpenedPages())
        EXPECT_NE(opened->GetName(), L"second") << "a destroyed page is not listed";

    shell.opened.clear();
    orvo::XDOPtr plain(Open("<Panel Name='plain'/>"));
    EXPECT_TRUE(plain);
    EXPECT_TRUE(shell.opened.empty()) << "a page without a frame opens no window";
}

} // namespace
