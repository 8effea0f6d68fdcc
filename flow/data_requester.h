#pragma once
// CDataRequester: data requests for native callers. It builds a request from a transaction
// number and "name=value,..." input text, sends it, and calls back once the answer has been
// spread; it also registers a transaction for real-time pushes. It owns at most one request
// and replaces it on every Request and RegisterPush; deleting the requester cancels it.
#include <cstdint>
#include <string>

#include "core/element.h"
#include "core/object_lifetime.h"

class XDataRequest;
class XDO;

class CDataRequester {
public:
    using Callback = int (*)(void* context, CDataRequester* requester);

    CDataRequester();
    CDataRequester(const CDataRequester&) = delete;
    CDataRequester& operator=(const CDataRequester&) = delete;
    virtual ~CDataRequester();

    void SetCallBack(Callback callback, void* context);
    // 0 when the transaction cannot be set up (no request is left) or was not sent.
    int Request(int trId, const std::wstring& inputs);
    // The last inputs with `changes` applied over them.
    int RequestNext(int trId, const std::wstring& changes);
    int RegisterPush(int trId);
    int CloseRequest(int recursive);
    // Runs the callback; 1 without one.
    virtual int OnReceive();

    void SetRepeat(int repeat) { m_repeat = repeat; }
    // The object whose data-control ancestors lend their lazy settings.
    void SetInheritObj(XDO* obj);

    int GetLazyProc() const;
    void SetLazyProc(int lazy);
    int GetSyncTRLazy() const;
    void SetSyncTRLazy(int sync);
    unsigned long GetLazyTime() const;
    void SetLazyTime(unsigned long time);
    void LazyClear();

    XDataRequest* GetRequest() const;
    // The requester a "User." action names by its identity, or null when it is gone.
    static CDataRequester* FromIdentity(std::uint32_t id);

private:
    // A new request for `trId` answering through OnReceiveDataRequester; null on failure.
    bool Rebuild(int trId, bool repeat, XElement* parameters);
    int Send(int trId, const XElement& inputs);

    orvo::XDOPtr m_request;
    Callback m_callback = nullptr;
    void* m_context = nullptr;
    orvo::IXORef m_inherit;
    XElement m_inputs;
    int m_repeat = 0;
    std::uint32_t m_identity;
};

// The answer of a CDataRequester's request; `param` is its identity. Exported for "User."
// actions.
extern "C" int OnReceiveDataRequester(XDO* object, const wchar_t* param);
