#include "platform/base/path.h"

#include "support/temp_dir.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {

using namespace plat;

void Touch(const std::filesystem::path& p, const std::string& content = "x") {
    std::ofstream(p, std::ios::binary) << content;
}

TEST(PathTest, SeparatorsAndComponents) {
    EXPECT_EQ(NormalizeSeparators(L"a\\\\b//c\\"), L"a/b/c");
    EXPECT_EQ(NormalizeSeparators(L"\\\\root\\x"), L"/root/x");
    EXPECT_EQ(NormalizeSeparators(L"/"), L"/");
    EXPECT_EQ(JoinPath(L"dir\\sub", L"file.ini"), L"dir/sub/file.ini");
    EXPECT_EQ(JoinPath(L"dir", L"/abs/file"), L"/abs/file");
    EXPECT_EQ(JoinPath(L"", L"a\\b"), L"a/b");
    EXPECT_EQ(ParentPath(L"a\\b\\c.txt"), L"a/b");
    EXPECT_EQ(ParentPath(L"/top"), L"/");
    EXPECT_EQ(ParentPath(L"name"), L"");
    EXPECT_EQ(FileNameOf(L"a\\b\\Screen.XAML"), L"Screen.XAML");
    EXPECT_EQ(ExtensionOf(L"a.b\\Screen.XAML"), L".XAML");
    EXPECT_EQ(ExtensionOf(L"dir.d/.hidden"), L"");
    EXPECT_EQ(ExtensionOf(L"noext"), L"");
    EXPECT_TRUE(IsAbsolutePath(L"\\x"));
    EXPECT_FALSE(IsAbsolutePath(L"C:x"));
}

TEST(PathTest, ResolvesEachComponentWithoutCase) {
    TempDir tmp;
    std::filesystem::create_directories(tmp.Path() / "Data" / "Sub");
    Touch(tmp.Path() / "Data" / "Sub" / "File.TXT");
    const std::wstring base = tmp.Wide();

    EXPECT_EQ(ResolvePath(base + L"\\data\\SUB\\file.txt"), base + L"/Data/Sub/File.TXT");
    EXPECT_TRUE(PathExists(base + L"/DATA/sub/FILE.txt"));
    EXPECT_TRUE(IsRegularFile(base + L"/data/sub/file.txt"));
    EXPECT_TRUE(IsDirectory(base + L"/data/SUB"));
    EXPECT_FALSE(IsDirectory(base + L"/data/sub/file.txt"));
    // A missing tail keeps its spelling under the folders that were found.
    EXPECT_EQ(ResolvePath(base + L"/DATA/New/x.ini"), base + L"/Data/New/x.ini");
    EXPECT_FALSE(PathExists(base + L"/data/missing"));
    EXPECT_EQ(ResolvePath(base + L"/data/sub/../SUB/./file.txt"),
              base + L"/Data/Sub/../Sub/./File.TXT");
}

TEST(PathTest, ExactSpellingWinsOverOtherCases) {
    TempDir tmp;
    Touch(tmp.Path() / "b.ini", "lower");
    Touch(tmp.Path() / "B.ini", "upper");
    Touch(tmp.Path() / "C.ini");
    Touch(tmp.Path() / "c.INI");
    const std::wstring base = tmp.Wide();
    EXPECT_EQ(ResolvePath(base + L"/b.ini"), base + L"/b.ini");
    EXPECT_EQ(ResolvePath(base + L"/B.ini"), base + L"/B.ini");
    // Neither spelling exact: the smallest name, whatever the directory order.
    EXPECT_EQ(ResolvePath(base + L"/c.ini"), base + L"/C.ini");
}

TEST(PathTest, ReadsAndWritesWholeFiles) {
    TempDir tmp;
    const std::wstring base = tmp.Wide();
    const std::string bytes("a\0b\xFF\r\n", 6);
    ASSERT_TRUE(CreateDirectories(base + L"/Out/Deep"));
    ASSERT_TRUE(WriteFileBytes(base + L"/out/deep/F.bin", bytes));
    std::string read = "stale";
    ASSERT_TRUE(ReadFileBytes(base + L"/OUT/Deep/f.bin", read));
    EXPECT_EQ(read, bytes);
    ASSERT_TRUE(WriteFileBytes(base + L"/out/deep/f.BIN", "new"));
    EXPECT_TRUE(ReadFileBytes(base + L"/Out/Deep/F.bin", read));
    EXPECT_EQ(read, "new");

    read = "kept";
    EXPECT_FALSE(ReadFileBytes(base + L"/missing", read));
    EXPECT_FALSE(ReadFileBytes(base + L"/Out", read));
    EXPECT_FALSE(WriteFileBytes(base + L"/nofolder/x", "y"));
    EXPECT_EQ(read, "kept");

    // Sparse, so the test costs no disk.
    const auto huge = tmp.Path() / "huge";
    Touch(huge, "");
    std::filesystem::resize_file(huge, (std::uintmax_t{1} << 30) + 1);
    EXPECT_FALSE(ReadFileBytes(FromFsPath(huge), read));
}

TEST(PathTest, KnowsTheRunningProgram) {
    EXPECT_EQ(FileNameOf(ExecutablePath()), L"platform_tests");
    EXPECT_EQ(ExecutableDirectory(), ParentPath(ExecutablePath()));
    EXPECT_TRUE(IsDirectory(CurrentDirectory()));
}

} // namespace
