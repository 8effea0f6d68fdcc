#include <gtest/gtest.h>

#include <memory>

#include "data/data_source.h"
#include "data/meta_io_data.h"

namespace {

// What an object created now would bind to.
XMetaIOData* Current() {
    return CDataSource().GetDataSource();
}

// Pushed objects live on the heap, so that an entry left behind in the stack is a use after
// free the sanitizer reports.
class DataSourceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(Current(), nullptr); }
    void TearDown() override { EXPECT_EQ(Current(), nullptr); }

    XMetaIOData a, b, c;
};

TEST_F(DataSourceTest, ObjectsBindToTheInnermostSource) {
    CDataSource none;
    EXPECT_FALSE(none.IsValid(0));
    auto outer = std::make_unique<CDataSource>(&a);
    EXPECT_TRUE(outer->IsPushed());
    EXPECT_FALSE(outer->IsValid(-1));
    EXPECT_TRUE(outer->IsValid(0));
    outer->SetDataRecord(2);
    CDataSource first;
    EXPECT_TRUE(first.GetDataSource() == &a && first.GetDataRecord() == 2 && !first.IsPushed());

    auto inner = std::make_unique<CDataSource>(&b);
    CDataSource second;
    EXPECT_TRUE(second.GetDataSource() == &b && second.GetDataRecord() == -1);
    inner.reset();
    CDataSource third;
    EXPECT_TRUE(third.GetDataSource() == &a && third.GetDataRecord() == 2);
    outer.reset();
    none.SetDataRecord(5);
    none.InitDataSource();
    EXPECT_TRUE(none.GetDataSource() == nullptr && none.GetDataRecord() == -1);
}

TEST_F(DataSourceTest, EachPushedObjectRemovesOnlyItsOwnEntry) {
    auto first = std::make_unique<CDataSource>(&a);
    auto second = std::make_unique<CDataSource>(&b);
    auto third = std::make_unique<CDataSource>(&c);
    second.reset();
    EXPECT_EQ(Current(), &c);
    third.reset();
    EXPECT_EQ(Current(), &a);

    // Setting the source again keeps the one entry in its place.
    first->SetDataSource(&b);
    first->SetDataSource(&c);
    EXPECT_EQ(Current(), &c);
    std::make_unique<CDataSource>(&a).reset();
    EXPECT_EQ(Current(), &c);
    first.reset();

    auto inheriting = std::make_unique<CDataSource>();
    inheriting->SetDataSource(&b);
    EXPECT_EQ(Current(), &b);
}

TEST_F(DataSourceTest, CopiesAreNeverPushed) {
    auto pushed = std::make_unique<CDataSource>(&a);
    pushed->SetDataRecord(4);
    auto copy = std::make_unique<CDataSource>(*pushed);
    EXPECT_TRUE(copy->GetDataSource() == &a && copy->GetDataRecord() == 4 && !copy->IsPushed());
    CDataSource assigned;
    assigned = *pushed;
    EXPECT_FALSE(assigned.IsPushed());
    copy.reset();
    EXPECT_EQ(Current(), &a);

    // Assigning onto a pushed object changes what it offers; it stays pushed, once.
    auto other = std::make_unique<CDataSource>(&b);
    CDataSource plain(*other);
    plain.SetDataRecord(7);
    *pushed = plain;
    EXPECT_TRUE(pushed->IsPushed());
    other.reset();
    EXPECT_EQ(CDataSource().GetDataRecord(), 7);
    EXPECT_EQ(Current(), &b);
    pushed.reset();
}

} // namespace
