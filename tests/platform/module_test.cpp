#include "platform/base/module.h"
#include "platform/base/path.h"

#include <gtest/gtest.h>

namespace {

using namespace plat;
using Vec = std::vector<std::wstring>;

using AnswerFunction = int (*)(int);

TEST(ModuleTest, CandidateFileNames) {
    EXPECT_EQ(ModuleFileCandidates(L"Foo.dll"), (Vec{L"libFoo.so", L"Foo.so", L"Foo.dll"}));
    EXPECT_EQ(ModuleFileCandidates(L"Foo.DLL"), (Vec{L"libFoo.so", L"Foo.so", L"Foo.DLL"}));
    EXPECT_EQ(ModuleFileCandidates(L"Foo"), (Vec{L"libFoo.so", L"Foo.so", L"Foo"}));
    EXPECT_EQ(ModuleFileCandidates(L"Foo.so"), (Vec{L"Foo.so", L"libFoo.so"}));
    EXPECT_EQ(ModuleFileCandidates(L"libFoo.so.1"), (Vec{L"libFoo.so.1"}));
    EXPECT_EQ(ModuleFileCandidates(L"sub\\Foo.dll"),
              (Vec{L"sub/libFoo.so", L"sub/Foo.so", L"sub/Foo.dll"}));
    EXPECT_EQ(ModuleFileCandidates(L""), Vec{});
}

TEST(ModuleTest, SearchesTheProgramFolderOnce) {
    const Vec dirs = ModuleSearchDirs();
    ASSERT_FALSE(dirs.empty());
    EXPECT_EQ(dirs.front(), ExecutableDirectory());
    // libnubra.so lands beside the test program, so its folder is not listed twice.
    EXPECT_EQ(dirs.size(), 1u);
}

TEST(ModuleTest, LoadsALibraryByItsWindowsName) {
    for (const wchar_t* name :
         {L"PlatformTestModule.dll", L"platformtestmodule.DLL", L"PlatformTestModule"}) {
        const Module module = Module::Open(name);
        ASSERT_TRUE(module.IsLoaded()) << module.Error();
        EXPECT_EQ(module.Path(), ExecutableDirectory() + L"/libPlatformTestModule.so");
        const auto answer = reinterpret_cast<AnswerFunction>(module.Symbol("PlatformTestAnswer"));
        ASSERT_NE(answer, nullptr);
        EXPECT_EQ(answer(1), 43);
        EXPECT_EQ(module.Symbol("NoSuchSymbol"), nullptr);
        EXPECT_EQ(module.Symbol(nullptr), nullptr);
    }
    const Module absolute = Module::Open(ExecutableDirectory() + L"/PlatformTestModule.dll", {});
    EXPECT_TRUE(absolute.IsLoaded()) << absolute.Error();
}

TEST(ModuleTest, MissingOrBrokenLibrariesFailWithAMessage) {
    const Module missing = Module::Open(L"NoSuchModule.dll");
    EXPECT_FALSE(missing);
    EXPECT_NE(missing.Error().find("NoSuchModule.dll"), std::string::npos);
    EXPECT_EQ(missing.Symbol("PlatformTestAnswer"), nullptr);

    // A file that exists but is no shared object reports the loader's reason.
    const Module broken = Module::Open(L"platform_tests", {ExecutableDirectory()});
    EXPECT_FALSE(broken);
    EXPECT_FALSE(broken.Error().empty());
}

TEST(ModuleTest, MovesOwnership) {
    Module first = Module::Open(L"PlatformTestModule.dll");
    ASSERT_TRUE(first);
    Module second(std::move(first));
    EXPECT_TRUE(second);
    Module third;
    third = std::move(second);
    ASSERT_TRUE(third);
    EXPECT_NE(third.Symbol("PlatformTestAnswer"), nullptr);
}

} // namespace
