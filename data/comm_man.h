#pragma once
// XCommMan ("CommMan"): the library's stand-in for the communication back end. The host
// registers a back end (any IXO publishing the functions by name, see backends/README.md)
// with "RegCommMan"; every other call is forwarded to the back end's function of the same
// name, looked up once, with a fixed answer while there is no back end. The SEED text and
// binary ciphers are the proxy's own.
#include <cstdint>
#include <string>
#include <vector>

#include "data/contracts.h"
#include "data/seed_cipher.h"
#include "nubra/disp_variant.h"
#include "nubra/ixo.h"

class XDO;
class XStruct;
class XTR;

class XCommMan : public IXO {
    ORVO_DISPATCH_MAP()

public:
    static XCommMan& Instance();
    ORVO_KEY(L"CommMan")

    // ---- forwarded to the back end ----------------------------------------------------------
    bool InitializeIXO();
    bool Final();
    // A request handle, 0 when refused.
    int Request(XTR* tr, XStruct* request, XDO* requester);
    bool UnRequest(int handle, XDO* requester);
    bool RegCommMan(IXO* backEnd);
    bool RegPushTr(int trId, XTR* tr, XDO* requester);
    bool SetRequestFP(void* function);
    bool Receive(const void* data, int length);
    double GetPoint(const wchar_t* code, const wchar_t* kind, double price, double point);
    double GetPointValue(const wchar_t* code, const wchar_t* kind, const wchar_t* value);
    void SetPoint(const wchar_t* code, const wchar_t* kind, double value);
    void SetPointValue(const wchar_t* code, const wchar_t* kind, double value);
    int GetMarketDate();
    void SetMarketDate(int date);
    bool BeReconnect();

    // ---- SEED, handled here ----------------------------------------------------------------
    // Base64 of the padded, encrypted ANSI text; `length` gets the padded byte count.
    std::wstring EncryptSEED(const wchar_t* text, int* length);
    // The text, or empty for bad Base64, lengths or padding; `length` gets its byte count.
    std::wstring DecryptSEED(const wchar_t* text, int* length);
    // A padded, encrypted copy; empty for null bytes, a length below 1 or a null result
    // length.
    std::vector<unsigned char>
    EncryptSEEDBin(const unsigned char* bytes, int length, int* resultLength);
    // Decrypts in place; with valid padding the last byte is cleared and `resultLength` gets
    // the length without padding, otherwise it is left alone.
    void DecryptSEEDBin(unsigned char* bytes, int length, int* resultLength);

    // ---- the same for scripts, published under the names above --------------------------------
    // Lengths come back through by-reference arguments; bytes travel as arrays of numbers 0 to
    // 255, of which the first `length` are taken (an array too short, or an element that is
    // no byte, encrypts nothing).
    std::wstring EncryptSEEDVB(const wchar_t* text, int& length) {
        return EncryptSEED(text, &length);
    }
    std::wstring DecryptSEEDVB(const wchar_t* text, int& length) {
        return DecryptSEED(text, &length);
    }
    orvo::DispArray EncryptSEEDBinVB(const orvo::DispArray& bytes, int length, int& resultLength);
    void DecryptSEEDBinVB(orvo::DispArray& bytes, int length, int& resultLength);

    // The 128-bit key, from the project's INI ("Comm" "SeedKey", 32 hex digits) or built in.
    // Tests and hosts may set it; false for a key that is not 32 hex digits.
    bool SetSeedKey(const std::wstring& hex);

    IXO* GetBackEnd() const;
    bool IsInitialized() const { return m_initialized; }

private:
    // The back end's functions, resolved on the object they are called on.
    template <class Contract> using Function = orvo::BoundMethod<typename Contract::Signature>;
    struct BackEndFunctions {
        Function<orvo::contract::BackEndInit> init;
        Function<orvo::contract::BackEndFinal> final;
        Function<orvo::contract::BackEndRequest> request;
        Function<orvo::contract::BackEndUnRequest> unRequest;
        Function<orvo::contract::BackEndRegPushTr> regPushTr;
        Function<orvo::contract::BackEndSetRequestFP> setRequestFP;
        Function<orvo::contract::BackEndReceive> receive;
        Function<orvo::contract::BackEndGetPoint> getPoint;
        Function<orvo::contract::BackEndGetPointValue> getPointValue;
        Function<orvo::contract::BackEndSetPoint> setPoint;
        Function<orvo::contract::BackEndSetPointValue> setPointValue;
        Function<orvo::contract::BackEndGetMarketDate> getMarketDate;
        Function<orvo::contract::BackEndSetMarketDate> setMarketDate;
        Function<orvo::contract::BackEndBeReconnect> beReconnect;
    };

    XCommMan();
    // The functions of the registered back end while it lives, else null.
    const BackEndFunctions* Live() const;
    void ReadKeyFromIni();

    orvo::IXORef m_backEnd;
    bool m_initialized = false;
    BackEndFunctions m_functions;
    orvo::SeedCipher m_cipher; // holds the key's schedule
};
