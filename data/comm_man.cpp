#include "data/comm_man.h"

#include <array>
#include <climits>
#include <optional>
#include <span>
#include <string_view>

#include "core/notice_messages.h"
#include "core/xdo.h"
#include "data/contracts.h"
#include "data/struct.h"
#include "data/tr.h"
#include "nubra/call_site.h"
#include "platform/base/base64.h"
#include "platform/base/codepage.h"

namespace {

using Key = std::array<std::uint8_t, orvo::SeedCipher::kKeySize>;
constexpr std::size_t kBlock = orvo::SeedCipher::kBlockSize;

[[maybe_unused]] const int g_registered = orvo::RegisterInstance(&XCommMan::Instance());

constexpr int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

constexpr std::optional<Key> ParseKey(std::wstring_view hex) {
    if (hex.size() != 2 * orvo::SeedCipher::kKeySize)
        return std::nullopt;
    Key key{};
    for (std::size_t i = 0; i < key.size(); ++i) {
        const int high = HexDigit(hex[2 * i]);
        const int low = HexDigit(hex[2 * i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        key[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return key;
}

// value() keeps a mistyped constant from compiling.
constexpr Key kBuiltInKey = ParseKey(orvo::kBuiltInSeedKeyHex).value();

// 1 to 16 bytes, always: zeros, then their count, so the length survives decryption.
std::vector<std::uint8_t> Padded(std::span<const std::uint8_t> bytes) {
    const std::size_t padding = kBlock - bytes.size() % kBlock;
    std::vector<std::uint8_t> out;
    out.reserve(bytes.size() + padding);
    out.assign(bytes.begin(), bytes.end());
    out.resize(bytes.size() + padding, 0);
    out.back() = static_cast<std::uint8_t>(padding);
    return out;
}

// The padding length of decrypted blocks, 0 when the padding is not one we wrote (the
// peer's key differs or the data was damaged).
std::size_t PaddingLength(std::span<const std::uint8_t> bytes) {
    const std::size_t padding = bytes.back();
    if (padding < 1 || padding > kBlock)
        return 0;
    for (std::size_t i = bytes.size() - padding; i + 1 < bytes.size(); ++i) {
        if (bytes[i] != 0)
            return 0;
    }
    return padding;
}

bool EncryptableLength(std::size_t length) {
    return length <= static_cast<std::size_t>(INT_MAX) - kBlock;
}

} // namespace

XCommMan& XCommMan::Instance() {
    static XCommMan* s_instance = new XCommMan(); // lives for the process, like every service
    return *s_instance;
}

ORVO_DISPATCH(XCommMan,
              IXO,
              ORVO_PROVIDE(orvo::contract::CommManInitializeIXO, InitializeIXO),
              ORVO_PROVIDE(orvo::contract::CommManFinal, Final),
              ORVO_METHOD(Request),
              ORVO_METHOD(UnRequest),
              ORVO_PROVIDE(orvo::contract::CommManRegCommMan, RegCommMan),
              ORVO_METHOD(RegPushTr),
              ORVO_METHOD(SetRequestFP),
              ORVO_METHOD(Receive),
              ORVO_METHOD(GetPoint),
              ORVO_METHOD(GetPointValue),
              ORVO_METHOD(SetPoint),
              ORVO_METHOD(SetPointValue),
              ORVO_METHOD(GetMarketDate),
              ORVO_METHOD(SetMarketDate),
              ORVO_METHOD(BeReconnect),
              ORVO_METHOD_AS(EncryptSEEDVB, EncryptSEED),
              ORVO_METHOD_AS(DecryptSEEDVB, DecryptSEED),
              ORVO_METHOD_AS(EncryptSEEDBinVB, EncryptSEEDBin),
              ORVO_METHOD_AS(DecryptSEEDBinVB, DecryptSEEDBin))

XCommMan::XCommMan() : m_cipher(kBuiltInKey) {}

IXO* XCommMan::GetBackEnd() const {
    return m_backEnd.Get();
}

const XCommMan::BackEndFunctions* XCommMan::Live() const {
    return m_backEnd.Alive() ? &m_functions : nullptr;
}

// ---- forwarding ------------------------------------------------------------------------------

bool XCommMan::RegCommMan(IXO* backEnd) {
    if (!backEnd)
        return false;
    orvo::IXORef ref = backEnd->WeakRef();
    if (ref == m_backEnd)
        return true;
    // A new back end has not been initialised, and functions resolved on the old one must
    // never be called with it.
    m_backEnd = std::move(ref);
    m_initialized = false;
    using namespace orvo::contract;
    m_functions = {
        orvo::Resolve<BackEndInit>(backEnd),
        orvo::Resolve<BackEndFinal>(backEnd),
        orvo::Resolve<BackEndRequest>(backEnd),
        orvo::Resolve<BackEndUnRequest>(backEnd),
        orvo::Resolve<BackEndRegPushTr>(backEnd),
        orvo::Resolve<BackEndSetRequestFP>(backEnd),
        orvo::Resolve<BackEndReceive>(backEnd),
        orvo::Resolve<BackEndGetPoint>(backEnd),
        orvo::Resolve<BackEndGetPointValue>(backEnd),
        orvo::Resolve<BackEndSetPoint>(backEnd),
        orvo::Resolve<BackEndSetPointValue>(backEnd),
        orvo::Resolve<BackEndGetMarketDate>(backEnd),
        orvo::Resolve<BackEndSetMarketDate>(backEnd),
        orvo::Resolve<BackEndBeReconnect>(backEnd),
    };
    return true;
}

bool XCommMan::InitializeIXO() {
    ReadKeyFromIni();
    const BackEndFunctions* f = Live();
    if (!f || !f->init || !f->init())
        return false;
    m_initialized = true;
    return true;
}

bool XCommMan::Final() {
    const BackEndFunctions* f = Live();
    if (!f)
        return false;
    if (f->final)
        f->final();
    return true;
}

int XCommMan::Request(XTR* tr, XStruct* request, XDO* requester) {
    const BackEndFunctions* f = Live();
    if (!f || !m_initialized || !tr || !request || !requester || !f->request)
        return 0;
    return f->request(tr, request, requester);
}

bool XCommMan::UnRequest(int handle, XDO* requester) {
    const BackEndFunctions* f = Live();
    if (!f || !m_initialized || !f->unRequest)
        return false;
    return f->unRequest(handle, requester);
}

bool XCommMan::RegPushTr(int trId, XTR* tr, XDO* requester) {
    const BackEndFunctions* f = Live();
    if (!f || !f->regPushTr)
        return false;
    return f->regPushTr(trId, tr, requester);
}

bool XCommMan::SetRequestFP(void* function) {
    const BackEndFunctions* f = Live();
    if (!f || !function || !f->setRequestFP)
        return false;
    return f->setRequestFP(function);
}

bool XCommMan::Receive(const void* data, int length) {
    const BackEndFunctions* f = Live();
    if (!f || !data || length < 0 || !f->receive)
        return false;
    return f->receive(data, length);
}

double XCommMan::GetPoint(const wchar_t* code, const wchar_t* kind, double price, double point) {
    const BackEndFunctions* f = Live();
    if (!f || !code || !kind || !f->getPoint)
        return 1.0;
    return f->getPoint(code, kind, price, point);
}

double XCommMan::GetPointValue(const wchar_t* code, const wchar_t* kind, const wchar_t* value) {
    const BackEndFunctions* f = Live();
    if (!f || !code || !kind || !value || !f->getPointValue)
        return 1.0;
    return f->getPointValue(code, kind, value);
}

void XCommMan::SetPoint(const wchar_t* code, const wchar_t* kind, double value) {
    const BackEndFunctions* f = Live();
    if (f && code && kind && f->setPoint)
        f->setPoint(code, kind, value);
}

void XCommMan::SetPointValue(const wchar_t* code, const wchar_t* kind, double value) {
    const BackEndFunctions* f = Live();
    if (f && code && kind && f->setPointValue)
        f->setPointValue(code, kind, value);
}

int XCommMan::GetMarketDate() {
    const BackEndFunctions* f = Live();
    return f && f->getMarketDate ? f->getMarketDate() : 0;
}

void XCommMan::SetMarketDate(int date) {
    const BackEndFunctions* f = Live();
    if (f && f->setMarketDate)
        f->setMarketDate(date);
}

bool XCommMan::BeReconnect() {
    const BackEndFunctions* f = Live();
    return f && f->beReconnect ? f->beReconnect() : false;
}

// ---- SEED ------------------------------------------------------------------------------------

bool XCommMan::SetSeedKey(const std::wstring& hex) {
    const std::optional<Key> key = ParseKey(hex);
    if (!key)
        return false;
    m_cipher.SetKey(*key);
    return true;
}

void XCommMan::ReadKeyFromIni() {
    static orvo::ContractCall<orvo::contract::ProjectGetINIStr> s_getIni;
    auto getIni = s_getIni.Get();
    std::wstring value;
    if (!getIni || !getIni(L"ProjectCfg", L"Comm", L"SeedKey", value))
        return;
    if (!SetSeedKey(value))
        ConfirmMsg(L"The SEED key in the project INI file (section \"Comm\", key \"SeedKey\") "
                   L"must be 32 hexadecimal digits. The current key stays in use.");
}

std::wstring XCommMan::EncryptSEED(const wchar_t* text, int* length) {
    if (!text || !*text || !length)
        return {};
    const std::string ansi = plat::ToAnsi(text);
    if (!EncryptableLength(ansi.size()))
        return {};
    std::vector<std::uint8_t> bytes =
        Padded({reinterpret_cast<const std::uint8_t*>(ansi.data()), ansi.size()});
    if (!m_cipher.Encrypt(bytes))
        return {};
    *length = static_cast<int>(bytes.size());
    const std::string encoded = plat::EncodeBase64(bytes);
    return {encoded.begin(), encoded.end()};
}

std::wstring XCommMan::DecryptSEED(const wchar_t* text, int* length) {
    if (!text || !length)
        return {};
    // Base64 is ASCII: anything wider cannot be part of it.
    std::string ascii;
    for (const wchar_t* c = text; *c; ++c) {
        if (*c > 0x7F)
            return {};
        ascii.push_back(static_cast<char>(*c));
    }
    std::vector<std::uint8_t> bytes;
    if (!plat::DecodeBase64(ascii, bytes) || bytes.empty() || bytes.size() % kBlock != 0)
        return {};
    if (!m_cipher.Decrypt(bytes))
        return {};
    const std::size_t padding = PaddingLength(bytes);
    if (padding == 0)
        return {};
    const std::size_t size = bytes.size() - padding;
    *length = static_cast<int>(size);
    return plat::FromAnsi({reinterpret_cast<const char*>(bytes.data()), size});
}

std::vector<unsigned char>
XCommMan::EncryptSEEDBin(const unsigned char* bytes, int length, int* resultLength) {
    if (!bytes || length < 1 || !resultLength ||
        !EncryptableLength(static_cast<std::size_t>(length)))
        return {};
    std::vector<std::uint8_t> out = Padded({bytes, static_cast<std::size_t>(length)});
    if (!m_cipher.Encrypt(out))
        return {};
    *resultLength = static_cast<int>(out.size());
    return out;
}

void XCommMan::DecryptSEEDBin(unsigned char* bytes, int length, int* resultLength) {
    if (!bytes || length < 1 || length % static_cast<int>(kBlock) != 0)
        return;
    const std::span<std::uint8_t> data(bytes, static_cast<std::size_t>(length));
    if (!m_cipher.Decrypt(data))
        return;
    const std::size_t padding = PaddingLength(data);
    if (padding == 0)
        return;
    data.back() = 0;
    if (resultLength)
        *resultLength = length - static_cast<int>(padding);
}

namespace {

// The first `length` elements as bytes; false when there are fewer or one is not a byte.
bool ScriptBytes(const orvo::DispArray& items, int length, std::vector<unsigned char>& out) {
    if (length < 0 || static_cast<std::size_t>(length) > items.size())
        return false;
    out.clear();
    out.reserve(static_cast<std::size_t>(length));
    for (int i = 0; i < length; ++i) {
        std::int64_t value = 0;
        if (!items[static_cast<std::size_t>(i)].ToInt64(value) || value < 0 || value > 255)
            return false;
        out.push_back(static_cast<unsigned char>(value));
    }
    return true;
}

orvo::DispArray ScriptArray(const std::vector<unsigned char>& bytes) {
    orvo::DispArray out;
    out.reserve(bytes.size());
    for (unsigned char b : bytes)
        out.emplace_back(static_cast<std::int32_t>(b));
    return out;
}

} // namespace

orvo::DispArray
XCommMan::EncryptSEEDBinVB(const orvo::DispArray& bytes, int length, int& resultLength) {
    std::vector<unsigned char> plain;
    if (!ScriptBytes(bytes, length, plain))
        return {};
    return ScriptArray(EncryptSEEDBin(plain.data(), length, &resultLength));
}

void XCommMan::DecryptSEEDBinVB(orvo::DispArray& bytes, int length, int& resultLength) {
    std::vector<unsigned char> data;
    if (!ScriptBytes(bytes, length, data) || data.empty())
        return;
    DecryptSEEDBin(data.data(), length, &resultLength);
    for (std::size_t i = 0; i < data.size(); ++i)
        bytes[i] = orvo::DispVariant(static_cast<std::int32_t>(data[i]));
}
