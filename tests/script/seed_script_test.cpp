// A screen's script encrypts and decrypts through "CommMan" the way the service publishes it:
// texts with their byte count returned by reference, bytes as arrays of numbers.
#include <gtest/gtest.h>

#include <string>

#include "core/notice_man.h"
#include "core/object_tree.h"
#include "data/comm_man.h"
#include "platform/base/codepage.h"
#include "platform/base/text.h"
#include "script/script.h"
#include "support/recording_presenter.h"

namespace {

// The caller's data value is the function's input.
constexpr const char* kCode = R"(<Script Name="code">
Function HexOf(items, count)
  Dim i, s
  For i = 0 To count - 1 : s = s &amp; Right("0" &amp; Hex(items(i)), 2) : Next
  HexOf = s
End Function

Function BytesOf(hexText)
  Dim bytes(), i
  ReDim bytes(Len(hexText) / 2 - 1)
  For i = 0 To UBound(bytes) : bytes(i) = CInt("&amp;H" &amp; Mid(hexText, i * 2 + 1, 2)) : Next
  BytesOf = bytes
End Function

' The sealed bytes and their count, then the count after opening them again in place.
Function SealBytes(o)
  Dim plain, sealed, n, m, hexSealed
  plain = BytesOf(o.DataValue)
  n = -1
  sealed = CommMan.EncryptSEEDBin(plain, UBound(plain) + 1, n)
  hexSealed = HexOf(sealed, n)
  m = -1
  CommMan.DecryptSEEDBin sealed, n, m
  SealBytes = hexSealed &amp; "/" &amp; n &amp; "/" &amp; m &amp; "/" &amp; HexOf(sealed, m)
End Function

Function SealText(o)
  Dim n
  n = -1
  SealText = CommMan.EncryptSEED(o.DataValue, n) &amp; "/" &amp; n
End Function

Function OpenText(o)
  Dim n
  n = -1
  OpenText = CommMan.DecryptSEED(o.DataValue, n) &amp; "/" &amp; n
End Function

Function NotBytes(o)
  Dim n
  n = -1
  NotBytes = UBound(CommMan.EncryptSEEDBin(Array(1, 300, 2), 3, n)) &amp; "/" &amp; n
End Function
</Script>)";

class SeedScriptTest : public ::testing::Test {
protected:
    void SetUp() override {
        XNoticeMan::Instance().SetPresenter(&notices);
        root = test::BuildTree(std::string("<lib Name=\"page\">") + kCode +
                               "<P Name=\"input\"/></lib>");
        ASSERT_TRUE(root);
        script = dynamic_cast<XScript*>(test::Find(root.get(), L"code"));
        input = test::Find(root.get(), L"input");
        ASSERT_TRUE(script && script->IsStarted())
            << plat::ToUtf8(notices.confirms.empty() ? L"" : notices.confirms[0].text);
    }
    void TearDown() override {
        XCommMan::Instance().SetSeedKey(orvo::kBuiltInSeedKeyHex);
        root.reset();
        XNoticeMan::Instance().SetPresenter(nullptr);
    }

    std::wstring Run(const wchar_t* function, const std::wstring& data) {
        input->SetData(data.c_str());
        orvo::DispVariant result;
        EXPECT_EQ(script->RunFunctionRet(function, input, result), 1) << plat::ToUtf8(function);
        std::wstring text;
        result.ToText(text);
        return text;
    }

    RecordingPresenter notices;
    orvo::XDOPtr root;
    XScript* script = nullptr;
    XDO* input = nullptr;
};

// The published test vectors of the SEED block cipher: the first sealed block is the
// vector's cipher text, the second is a whole block of padding.
TEST_F(SeedScriptTest, BytesSealAsThePublishedVectorsAndOpenInPlace) {
    struct Vector {
        const wchar_t* key;
        const wchar_t* plain;
        const wchar_t* cipher;
    };
    const Vector vectors[] = {
        {L"00000000000000000000000000000000",
         L"000102030405060708090A0B0C0D0E0F",
         L"5EBAC6E0054E166819AFF1CC6D346CDB"},
        {L"000102030405060708090A0B0C0D0E0F",
         L"00000000000000000000000000000000",
         L"C11F22F20140505084483597E4370F43"},
        {L"4706480851E61BE85D74BFB3FD956185",
         L"83A2F8A288641FB9A4E9A5CC2F131C7D",
         L"EE54D13EBCAE706D226BC3142CD40D4A"},
        {L"28DBC3BC49FFD87DCFA509B11D422BE7",
         L"B41E6BE2EBA84A148E2EED84593C5EC7",
         L"9B9B7BFCD1813CB95D0B3618F40F5122"},
    };
    for (const Vector& v : vectors) {
        ASSERT_TRUE(XCommMan::Instance().SetSeedKey(v.key));
        const std::wstring cipher = v.cipher;
        const std::wstring out = Run(L"SealBytes", v.plain);
        // sealed hex (32 bytes) / 32 / 16 / the plain bytes again
        ASSERT_EQ(out.size(), 64u + 1 + 2 + 1 + 2 + 1 + 32u) << plat::ToUtf8(out);
        EXPECT_EQ(out.substr(0, 32), cipher) << plat::ToUtf8(v.key);
        EXPECT_EQ(out.substr(64), L"/32/16/" + std::wstring(v.plain));
    }
    EXPECT_EQ(Run(L"NotBytes", L""), L"-1/-1") << "an element that is no byte seals nothing";
}

TEST_F(SeedScriptTest, TextsSealAsTheServiceDoesAndComeBackWithTheirByteCount) {
    XCommMan& comm = XCommMan::Instance();
    for (const wchar_t* text :
         {L"A", L"0123456789abcdef", L"삼성전자 71500 매수", L"a,b=c;\"quoted\""}) {
        int length = 0;
        const std::wstring expected = comm.EncryptSEED(text, &length);
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(Run(L"SealText", text), expected + L"/" + std::to_wstring(length));
        const int bytes = static_cast<int>(plat::ToAnsi(text).size());
        EXPECT_EQ(length, (bytes / 16 + 1) * 16) << "1 to 16 bytes of padding, always";
        EXPECT_EQ(Run(L"OpenText", expected), std::wstring(text) + L"/" + std::to_wstring(bytes));
    }
    EXPECT_EQ(Run(L"OpenText", L"not base64!"), L"/-1") << "refused, the count untouched";
    EXPECT_EQ(Run(L"OpenText", L"AAAA"), L"/-1") << "not a whole block";
    EXPECT_EQ(Run(L"SealText", L""), L"/-1");
    EXPECT_TRUE(notices.confirms.empty());
}

} // namespace
