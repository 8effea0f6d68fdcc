#include "data/vector_row_mapper.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "data/cell_codec.h"
#include "data/delimited_rows.h"
#include "data/string_table.h"
#include "data/struct.h"

namespace {

using orvo::VectorRowMapper;

constexpr DT_DATA_TYPE kTypes[] = {DT_STR, DT_CHAR, DT_INT, DT_INT64, DT_DOUBLE, DT_FLOAT};

struct FieldSpec {
    DT_DATA_TYPE type;
    int size = 0;
};

CRecord RecordOf(const std::vector<FieldSpec>& fields) {
    CRecord record;
    for (std::size_t f = 0; f < fields.size(); ++f)
        record.AddNewField(L"", L"f" + std::to_wstring(f), nullptr, fields[f].type, fields[f].size);
    record.CalcInternals();
    return record;
}

CRecord RandomRecord(std::mt19937& rng, int count) {
    std::vector<FieldSpec> fields;
    for (int f = 0; f < count; ++f) {
        const DT_DATA_TYPE type = kTypes[rng() % std::size(kTypes)];
        fields.push_back({type, type == DT_STR ? 1 + static_cast<int>(rng() % 20) : 0});
    }
    return RecordOf(fields);
}

std::string Digits(std::mt19937& rng, unsigned count) {
    std::string digits;
    for (unsigned i = 0; i < count; ++i)
        digits += static_cast<char>('0' + rng() % 10);
    return digits;
}

// A field's text: mostly the forms a feed sends, often one the vector form refuses.
std::string RandomText(std::mt19937& rng, DT_DATA_TYPE type, bool carriageReturnEnds) {
    static const char* const kOdd[] = {
        "", "-", "+5", " 7", "1e5", "2.5e3", ".", "-.", "1.2.3", "--5", "12a", "0x10", "-0", "5."};
    if (rng() % 8 == 0)
        return kOdd[rng() % std::size(kOdd)];
    const std::string sign = rng() % 4 == 0 ? "-" : "";
    switch (type) {
    case DT_INT:
        return sign + Digits(rng, 1 + rng() % 10);
    case DT_INT64:
        return sign + Digits(rng, 1 + rng() % 19);
    case DT_DOUBLE:
    case DT_FLOAT:
        return sign + Digits(rng, rng() % 10) + (rng() % 10 ? "." : "") + Digits(rng, rng() % 9);
    default: {
        static const char kChars[] = "ABCxyz019 .-+_\r\0";
        std::string text;
        const unsigned length = rng() % 24;
        for (unsigned i = 0; i < length; ++i) {
            // Carriage returns and zero bytes only now and then.
            const std::size_t pick = rng() % (sizeof kChars - 1);
            const bool rare = pick >= sizeof kChars - 3;
            const bool ends = kChars[pick] == '\r' && carriageReturnEnds;
            text += (rare && rng() % 4) || ends ? 'q' : kChars[pick];
        }
        return text;
    }
    }
}

std::string
RandomLines(std::mt19937& rng, const CRecord& record, int rows, bool carriageReturnEnds) {
    std::string text;
    for (int r = 0; r < rows; ++r) {
        for (int f = 0; f < record.GetFieldCount(); ++f) {
            if (f > 0)
                text += '\t';
            text += RandomText(rng, record.GetField(f)->Type, carriageReturnEnds);
        }
        if (rng() % 40 == 0)
            text += std::string(120, 'w'); // too long for the vector form
        // The data may end the last line, unless that line is empty.
        const bool empty = text.empty() || text.back() == '\n' || text.back() == '\r';
        if (r + 1 == rows && !empty && rng() % 3 == 0)
            continue;
        // A lone carriage return before an empty line would pair with its line feed.
        const bool loneReturn = record.GetFieldCount() > 1 && rng() % 2;
        text += carriageReturnEnds && rng() % 2 ? (loneReturn ? "\r" : "\r\n") : "\n";
    }
    return text;
}

struct Mapped {
    std::vector<unsigned char> rows;
    std::string data;
    int vectorLines = 0;
};

// Every line through the per-field path.
Mapped MapByFields(const CRecord& record, std::string data, int rows, bool carriageReturnEnds) {
    const auto size = static_cast<std::size_t>(record.GetRecordSize());
    Mapped out{std::vector<unsigned char>(size * static_cast<std::size_t>(rows)), {}, 0};
    orvo::DelimitedRows lines;
    orvo::StringTable strings;
    const auto fields = static_cast<std::size_t>(record.GetFieldCount());
    if (!lines.Scan(
            data.data(), data.size(), carriageReturnEnds, static_cast<std::size_t>(rows), fields)) {
        ADD_FAILURE() << "the generated lines do not scan: " << ::testing::PrintToString(data);
        return out;
    }
    for (int r = 0; r < rows; ++r) {
        unsigned char* row = out.rows.data() + size * static_cast<std::size_t>(r);
        lines.Take(static_cast<std::size_t>(r), [&](std::size_t f, std::string_view text) {
            const auto c = static_cast<int>(f);
            orvo::WriteCellAnsi(*record.GetField(c), row + record.GetOffSet(c), text, strings);
        });
    }
    out.data = std::move(data);
    return out;
}

// Lines through the vector form where they qualify, the rest field by field.
Mapped MapByLines(const VectorRowMapper& mapper,
                  const CRecord& record,
                  std::string data,
                  int rows,
                  bool carriageReturnEnds) {
    const auto size = static_cast<std::size_t>(record.GetRecordSize());
    Mapped out{std::vector<unsigned char>(size * static_cast<std::size_t>(rows)), {}, 0};
    orvo::DelimitedRows lines;
    orvo::StringTable strings;
    const auto fields = static_cast<std::size_t>(record.GetFieldCount());
    std::size_t pos = 0;
    for (int r = 0; r < rows;) {
        unsigned char* row = out.rows.data() + size * static_cast<std::size_t>(r);
        const auto count = static_cast<std::size_t>(rows - r);
        const std::string before = data;
        const std::size_t mapped =
            mapper.MapLines(data.data(), data.size(), pos, carriageReturnEnds, row, size, count);
        EXPECT_EQ(data, before) << "separators are zeroed only at the end";
        out.vectorLines += static_cast<int>(mapped);
        r += static_cast<int>(mapped);
        if (mapped == count)
            break;
        // The line that stopped the run is left unwritten for the per-field path.
        row += size * mapped;
        EXPECT_TRUE(std::all_of(row, row + size, [](unsigned char b) { return b == 0; }));
        if (!lines.Scan(data.data() + pos, data.size() - pos, carriageReturnEnds, 1, fields)) {
            ADD_FAILURE() << "a line the vector form refused does not scan";
            break;
        }
        lines.Take(0, [&](std::size_t f, std::string_view text) {
            const auto c = static_cast<int>(f);
            orvo::WriteCellAnsi(*record.GetField(c), row + record.GetOffSet(c), text, strings);
        });
        pos += lines.NextLine(0);
        ++r;
    }
    VectorRowMapper::ZeroSeparators(data.data(), pos, carriageReturnEnds);
    out.data = std::move(data);
    return out;
}

class VectorRowMapperTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!VectorRowMapper::Available())
            GTEST_SKIP() << "this processor has no AVX-512 VBMI";
    }
};

TEST_F(VectorRowMapperTest, RandomLinesMapAsFieldByField) {
    std::mt19937 rng(20261207);
    int vectorLines = 0;
    int allLines = 0;
    for (int round = 0; round < 3000; ++round) {
        // Eight fields at most: two digit runs each fit the registers.
        const CRecord record = RandomRecord(rng, 1 + static_cast<int>(rng() % 8));
        VectorRowMapper mapper;
        ASSERT_TRUE(mapper.Prepare(record));
        const bool carriageReturnEnds = rng() % 2;
        const int rows = 1 + static_cast<int>(rng() % 6);
        const std::string text = RandomLines(rng, record, rows, carriageReturnEnds);
        // The text ends where the data ends: masked loads must not read past it.
        const Mapped expected = MapByFields(record, text, rows, carriageReturnEnds);
        const Mapped got = MapByLines(mapper, record, text, rows, carriageReturnEnds);
        ASSERT_EQ(got.rows, expected.rows) << "round " << round << ": " << text;
        ASSERT_EQ(got.data, expected.data) << "round " << round;
        vectorLines += got.vectorLines;
        allLines += rows;
    }
    // The generator is meant to exercise both paths.
    EXPECT_GT(vectorLines, allLines / 10);
    EXPECT_LT(vectorLines, allLines * 9 / 10);
}

TEST_F(VectorRowMapperTest, NumbersAtTheEdgesOfTheVectorForm) {
    const CRecord record = RecordOf({{DT_INT}, {DT_INT64}, {DT_DOUBLE}, {DT_FLOAT}, {DT_CHAR}});
    VectorRowMapper mapper;
    ASSERT_TRUE(mapper.Prepare(record));
    const std::pair<const char*, bool> lines[] = {
        {"99999999\t9999999999999999\t99999999.9999999\t-0.5\tZ\n", true},
        {"-1\t-1\t-0.0\t.5\t\n", true},
        {"0\t0\t-.1234567\t0.1\tab\n", true},
        {"123456789\t1\t1.5\t1.5\tx\n", false},         // nine digits: the per-field path
        {"1\t12345678901234567\t1.5\t1.5\tx\n", false}, // seventeen digits
        {"1\t1\t1.12345678\t1.5\tx\n", false},          // eight fraction digits
        {"1\t1\t5.\t1.5\tx\n", false},                  // no fraction digits
        {"1\t1\t5\t1.5\tx\n", false},                   // no point
        {"-\t1\t1.5\t1.5\tx\n", false},
        {"+1\t1\t1.5\t1.5\tx\n", false},
        {"1\t1\t1.5\t1.5\tx.y\n", false}, // a point in a string shifts the boundaries
    };
    const auto size = static_cast<std::size_t>(record.GetRecordSize());
    for (const auto& [line, vector] : lines) {
        const std::string text = line;
        const Mapped expected = MapByFields(record, text, 1, false);
        const Mapped got = MapByLines(mapper, record, text, 1, false);
        EXPECT_EQ(got.rows, expected.rows) << line;
        EXPECT_EQ(got.data, expected.data) << line;
        EXPECT_EQ(got.vectorLines, vector ? 1 : 0) << line;
        ASSERT_EQ(got.rows.size(), size);
    }
}

TEST_F(VectorRowMapperTest, RecordsBeyondTheRegistersAreRefused) {
    auto recordOf = [](DT_DATA_TYPE type, int count, int size = 0) {
        return RecordOf(std::vector<FieldSpec>(static_cast<std::size_t>(count), {type, size}));
    };
    VectorRowMapper mapper;
    EXPECT_TRUE(mapper.Prepare(recordOf(DT_INT, 16)));
    EXPECT_FALSE(mapper.Prepare(recordOf(DT_INT, 17))); // sixteen runs at most
    EXPECT_TRUE(mapper.Prepare(recordOf(DT_DOUBLE, 8)));
    EXPECT_FALSE(mapper.Prepare(recordOf(DT_DOUBLE, 9)));
    EXPECT_TRUE(mapper.Prepare(recordOf(DT_STR, 62, 4)));
    EXPECT_FALSE(mapper.Prepare(recordOf(DT_STR, 64, 4))); // boundaries fill 63 lanes
    EXPECT_FALSE(mapper.Prepare(recordOf(DT_STR, 2, 65)));
    EXPECT_TRUE(mapper.Prepare(recordOf(DT_STR, 4, 64)));
    EXPECT_FALSE(mapper.Prepare(recordOf(DT_STR, 5, 64))); // rows of 256 bytes at most
    EXPECT_FALSE(mapper.Prepare(recordOf(DT_BOOL, 1)));
    EXPECT_FALSE(mapper.Prepare(recordOf(DT_UINT, 1)));
    EXPECT_FALSE(mapper.Prepare(recordOf(DT_PT_STR, 1)));
    // A refused record leaves nothing behind to map with.
    char text[] = "1\n";
    unsigned char row[8] = {};
    std::size_t pos = 0;
    EXPECT_EQ(mapper.MapLines(text, 2, pos, false, row, sizeof row, 1), 0u);
    EXPECT_EQ(pos, 0u);
}

TEST_F(VectorRowMapperTest, LinesFitAsTheScanDoes) {
    std::mt19937 rng(7);
    static const char kBytes[] = {'a', '\t', '\n', '\r', '\0', '5'};
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        const std::size_t length = rng() % 200;
        for (std::size_t i = 0; i < length; ++i)
            text += rng() % 3 ? 'a' : kBytes[rng() % std::size(kBytes)];
        const bool carriageReturnEnds = rng() % 2;
        const std::size_t rows = 1 + rng() % 8;
        const std::size_t fields = 1 + rng() % 4;
        orvo::DelimitedRows lines;
        std::string copy = text;
        EXPECT_EQ(
            VectorRowMapper::LinesFit(text.data(), text.size(), carriageReturnEnds, rows, fields),
            lines.Scan(copy.data(), copy.size(), carriageReturnEnds, rows, fields))
            << "round " << round;
    }
}

void ExpectSameRow(XStruct& many, int row, XStruct& one, const std::string& line) {
    for (int c = 0; c < many.GetFieldCount(); ++c) {
        std::wstring a;
        std::wstring b;
        ASSERT_TRUE(many.GetVal(row, c, a));
        ASSERT_TRUE(one.GetVal(0, c, b));
        EXPECT_EQ(a, b) << "row " << row << " field " << c << ": " << line;
        const DT_DATA_TYPE type = many.GetRecord().GetField(c)->Type;
        if (type == DT_DOUBLE) {
            double x = 0;
            double y = 0;
            ASSERT_TRUE(many.GetVal(row, c, x));
            ASSERT_TRUE(one.GetVal(0, c, y));
            EXPECT_EQ(std::memcmp(&x, &y, sizeof x), 0) << "row " << row << ": " << line;
        }
    }
}

// The same rows through the structure, many lines at once and one at a time.
TEST_F(VectorRowMapperTest, StructureMapsManyLinesAsOneByOne) {
    std::mt19937 rng(11);
    for (int round = 0; round < 60; ++round) {
        const CRecord record = RandomRecord(rng, 1 + static_cast<int>(rng() % 10));
        const int rows = 8 + static_cast<int>(rng() % 40);
        const bool carriageReturnEnds = rng() % 2;
        const char mode = carriageReturnEnds ? 'T' : 0;
        const std::string original = RandomLines(rng, record, rows, carriageReturnEnds);
        std::string text = original;
        XStruct many;
        many.GetRecord() = record;
        ASSERT_TRUE(many.MapDelimiterData(rows, static_cast<int>(text.size()), text.data(), mode));
        ASSERT_EQ(many.GetRecordCount(), rows);

        std::string scanned = original;
        orvo::DelimitedRows lines;
        ASSERT_TRUE(lines.Scan(scanned.data(),
                               scanned.size(),
                               carriageReturnEnds,
                               static_cast<std::size_t>(rows),
                               static_cast<std::size_t>(record.GetFieldCount())));
        std::size_t start = 0;
        for (int r = 0; r < rows; ++r) {
            const std::size_t next = lines.NextLine(static_cast<std::size_t>(r));
            std::string line = original.substr(start, next - start);
            XStruct one;
            one.GetRecord() = record;
            ASSERT_TRUE(one.MapDelimiterData(1, static_cast<int>(line.size()), line.data(), mode));
            ExpectSameRow(many, r, one, original.substr(start, next - start));
            // The mapped text keeps its bytes but for zeroed separators, as line by line.
            EXPECT_EQ(text.substr(start, next - start), line) << "row " << r;
            start = next;
        }
    }
}

TEST_F(VectorRowMapperTest, AMalformedLineAmongManyChangesNothing) {
    const CRecord record = RecordOf({{DT_STR, 6}, {DT_INT}, {DT_DOUBLE}});
    XStruct s;
    s.GetRecord() = record;
    std::string good;
    for (int r = 0; r < 10; ++r)
        good += "00593" + std::to_string(r) + "\t" + std::to_string(70000 + r) + "\t-1.25\n";
    ASSERT_TRUE(s.MapDelimiterData(10, static_cast<int>(good.size()), good.data(), 0));
    int price = 0;
    ASSERT_TRUE(s.GetVal(9, 1, price));
    EXPECT_EQ(price, 70009);
    double rate = 0;
    ASSERT_TRUE(s.GetVal(3, 2, rate));
    EXPECT_EQ(rate, -1.25);

    for (const char* bad : {"000000\t1\t2.5\textra\n", "000000\t1\n", ""}) {
        std::string text;
        for (int r = 0; r < 10; ++r)
            text += r == 7 ? std::string(bad) : "111111\t1\t2.5\n";
        const std::string before = text;
        EXPECT_FALSE(s.MapDelimiterData(10, static_cast<int>(text.size()), text.data(), 0)) << bad;
        EXPECT_EQ(text, before) << "a refused text was written to";
        ASSERT_TRUE(s.GetVal(9, 1, price));
        EXPECT_EQ(price, 70009) << "a refused text changed the rows";
    }
}

} // namespace
