#include "nubra/paths.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/base/path.h"

namespace {

namespace fs = std::filesystem;

TEST(PathsTest, FoldersOfTheProcess) {
    EXPECT_EQ(GetCurDir(), plat::FromFsPath(fs::current_path()));
    EXPECT_EQ(GetExePath(), plat::FromFsPath(fs::read_symlink("/proc/self/exe").parent_path()));
    const std::wstring module = GetModulePath();
    ASSERT_FALSE(module.empty());
    EXPECT_NE(module.back(), L'/');
    EXPECT_TRUE(FileExists(module + L"/libnubra.so"));
}

TEST(PathsTest, WorkPathFollowsTheCurrentFolderUntilSet) {
    EXPECT_EQ(GetWorkPath(), GetCurDir());
    SetWorkPath(L"/opt/project/");
    EXPECT_EQ(GetWorkPath(), L"/opt/project");
    SetWorkPath(L"\\opt\\other\\");
    EXPECT_EQ(GetWorkPath(), L"/opt/other");
    SetWorkPath(L"");
    EXPECT_EQ(GetWorkPath(), GetCurDir());
}

TEST(PathsTest, FileExistsAcceptsWindowsSpelling) {
    const fs::path dir =
        fs::temp_directory_path() / ("nubra_paths_test_" + std::to_string(getpid()));
    fs::create_directories(dir / "Screens");
    std::ofstream(dir / "Screens" / "Main.xml") << "<Screen/>";
    const std::wstring base = plat::FromFsPath(dir);

    EXPECT_TRUE(FileExists(base + L"/Screens/Main.xml"));
    EXPECT_TRUE(FileExists(base + L"\\screens\\MAIN.XML"));
    EXPECT_FALSE(FileExists(base + L"\\screens\\Other.xml"));
    EXPECT_FALSE(FileExists(L""));
    fs::remove_all(dir);
}

} // namespace
