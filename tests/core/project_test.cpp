#include "core/project.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/element.h"
#include "core/notice_man.h"
#include "core/xdo.h"
#include "core/xml_parser.h"
#include "nubra/paths.h"
#include "platform/base/ini_file.h"
#include "platform/base/path.h"
#include "support/fixture_project.h"
#include "support/host_stand_ins.h"
#include "support/recording_presenter.h"
#include "support/scoped_registration.h"

namespace {

namespace fs = std::filesystem;

// Loads pages with the real parser and remembers every tree it handed out and every page
// it was asked to open.
class ScrManStandIn : public IXO {
    ORVO_DISPATCH_MAP()

public:
    struct Opened {
        std::wstring path;
        XDO* parent;
        XElement* parameters;
    };

    XElement* LoadPage(const wchar_t* path) {
        XElement* root = nullptr;
        parser.DoParse(path, &root);
        if (root)
            loaded.push_back(root->WeakRef());
        return root;
    }
    XDO* OpenPage(const wchar_t* path, XDO* parent, XElement* parameters) {
        opened.push_back({path, parent, parameters});
        return nullptr;
    }
    bool AllLoadedTreesDeleted() const {
        return std::none_of(loaded.begin(), loaded.end(), [](auto& t) { return t.Alive(); });
    }

    XMLParser parser;
    std::vector<orvo::IXORef> loaded;
    std::vector<Opened> opened;
};

ORVO_DISPATCH(ScrManStandIn, IXO, ORVO_METHOD(LoadPage), ORVO_METHOD(OpenPage))

using Owned = std::unique_ptr<XElement>;

class ProjectTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_previousPresenter = XNoticeMan::Instance().Presenter();
        XNoticeMan::Instance().SetPresenter(&presenter);
    }
    void TearDown() override {
        project.Reset();
        SetWorkPath(L"");
        XNoticeMan::Instance().SetPresenter(m_previousPresenter);
    }

    // Starts the service on a copy of fixture project `name`, working in its folder `sub`.
    bool Open(const std::string& name, const std::string& sub = "") {
        if (!CopyFixtureProject(name, dir))
            return false;
        SetWorkPath(plat::FromFsPath(dir.Path() / sub));
        return project.InitializeIXO() == 1;
    }
    // Starts the service on one configuration file, without an application INI file.
    bool OpenConfiguration(std::string_view xaml) {
        app.cfg.clear();
        dir.Write("Project.xaml", xaml);
        SetWorkPath(dir.Wide());
        return project.InitializeIXO() == 1;
    }
    std::wstring Base() const { return dir.Wide() + L"/"; }
    std::wstring PathOf(const wchar_t* alias) {
        std::wstring out = L"(none)";
        project.GetPath(alias, &out);
        return out;
    }
    std::wstring FileOf(const wchar_t* kind) {
        std::wstring out = L"(none)";
        project.GetFile(kind, out);
        return out;
    }
    std::wstring UserPathOf(const wchar_t* alias) {
        std::wstring out = L"(none)";
        EXPECT_EQ(project.GetUserPath(alias, out), 1);
        return out;
    }
    XProject& project = XProject::Instance();
    TempDir dir;
    RecordingPresenter presenter;
    ApplicationStandIn app;
    ScrManStandIn scrMan;
    ScopedRegistration appRegistration{L"Application", &app};
    ScopedRegistration systemDbRegistration{L"systemdb", nullptr};
    ScopedRegistration scrManRegistration{L"ScrMan", &scrMan};

private:
    orvo::NoticePresenter* m_previousPresenter = nullptr;
};

TEST_F(ProjectTest, ResolvesAliasesAndFilesWrittenTheWindowsWay) {
    ASSERT_TRUE(Open("trading"));
    EXPECT_EQ(project.GetBasePath(), Base());
    EXPECT_EQ(PathOf(nullptr), Base());
    EXPECT_EQ(project.GetPathVB(L"Screen"), Base());
    EXPECT_EQ(project.GetINIFile(), Base() + L"Kestrel.ini");
    EXPECT_EQ(project.GetStartPage(), L"Screen\\Main.xml");

    // Aliases and folders in any case; a folder written with its trailing '\' gets one '/'.
    EXPECT_EQ(PathOf(L"SCREEN"), Base() + L"Screen/");
    EXPECT_EQ(PathOf(L"meta"), Base() + L"Meta/");
    EXPECT_EQ(PathOf(L"Lang"), Base() + L"Lang/");
    EXPECT_EQ(project.GetPath(L"Screen", nullptr), 1);
    EXPECT_EQ(PathOf(L"Charts"), L"(none)") << "a per-user alias is no path alias";
    EXPECT_EQ(project.GetPath(L"Nowhere", nullptr), 0);

    // Files registered anywhere in the tree, including nested elements and any tag case.
    EXPECT_EQ(FileOf(L"metaset"), Base() + L"Meta/MetaSet.xml");
    EXPECT_EQ(FileOf(L"LAYOUT"), Base() + L"Screen/Layout.xml");
    EXPECT_EQ(FileOf(L"ProjectCfg"), Base() + L"Kestrel.ini");
    EXPECT_EQ(FileOf(L"Unknown"), L"(none)");
    EXPECT_EQ(FileOf(nullptr), L"(none)");

    EXPECT_TRUE(fs::is_directory(dir.Path("User"))) << "start-up creates the users' root";

    // Starting again reads the same entries without calling them duplicates.
    EXPECT_EQ(project.InitializeIXO(), 1);
    EXPECT_EQ(PathOf(L"Screen"), Base() + L"Screen/");
    EXPECT_TRUE(presenter.confirms.empty());
}

TEST_F(ProjectTest, ReadsINISettingsByKindWithTheUserFirst) {
    ASSERT_TRUE(Open("trading"));
    std::wstring out = L"(none)";
    EXPECT_EQ(project.GetINIStr(L"projectcfg", L"INIT", L"theme", out), 1);
    EXPECT_EQ(out, L"Navy");
    out = L"(none)";
    EXPECT_EQ(project.GetINIStr(L"ProjectCfg", L"Init", L"Empty", out), 0);
    EXPECT_EQ(project.GetINIStr(L"ProjectCfg", L"Init", L"Missing", out), 0);
    EXPECT_EQ(project.GetINIStr(L"Unknown", L"Init", L"Theme", out), 0);
    EXPECT_EQ(out, L"(none)");

    // The user's INI file does not exist yet: the project's value answers.
    EXPECT_EQ(project.GetINIStrEx(L"UserINI", L"Init", L"ProjectCfg", L"Init", L"Lang", out), 1);
    EXPECT_EQ(out, L"Lang\\English.xml");
    fs::create_directory(dir.Path("UserCfg"));
    ASSERT_TRUE(plat::IniSet(dir.Wide() + L"/UserCfg/User.ini", L"Init", L"Lang", L"Korean.xml"));
    EXPECT_EQ(project.GetINIStrEx(L"UserINI", L"Init", L"ProjectCfg", L"Init", L"Lang", out), 1);
    EXPECT_EQ(out, L"Korean.xml");
    EXPECT_EQ(project.GetINIStrEx(L"UserINI", L"Init", L"ProjectCfg", L"Init", L"None", out), 0);
}

TEST_F(ProjectTest, WithoutCfgTheINIFileIsEmptyAndProjectXamlIsRead) {
    ScopedRegistration noApplication(L"Application", nullptr);
    ASSERT_TRUE(
        OpenConfiguration(R"(<Project><Path.Add key="Screen" folder="Screen"/></Project>)"));
    EXPECT_EQ(PathOf(L"Screen"), Base() + L"Screen/");
    EXPECT_EQ(FileOf(L"ProjectCfg"), L"") << "the kind exists, naming no file";
    std::wstring out;
    EXPECT_EQ(project.GetINIStr(L"ProjectCfg", L"Init", L"ProjectConfig", out), 0);
}

TEST_F(ProjectTest, BuildsPerUserFoldersLevelByLevel) {
    ASSERT_TRUE(Open("trading"));
    EXPECT_EQ(UserPathOf(nullptr), Base());
    std::wstring out = L"(none)";
    EXPECT_EQ(project.GetUserPath(L"Screen", out), 0) << "a path alias is no per-user alias";
    EXPECT_EQ(project.GetUserPath(L"Unknown", out), 0);
    EXPECT_EQ(out, L"(none)");

    // Nobody logged in: "Guest", every level created.
    EXPECT_EQ(UserPathOf(L"charts"), Base() + L"User/Guest/Charts/Daily/");
    EXPECT_TRUE(fs::is_directory(dir.Path("User/Guest/Charts/Daily")));
    {
        SystemDbStandIn noName(L"");
        ScopedRegistration db(L"systemdb", &noName);
        EXPECT_EQ(UserPathOf(L"Settings"), Base() + L"User/Guest/Settings/");
    }
    // An existing folder in another case is the user's folder; no second one appears.
    SystemDbStandIn kim(L"KIM");
    ScopedRegistration db(L"systemdb", &kim);
    EXPECT_EQ(UserPathOf(L"SETTINGS"), Base() + L"User/Kim/Settings/");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path("User")), fs::directory_iterator()), 2);
}

TEST_F(ProjectTest, PerUserAliasWithoutAUsersRootIsKnownButGivesNoFolder) {
    ASSERT_TRUE(OpenConfiguration(
        R"(<Project><Path.Add key="Settings" folder="S" UserID="True"/></Project>)"));
    std::wstring out = L"(none)";
    EXPECT_EQ(project.GetUserPath(L"Settings", out), 1);
    EXPECT_EQ(out, L"(none)");
}

TEST_F(ProjectTest, PathElementMovesTheBaseForWhatFollows) {
    const std::wstring workingFolder = plat::CurrentDirectory();
    ASSERT_TRUE(Open("relocated", "app"));
    EXPECT_EQ(plat::CurrentDirectory(), workingFolder);
    const std::wstring shared = plat::FromFsPath(fs::canonical(dir.Path("shared"))) + L"/";
    EXPECT_EQ(project.GetBasePath(), shared) << "a missing BasePath folder leaves the base alone";
    EXPECT_EQ(PathOf(L"Screen"), shared + L"Screen/");
    EXPECT_EQ(FileOf(L"ProjectCfg"), Base() + L"app/Kestrel.ini");

    ASSERT_EQ(project.Start(), 1);
    ASSERT_EQ(scrMan.opened.size(), 1u);
    EXPECT_EQ(scrMan.opened[0].path, shared + L"Screen/Main.xml");
    EXPECT_EQ(scrMan.opened[0].parent, nullptr);
    EXPECT_EQ(scrMan.opened[0].parameters, nullptr);
}

TEST_F(ProjectTest, StartWithoutStartPageOrScrManOpensNothing) {
    ASSERT_TRUE(OpenConfiguration("<Project/>"));
    EXPECT_EQ(project.Start(), 1);
    EXPECT_TRUE(scrMan.opened.empty());
    ASSERT_TRUE(OpenConfiguration(R"(<Project StartPage="Main.xml"/>)"));
    ScopedRegistration noScrMan(L"ScrMan", nullptr);
    EXPECT_EQ(project.Start(), 1);
    EXPECT_TRUE(scrMan.opened.empty());
}

struct FaultyConfiguration {
    const char* xaml;
    const wchar_t* message;
    const wchar_t* keptAlias;    // read before the fault
    const wchar_t* droppedAlias; // after it: never read
};

TEST_F(ProjectTest, FaultyEntriesAreReportedAndStopTheWalk) {
    const FaultyConfiguration cases[] = {
        {R"(<Project><Path.Add key="Chart" folder="A"/><Path.Add key="chart" folder="B"/>
            <Path.Add key="After" folder="C"/></Project>)",
         L"Path.Add : already registered chart",
         L"Chart",
         L"After"},
        {R"(<Project><Path.Add key="Screen" folder="A"/>
            <Path.Add key="screen" folder="B" UserID="True"/><Path.Add key="After"/></Project>)",
         L"Path.Add : already registered screen",
         L"Screen",
         L"After"},
        {R"(<Project><Path.Add key="Meta" folder="M"/><File.Add Key="MetaSet" Path="Meta" File="a.xml"/>
            <Group><file.add Key="metaset" Path="Meta" File="b.xml"/></Group>
            <Path.Add key="After"/></Project>)",
         L"file.add : already registered metaset",
         L"Meta",
         L"After"},
        // Entries count in document order: an alias declared later does not exist yet.
        {R"(<Project><Path.Add key="Meta" folder="M"/><File.Add Key="MetaSet" Path="Later" File="a.xml"/>
            <Path.Add key="Later" folder="L"/></Project>)",
         L"Later로 지정된 경로가 없습니다",
         L"Meta",
         L"Later"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.xaml);
        presenter.confirms.clear();
        ASSERT_TRUE(OpenConfiguration(c.xaml));
        ASSERT_EQ(presenter.confirms.size(), 1u);
        EXPECT_EQ(presenter.confirms[0].text, c.message);
        EXPECT_EQ(project.GetPath(c.keptAlias, nullptr), 1);
        EXPECT_EQ(project.GetPath(c.droppedAlias, nullptr), 0);
        EXPECT_EQ(FileOf(L"ProjectCfg"), L"") << "registered after the walk, stopped or not";
    }
    EXPECT_EQ(FileOf(L"MetaSet"), L"(none)");
}

TEST_F(ProjectTest, UnreadableConfigurationLeavesOnlyTheINIFile) {
    ASSERT_TRUE(OpenConfiguration(R"(<Project><Path.Add key="Screen" folder="S"></Project>)"));
    EXPECT_EQ(project.GetPath(L"Screen", nullptr), 0);
    EXPECT_EQ(FileOf(L"projectcfg"), L"");
    EXPECT_TRUE(presenter.confirms.empty());
}

TEST_F(ProjectTest, ConfigurationTreesComeThroughScrManWithFallback) {
    ASSERT_TRUE(Open("trading"));
    Owned layout(project.GetConfig(L"Layout", nullptr));
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->GetFirstChild()->GetTagName(), L"Board");
    Owned fallback(project.GetConfig(L"NoFile", L"LayoutDefault"));
    ASSERT_TRUE(fallback);
    EXPECT_EQ(fallback->GetFirstChild()->GetTagName(), L"Ticket");
    EXPECT_FALSE(Owned(project.GetConfig(L"NoFile", nullptr)));
    EXPECT_FALSE(Owned(project.GetConfig(L"Unknown", L"NoFile")));

    ScopedRegistration noScrMan(L"ScrMan", nullptr);
    EXPECT_FALSE(Owned(project.GetConfig(L"Layout", nullptr)));
}

TEST_F(ProjectTest, ConfigNodeIsADetachedCopyWithItsLaterSiblingsAndNothingStaysLoaded) {
    ASSERT_TRUE(Open("trading"));
    Owned grid(project.GetConfigNode(L"Layout", nullptr, L"/Grid"));
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->GetTagName(), L"Grid");
    ASSERT_TRUE(grid->GetFirstChild());
    EXPECT_EQ(grid->GetFirstChild()->GetTagName(), L"Column");
    ASSERT_TRUE(grid->GetNextSibling())
        << "copied as the parser's Clone copies: later siblings too";
    EXPECT_EQ(grid->GetNextSibling()->GetTagName(), L"Chart");
    EXPECT_EQ(grid->GetNextSibling()->GetNextSibling(), nullptr);
    EXPECT_EQ(grid->GetParent(), nullptr);

    Owned column(project.GetConfigNode(L"Layout", nullptr, L"column"));
    ASSERT_TRUE(column);
    std::wstring name;
    column->GetValue(L"Name", name);
    EXPECT_EQ(name, L"Code") << "a name search finds the first in document order";
    ASSERT_TRUE(column->GetNextSibling());
    column->GetNextSibling()->GetValue(L"Name", name);
    EXPECT_EQ(name, L"Price");

    Owned ticket(project.GetConfigNode(L"Layout", L"LayoutDefault", L"Ticket"));
    ASSERT_TRUE(ticket);
    EXPECT_EQ(ticket->GetTagName(), L"Ticket");
    EXPECT_FALSE(Owned(project.GetConfigNode(L"Layout", L"LayoutDefault", L"Missing")));
    EXPECT_FALSE(Owned(project.GetConfigNode(L"Layout", nullptr, L"/Board/Grid")));
    EXPECT_EQ(scrMan.loaded.size(), 7u);
    EXPECT_TRUE(scrMan.AllLoadedTreesDeleted());

    EXPECT_FALSE(Owned(project.GetConfigNode(L"Layout", nullptr, L"")));
    EXPECT_FALSE(Owned(project.GetConfigNode(L"Layout", nullptr, nullptr)));
    EXPECT_EQ(scrMan.loaded.size(), 7u) << "an empty path loads nothing";
}

TEST_F(ProjectTest, BeforeStartUpOnlyVariablesAnswer) {
    std::wstring out = L"(none)";
    EXPECT_EQ(project.GetPath(nullptr, &out), 0);
    EXPECT_EQ(project.GetUserPath(nullptr, out), 0);
    EXPECT_EQ(project.GetFile(L"ProjectCfg", out), 0);
    EXPECT_EQ(out, L"(none)");

    EXPECT_EQ(project.SetVar(L"Account", L"1002-33"), 1);
    EXPECT_EQ(project.GetVar(L"ACCOUNT"), L"1002-33");
    EXPECT_EQ(project.SetVar(L"account", nullptr), 1);
    EXPECT_EQ(project.GetVar(L"Account"), L"");
    EXPECT_EQ(project.GetVar(L"Unset"), L"");
    EXPECT_EQ(project.SetVar(nullptr, L"x"), 0);
    EXPECT_EQ(project.GetVar(nullptr), L"");
}

TEST_F(ProjectTest, PublishesTheSignaturesOtherCodeCallsByName) {
    using W = const wchar_t*;
    IXO* service = IXO::FindInstance(L"project");
    ASSERT_EQ(service, &project);
    EXPECT_TRUE(service->GetFunction<int()>(L"InitializeIXO"));
    EXPECT_TRUE(service->GetFunction<int()>(L"Start"));
    EXPECT_TRUE(service->GetFunction<int(W, std::wstring*)>(L"GetPath"));
    EXPECT_TRUE(service->GetFunction<int(W, std::wstring&)>(L"GetFile"));
    EXPECT_TRUE(service->GetFunction<int(W, std::wstring&)>(L"GetUserPath"));
    EXPECT_TRUE(service->GetFunction<XElement*(W, W)>(L"GetConfig"));
    EXPECT_TRUE(service->GetFunction<XElement*(W, W, W)>(L"GetConfigNode"));
    EXPECT_TRUE(service->GetFunction<int(W, W)>(L"SetVar"));
    EXPECT_TRUE(service->GetFunction<std::wstring(W)>(L"GetVar"));
    EXPECT_TRUE(service->GetFunction<std::wstring(W)>(L"GetPathVB"));
    EXPECT_TRUE(service->GetFunction<int(W, W, W, std::wstring&)>(L"GetINIStr"));
    EXPECT_TRUE(service->GetFunction<int(W, W, W, W, W, std::wstring&)>(L"GetINIStrEx"));

    // Scripts read settings through the same entries, the answer coming back by reference.
    ASSERT_TRUE(Open("trading"));
    orvo::DispVariant value;
    std::vector<orvo::DispVariant> args{
        L"ProjectCfg", L"Init", L"Theme", orvo::DispVariant::ByRef(&value)};
    orvo::DispVariant result;
    ASSERT_EQ(service->Invoke(L"GetINIStr", orvo::InvokeMethod, args, result),
              orvo::DispStatus::Ok);
    EXPECT_EQ(result, orvo::DispVariant(1));
    EXPECT_EQ(value, orvo::DispVariant(L"Navy"));
}

} // namespace
