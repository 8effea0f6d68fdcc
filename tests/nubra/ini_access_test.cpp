#include "nubra/ini_access.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/base/path.h"

namespace {

namespace fs = std::filesystem;

class IniAccessTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("nubra_ini_access_test_" + std::to_string(getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_file = plat::FromFsPath(m_dir / "User.ini");
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path m_dir;
    std::wstring m_file;
};

TEST_F(IniAccessTest, WrittenValueReadsBackWithoutCaseAndTheDefaultStandsIn) {
    EXPECT_EQ(GetINIStr(L"Init", L"Lang", L"ko.xml", m_file), L"ko.xml") << "no file yet";
    ASSERT_TRUE(SetINIStr(L"Init", L"Theme", L"Dark.xml", m_file));
    ASSERT_TRUE(SetINIStr(L"Init", L"Lang", L"en.xml", m_file));
    EXPECT_EQ(GetINIStr(L"INIT", L"theme", L"", m_file), L"Dark.xml");
    EXPECT_EQ(GetINIStr(L"Init", L"Lang", L"", m_file), L"en.xml");
    EXPECT_EQ(GetINIStr(L"Other", L"Lang", L"none", m_file), L"none");
}

} // namespace
