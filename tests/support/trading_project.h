#pragma once
// The real project service on a copy of the trading project, with the host objects it asks
// for by name; settings of section "Init" are chosen per test in the copy's INI file.
#include <gtest/gtest.h>

#include "core/project.h"
#include "nubra/paths.h"
#include "platform/base/ini_file.h"
#include "support/fixture_project.h"
#include "support/host_stand_ins.h"
#include "support/scoped_registration.h"

class TradingProjectTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CopyFixtureProject("trading", dir));
        SetWorkPath(dir.Wide());
        ASSERT_EQ(XProject::Instance().InitializeIXO(), 1);
    }
    void TearDown() override {
        XProject::Instance().Reset();
        SetWorkPath(L"");
    }

    void ChooseSetting(const wchar_t* key, const wchar_t* value) {
        ASSERT_TRUE(plat::IniSet(dir.Wide() + L"/Kestrel.ini", L"Init", key, value));
    }

    TempDir dir;
    ApplicationStandIn app;
    ScopedRegistration appRegistration{L"Application", &app};
    ScopedRegistration systemDbRegistration{L"systemdb", nullptr};
};
