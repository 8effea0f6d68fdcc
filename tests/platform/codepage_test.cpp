#include "platform/base/codepage.h"
#include "platform/base/text.h"

#include <gtest/gtest.h>

namespace {

using namespace plat;

// "한글" in CP949 and EUC-KR (the common KS X 1001 range).
const std::string kHangulBytes = "\xC7\xD1\xB1\xDB";
// "똠" exists only in CP949's extension range.
const std::string kDdomBytes = "\x8C\x63";

class CodePageTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = ProcessCodePage();
        ASSERT_TRUE(SetProcessCodePage("CP949"));
    }
    void TearDown() override { SetProcessCodePage(m_saved); }

private:
    std::string m_saved;
};

TEST_F(CodePageTest, KoreanConvertsBothWays) {
    EXPECT_EQ(FromAnsi(kHangulBytes), L"한글");
    EXPECT_EQ(ToAnsi(L"한글"), kHangulBytes);
    EXPECT_EQ(FromAnsi(kDdomBytes), L"똠");
    EXPECT_EQ(ToAnsi(L"a똠b"), "a" + kDdomBytes + "b");
    EXPECT_EQ(DecodeBytes(kHangulBytes, "EUC-KR"), L"한글");
    EXPECT_EQ(FromAnsi("plain ASCII"), L"plain ASCII");
}

TEST_F(CodePageTest, UndecodableBytesBecomeOneReplacementEach) {
    EXPECT_EQ(FromAnsi("A\xFF" + kHangulBytes), L"A\uFFFD한글");
    // A lead byte cut off at the end.
    EXPECT_EQ(FromAnsi("A\xB0"), L"A\uFFFD");
    // A lead byte with an impossible trail byte: only the lead is lost.
    EXPECT_EQ(FromAnsi("\xC7\x41" + kHangulBytes), L"\uFFFDA한글");
    EXPECT_EQ(DecodeBytes("\xC7\x41", "EUC-KR"), L"\uFFFDA");
}

// glibc's CP949 converter steps over the unmapped pair A2 E8 before it reports it, instead
// of stopping at it as for other bad bytes: at the end of the text nothing is left to give
// up, and inside it the next character is not the bad one.
TEST_F(CodePageTest, APairTheConverterStepsOverCostsNothingAroundIt) {
    EXPECT_EQ(FromAnsi("\xA2\xE8"), L"\uFFFD");
    EXPECT_EQ(FromAnsi("\xA2\xE8"
                       "A" +
                       kHangulBytes),
              L"\uFFFDA한글");
    EXPECT_EQ(FromAnsi(kHangulBytes + "\xA2\xE8\xA2\xE8" + kDdomBytes), L"한글\uFFFD\uFFFD똠");
}

TEST_F(CodePageTest, UnencodableCharactersBecomeQuestionMarks) {
    EXPECT_EQ(ToAnsi(L"a\u0E01b"), "a?b");
    EXPECT_EQ(ToAnsi(std::wstring(L"한") + static_cast<wchar_t>(0xD800) + L"글"),
              "\xC7\xD1?\xB1\xDB");
    // In a stateful encoding the '?' must be written outside the shifted Korean run.
    const std::string iso = EncodeText(L"한\u0E01글", "ISO-2022-KR");
    EXPECT_EQ(DecodeBytes(iso, "ISO-2022-KR"), L"한?글");
}

TEST_F(CodePageTest, ProcessCodePageCanBeChanged) {
    EXPECT_EQ(ProcessCodePage(), "CP949");
    EXPECT_FALSE(SetProcessCodePage("NO-SUCH-ENCODING"));
    EXPECT_FALSE(SetProcessCodePage(""));
    EXPECT_EQ(ProcessCodePage(), "CP949");

    ASSERT_TRUE(SetProcessCodePage("EUC-KR"));
    EXPECT_EQ(ProcessCodePage(), "EUC-KR");
    // EUC-KR lacks the CP949 extension.
    EXPECT_NE(FromAnsi(kDdomBytes), L"똠");
    EXPECT_EQ(FromAnsi(kHangulBytes), L"한글");
    EXPECT_EQ(ToAnsi(L"똠"), "?");

    ASSERT_TRUE(SetProcessCodePage("ISO-8859-1"));
    EXPECT_EQ(FromAnsi("caf\xE9"), L"café");
    EXPECT_EQ(ToAnsi(L"café 한"), "caf\xE9 ?");
}

TEST_F(CodePageTest, UnknownEncodingKeepsOnlyAscii) {
    EXPECT_EQ(DecodeBytes("ab\xC7\xD1", "NO-SUCH-ENCODING"), L"ab\uFFFD\uFFFD");
    EXPECT_EQ(EncodeText(L"ab한", "NO-SUCH-ENCODING"), "ab?");
}

TEST(Utf8Test, InvalidSequencesBecomeOneReplacementPerByte) {
    EXPECT_EQ(FromUtf8("\xED\x95\x9C\xF0\x9F\x98\x80"), L"한\U0001F600");
    EXPECT_EQ(FromUtf8("a\xC0\xAF"
                       "b"),
              L"a\uFFFD\uFFFDb");                               // overlong '/'
    EXPECT_EQ(FromUtf8("\xED\xA0\x80"), L"\uFFFD\uFFFD\uFFFD"); // encoded surrogate
    EXPECT_EQ(FromUtf8("\xE4\xB8"
                       "a"),
              L"\uFFFD\uFFFDa");                                          // truncated
    EXPECT_EQ(FromUtf8("\xF4\x90\x80\x80"), L"\uFFFD\uFFFD\uFFFD\uFFFD"); // above U+10FFFF
}

TEST(Utf8Test, EncodesScalarValuesAndReplacesTheRest) {
    EXPECT_EQ(ToUtf8(L"a한\U0001F600"), "a\xED\x95\x9C\xF0\x9F\x98\x80");
    const std::wstring bad = {static_cast<wchar_t>(0xDC00), static_cast<wchar_t>(0x110000)};
    EXPECT_EQ(ToUtf8(bad), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

} // namespace
