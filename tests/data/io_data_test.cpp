#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "core/notice_man.h"
#include "data/meta_io.h"
#include "data/proxy_io_data.h"
#include "data/reform_io_data.h"
#include "data/struct.h"
#include "struct_page.h"
#include "support/recording_presenter.h"

namespace {

std::wstring Text(XMetaIOData& data, int row, int col) {
    std::wstring text = L"<none>";
    data.GetVal(row, col, text);
    return text;
}

int Int(XMetaIOData& data, int row, int col) {
    int value = INT_MIN;
    data.GetVal(row, col, value);
    return value;
}

// Only the path forms: "qty" is field 4, "items.px" an inner cell, column 5 variable text.
class PathCells : public XMetaIOData {
public:
    bool GetRowFieldIndex(const wchar_t* path, std::vector<int>& out) override {
        const std::wstring name(path);
        out = name == L"qty" ? std::vector<int>{0, 4} : std::vector<int>{0, 2, 1, 1};
        return name == L"qty" || name == L"items.px";
    }
    using XMetaIOData::GetFieldType;
    DT_DATA_TYPE GetFieldType(const std::vector<int>& path) override {
        return path[1] == 5 ? DT_PT_STR : DT_INT;
    }
    bool GetVal(const std::vector<int>& path, CVariant& out, int) override {
        return cells.count(path) && out.Set(cells[path]);
    }
    bool SetVal(const std::vector<int>& path, const CVariant& value, int) override {
        return cells[path].Set(value);
    }
    std::map<std::vector<int>, CVariant> cells;
};

TEST(MetaIODataDefaults, RowAndColumnFormsUseThePathForms) {
    PathCells cells;
    XMetaIOData& data = cells;
    ASSERT_TRUE(data.SetVal(1, 4, 42) && data.SetVal(1, 3, L"abc"));
    EXPECT_EQ((cells.cells[{1, 4}].GetType()), DT_INT);
    EXPECT_EQ((cells.cells[{1, 3}].GetType()), DT_STR);
    EXPECT_EQ(Int(data, 1, 4), 42);
    EXPECT_EQ(data.GetValueVB(1, 3, 0), L"abc");
    ASSERT_TRUE(data.SetValueVB(2, 3, L"17", 0));
    EXPECT_EQ(Int(data, 2, 3), 17);
    EXPECT_FALSE(data.SetVal(std::vector<int>{0, 0}, static_cast<const wchar_t*>(nullptr)));

    std::wstring note = L"note";
    std::wstring* string = nullptr;
    cells.cells[{0, 5}].SetPtStr(&note);
    EXPECT_TRUE(data.GetVal(0, 5, string) && string == &note);
    EXPECT_EQ(data.GetValueVB(0, 5, 0), L"note");
    EXPECT_FALSE(data.GetVal(1, 4, string)); // an integer cell has no string object
    EXPECT_EQ(Int(data, 9, 9), INT_MIN);
    EXPECT_EQ(data.GetValueVB(9, 3, 0) + data.GetValueVB(9, 5, 0), L"");

    // Base 1 shifts reads only; field indices need a two-entry path.
    int value = 0;
    EXPECT_TRUE(data.GetValEx(1, 5, value, 0, 1) && value == 42);
    ASSERT_TRUE(data.SetValEx(1, 3, 8, 0, 1));
    EXPECT_EQ(Int(data, 1, 3), 8);
    EXPECT_EQ(Int(data, 1, 2), INT_MIN);
    EXPECT_EQ(data.GetFieldIndex(L"qty"), 4);
    EXPECT_EQ(data.GetFieldIndex(L"items.px"), -1);
    EXPECT_EQ(data.GetFieldIndex(L"nope"), -1);
}

// Takes what the containers hand over, as a transaction does.
class TransactionStandIn : public XDO {
    ORVO_DISPATCH_MAP()

public:
    void SetInputStruct(XStruct* s) { input = s; }
    void SetOutputStruct(XStruct* s) { output = s; }
    XStruct* input = nullptr;
    XStruct* output = nullptr;
};

ORVO_DISPATCH(TransactionStandIn, XDO, ORVO_METHOD(SetInputStruct), ORVO_METHOD(SetOutputStruct))

class RecordingSort : public XReformIOData {
public:
    int Sort(int field, SORT_TYPE type, SORT_ORDER order) override {
        calls.emplace_back(field, type, order);
        return 1;
    }
    std::vector<std::tuple<int, int, int>> calls;
};

class IODataTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousPresenter = XNoticeMan::Instance().Presenter();
        XNoticeMan::Instance().SetPresenter(&notices);
        ASSERT_FALSE(IXO::IsRegistered(L"TestTr"));
        IXO::Register(L"TestTr", []() -> IXO* { return new TransactionStandIn(); });
    }
    void TearDown() override {
        IXO::Unregister(L"TestTr");
        XNoticeMan::Instance().SetPresenter(previousPresenter);
    }

    // `body` as a page beside "Quotes": 3 rows of code, qty (formatted) and memo (variable).
    void Build(const std::string& body) {
        const std::string markup = R"(<metaio Name="Page">
            <structure Name="Quotes" count="2">
              <this.field item="code" type="String" size="6" value="AAA"/>
              <this.field item="qty" type="Integer" value="7" Format="#,##0"/>
              <this.field item="memo" type="String"/>
              <this.addrow text="BBB;12" separator=";"/>
            </structure>)" + body + "</metaio>";
        page = test::BuildPage(markup);
        ASSERT_NE(page, nullptr);
    }
    template <class T = XMetaIOData> T* Get(const wchar_t* name) {
        return dynamic_cast<T*>(page->GetObjByNameDown(name));
    }
    std::vector<std::wstring> Confirms() const {
        std::vector<std::wstring> texts;
        for (const auto& c : notices.confirms)
            texts.push_back(c.text);
        return texts;
    }

    orvo::XDOPtr page;
    RecordingPresenter notices;
    orvo::NoticePresenter* previousPresenter = nullptr;
};

TEST_F(IODataTest, ProxyForwardsEveryOperation) {
    Build(R"(<ProxyIOData Name="P1" DataSource="Quotes"/><ProxyIOData Name="P2" Data="Quotes"/>
             <ProxyIOData Name="P3" DataSource="P2"/>)");
    XMetaIOData& quotes = *Get(L"Quotes");
    for (const wchar_t* name : {L"P1", L"P2", L"P3"}) {
        SCOPED_TRACE(name);
        auto* proxy = Get<XProxyIOData>(name);
        ASSERT_NE(proxy, nullptr);
        EXPECT_NE(proxy->GetObjectStyle() & XDO_STYLE_CLASS, 0);
        EXPECT_EQ(proxy->GetRows(), 3);
        EXPECT_EQ(proxy->GetFieldIndex(L"qty"), 1);
        std::vector<int> path;
        EXPECT_TRUE(proxy->GetRowFieldIndex(L"[2].qty", path));
        EXPECT_EQ(path, (std::vector<int>{2, 1}));
        EXPECT_EQ(proxy->GetFieldType(2), DT_PT_STR);
        EXPECT_NE(proxy->GetFieldFormat(1), nullptr);
        CVariant value;
        EXPECT_TRUE(proxy->GetVal(path, value) && value.GetInt() == 12);
        EXPECT_EQ(Text(*proxy, 2, 0), L"BBB");
        EXPECT_EQ(Int(*proxy, 0, 1), 7);
    }

    XMetaIOData& proxy = *Get(L"P3");
    ASSERT_TRUE(proxy.SetVal(1, 1, 99) && proxy.SetVal(std::vector<int>{0, 0}, L"CCC"));
    EXPECT_EQ(Int(quotes, 1, 1), 99);
    EXPECT_EQ(Text(quotes, 0, 0), L"CCC");
    int value = 0;
    ASSERT_TRUE(proxy.SetValEx(0, 1, 5, 0, 1));
    EXPECT_TRUE(proxy.GetValEx(0, 2, value, 0, 1) && value == 5);
    ASSERT_TRUE(proxy.SetValueVB(1, 2, L"hello", 0));
    std::wstring* memo = nullptr;
    EXPECT_TRUE(proxy.GetVal(1, 2, memo) && memo && *memo == L"hello");
    EXPECT_EQ(proxy.GetValueVB(1, 2, 0), L"hello");
}

TEST_F(IODataTest, ProxyWithoutIODataIsEmpty) {
    Build(R"(<metaio Name="Plain"/><MetaIOData Name="Empty"/>
             <ProxyIOData Name="NotData" DataSource="Plain"/><ProxyIOData Name="Missing" Data="No"/>
             <ProxyIOData Name="Self" DataSource="Self"/><ProxyIOData Name="Ping" DataSource="Pong"/>
             <ProxyIOData Name="Pong" DataSource="Ping"/><ProxyIOData Name="Kept" DataSource="Quotes"/>)");
    auto expectEmpty = [](XMetaIOData* data) {
        ASSERT_NE(data, nullptr);
        std::vector<int> path;
        int value = 0;
        EXPECT_EQ(data->GetRows() + data->GetCols(), 0);
        EXPECT_EQ(data->GetFieldIndex(L"qty"), -1);
        EXPECT_FALSE(data->GetRowFieldIndex(L"qty", path));
        EXPECT_EQ(data->GetFieldType(0), DT_NONE);
        EXPECT_EQ(data->GetFieldFormat(1), nullptr);
        EXPECT_EQ(Text(*data, 0, 0), L"<none>");
        EXPECT_FALSE(data->GetValEx(0, 1, value, 0, 1));
        EXPECT_FALSE(data->SetVal(0, 0, 1) || data->SetValueVB(0, 0, L"x", 0));
    };
    for (const wchar_t* name : {L"Empty", L"NotData", L"Missing", L"Self", L"Ping", L"Pong"}) {
        SCOPED_TRACE(name);
        expectEmpty(Get(name));
    }
    EXPECT_TRUE(Confirms().empty());

    auto* kept = Get<XProxyIOData>(L"Kept");
    ASSERT_EQ(kept->GetRows(), 3);
    page->GetObjByNameDown(L"Quotes")->LinkCut(1, nullptr);
    EXPECT_EQ(kept->GetDataSource(), nullptr);
    expectEmpty(kept);
}

TEST_F(IODataTest, ReformNeedsASourceAndMapsSortWords) {
    Build(R"(<ReformIOData Name="View" Data="Quotes"/><ReformIOData DataSource=""/>)");
    EXPECT_EQ(Confirms(),
              std::vector<std::wstring>{L"ReformIOData의 DataSource가 지정되지 않았습니다."});
    auto* view = Get<XReformIOData>(L"View");
    EXPECT_EQ(view->GetRows(), 3);
    EXPECT_EQ(view->GetOrgRow(2), 2);

    auto* sorter = new RecordingSort();
    page->AddChild(sorter);
    XElement element(L"Sorter");
    element.SetValue(L"DataSource", L"Quotes");
    ASSERT_TRUE(sorter->SetElement(&element) && sorter->CreateInstance());
    const std::tuple<const wchar_t*, const wchar_t*, const wchar_t*, int> cases[] = {
        {L"qty", L"integer", L"desc", 1},
        {L"qty", L"Int", L"ASC", 1},
        {L"qty", L"STRING", L"Desc", 1},
        {L"qty", L"str", L"asc", 1},
        {L"qty", L"float", L"asc", 1},
        {L"qty", L"None", L"desc", 1},
        {L"qty", L"int", L"up", 0},
        {L"qty", L"number", L"asc", 0},
        {L"nope", L"int", L"asc", 0},
        {nullptr, nullptr, nullptr, 0},
    };
    for (const auto& [field, type, order, result] : cases)
        EXPECT_EQ(sorter->SortVB(field, type, order), result);
    using Call = std::tuple<int, int, int>;
    EXPECT_EQ(
        sorter->calls,
        (std::vector<Call>{{1, 3, 1}, {1, 3, 0}, {1, 1, 1}, {1, 1, 0}, {1, 2, 0}, {1, 0, 1}}));
    auto byName =
        sorter->GetFunction<int(const wchar_t*, const wchar_t*, const wchar_t*)>(L"SortVB");
    ASSERT_TRUE(byName);
    EXPECT_EQ(byName(L"code", L"str", L"asc"), 1);
    EXPECT_EQ(sorter->calls.back(), (Call{0, 1, 0}));
}

TEST_F(IODataTest, ContainersHandOverAndValidateTheirStructures) {
    Build(R"(<TestTr Name="T"><input><structure Name="In"/></input>
             <output><structure Name="Out"/></output></TestTr>
             <metaio Name="Good"><structure/><input><structure/><output><structure/></output></input></metaio>
             <metaio Name="NotFirst"><metaio/></metaio>
             <metaio Name="BadSibling"><structure/><metaio/></metaio>
             <metaio Name="BadInner"><structure/><input><output/></input></metaio>
             <metaio Name="Empty"><structure/><output/></metaio>)");
    auto* tr = Get<TransactionStandIn>(L"T");
    ASSERT_NE(tr, nullptr);
    EXPECT_TRUE(tr->input && tr->input == Get<XStruct>(L"In"));
    EXPECT_TRUE(tr->output && tr->output == Get<XStruct>(L"Out"));

    auto* good = Get<XMetaIO>(L"Good");
    EXPECT_EQ(good->ValidateChain(good->child()), 1);
    auto* fresh = new XStruct(); // no rows until validated
    good->AddChild(fresh);
    ASSERT_FALSE(fresh->ISMem());
    EXPECT_EQ(good->ValidateChain(fresh), 1);
    EXPECT_TRUE(fresh->ISMem());
    EXPECT_TRUE(Confirms().empty());

    for (const wchar_t* name : {L"NotFirst", L"BadSibling", L"BadInner", L"Empty"})
        EXPECT_EQ(Get<XMetaIO>(name)->ValidateChain(Get<XMetaIO>(name)->child()), 0) << name;
    EXPECT_EQ(Confirms(),
              (std::vector<std::wstring>{L"metaio must structure",
                                         L"metaio must input or output",
                                         L"output must structure",
                                         L" must structure"}));
}

} // namespace
