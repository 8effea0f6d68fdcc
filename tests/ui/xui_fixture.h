#pragma once
// Screens of visual objects for tests: a window host that records what it is asked to
// repaint, cells painted by a small theme, a script that records the functions events run,
// and a shell that records hot keys.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/notice_man.h"
#include "core/scr_man.h"
#include "core/shell_hooks.h"
#include "nubra/registry_snapshot.h"
#include "platform/base/text.h"
#include "support/recording_presenter.h"
#include "theme_markup.h"
#include "ui/contracts.h"
#include "ui/paint_host.h"
#include "ui/res_image.h"
#include "ui/xtheme_man.h"
#include "ui/xui.h"

namespace orvo::test {

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

class HostWindow : public LayoutWindow {
public:
    bool IsWindow() const override { return true; }
    CRect GetClientRect() const override { return CRect(0, 0, 200, 100); }
    CPoint ClientOrigin() const override { return CPoint(); }
    CRect GetWindowRect() const override { return GetClientRect(); }
    void SetWindowPos(const CRect&, unsigned) override {}
};

// The window host of a test screen: the root, laid out in a 200x100 window.
class TestHost : public XUI, public PaintHost {
public:
    TestHost() { m_nStyle |= XDO_STYLE_WINDOWHOST; }
    ORVO_KEY(L"TestHost")
    int CreateInstance() override { return XUI::CreateInstance() && SetWindow(&window); }
    void RegPaint(XUI* object, const CRect& rect) override { requests.emplace_back(object, rect); }
    int NotifyEvent(int event, XUI* from) override {
        notified.emplace_back(event, from);
        return 1;
    }

    HostWindow window;
    std::vector<std::pair<XUI*, CRect>> requests;
    std::vector<std::pair<int, XUI*>> notified;
};

// A painted cell: its style is "cell" unless "Style" names another.
class Cell : public XUI {
public:
    ORVO_KEY(L"Cell")
    void OnPaintAfterNext(CDC*) override { afterNext.push_back(GetName()); }
    static inline std::vector<std::wstring> afterNext;
};

// An object with a window of its own, which paints itself and is shown and hidden through it.
class WindowCell : public XUI {
public:
    WindowCell() { m_nStyle |= XDO_STYLE_WINDOWHOST | XDO_STYLE_NATIVEWND; }
    ORVO_KEY(L"WindowCell")
    LayoutWindow* GetOwnWindow() override { return &window; }

    struct Window : HostWindow {
        // Only the calls that show or hide the window.
        void SetWindowPos(const CRect&, unsigned flags) override {
            if (flags & 0xC0)
                moves.push_back(flags);
        }
        std::vector<unsigned> moves;
    } window;
};

// "Script." actions land here: each run is logged as "function:object"; "Kill" destroys the
// object.
class RecordingScript : public XDO {
    ORVO_DISPATCH_MAP()

public:
    RecordingScript() { m_nStyle |= XDO_STYLE_SCRIPT; }
    ORVO_KEY(L"Script")
    int HaveFunction(const wchar_t*) { return 1; }
    int RunFunction(const wchar_t* name, IXO* caller) {
        auto* object = dynamic_cast<XDO*>(caller);
        runs.push_back(std::wstring(name) + L":" + (object ? object->GetName() : L"?"));
        if (std::wstring_view(name) == L"Kill")
            DestroyObject(object);
        return 1;
    }
    int RegObject(const wchar_t*, IXO*) { return 1; }
    int UnregObject(const wchar_t*) { return 1; }

    static inline std::vector<std::wstring> runs;
};

ORVO_DISPATCH_INLINE(RecordingScript,
                     XDO,
                     ORVO_METHOD(HaveFunction),
                     ORVO_METHOD(RunFunction),
                     ORVO_METHOD(RegObject),
                     ORVO_METHOD(UnregObject))

// Stands in for the selector of the flow layer: members join and leave, one is current.
// An image that fills what it is drawn into with one colour.
class SolidImage : public CResImg {
public:
    explicit SolidImage(COLORREF fill) : CResImg(KIND_BITMAP), colour(fill) {}
    int Load(const XElement*) override { return 1; }
    void Draw(CDC* dc, const CRect& rect) override { dc->FillSolidRect(rect, colour); }
    COLORREF colour;
};

// Stands in for "ResMan": the images "red" and "green".
class SolidImages : public IXO {
    ORVO_DISPATCH_MAP()

public:
    CResImg* GetImageObject(const wchar_t* name) {
        const std::wstring_view wanted(name);
        return wanted == L"red" ? &red : wanted == L"green" ? &green : nullptr;
    }
    SolidImage red{kRed};
    SolidImage green{kGreen};
};

ORVO_DISPATCH_INLINE(SolidImages, IXO, ORVO_PROVIDE(contract::ResManGetImageObject, GetImageObject))

class RecordingShell : public ShellHooks {
public:
    int AddHotKey(const wchar_t* key, XDO*) override {
        added.emplace_back(key);
        return 7;
    }
    int DelHotKey(const wchar_t* key) override {
        removed.emplace_back(key);
        return 1;
    }
    std::vector<std::wstring> added, removed;
};

// "cell" is blue, red when selected, green in user state 1; "red" and "green" are plain;
// "pic" draws the object's second image.
inline const char* const kTheme = R"(<Theme>
  <UIStyle Control="cell">
    <DrawEvent><Fill BackColor="0,0,255"/></DrawEvent>
    <DrawEvent State="Object.Select"><Fill BackColor="255,0,0"/></DrawEvent>
    <DrawEvent State="User.1"><Fill BackColor="0,255,0"/></DrawEvent>
  </UIStyle>
  <UIStyle Control="red"><DrawEvent><Fill BackColor="255,0,0"/></DrawEvent></UIStyle>
  <UIStyle Control="green"><DrawEvent><Fill BackColor="0,255,0"/></DrawEvent></UIStyle>
  <UIStyle Control="pic"><DrawEvent Image="a,b"><Image ImageIndex="1"/></DrawEvent></UIStyle>
</Theme>)";

class XUITest : public ::testing::Test {
protected:
    void SetUp() override {
        registry = RegistrySnapshot::Take();
        RegisterFactory<TestHost>();
        RegisterFactory<Cell>();
        RegisterFactory<WindowCell>();
        RegisterFactory<RecordingScript>();
        previousPresenter = XNoticeMan::Instance().Presenter();
        XNoticeMan::Instance().SetPresenter(&notices);
        previousShell = XScrMan::Instance().GetShell();
        XScrMan::Instance().InstallShell(&shell);
        RecordingScript::runs.clear();
        Cell::afterNext.clear();
        themeRoot = ParseMarkup(kTheme);
        ASSERT_TRUE(themeRoot && XThemeMan::Instance().LoadTheme(themeRoot.get()));
    }
    void TearDown() override {
        page.reset();
        XThemeMan::Instance().Reset();
        XScrMan::Instance().InstallShell(previousShell);
        XNoticeMan::Instance().SetPresenter(previousPresenter);
        registry.Restore();
    }

    // A page: a TestHost named "host" over `body`.
    void Open(const std::string& body) {
        auto root = ParseMarkup("<TestHost Name=\"host\">" + body + "</TestHost>");
        ASSERT_TRUE(root);
        page.reset(XScrMan::Instance().OpenPageMem(root.release(), nullptr, nullptr));
        ASSERT_TRUE(page);
        Host()->requests.clear();
    }
    TestHost* Host() { return dynamic_cast<TestHost*>(page.get()); }
    XUI* UI(const wchar_t* name) {
        auto* ui = dynamic_cast<XUI*>(page->GetObjByNameDown(name));
        EXPECT_TRUE(ui) << "no visual object named " << plat::ToUtf8(name);
        return ui;
    }
    Canvas Painted() {
        Canvas canvas(200, 100);
        Host()->OnPaint(canvas.dc.get());
        return canvas;
    }
    std::vector<std::wstring> Confirms() const {
        std::vector<std::wstring> texts;
        for (const auto& c : notices.confirms)
            texts.push_back(c.text);
        return texts;
    }

    RegistrySnapshot registry;
    std::unique_ptr<XElement> themeRoot;
    XDOPtr page;
    RecordingPresenter notices;
    NoticePresenter* previousPresenter = nullptr;
    RecordingShell shell;
    ShellHooks* previousShell = nullptr;
};

} // namespace orvo::test
