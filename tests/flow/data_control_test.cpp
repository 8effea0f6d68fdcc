#include <gtest/gtest.h>

#include <string>

#include "flow/xdata_control.h"
#include "markup_page.h"

namespace {

using DataControlTest = test::MarkupPageTest;

// Lazy settings flow down at "Initialize": from the nearest ancestor that imposes them, or
// that is lazy while the control is not; a control that imposes its own keeps them.
TEST_F(DataControlTest, LazySettingsAreInheritedImposedOrKept) {
    Open(R"(<DataControl Name="outer" LazyTime="300">
  <DataControl Name="plain"/>
  <DataControl Name="own" Lazy="true" LazyTime="50"/>
  <DataControl Name="enforcer" LazyEnforce="true" Lazy="false">
    <DataControl Name="forced" LazyTime="10"/>
    <DataControl Name="free" LazyEnforce="true" LazyTime="10"/>
  </DataControl>
</DataControl>)");
    struct Case {
        const wchar_t* name;
        int lazy;
        unsigned long time;
        int sync;
    } cases[] = {
        {L"outer", 1, 300, 0},
        {L"plain", 1, 300, 0},
        {L"own", 1, 50, 0},
        {L"enforcer", 0, 20, 0},
        {L"forced", 0, 20, 0},
        {L"free", 1, 10, 0},
    };
    for (const Case& c : cases) {
        auto* control = Find<XDataControl>(c.name);
        ASSERT_NE(control, nullptr) << c.name;
        EXPECT_EQ(control->GetLazyProc(), c.lazy) << c.name;
        EXPECT_EQ(control->GetLazyTime(), c.time) << c.name;
        EXPECT_EQ(control->GetSyncTRLazy(), c.sync) << c.name;
    }
    EXPECT_EQ(Find<XDataControl>(L"plain")->InheritLazy(nullptr), 0);
}

TEST_F(DataControlTest, TransactionSettingsApplyOnlyWhileSynced) {
    Open(
        R"(<DataControl Name="page"><DataControl Name="synced"/><DataControl Name="set" Lazy="true"/></DataControl>)");
    XTR::Switch quick;
    quick.ApplyLazy = 1;
    quick.Lazy = 1;
    quick.ApplyTime = 1;
    quick.LazyTime = 77;
    auto* synced = Find<XDataControl>(L"synced");
    auto* set = Find<XDataControl>(L"set");
    synced->SyncSwitchLazy(&quick);
    set->SyncSwitchLazy(&quick);
    EXPECT_EQ(synced->GetLazyProc(), 1);
    EXPECT_EQ(synced->GetLazyTime(), 77u);
    EXPECT_EQ(set->GetLazyTime(), 20u) << "its own markup settings stand";

    XTR::Switch timeOnly = quick;
    timeOnly.ApplyLazy = 0;
    timeOnly.LazyTime = 5;
    synced->SyncSwitchLazy(&timeOnly);
    EXPECT_EQ(synced->GetLazyTime(), 77u) << "a time applies only with the lazy flag";
    synced->SyncSwitchLazy(nullptr);
    synced->SyncTRLazy(nullptr);
}

} // namespace
