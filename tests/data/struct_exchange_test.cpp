#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/notice_man.h"
#include "data/inner_struct.h"
#include "platform/base/codepage.h"
#include "struct_page.h"
#include "support/recording_presenter.h"

namespace {

using Bytes = std::vector<unsigned char>;

class StructExchangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous = XNoticeMan::Instance().Presenter();
        XNoticeMan::Instance().SetPresenter(&notices);
    }
    void TearDown() override { XNoticeMan::Instance().SetPresenter(previous); }

    XStruct* Make(const std::string& markup) {
        pages.push_back(test::BuildPage(markup));
        return dynamic_cast<XStruct*>(pages.back().get());
    }
    // A cell by path ("[1].code", "og[2].x"), "<none>" when there is no such cell.
    static std::wstring Text(XStruct* s, const wchar_t* path) {
        std::vector<int> cell;
        std::wstring text = L"<none>";
        if (s->GetRowFieldIndex(path, cell))
            s->GetVal(cell, text);
        return text;
    }
    static Bytes RowBytes(XStruct* s, int row) {
        void* where = nullptr;
        const auto* bytes =
            s->GetValBlob(row, 0, where) ? static_cast<unsigned char*>(where) : nullptr;
        return bytes ? Bytes(bytes, bytes + s->GetRecordSize()) : Bytes();
    }
    std::vector<std::wstring> Confirms() const {
        std::vector<std::wstring> texts;
        for (const auto& c : notices.confirms)
            texts.push_back(c.text);
        return texts;
    }

    RecordingPresenter notices;
    orvo::NoticePresenter* previous = nullptr;
    std::vector<orvo::XDOPtr> pages;
};

constexpr const char* kFlat = R"(<this.field item="code" type="String" size="4"/>
    <this.field item="qty" type="Integer"/><this.field item="side" type="Char"/></structure>)";

TEST_F(StructExchangeTest, MapDataCopiesWholeRecordsAndRefusesShortData) {
    for (const char* head : {R"(<structure Name="S">)",
                             R"(<structure Name="S" type="dynamic">)",
                             R"(<structure Name="S" count="0" MaxRow="3">)"}) {
        XStruct* s = Make(std::string(head) + kFlat);
        ASSERT_NE(s, nullptr) << head;
        Bytes data(40);
        for (std::size_t i = 0; i < data.size(); ++i)
            data[i] = static_cast<unsigned char>('A' + i);
        const auto* raw = reinterpret_cast<const char*>(data.data());
        ASSERT_TRUE(s->MapData(3, 40, raw)) << head;
        ASSERT_EQ(s->GetRows(), 3);
        for (int r = 0; r < 3; ++r)
            EXPECT_EQ(RowBytes(s, r), Bytes(&data[r * 9], &data[r * 9 + 9])) << head;

        // Short data, absurd counts and bad buffers change nothing.
        EXPECT_FALSE(s->MapData(4, 35, raw));
        EXPECT_FALSE(s->MapData(INT_MAX, 64, raw));
        EXPECT_FALSE(s->MapData(1, -1, raw));
        EXPECT_FALSE(s->MapData(1, 0, nullptr));
        EXPECT_EQ(s->GetRows(), 3);
        EXPECT_EQ(Text(s, L"[2].code"), L"STUV");

        ASSERT_TRUE(s->MapData(0, 9, raw + 9)); // the received records replace the rows
        EXPECT_EQ(s->GetRows(), 1);
        EXPECT_EQ(Text(s, L"code"), L"JKLM");
    }
}

TEST_F(StructExchangeTest, MapDataTakesTheStringOrTheRepeatingGroupFromTheLength) {
    XStruct* s = Make(R"(<structure Name="S"><this.field item="n" type="Integer"/>
                           <this.field item="t" type="String"/></structure>)");
    ASSERT_NE(s, nullptr);
    const char quote[] = "\x2a\0\0\0hello";
    ASSERT_EQ(s->AddRecord(L"1,one") + s->AddRecord(L"2,two"), 2);
    EXPECT_FALSE(s->MapData(1, 3, quote));
    EXPECT_EQ(s->GetRows(), 3);
    ASSERT_TRUE(s->MapData(4, 9, quote));
    EXPECT_EQ(s->GetRows(), 1) << "one record, and no rows left from before";
    EXPECT_EQ(Text(s, L"n"), L"42");
    EXPECT_EQ(Text(s, L"t"), L"hello");

    for (const char* type : {"", R"( type="dynamic")"}) {
        XStruct* g = Make(std::string(R"(<structure Name="G")") + type +
                          R"(><this.field item="code" type="String" size="6"/>
            <this.field item="n" type="Integer"/><structure Name="og" count="0">
            <this.field item="x" type="Integer"/><this.field item="y" type="String" size="2"/>
            </structure></structure>)");
        ASSERT_NE(g, nullptr);
        Bytes data(28 + 5, 0); // a partial inner row at the end is not a row
        std::memcpy(data.data(), "005930", 6);
        for (int i = 0; i < 3; ++i) {
            data[10 + 6 * i] = static_cast<unsigned char>(i + 1);
            std::memcpy(&data[14 + 6 * i], i == 2 ? "zz" : "ab", 2);
        }
        const auto* raw = reinterpret_cast<const char*>(data.data());
        ASSERT_TRUE(g->MapData(1, 33, raw)) << type;
        EXPECT_EQ(g->GetISCnt(2), 3);
        EXPECT_EQ(Text(g, L"og[2].x") + Text(g, L"og[2].y") + Text(g, L"code"), L"3zz005930");
        EXPECT_EQ(Text(g, L"og[3].x"), L"<none>");

        EXPECT_FALSE(g->MapData(1, 9, raw)); // shorter than the fixed fields
        EXPECT_EQ(g->GetISCnt(2), 3);
        ASSERT_TRUE(g->MapData(1, 16, raw)); // every receive decides the group's rows again
        EXPECT_EQ(g->GetISCnt(2), 1);
        EXPECT_EQ(g->GetRecordSize(), 16);
    }
}

// Every fixed type, a nested structure among them, for a layout of fixed fields only and the
// same fields followed by a variable-length string.
constexpr const char* kEveryFixedType = R"(<this.field item="code" type="String" size="4"/>
    <this.field item="n" type="Integer"/><this.field item="u" type="UInteger"/>
    <this.field item="b" type="Boolean"/><this.field item="d" type="Double"/>
    <this.field item="f" type="Float"/><this.field item="c" type="Char"/>
    <this.field item="l" type="Integer64"/><structure Name="pair" count="2">
    <this.field item="x" type="Integer"/><this.field item="on" type="Boolean"/></structure>)";

TEST_F(StructExchangeTest, FixedFieldsArriveAlikeWithOrWithoutAVariableString) {
    std::vector<XStruct*> fixedOnly;
    for (const char* head : {R"(<structure Name="F">)",
                             R"(<structure Name="F" type="dynamic">)",
                             R"(<structure Name="F" count="0" MaxRow="2">)"})
        fixedOnly.push_back(Make(std::string(head) + kEveryFixedType + "</structure>"));
    XStruct* text = Make(std::string(R"(<structure Name="T">)") + kEveryFixedType +
                         R"(<this.field item="t" type="String"/></structure>)");
    XStruct* flat = fixedOnly[0];
    ASSERT_TRUE(flat && fixedOnly[1] && fixedOnly[2] && text);
    const int fixed = flat->GetRecordSize();
    ASSERT_EQ(text->GetPointerFieldNo(), text->GetFieldCount() - 1);
    ASSERT_EQ(text->GetRecord().GetOffSet(text->GetPointerFieldNo()), fixed);

    Bytes data(static_cast<std::size_t>(fixed), 0);
    auto put = [&](const wchar_t* path, const auto& value) {
        std::vector<int> cell;
        ASSERT_TRUE(flat->GetRowFieldIndex(path, cell)) << path;
        int offset = flat->GetRecord().GetOffSet(cell[1]);
        if (cell.size() == 4) {
            const CRecord& inner = flat->GetRecord().GetField(cell[1])->InnerStruct->record;
            offset += cell[2] * inner.GetRecordSize() + inner.GetOffSet(cell[3]);
        }
        std::memcpy(&data[static_cast<std::size_t>(offset)], &value, sizeof value);
    };
    put(L"code", std::array<char, 4>{'A', 'B', '1', '2'});
    put(L"n", std::int32_t{-7});
    put(L"u", std::uint32_t{4000000000u});
    put(L"b", std::int32_t{5});
    put(L"d", 2.5);
    put(L"f", 0.25f);
    put(L"c", 'Q');
    put(L"l", std::int64_t{-9000000000});
    put(L"pair[0].x", std::int32_t{1});
    put(L"pair[0].on", std::int32_t{0x100});
    put(L"pair[1].x", std::int32_t{3});
    Bytes twoRecords = data;
    twoRecords.insert(twoRecords.end(), data.begin(), data.end());
    const std::string rest = "the string is the rest of the data, however long it is";
    Bytes withText = data;
    withText.insert(withText.end(), rest.begin(), rest.end());

    for (XStruct* s : fixedOnly)
        ASSERT_TRUE(s->MapData(2, 2 * fixed, reinterpret_cast<const char*>(twoRecords.data())));
    ASSERT_TRUE(text->MapData(
        1, static_cast<int>(withText.size()), reinterpret_cast<const char*>(withText.data())));
    const std::pair<const wchar_t*, const wchar_t*> cells[] = {
        {L"code", L"AB12"},
        {L"n", L"-7"},
        {L"u", L"4000000000"},
        {L"b", L"true"},
        {L"d", L"2.500000"},
        {L"f", L"0.250000"},
        {L"c", L"Q"},
        {L"l", L"-9000000000"},
        {L"pair[0].x", L"1"},
        {L"pair[0].on", L"true"},
        {L"pair[1].x", L"3"},
        {L"pair[1].on", L"false"},
    };
    for (XStruct* s : {fixedOnly[0], fixedOnly[1], fixedOnly[2], text}) {
        for (int row = 0; row < s->GetRows(); ++row) {
            for (const auto& [path, value] : cells) {
                const std::wstring cell = L"[" + std::to_wstring(row) + L"]." + path;
                EXPECT_EQ(Text(s, cell.c_str()), value) << s->GetName() << cell;
            }
        }
    }
    EXPECT_EQ(Text(text, L"t"), plat::FromAnsi(rest));

    // A boolean is stored, and goes back out, as 1 whatever non-zero word it arrived as.
    put(L"b", std::int32_t{1});
    put(L"pair[0].on", std::int32_t{1});
    for (XStruct* s : fixedOnly) {
        EXPECT_EQ(RowBytes(s, 0), data) << s->GetMaxRow();
        EXPECT_EQ(RowBytes(s, 1), data) << s->GetMaxRow();
    }
    Bytes out;
    ASSERT_TRUE(flat->DumpRecord(out));
    EXPECT_EQ(out, data);
    ASSERT_TRUE(text->DumpRecord(out));
    data.insert(data.end(), rest.begin(), rest.end());
    EXPECT_EQ(out, data);

    // The booleans of a repeating group's rows as well.
    XStruct* group = Make(R"(<structure Name="G"><this.field item="n" type="Integer"/>
        <structure Name="og" count="0"><this.field item="on" type="Boolean"/></structure>
        </structure>)");
    ASSERT_NE(group, nullptr);
    const std::int32_t received[] = {2, 0, -1, 7};
    ASSERT_TRUE(group->MapData(1, sizeof received, reinterpret_cast<const char*>(received)));
    ASSERT_TRUE(group->DumpRecord(out));
    const std::int32_t stored[] = {2, 0, 1, 1};
    EXPECT_EQ(out,
              Bytes(reinterpret_cast<const unsigned char*>(stored),
                    reinterpret_cast<const unsigned char*>(stored) + sizeof stored));
}

TEST_F(StructExchangeTest, MapDelimiterDataSplitsLinesAndFields) {
    XStruct* s = Make(std::string(R"(<structure Name="S">)") + kFlat);
    ASSERT_NE(s, nullptr);
    char text[] = "005930\t12\tB\nAB\0X\t7\tS"; // no final line end; a zero ends a text
    ASSERT_TRUE(s->MapDelimiterData(2, sizeof text - 1, text, 0));
    ASSERT_EQ(s->GetRows(), 2);
    EXPECT_EQ(Text(s, L"code") + Text(s, L"qty") + Text(s, L"[1].code") + Text(s, L"[1].side"),
              L"005912ABS");
    EXPECT_EQ(text[6] | text[11], '\0'); // separators are overwritten

    char wrong[] = "a\tb\nc\t1\tx";
    char carriage[] = "a\t1\tx\rb\t2\ty"; // one line unless carriage returns end records
    char pairs[] = "c\t3\tu\r\nd\t4\tv\r\n";
    EXPECT_FALSE(s->MapDelimiterData(2, sizeof wrong - 1, wrong, 0));
    EXPECT_FALSE(s->MapDelimiterData(INT_MAX, sizeof pairs - 1, pairs, 'T'));
    EXPECT_FALSE(s->MapDelimiterData(2, sizeof carriage - 1, carriage, 0));
    EXPECT_EQ(Text(s, L"[1].code"), L"AB");
    EXPECT_TRUE(Confirms().empty());
    ASSERT_TRUE(s->MapDelimiterData(2, sizeof carriage - 1, carriage, 'T'));
    EXPECT_EQ(Text(s, L"[1].side"), L"y");
    ASSERT_TRUE(s->MapDelimiterData(2, sizeof pairs - 1, pairs, 'T'));
    EXPECT_EQ(Text(s, L"[1].side"), L"v");
}

// Text mapped over rows a structure already has leaves them as new rows would be, whether
// the rows are reused or made anew: nothing of the earlier rows shows through.
TEST_F(StructExchangeTest, MappedTextLeavesNothingOfTheEarlierRows) {
    const std::string fields = R"(<this.field item="code" type="String" size="10"/>
        <this.field item="qty" type="Integer" value="9"/><this.field item="side" type="Char"/>
        </structure>)";
    for (const char* storage : {"", R"( type="dynamic")"}) {
        XStruct* used =
            Make(std::string(R"(<structure Name="S" count="3")") + storage + ">" + fields);
        XStruct* fresh = Make(std::string(R"(<structure Name="S")") + storage + ">" + fields);
        ASSERT_TRUE(used && fresh);
        for (int r = 0; r < 3; ++r)
            ASSERT_TRUE(used->SetVal(r, 0, L"LONGCODE99") && used->SetVal(r, 1, L"123") &&
                        used->SetVal(r, 2, L"Z"));
        for (XStruct* s : {used, fresh}) {
            char text[] = "A\t\t\nB\t5\tS\n";
            ASSERT_TRUE(s->MapDelimiterData(2, sizeof text - 1, text, 'T'));
            ASSERT_EQ(s->GetRows(), 2);
        }
        EXPECT_EQ(RowBytes(used, 0), RowBytes(fresh, 0)) << storage;
        EXPECT_EQ(RowBytes(used, 1), RowBytes(fresh, 1)) << storage;
        EXPECT_EQ(Text(used, L"code") + Text(used, L"[1].qty"), L"A5");
    }

    // An unsigned cell keeps its bytes when its text has no digits: a new row's default.
    XStruct* flags = Make(R"(<structure Name="F" count="2">
        <this.field item="f" type="UInteger" value="7"/></structure>)");
    ASSERT_NE(flags, nullptr);
    ASSERT_TRUE(flags->SetVal(0, 0, L"1"));
    char none[] = "x\n";
    ASSERT_TRUE(flags->MapDelimiterData(1, sizeof none - 1, none, 0));
    EXPECT_EQ(Text(flags, L"f"), L"7");

    // A ring's rows past the texts are new rows too, and the texts start its logical order.
    XStruct* ring = Make(std::string(R"(<structure Name="R" count="0" MaxRow="3">)") + fields);
    ASSERT_NE(ring, nullptr);
    for (const wchar_t* record : {L"a,1,x", L"b,2,y", L"c,3,z"})
        ASSERT_EQ(ring->AddRecord(record), 1);
    ASSERT_TRUE(ring->ShiftUp(1));
    char one[] = "N\t4\tQ";
    ASSERT_TRUE(ring->MapDelimiterData(1, sizeof one - 1, one, 0));
    ASSERT_TRUE(ring->SetRowCount(3));
    EXPECT_EQ(Text(ring, L"code") + Text(ring, L"[1].qty") + Text(ring, L"[2].code"), L"N9");
}

// Fields are found eight bytes at a time: every length around that step reads back whole.
TEST_F(StructExchangeTest, DelimitedFieldsOfEveryLengthReadBackWhole) {
    constexpr int kFields = 20;
    std::string markup = R"(<structure Name="S">)";
    std::string line;
    for (int f = 0; f < kFields; ++f) {
        markup += R"(<this.field item="f)" + std::to_string(f) + R"(" type="String" size="24"/>)";
        line += (f ? "\t" : "") + std::string(static_cast<std::size_t>(f), char('a' + f));
    }
    XStruct* s = Make(markup + "</structure>");
    ASSERT_NE(s, nullptr);
    std::vector<char> text(line.begin(), line.end());
    ASSERT_TRUE(s->MapDelimiterData(1, static_cast<int>(text.size()), text.data(), 0));
    for (int f = 0; f < kFields; ++f) {
        std::wstring cell;
        ASSERT_TRUE(s->GetVal(0, f, cell));
        EXPECT_EQ(cell, std::wstring(static_cast<std::size_t>(f), wchar_t(L'a' + f))) << f;
    }
}

// Lines are checked sixteen bytes at a time: a line end, a zero byte or one tab too many is
// found wherever it falls, and a line of thousands of tabs is counted whole.
TEST_F(StructExchangeTest, LineChecksFindEveryTabAndLineEnd) {
    XStruct* s = Make(R"(<structure Name="S"><this.field item="a" type="String" size="40"/>
        <this.field item="b" type="String" size="40"/></structure>)");
    ASSERT_NE(s, nullptr);
    for (std::size_t length = 0; length < 40; ++length) {
        const std::string first(length, 'x');
        for (const char* end : {"\n", "\r", "\r\n"}) {
            std::string text = first + "\t1" + end + "y\t" + first + end;
            ASSERT_TRUE(s->MapDelimiterData(2, static_cast<int>(text.size()), text.data(), 'T'))
                << length << end;
            EXPECT_EQ(Text(s, L"a") + Text(s, L"[1].b"), plat::FromAnsi(first + first));
        }
        std::string extraTab = first + "\t1\t\ny\tz";
        EXPECT_FALSE(s->MapDelimiterData(2, static_cast<int>(extraTab.size()), extraTab.data(), 0));
        std::string zero = first + "\t1" + std::string(1, '\0') + "2\ny\tz";
        ASSERT_TRUE(s->MapDelimiterData(2, static_cast<int>(zero.size()), zero.data(), 0));
        EXPECT_EQ(Text(s, L"b"), L"1") << length;
    }
    // 4097 tabs: 256 in each lane, which wraps a byte, and one in the last bytes.
    std::string manyTabs = std::string(4096, '\t') + "a\tb";
    EXPECT_FALSE(s->MapDelimiterData(1, static_cast<int>(manyTabs.size()), manyTabs.data(), 0));
}

TEST_F(StructExchangeTest, MapDelimiterDataReadsRepeatingGroups) {
    XStruct* s = Make(R"(<structure Name="S"><this.field item="hdr" type="Integer"/>
        <structure Name="og" count="0"><this.field item="x" type="Integer"/>
          <this.field item="y" type="String" size="4"/></structure>
        <this.field item="tail" type="String" size="4"/></structure>)");
    ASSERT_NE(s, nullptr);
    char rows[] = "7\n1\taa\n2\tbb\n3\tcc\nEND\nignored";
    ASSERT_TRUE(s->MapDelimiterData(1, sizeof rows - 1, rows, 0));
    EXPECT_EQ(s->GetISCnt(1), 3);
    EXPECT_EQ(Text(s, L"hdr") + Text(s, L"og[2].y") + Text(s, L"tail"), L"7ccEND");

    char closed[] = "8\n4\tdd\n\r\nEND2"; // a carriage-return line closes the group
    ASSERT_TRUE(s->MapDelimiterData(1, sizeof closed - 1, closed, 0));
    EXPECT_EQ(s->GetISCnt(1), 1);
    EXPECT_EQ(Text(s, L"og[0].x") + Text(s, L"tail"), L"4END2");

    char noTail[] = "9\n5\tee\n";
    char badLead[] = "1\t2\n5\tee\nT";
    EXPECT_FALSE(s->MapDelimiterData(1, sizeof noTail - 1, noTail, 0));
    EXPECT_TRUE(Confirms().empty());
    EXPECT_FALSE(s->MapDelimiterData(1, sizeof badLead - 1, badLead, 0));
    EXPECT_EQ(Confirms(), std::vector<std::wstring>{L"OG 앞 필드를 읽지 못했습니다."});
    EXPECT_EQ(Text(s, L"tail"), L"END2");
}

TEST_F(StructExchangeTest, BlobsArriveAloneAndWhole) {
    XStruct* mixed = Make(R"(<structure Name="M"><this.field item="n" type="Integer"/>
                               <this.field item="b" type="Blob"/></structure>)");
    XStruct* blob = Make(R"(<structure Name="B"><this.field item="b" type="Blob" size="2"/>
                              </structure>)");
    ASSERT_TRUE(mixed && blob);
    char data[] = "raw\tbytes\n";
    EXPECT_FALSE(mixed->MapDelimiterData(1, 5, data, 0));
    EXPECT_FALSE(blob->MapDelimiterData(2, 5, data, 0));
    EXPECT_EQ(Confirms(),
              (std::vector<std::wstring>{L"BLOB 필드는 다른 필드와 함께 올 수 없습니다.",
                                         L"BLOB 필드는 루핑될 수 없습니다."}));
    EXPECT_EQ(blob->GetRecordSize(), 2);
    ASSERT_TRUE(blob->MapDelimiterData(1, sizeof data - 1, data, 0));
    EXPECT_EQ(RowBytes(blob, 0), Bytes(data, data + sizeof data - 1));
}

TEST_F(StructExchangeTest, AZeroCharacterIsOneCharacterOfTextAndGoesOutAsABlank) {
    XStruct* s = Make(R"(<structure Name="S"><this.field item="c" type="Char"/>
        <this.field item="s" type="String" size="2" value="xy"/></structure>)");
    ASSERT_NE(s, nullptr);
    // "%c" of the zero byte, as the cell's variant gives it too.
    const std::wstring zero(1, L'\0');
    EXPECT_EQ(Text(s, L"c"), zero);
    CVariant value;
    std::wstring variantText;
    ASSERT_TRUE(s->GetVal(0, 0, value) && value.Get(variantText));
    EXPECT_EQ(variantText, zero);

    Bytes out;
    ASSERT_TRUE(s->DumpDelimiterRecord(out, '|'));
    EXPECT_EQ(std::string(out.begin(), out.end()), "|xy|");
    // The text request leaves a blank in the cell, so later requests of the row send one.
    EXPECT_EQ(Text(s, L"c"), L" ");
    ASSERT_TRUE(s->DumpRecord(out));
    EXPECT_EQ(std::string(out.begin(), out.end()), " xy");
    ASSERT_TRUE(s->DumpDelimiterRecord(out, '|'));
    EXPECT_EQ(std::string(out.begin(), out.end()), "|xy|");
}

TEST_F(StructExchangeTest, DumpsWriteRowZeroAsRequestsAndEveryRowAsText) {
    XStruct* s = Make(R"(<structure Name="S" type="dynamic">
        <this.field item="code" type="String" size="6"/><this.field item="nm" type="String" size="6"/>
        <this.field item="Acct:Account" type="String" size="10"/><this.field item="c" type="Char"/>
        <this.field item="qty" type="Integer" Format="#,##0"/><this.field item="memo" type="String"/>
        <this.addrow text="x"/></structure>)");
    ASSERT_NE(s, nullptr);
    const wchar_t* values[] = {L"00593", L"AB  ", L"1234567890", L"", L"1234567", L"notes!"};
    for (int col = 0; col < 6; ++col)
        ASSERT_TRUE(s->SetVal(0, col, values[col]));
    Bytes out;
    ASSERT_TRUE(s->DumpDelimiterRecord(out, static_cast<char>(124)));
    EXPECT_EQ(std::string(out.begin(), out.end()), "00593|AB|12345678\t90||1234567|notes!|");

    ASSERT_TRUE(s->DumpRecord(out)); // the string as its bytes: record size - 4 + 6
    ASSERT_EQ(out.size(), static_cast<std::size_t>(s->GetRecordSize() + 2));
    EXPECT_EQ(std::string(out.end() - 10, out.end()), std::string("\x87\xd6\x12\0notes!", 10));

    std::vector<std::vector<std::wstring>> texts{{L"stale"}};
    s->DumpFormat(texts);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0][4] + texts[0][1] + texts[1][0], L"1,234,567AB  x");

    s->RmStruct();
    EXPECT_FALSE(s->DumpRecord(out));
    EXPECT_TRUE(out.empty());
}

} // namespace
