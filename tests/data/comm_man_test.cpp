#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/notice_man.h"
#include "data/comm_man.h"
#include "data/seed_cipher.h"
#include "data/struct.h"
#include "data/tr.h"
#include "platform/base/base64.h"
#include "platform/base/codepage.h"
#include "support/recording_presenter.h"
#include "support/scoped_registration.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes FromHex(const std::string& hex) {
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

std::array<std::uint8_t, 16> Key(const std::string& hex) {
    std::array<std::uint8_t, 16> key{};
    const Bytes bytes = FromHex(hex);
    std::copy(bytes.begin(), bytes.end(), key.begin());
    return key;
}

std::wstring Base64(const Bytes& bytes) {
    const std::string text = plat::EncodeBase64(bytes);
    return {text.begin(), text.end()};
}

// RFC 4269, appendix B: key, plaintext, ciphertext.
TEST(SeedCipherTest, MatchesThePublishedVectors) {
    const char* vectors[][3] = {
        {"00000000000000000000000000000000",
         "000102030405060708090A0B0C0D0E0F",
         "5EBAC6E0054E166819AFF1CC6D346CDB"},
        {"000102030405060708090A0B0C0D0E0F",
         "00000000000000000000000000000000",
         "C11F22F20140505084483597E4370F43"},
        {"4706480851E61BE85D74BFB3FD956185",
         "83A2F8A288641FB9A4E9A5CC2F131C7D",
         "EE54D13EBCAE706D226BC3142CD40D4A"},
        {"28DBC3BC49FFD87DCFA509B11D422BE7",
         "B41E6BE2EBA84A148E2EED84593C5EC7",
         "9B9B7BFCD1813CB95D0B3618F40F5122"},
    };
    for (const auto& v : vectors) {
        orvo::SeedCipher cipher(Key(v[0]));
        Bytes block = FromHex(v[1]);
        ASSERT_TRUE(cipher.Encrypt(block));
        EXPECT_EQ(block, FromHex(v[2])) << v[0];
        ASSERT_TRUE(cipher.Decrypt(block));
        EXPECT_EQ(block, FromHex(v[1])) << v[0];
    }
    orvo::SeedCipher cipher(Key(vectors[0][0]));
    Bytes partial(17, 0xAB);
    EXPECT_FALSE(cipher.Encrypt(partial));
    EXPECT_EQ(partial, Bytes(17, 0xAB));
}

TEST(Base64Test, EncodesAndDecodesOnlyTheCanonicalForm) {
    const std::pair<std::string, std::string> pairs[] = {
        {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foobar", "Zm9vYmFy"}};
    for (const auto& [clear, encoded] : pairs) {
        const Bytes bytes(clear.begin(), clear.end());
        EXPECT_EQ(plat::EncodeBase64(bytes), encoded);
        Bytes decoded;
        EXPECT_TRUE(plat::DecodeBase64(encoded, decoded));
        EXPECT_EQ(decoded, bytes);
    }
    for (const char* bad :
         {"Zg=", "Zm9v!A==", "Z===", "Zh==", "Zm=v", " Zg==", "Zg==Zg==", "===="}) {
        Bytes decoded{1};
        EXPECT_FALSE(plat::DecodeBase64(bad, decoded)) << bad;
        EXPECT_TRUE(decoded.empty());
    }
}

// "Project" for the INI lookup: answers `value` for whatever is asked.
class IniStandIn : public IXO {
    ORVO_DISPATCH_MAP()

public:
    int
    GetINIStr(const wchar_t* kind, const wchar_t* section, const wchar_t* key, std::wstring& out) {
        asked = std::wstring(kind) + L"/" + section + L"/" + key;
        out = value;
        return 1;
    }
    std::wstring value, asked;
};

// The proxy's key is process-wide: each test sets the second published key and gives the
// built-in key back.
class CommManSeedTest : public ::testing::Test {
protected:
    static constexpr const char* kKeyHex = "000102030405060708090A0B0C0D0E0F";

    void SetUp() override { ASSERT_TRUE(comm.SetSeedKey(std::wstring(kKeyHex, kKeyHex + 32))); }
    void TearDown() override { comm.SetSeedKey(orvo::kBuiltInSeedKeyHex); }

    // Blocks encrypted under the test key as they are, padding included.
    static Bytes Sealed(Bytes plain, const char* keyHex = kKeyHex) {
        orvo::SeedCipher(Key(keyHex)).Encrypt(plain);
        return plain;
    }

    XCommMan& comm = XCommMan::Instance();
};

TEST_F(CommManSeedTest, SealsPaddedBlocksAndOpensTextsInTheProcessCodePage) {
    const Bytes zeros(16, 0);
    int length = 0;
    // 16 bytes get a whole block of padding; each block is the published cipher on its own.
    EXPECT_EQ(comm.EncryptSEEDBin(zeros.data(), 16, &length),
              Sealed(FromHex("00000000000000000000000000000000"
                             "00000000000000000000000000000010")));
    EXPECT_EQ(length, 32);

    const std::string previous = plat::ProcessCodePage();
    ASSERT_TRUE(plat::SetProcessCodePage("CP949"));
    struct Case {
        std::wstring text;
        int padded, bytes;
    } const cases[] = {{L"A", 16, 1},
                       {L"삼성전자", 16, 8},
                       {L"가나다라마바사아", 32, 16},
                       {L"005930 매수 100주", 32, 17}};
    for (const Case& c : cases) {
        const std::wstring sealed = comm.EncryptSEED(c.text.c_str(), &length);
        EXPECT_EQ(length, c.padded);
        EXPECT_EQ(sealed.size(), static_cast<std::size_t>((c.padded + 2) / 3 * 4));
        EXPECT_EQ(comm.DecryptSEED(sealed.c_str(), &length), c.text);
        EXPECT_EQ(length, c.bytes);
    }
    plat::SetProcessCodePage(previous);
}

TEST_F(CommManSeedTest, OpensOnlyThePaddingItWrites) {
    const std::pair<const char*, int> cases[] = {
        {"78787878787878787878787878787800", -7}, // last byte 0
        {"78787878787878787878787878787811", -7}, // 17
        {"78787878787878787878787878010003", -7}, // a filler byte that is not zero
        {"78787878787878787878787878000003", 13}, // the byte before the padding is text
        {"00000000000000000000000000000010", 0},
    };
    for (const auto& [hex, expected] : cases) {
        const Bytes plain = FromHex(hex);
        int length = -7;
        const std::wstring text = comm.DecryptSEED(Base64(Sealed(plain)).c_str(), &length);
        EXPECT_EQ(text, std::wstring(plain.begin(), plain.begin() + std::max(expected, 0))) << hex;
        EXPECT_EQ(length, expected) << hex;
        Bytes opened = Sealed(plain);
        length = -7;
        comm.DecryptSEEDBin(opened.data(), 16, &length);
        EXPECT_EQ(length, expected) << hex;
        Bytes cleared = plain; // decrypted in any case, the last byte cleared when accepted
        cleared[15] = expected < 0 ? plain[15] : 0;
        EXPECT_EQ(opened, cleared) << hex;
    }
}

TEST_F(CommManSeedTest, BadInputGivesEmptyResults) {
    int length = -7;
    const std::wstring unpadded = Base64(Bytes(15, 1));
    for (const wchar_t* bad : {L"", L"@@@@", L"Zg=", L"가나다라", unpadded.c_str()})
        EXPECT_EQ(comm.DecryptSEED(bad, &length), L"") << bad;
    EXPECT_EQ(comm.DecryptSEED(nullptr, &length), L"");
    EXPECT_EQ(comm.EncryptSEED(L"", &length), L"");
    EXPECT_EQ(comm.EncryptSEED(nullptr, &length), L"");
    EXPECT_EQ(comm.EncryptSEED(L"text", nullptr), L"");
    const unsigned char bytes[4] = {1, 2, 3, 4};
    EXPECT_TRUE(comm.EncryptSEEDBin(nullptr, 4, &length).empty());
    EXPECT_TRUE(comm.EncryptSEEDBin(bytes, 0, &length).empty());
    EXPECT_TRUE(comm.EncryptSEEDBin(bytes, 4, nullptr).empty());
    Bytes odd(17, 5);
    comm.DecryptSEEDBin(odd.data(), 17, &length);
    comm.DecryptSEEDBin(nullptr, 16, &length);
    EXPECT_EQ(odd, Bytes(17, 5));
    EXPECT_EQ(length, -7);
}

TEST_F(CommManSeedTest, KeysComeFromTheProjectIniWhenValid) {
    IniStandIn ini;
    RecordingPresenter notices;
    orvo::NoticePresenter* previous = XNoticeMan::Instance().Presenter();
    XNoticeMan::Instance().SetPresenter(&notices);
    ScopedRegistration project(L"Project", &ini);
    const Bytes zeros(16, 0);
    int length = 0;
    for (const wchar_t* bad :
         {L"000102030405060708090A0B0C0D0E0", L"G00102030405060708090A0B0C0D0E0F"}) {
        EXPECT_FALSE(comm.SetSeedKey(bad));
        ini.value = bad;
        comm.InitializeIXO();
    }
    EXPECT_EQ(ini.asked, L"ProjectCfg/Comm/SeedKey");
    ASSERT_EQ(notices.confirms.size(), 2u);
    EXPECT_NE(notices.confirms[0].text.find(L"SeedKey"), std::wstring::npos);
    Bytes sealed = comm.EncryptSEEDBin(zeros.data(), 16, &length);
    EXPECT_EQ(Bytes(sealed.begin(), sealed.begin() + 16), Sealed(zeros));

    ini.value = std::wstring(32, L'0');
    comm.InitializeIXO();
    sealed = comm.EncryptSEEDBin(zeros.data(), 16, &length);
    EXPECT_EQ(Bytes(sealed.begin(), sealed.begin() + 16),
              Sealed(zeros, "00000000000000000000000000000000"));
    EXPECT_EQ(notices.confirms.size(), 2u);
    XNoticeMan::Instance().SetPresenter(previous);
}

// Answers every function the proxy forwards and writes each call down.
class RecordingBackEnd : public IXO {
    ORVO_DISPATCH_MAP()

public:
    using W = const wchar_t*;
    bool Init() { return Log(L"Init"), initAnswer; }
    bool Final() { return Log(L"Final"), false; }
    int Request(XTR* t, XStruct* r, XDO* q) { return Log(L"Request", {t, r, q}), 42; }
    bool UnRequest(int h, XDO* q) { return Log(L"UnRequest " + Num(h), {q}), true; }
    bool RegPushTr(int id, XTR* t, XDO* q) { return Log(L"RegPushTr " + Num(id), {t, q}), true; }
    bool SetRequestFP(void* f) { return Log(L"SetRequestFP", {f}), true; }
    bool Receive(const void* d, int n) { return Log(L"Receive " + Num(n), {d}), true; }
    double GetPoint(W c, W k, double p, double t) { return Log(L"GetPoint " + Cat(c, k)), p + t; }
    double GetPointValue(W c, W k, W v) { return Log(L"GetPointValue " + Cat(c, k) + v), 2.5; }
    void SetPoint(W c, W k, double v) { Log(L"SetPoint " + Cat(c, k) + Num(v)); }
    void SetPointValue(W c, W k, double v) { Log(L"SetPointValue " + Cat(c, k) + Num(v)); }
    int GetMarketDate() { return Log(L"GetMarketDate"), 20261205; }
    void SetMarketDate(int date) { Log(L"SetMarketDate " + Num(date)); }
    bool BeReconnect() { return Log(L"BeReconnect"), true; }

    static std::wstring Num(double v) { return std::to_wstring(static_cast<long>(v)); }
    static std::wstring Cat(W code, W kind) { return std::wstring(code) + L" " + kind + L" "; }
    void Log(const std::wstring& call, std::initializer_list<const void*> seen = {}) {
        calls += call + L"|";
        pointers.insert(pointers.end(), seen);
    }
    bool initAnswer = true;
    std::wstring calls;
    std::vector<const void*> pointers;
};

// Publishes "Init" and a "GetMarketDate" of another signature, nothing else.
class SparseBackEnd : public IXO {
    ORVO_DISPATCH_MAP()

public:
    bool Init() { return ++inits, true; }
    long GetMarketDate() { return 20261205; }
    int inits = 0;
};

class CommManProxyTest : public ::testing::Test {
protected:
    XCommMan& comm = XCommMan::Instance();
    XTR tr;
    XStruct request;
    orvo::XDOPtr requesterOwner{new XDO()};
    XDO& requester = *requesterOwner;
    int data = 0;
};

TEST_F(CommManProxyTest, FallsBackWithoutALiveBackEnd) {
    EXPECT_EQ(IXO::FindInstance(L"commman"), &comm);
    EXPECT_TRUE(comm.GetFunction<bool(IXO*)>(L"RegCommMan")); // as the host asks for it
    EXPECT_FALSE(comm.RegCommMan(nullptr));
    {
        RecordingBackEnd gone;
        ASSERT_TRUE(comm.RegCommMan(&gone));
        ASSERT_TRUE(comm.InitializeIXO());
    }
    EXPECT_EQ(comm.GetBackEnd(), nullptr);
    EXPECT_FALSE(comm.InitializeIXO());
    EXPECT_FALSE(comm.Final());
    EXPECT_EQ(comm.Request(&tr, &request, &requester), 0);
    EXPECT_FALSE(comm.UnRequest(1, &requester));
    EXPECT_FALSE(comm.RegPushTr(1, &tr, &requester));
    EXPECT_FALSE(comm.SetRequestFP(&data));
    EXPECT_FALSE(comm.Receive(&data, 4));
    EXPECT_EQ(comm.GetPoint(L"005930", L"tick", 100, 5), 1.0);
    EXPECT_EQ(comm.GetPointValue(L"005930", L"tick", L"price"), 1.0);
    comm.SetPoint(L"005930", L"tick", 5);
    comm.SetPointValue(L"005930", L"tick", 5);
    comm.SetMarketDate(20261205);
    EXPECT_EQ(comm.GetMarketDate(), 0);
    EXPECT_FALSE(comm.BeReconnect());
}

TEST_F(CommManProxyTest, ForwardsEachCallOnceInitialised) {
    RecordingBackEnd backEnd;
    ASSERT_TRUE(comm.RegCommMan(&backEnd));
    EXPECT_EQ(comm.GetBackEnd(), &backEnd);
    EXPECT_EQ(comm.Request(&tr, &request, &requester), 0);
    EXPECT_FALSE(comm.UnRequest(5, &requester));
    backEnd.initAnswer = false;
    EXPECT_FALSE(comm.InitializeIXO());
    EXPECT_EQ(comm.Request(&tr, &request, &requester), 0);
    backEnd.initAnswer = true;
    EXPECT_TRUE(comm.InitializeIXO());
    EXPECT_TRUE(comm.IsInitialized());

    EXPECT_EQ(comm.Request(&tr, &request, nullptr), 0);
    EXPECT_EQ(comm.Request(&tr, &request, &requester), 42);
    EXPECT_TRUE(comm.UnRequest(42, &requester));
    EXPECT_TRUE(comm.RegPushTr(7, &tr, &requester));
    EXPECT_FALSE(comm.SetRequestFP(nullptr));
    EXPECT_TRUE(comm.SetRequestFP(&data));
    EXPECT_FALSE(comm.Receive(&data, -1));
    EXPECT_FALSE(comm.Receive(nullptr, 4));
    EXPECT_TRUE(comm.Receive(&data, 4));
    EXPECT_EQ(comm.GetPoint(nullptr, L"tick", 100, 5), 1.0);
    EXPECT_EQ(comm.GetPoint(L"005930", L"tick", 100, 5), 105.0);
    EXPECT_EQ(comm.GetPointValue(L"005930", nullptr, L"price"), 1.0);
    EXPECT_EQ(comm.GetPointValue(L"005930", L"tick", L"price"), 2.5);
    comm.SetPoint(L"005930", nullptr, 1);
    comm.SetPoint(L"005930", L"tick", 50);
    comm.SetPointValue(nullptr, L"price", 1);
    comm.SetPointValue(L"005930", L"price", 70000);
    EXPECT_EQ(comm.GetMarketDate(), 20261205);
    comm.SetMarketDate(20261206);
    EXPECT_TRUE(comm.BeReconnect());
    EXPECT_TRUE(comm.Final()); // whatever the back end's own answer

    EXPECT_EQ(backEnd.calls,
              L"Init|Init|Request|UnRequest 42|RegPushTr 7|SetRequestFP|Receive 4|"
              L"GetPoint 005930 tick |GetPointValue 005930 tick price|"
              L"SetPoint 005930 tick 50|SetPointValue 005930 price 70000|"
              L"GetMarketDate|SetMarketDate 20261206|BeReconnect|Final|");
    const std::vector<const void*> pointers = {
        &tr, &request, &requester, &requester, &tr, &requester, &data, &data};
    EXPECT_EQ(backEnd.pointers, pointers);
}

TEST_F(CommManProxyTest, ANewBackEndIsResolvedAndInitialisedAfresh) {
    RecordingBackEnd first;
    ASSERT_TRUE(comm.RegCommMan(&first));
    ASSERT_TRUE(comm.InitializeIXO());
    SparseBackEnd second;
    ASSERT_TRUE(comm.RegCommMan(&second));
    EXPECT_FALSE(comm.IsInitialized());
    EXPECT_TRUE(comm.InitializeIXO());
    EXPECT_EQ(second.inits, 1);
    EXPECT_EQ(comm.Request(&tr, &request, &requester), 0);
    EXPECT_EQ(comm.GetMarketDate(), 0); // published as long(), not int()
    EXPECT_TRUE(comm.Final());
    EXPECT_TRUE(comm.RegCommMan(&second));
    EXPECT_TRUE(comm.IsInitialized()); // the same back end again keeps its state
    EXPECT_EQ(first.calls, L"Init|");
}

ORVO_DISPATCH(IniStandIn, IXO, ORVO_METHOD(GetINIStr))

ORVO_DISPATCH(RecordingBackEnd,
              IXO,
              ORVO_METHOD(Init),
              ORVO_METHOD(Final),
              ORVO_METHOD(Request),
              ORVO_METHOD(UnRequest),
              ORVO_METHOD(RegPushTr),
              ORVO_METHOD(SetRequestFP),
              ORVO_METHOD(Receive),
              ORVO_METHOD(GetPoint),
              ORVO_METHOD(GetPointValue),
              ORVO_METHOD(SetPoint),
              ORVO_METHOD(SetPointValue),
              ORVO_METHOD(GetMarketDate),
              ORVO_METHOD(SetMarketDate),
              ORVO_METHOD(BeReconnect))

ORVO_DISPATCH(SparseBackEnd, IXO, ORVO_METHOD(Init), ORVO_METHOD(GetMarketDate))

} // namespace
