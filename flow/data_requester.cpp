#include "flow/data_requester.h"

#include <unordered_map>

#include "data/comm_man.h"
#include "flow/xdata_request.h"
#include "platform/base/format.h"
#include "platform/base/lenient.h"

namespace {

// Identities instead of addresses in action texts: a text naming a requester that has gone
// (or never was) finds nothing.
std::unordered_map<std::uint32_t, CDataRequester*>& LiveRequesters() {
    static std::unordered_map<std::uint32_t, CDataRequester*> live;
    return live;
}

std::uint32_t NextIdentity() {
    static std::uint32_t next = 0;
    do
        ++next;
    while (next == 0 || LiveRequesters().count(next));
    return next;
}

} // namespace

CDataRequester::CDataRequester() : m_identity(NextIdentity()) {
    LiveRequesters()[m_identity] = this;
}

CDataRequester::~CDataRequester() {
    LiveRequesters().erase(m_identity);
}

CDataRequester* CDataRequester::FromIdentity(std::uint32_t id) {
    auto it = LiveRequesters().find(id);
    return it == LiveRequesters().end() ? nullptr : it->second;
}

XDataRequest* CDataRequester::GetRequest() const {
    return static_cast<XDataRequest*>(m_request.get());
}

void CDataRequester::SetCallBack(Callback callback, void* context) {
    m_callback = callback;
    m_context = context;
}

void CDataRequester::SetInheritObj(XDO* obj) {
    m_inherit = obj ? obj->WeakRef() : orvo::IXORef{};
}

bool CDataRequester::Rebuild(int trId, bool repeat, XElement* parameters) {
    m_request.reset();
    auto* request = new XDataRequest();
    m_request.reset(request);
    if (parameters)
        request->SetParamElement(parameters);
    XElement setup(L"DataRequest", nullptr);
    setup.SetValue(L"TR", plat::FormatInt(trId));
    setup.SetValue(L"Clear", L"False");
    if (repeat)
        setup.SetValue(L"Repeat", m_repeat ? L"True" : L"False");
    if (!request->SetElement(&setup)) {
        m_request.reset();
        return false;
    }
    XElement event(L"Event", nullptr);
    event.SetValue(L"Trigger", L"Comm.Receive");
    event.SetValue(L"Action",
                   plat::Format(L"user.run(orvo.dll,OnReceiveDataRequester,%u)", m_identity));
    request->SetMethod(L"Event", &event);
    return true;
}

int CDataRequester::Send(int trId, const XElement& inputs) {
    // The screen parameters of the old request (a chain, copied whole) carry over.
    const XElement* old = GetRequest() ? GetRequest()->GetParamElement() : nullptr;
    XElement* parameters = old ? old->Clone() : nullptr;
    if (!Rebuild(trId, true, parameters))
        return 0;
    XDataRequest* request = GetRequest();
    for (const auto& [name, value] : *inputs.GetAttributes()) {
        XElement input(L"Input", nullptr);
        input.SetValue(L"item", name);
        input.SetValue(L"value", value);
        request->SetMethod(L"Input", &input);
    }
    request->InheritLazy(static_cast<XDO*>(m_inherit.Get()));
    return request->DoRequestEx(0);
}

int CDataRequester::Request(int trId, const std::wstring& inputs) {
    XElement parsed;
    parsed.MakeValue(inputs);
    m_inputs.Clear();
    m_inputs.Merge(&parsed);
    return Send(trId, m_inputs);
}

int CDataRequester::RequestNext(int trId, const std::wstring& changes) {
    XElement next;
    next.Merge(&m_inputs);
    next.MakeValue(changes);
    m_inputs.Clear();
    m_inputs.Merge(&next);
    return Send(trId, m_inputs);
}

int CDataRequester::RegisterPush(int trId) {
    if (!Rebuild(trId, false, nullptr))
        return 0;
    XDataRequest* request = GetRequest();
    request->InheritLazy(static_cast<XDO*>(m_inherit.Get()));
    return XCommMan::Instance().RegPushTr(trId, request->GetTR(), request) ? 1 : 0;
}

int CDataRequester::CloseRequest(int recursive) {
    XDataRequest* request = GetRequest();
    return request ? request->CloseRequest(recursive) : 0;
}

int CDataRequester::OnReceive() {
    return m_callback ? m_callback(m_context, this) : 1;
}

int CDataRequester::GetLazyProc() const {
    return GetRequest() ? GetRequest()->GetLazyProc() : 0;
}

void CDataRequester::SetLazyProc(int lazy) {
    if (XDataRequest* request = GetRequest())
        request->SetLazyProc(lazy);
}

int CDataRequester::GetSyncTRLazy() const {
    return GetRequest() ? GetRequest()->GetSyncTRLazy() : 0;
}

void CDataRequester::SetSyncTRLazy(int sync) {
    if (XDataRequest* request = GetRequest())
        request->SetSyncTRLazy(sync);
}

unsigned long CDataRequester::GetLazyTime() const {
    return GetRequest() ? GetRequest()->GetLazyTime() : 0;
}

void CDataRequester::SetLazyTime(unsigned long time) {
    if (XDataRequest* request = GetRequest())
        request->SetLazyTime(time);
}

void CDataRequester::LazyClear() {
    if (XDataRequest* request = GetRequest()) {
        request->SetLazyProc(0);
        request->SetSyncTRLazy(0);
    }
}

extern "C" int OnReceiveDataRequester(XDO*, const wchar_t* param) {
    const std::wstring text(param ? param : L"");
    if (text.empty() || text.find_first_not_of(L" 0123456789") != std::wstring::npos)
        return 0;
    const auto id = static_cast<std::uint32_t>(plat::_wtoi64(text));
    CDataRequester* requester = CDataRequester::FromIdentity(id);
    return requester ? requester->OnReceive() : 0;
}
