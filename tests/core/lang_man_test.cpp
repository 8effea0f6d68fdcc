#include "core/lang_man.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/project.h"
#include "core/xdo.h"
#include "nubra/paths.h"
#include "platform/base/ini_file.h"
#include "support/trading_project.h"

namespace {

// The real project service on a copy of the trading project; the language is chosen in its
// application INI file (or the user's).
class LangManTest : public TradingProjectTest {
protected:
    void TearDown() override {
        langMan.Reset();
        TradingProjectTest::TearDown();
    }

    void ChooseLanguage(const wchar_t* file) { ChooseSetting(L"Lang", file); }
    std::vector<std::wstring> Texts(int lastId) {
        std::vector<std::wstring> texts;
        for (int id = 1; id <= lastId; ++id)
            texts.push_back(langMan.GetTextID(id));
        return texts;
    }

    XLangMan& langMan = XLangMan::Instance();
};

TEST_F(LangManTest, NothingIsAnsweredBeforeALanguageIsLoaded) {
    std::wstring out = L"(none)";
    EXPECT_EQ(langMan.GetText(1, out), 0);
    EXPECT_EQ(out, L"(none)");
    EXPECT_EQ(langMan.GetTextID(1), L"");
    EXPECT_EQ(XDO::s_pLang, nullptr);
}

TEST_F(LangManTest, LoadsTheProjectLanguageAndAnswersTextsByNumber) {
    ASSERT_EQ(langMan.InitializeIXO(), 1);
    XLanguage* english = langMan.CurrentLanguage();
    ASSERT_NE(english, nullptr) << "a root written \"language\" is a language";
    EXPECT_EQ(XDO::s_pLang, english);
    // Nested texts count; of two texts with id 5 the later wins; a text without id is none.
    EXPECT_EQ(Texts(5), (std::vector<std::wstring>{L"Buy", L"Sell", L"Order", L"", L"Quantity"}));
    std::wstring out = L"(none)";
    EXPECT_EQ(langMan.GetText(4, out), 0);
    EXPECT_EQ(langMan.GetText(0, out), 0);
    EXPECT_EQ(out, L"(none)");
    const CMapStringToString& font = english->GetFontDescription();
    ASSERT_NE(font.Find(L"FaceName"), nullptr);
    EXPECT_EQ(*font.Find(L"FaceName"), L"Liberation Sans") << "the later Font replaces the earlier";
}

TEST_F(LangManTest, UserSettingWinsAndEucKrFilesReadLikeUtf8) {
    const std::vector<std::wstring> korean{L"매수", L"매도", L"주문", L"똠양꿍 주문"};
    std::filesystem::create_directory(dir.Path("UserCfg"));
    ASSERT_TRUE(
        plat::IniSet(dir.Wide() + L"/UserCfg/User.ini", L"Init", L"Lang", L"lang\\korean.xml"));
    ASSERT_EQ(langMan.LoadCurrentLanguage(), 1);
    EXPECT_EQ(Texts(4), korean);

    ASSERT_TRUE(plat::IniSet(
        dir.Wide() + L"/UserCfg/User.ini", L"Init", L"Lang", L"Lang/Korean-euckr.xml"));
    ASSERT_EQ(langMan.LoadCurrentLanguage(), 1);
    EXPECT_EQ(Texts(4), korean);
}

TEST_F(LangManTest, RootOtherThanLanguageLeavesNoLanguage) {
    ASSERT_EQ(langMan.LoadCurrentLanguage(), 1);
    ChooseLanguage(L"Lang\\Glossary.xml");
    EXPECT_EQ(langMan.LoadCurrentLanguage(), 1);
    EXPECT_EQ(langMan.CurrentLanguage(), nullptr);
    EXPECT_EQ(XDO::s_pLang, nullptr);
    EXPECT_EQ(langMan.GetTextID(1), L"");
}

TEST_F(LangManTest, FailedLoadKeepsTheCurrentLanguage) {
    ASSERT_EQ(langMan.LoadCurrentLanguage(), 1);
    XLanguage* english = langMan.CurrentLanguage();
    dir.Write("Lang/Broken.xml", "<Language><Text id=\"1\" Text=\"Half\"></Language>");

    for (const wchar_t* file : {L"Lang\\Missing.xml", L"Lang\\Broken.xml", L""}) {
        SCOPED_TRACE(file);
        ChooseLanguage(file);
        EXPECT_EQ(langMan.LoadCurrentLanguage(), 0);
    }
    {
        ScopedRegistration noProject(L"Project", nullptr);
        EXPECT_EQ(langMan.LoadCurrentLanguage(), 0);
    }
    XProject::Instance().Reset();
    EXPECT_EQ(langMan.LoadCurrentLanguage(), 0) << "no base path before the project starts";

    EXPECT_EQ(langMan.CurrentLanguage(), english);
    EXPECT_EQ(XDO::s_pLang, english);
    EXPECT_EQ(langMan.GetTextID(1), L"Buy");
}

TEST_F(LangManTest, ReplacedLanguagesStayAlive) {
    ASSERT_EQ(langMan.LoadCurrentLanguage(), 1);
    const orvo::IXORef english = langMan.CurrentLanguage()->WeakRef();
    ChooseLanguage(L"Lang\\Korean.xml");
    ASSERT_EQ(langMan.LoadCurrentLanguage(), 1);
    EXPECT_NE(langMan.CurrentLanguage(), english.Get());
    EXPECT_TRUE(english.Alive());
    const orvo::IXORef korean = langMan.CurrentLanguage()->WeakRef();
    langMan.Reset();
    EXPECT_TRUE(english.Alive());
    EXPECT_TRUE(korean.Alive());
}

TEST_F(LangManTest, CoreAndScriptsReachItByName) {
    ASSERT_EQ(langMan.LoadCurrentLanguage(), 1);
    EXPECT_EQ(GetLangText(2), L"Sell");
    EXPECT_EQ(GetSystemFont(L"Height=12"), nullptr) << "no fonts before themes";
    IXO* service = IXO::FindInstance(L"langman");
    ASSERT_EQ(service, &langMan);
    auto getFont = service->GetFunction<CFont*(const wchar_t*)>(L"GetFont");
    ASSERT_TRUE(getFont);
    EXPECT_EQ(getFont(L"FaceName=Liberation Sans"), nullptr);

    std::vector<orvo::DispVariant> args{orvo::DispVariant(3)};
    orvo::DispVariant result;
    ASSERT_EQ(service->Invoke(L"GetTextID", orvo::InvokeMethod, args, result),
              orvo::DispStatus::Ok);
    EXPECT_EQ(result, orvo::DispVariant(L"Order"));
    std::vector<orvo::DispVariant> description{orvo::DispVariant(L"Height=12")};
    EXPECT_EQ(service->Invoke(L"GetFont", orvo::InvokeMethod, description, result),
              orvo::DispStatus::NotScriptable);
}

} // namespace
