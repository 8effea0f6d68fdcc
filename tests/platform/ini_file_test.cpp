#include "platform/base/codepage.h"
#include "platform/base/ini_file.h"
#include "platform/base/path.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

using namespace plat;

class IniFileTest : public ::testing::Test {
protected:
    std::wstring Write(const std::string& bytes, const std::wstring& name = L"app.ini") {
        const std::wstring file = m_dir.Wide() + L"/" + name;
        EXPECT_TRUE(WriteFileBytes(file, bytes));
        return file;
    }
    std::string Read(const std::wstring& file) {
        std::string bytes;
        EXPECT_TRUE(ReadFileBytes(file, bytes));
        return bytes;
    }
    TempDir m_dir;
};

TEST_F(IniFileTest, ReadsWithPrivateProfileRules) {
    const std::wstring file = Write("orphan=before any section\n"
                                    "[Init]\n"
                                    "  ProjectConfig =  \"Project.xaml\"  \n"
                                    "; Comment=not a key\n"
                                    "NoEquals\n"
                                    "Quoted='single'\n"
                                    "Half=\"open\n"
                                    "Inner=a \"b\" c\n"
                                    "Empty=\n"
                                    "Dup=first\n"
                                    "dup=second\n"
                                    "[init]\n"
                                    "Later=hidden by the first section\n"
                                    "[ Other ] trailing\n"
                                    "Key\t=\tvalue\t\n");
    EXPECT_EQ(IniGet(file, L"INIT", L"projectconfig", L"dflt"), L"Project.xaml");
    EXPECT_EQ(IniGet(file, L"Init", L"Quoted", L""), L"single");
    EXPECT_EQ(IniGet(file, L"Init", L"Half", L""), L"\"open");
    EXPECT_EQ(IniGet(file, L"Init", L"Inner", L""), L"a \"b\" c");
    EXPECT_EQ(IniGet(file, L"Init", L"Empty", L"dflt"), L"");
    EXPECT_EQ(IniGet(file, L"Init", L"DUP", L""), L"first");
    EXPECT_EQ(IniGet(file, L"Init", L"; Comment", L"dflt"), L"dflt");
    EXPECT_EQ(IniGet(file, L"Init", L"NoEquals", L"dflt"), L"dflt");
    EXPECT_EQ(IniGet(file, L"Init", L"Later", L"dflt"), L"dflt");
    EXPECT_EQ(IniGet(file, L"", L"orphan", L"dflt"), L"dflt");
    EXPECT_EQ(IniGet(file, L"other", L"KEY", L""), L"value");
    EXPECT_EQ(IniGet(file, L"Missing", L"Key", L"dflt"), L"dflt");
    EXPECT_EQ(IniGet(m_dir.Wide() + L"/none.ini", L"Init", L"Key", L"dflt"), L"dflt");
    EXPECT_EQ(IniGet(m_dir.Wide(), L"Init", L"Key", L"dflt"), L"dflt");

    EXPECT_EQ(IniSections(file), (std::vector<std::wstring>{L"Init", L"Other"}));
    EXPECT_EQ(IniKeys(file, L"init"),
              (std::vector<std::wstring>{
                  L"ProjectConfig", L"Quoted", L"Half", L"Inner", L"Empty", L"Dup"}));
}

TEST_F(IniFileTest, WritingOneKeyKeepsEveryOtherLine) {
    const std::string original = "; settings\r\n"
                                 "[Init]\r\n"
                                 "  Cfg = old ; not a comment\r\n"
                                 "Other=1\r\n"
                                 "\r\n"
                                 "; about [User]\r\n"
                                 "[User]\r\n"
                                 "Name=kim";
    const std::wstring file = Write(original);
    ASSERT_TRUE(IniSet(file, L"init", L"CFG", L"new"));
    ASSERT_TRUE(IniSet(file, L"INIT", L"Added", L"2"));
    ASSERT_TRUE(IniSet(file, L"user", L"Theme", L"dark"));
    ASSERT_TRUE(IniSet(file, L"Window", L"Left", L"10"));
    EXPECT_EQ(Read(file),
              "; settings\r\n"
              "[Init]\r\n"
              "  Cfg =new\r\n"
              "Other=1\r\n"
              "Added=2\r\n"
              "\r\n"
              "; about [User]\r\n"
              "[User]\r\n"
              "Name=kim\r\n"
              "Theme=dark\r\n"
              "[Window]\r\n"
              "Left=10\r\n");
    EXPECT_EQ(IniGet(file, L"Init", L"cfg", L""), L"new");

    ASSERT_TRUE(IniSet(file, L"Init", L"Other", std::nullopt));
    ASSERT_TRUE(IniSet(file, L"Init", L"NotThere", std::nullopt));
    ASSERT_TRUE(IniRemoveSection(file, L"USER"));
    EXPECT_EQ(Read(file),
              "; settings\r\n"
              "[Init]\r\n"
              "  Cfg =new\r\n"
              "Added=2\r\n"
              "\r\n"
              "; about [User]\r\n"
              "[Window]\r\n"
              "Left=10\r\n");
    EXPECT_EQ(IniGet(file, L"User", L"Name", L"gone"), L"gone");
}

TEST_F(IniFileTest, RefusesTextThatWouldReadBackDifferently) {
    const std::wstring file = Write("[A]\nk=v\n");
    EXPECT_FALSE(IniSet(file, L"A", L"k", L"two\nlines"));
    EXPECT_FALSE(IniSet(file, L"A", L"a=b", L"v"));
    EXPECT_FALSE(IniSet(file, L"A", L" ", L"v"));
    EXPECT_FALSE(IniSet(file, L"A]", L"k", L"v"));
    EXPECT_FALSE(IniSet(m_dir.Wide() + L"/nofolder/x.ini", L"A", L"k", L"v"));
    EXPECT_EQ(Read(file), "[A]\nk=v\n");
}

TEST_F(IniFileTest, NewFilesAreUtf8WithLineFeeds) {
    const std::wstring file = m_dir.Wide() + L"/New.ini";
    ASSERT_TRUE(IniSet(file, L"화면", L"제목", L"주문"));
    EXPECT_EQ(Read(file), "[화면]\n제목=주문\n");
    EXPECT_EQ(IniGet(m_dir.Wide() + L"/NEW.INI", L"화면", L"제목", L""), L"주문");
}

TEST_F(IniFileTest, KeepsTheFileEncoding) {
    const std::string saved = ProcessCodePage();
    ASSERT_TRUE(SetProcessCodePage("CP949"));
    // "[사용자]" / "이름=홍길동" in CP949: not valid UTF-8, so read in the code page.
    const std::string legacy =
        "[\xBB\xE7\xBF\xEB\xC0\xDA]\n\xC0\xCC\xB8\xA7=\xC8\xAB\xB1\xE6\xB5\xBF\n";
    const std::wstring cp949File = Write(legacy, L"legacy.ini");
    EXPECT_EQ(IniGet(cp949File, L"사용자", L"이름", L""), L"홍길동");
    ASSERT_TRUE(IniSet(cp949File, L"사용자", L"이름", L"김"));
    EXPECT_EQ(Read(cp949File), "[\xBB\xE7\xBF\xEB\xC0\xDA]\n\xC0\xCC\xB8\xA7=\xB1\xE8\n");

    const std::wstring bomFile = Write("\xEF\xBB\xBF[A]\nk=\xED\x95\x9C\n", L"bom.ini");
    EXPECT_EQ(IniGet(bomFile, L"a", L"K", L""), L"한");
    ASSERT_TRUE(IniSet(bomFile, L"A", L"k", L"글"));
    EXPECT_EQ(Read(bomFile), "\xEF\xBB\xBF[A]\nk=\xEA\xB8\x80\n");
    SetProcessCodePage(saved);
}

TEST_F(IniFileTest, SeesChangesMadeBehindItsBack) {
    const std::wstring file = Write("[A]\nk=1\n");
    EXPECT_EQ(IniGet(file, L"A", L"k", L""), L"1");
    Write("[A]\nk=22\n");
    EXPECT_EQ(IniGet(file, L"A", L"k", L""), L"22");
    std::filesystem::remove(m_dir.Path() / "app.ini");
    EXPECT_EQ(IniGet(file, L"A", L"k", L"gone"), L"gone");
}

} // namespace
