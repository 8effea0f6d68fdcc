#include "data/inline_number.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/base/lenient.h"
#include "struct_page.h"

namespace {

// The general readers take wide text; the rules are ASCII, so each byte widens to itself.
std::wstring Widen(std::string_view text) {
    std::wstring wide;
    for (const char c : text)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return wide;
}

template <class T> std::vector<unsigned char> BytesOf(T value) {
    std::vector<unsigned char> bytes(sizeof value);
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

const char* const kEdgeCases[] = {
    "",
    "-",
    "+",
    ".",
    "-.",
    "0",
    "-0",
    "+5",
    " 7",
    "\t7",
    "1e5",
    "1E5",
    "2e",
    "007",
    ".5",
    "5.",
    "-5.",
    "1.2.3",
    "--5",
    "+-5",
    "12abc",
    "inf",
    "-nan",
    "0.000000",
    "-0.00",
    "99999999",
    "999999999",
    "1000000000",
    "2147483647",
    "2147483648",
    "-2147483648",
    "-2147483649",
    "12345678",
    "123456789",
    "1234567890123456",
    "123456789012345",
    "9223372036854775807",
    "9223372036854775808",
    "-9223372036854775808",
    "-9223372036854775809",
    "1234567890123456789",
    "12345678901234567890",
    "0.1234567890123456789012345",
    "1234567.1234567",
    "12345678.1234567",
    "1234567.12345678",
    "0000000000000001",
    "3.14159265358979",
    "\xC3\xA9",
    "5\xFA",
    "\3775",
    "999999999999999999",
    "-999999999999999999",
    "1000000000000000000",
    "123456789.123456",
    "1234567890.123456",
    "-0.0",
    "4.5\xFB",
    "7\x80",
    "12.50x",
    "1.5e-3",
};

// Texts in the forms the inline readers take, and a little beyond them.
std::string NumberLike(std::mt19937& random) {
    static const char kSuffixes[] = "eE.x \xFA\xFF-+0";
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    auto digits = [&](int count) {
        std::string run;
        for (int i = 0; i < count; ++i)
            run += static_cast<char>('0' + pick(10));
        return run;
    };
    std::string text;
    if (pick(3) == 0)
        text += pick(2) ? '-' : '+';
    text += digits(pick(20));
    if (pick(2))
        text += '.' + digits(pick(20));
    if (pick(4) == 0)
        text += kSuffixes[pick(sizeof kSuffixes - 1)];
    return text;
}

std::string AnyBytes(std::mt19937& random) {
    static const char kBytes[] = "0123456789-+.eE \x01\x7F\x80\xFA\xFF";
    std::string text;
    for (int i = static_cast<int>(random() % 12); i > 0; --i)
        text += kBytes[random() % (sizeof kBytes - 1)];
    return text;
}

void ExpectReadAsLenient(std::string_view text) {
    const std::wstring wide = Widen(text);
    EXPECT_EQ(orvo::InlineAtoi(text), plat::_wtoi(wide)) << text;
    EXPECT_EQ(orvo::InlineAtoi64(text), plat::_wtoi64(wide)) << text;
    // Bit for bit: the sign of a zero counts.
    EXPECT_EQ(BytesOf(orvo::InlineAtof(text)), BytesOf(plat::_wtof(wide))) << text;
}

// Each text read at the very end of its buffer, and followed by digits it must not take.
TEST(InlineNumberTest, ReadsAsTheLenientConversions) {
    std::mt19937 random(20240611);
    std::vector<std::string> texts(std::begin(kEdgeCases), std::end(kEdgeCases));
    texts.emplace_back("12\0"
                       "34",
                       5);
    for (int i = 0; i < 20'000; ++i)
        texts.push_back(i % 4 == 0 ? AnyBytes(random) : NumberLike(random));
    for (const std::string& text : texts) {
        for (const char* tail : {"",
                                 "9",
                                 "123\t4567890123456",
                                 "\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n",
                                 "12345678901234567890"}) {
            const std::string buffer = text + tail;
            const std::unique_ptr<char[]> exact(new char[buffer.size()]);
            std::memcpy(exact.get(), buffer.data(), buffer.size());
            ExpectReadAsLenient(std::string_view(exact.get(), text.size()));
        }
    }
}

// Mapped cells hold what the general readers give the same texts, including texts cut at a
// zero byte and rows near the end of the data.
TEST(InlineNumberTest, MappedCellsHoldTheLenientValues) {
    constexpr int kRows = 400;
    orvo::XDOPtr page = test::BuildPage(R"(<structure Name="N">
        <this.field item="i" type="Integer"/><this.field item="l" type="Integer64"/>
        <this.field item="d" type="Double"/><this.field item="f" type="Float"/></structure>)");
    auto* s = dynamic_cast<XStruct*>(page.get());
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->GetRecordSize(), 24);
    std::mt19937 random(7);
    std::vector<std::string> fields;
    std::string text;
    for (int i = 0; i < kRows * 4; ++i) {
        std::string field = i % 5 == 0 ? AnyBytes(random) : NumberLike(random);
        if (i % 37 == 0)
            field.insert(field.size() / 2, 1, '\0');
        text += field + (i % 4 == 3 ? "\n" : "\t");
        fields.push_back(field.substr(0, field.find('\0')));
    }
    text.pop_back(); // the last row runs to the end of the data
    std::vector<char> data(text.begin(), text.end());
    ASSERT_TRUE(s->MapDelimiterData(kRows, static_cast<int>(data.size()), data.data(), 0));
    for (int r = 0; r < kRows; ++r) {
        const std::string* row = &fields[static_cast<std::size_t>(r) * 4];
        std::vector<unsigned char> expected = BytesOf(plat::_wtoi(Widen(row[0])));
        for (const auto& bytes : {BytesOf(plat::_wtoi64(Widen(row[1]))),
                                  BytesOf(plat::_wtof(Widen(row[2]))),
                                  BytesOf(static_cast<float>(plat::_wtof(Widen(row[3]))))})
            expected.insert(expected.end(), bytes.begin(), bytes.end());
        void* where = nullptr;
        ASSERT_TRUE(s->GetValBlob(r, 0, where));
        const auto* cells = static_cast<const unsigned char*>(where);
        EXPECT_EQ(std::vector<unsigned char>(cells, cells + 24), expected)
            << r << ": " << row[0] << " | " << row[1] << " | " << row[2] << " | " << row[3];
    }
}

} // namespace
