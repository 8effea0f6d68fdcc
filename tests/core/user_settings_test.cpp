#include <gtest/gtest.h>

#include "core/xdo.h"
#include "nubra/ini_access.h"
#include "nubra/paths.h"
#include "support/host_stand_ins.h"
#include "support/scoped_registration.h"
#include "support/temp_dir.h"

namespace {

// User settings live in the file that the application's settings file names under
// [INIFILE] UserConfigFile, both under the work path.
TEST(UserSettings, TheApplicationsSettingsNameTheUserFile) {
    TempDir dir;
    dir.Write("Kestrel.ini", "[INIFILE]\nUserConfigFile=users.ini\n");
    std::wstring savedWork = GetWorkPath();
    SetWorkPath(dir.Wide());
    ApplicationStandIn app;
    {
        ScopedRegistration registration(L"Application", &app);
        std::wstring file;
        ASSERT_EQ(GetIniFile(file, L"UserConfigFile"), 1);
        EXPECT_EQ(file, plat::JoinPath(dir.Wide(), L"users.ini"));
        ASSERT_EQ(GetIniFile(file, L"Unlisted"), 1);
        EXPECT_EQ(file, plat::JoinPath(dir.Wide(), L"Kestrel.ini"))
            << "the settings file itself by default";

        EXPECT_EQ(GetUserIniStr(L"Grid", L"Width", L"80"), L"80") << "absent: the default";
        EXPECT_EQ(SetUserIniStr(L"Grid", L"Width", L"120"), 1);
        EXPECT_EQ(GetUserIniStr(L"grid", L"WIDTH", L"80"), L"120");
        EXPECT_EQ(GetINIStr(L"Grid", L"Width", L"", plat::JoinPath(dir.Wide(), L"users.ini")),
                  L"120");
    }
    {
        // Without "Cfg" the program's own name with ".ini" is used.
        app.cfg.clear();
        ScopedRegistration registration(L"Application", &app);
        std::wstring file;
        ASSERT_EQ(GetIniFile(file, L"UserConfigFile"), 1);
        EXPECT_EQ(plat::ExtensionOf(file), L".ini");
        EXPECT_EQ(plat::ParentPath(file), plat::NormalizeSeparators(dir.Wide()));
    }
    SetWorkPath(savedWork);
}

} // namespace
