#include "flow/xdata_sequence.h"

#include "core/notice_messages.h"
#include "core/object_lifetime.h"
#include "flow/xdata_request.h"
#include "flow/xgate.h"
#include "nubra/tok.h"
#include "nubra/trim_blanks.h"
#include "platform/base/nocase.h"

namespace {
[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XDataSequence>();
} // namespace

ORVO_DISPATCH(XDataSequence, XDO, ORVO_METHOD(Send), ORVO_METHOD(CloseRequest))

XDataSequence::XDataSequence() {
    m_nStyle |= XDO_STYLE_DATASEQUENCE;
    HearAfterNextElement();
}

int XDataSequence::SetElement(XElement* e) {
    if (!XDO::SetElement(e) || !e)
        return 0;
    e->GetBool(L"AutoSend", m_autoSend);
    return 1;
}

int XDataSequence::AfterChildElement() {
    for (XDO* c = child(); c; c = c->next()) {
        if (plat::EqualsNoCase(c->GetIXOKey(), L"DataRequest"))
            m_requests.push_back(c->WeakRef());
    }
    return 1;
}

int XDataSequence::AfterNextElement() {
    // The objects the requests link are built by now, around and after the sequence.
    for (XDataRequest* request : Requests())
        request->MakeObject(this);
    return 1;
}

std::vector<XDataRequest*> XDataSequence::Requests() const {
    std::vector<XDataRequest*> live;
    for (const orvo::IXORef& ref : m_requests) {
        auto* request = static_cast<XDataRequest*>(ref.Get());
        if (request && !request->IsTornDown())
            live.push_back(request);
    }
    return live;
}

int XDataSequence::RunObjectEvent(int n) {
    if (!XDO::RunObjectEvent(n))
        return 0;
    if (n != EVT_GATE_AFTER_INPUT || !s_pGateElement)
        return 1;
    orvo::DispatchScope dispatch;
    const std::vector<XDataRequest*> requests = Requests();
    for (XDataRequest* request : requests) {
        if (!request->CheckGateItem(this))
            return 1;
    }
    for (XDataRequest* request : requests)
        request->CloseRequest(1);
    for (XDataRequest* request : Requests())
        request->SetGateItem(this, m_autoSend ? 1 : 0);
    return 1;
}

int XDataSequence::Send() {
    orvo::DispatchScope dispatch;
    CloseRequest();
    for (XDataRequest* request : Requests())
        request->DoRequest();
    return 1;
}

void XDataSequence::CloseRequest() {
    for (XDataRequest* request : Requests())
        request->CloseRequest(1);
}

// ---- send by name -------------------------------------------------------------------------------

namespace {

// Restores the gate element on every way out.
class GateElementScope {
public:
    explicit GateElementScope(XElement* element) : m_saved(XDO::s_pGateElement) {
        XDO::s_pGateElement = element;
    }
    ~GateElementScope() { XDO::s_pGateElement = m_saved; }
    GateElementScope(const GateElementScope&) = delete;
    GateElementScope& operator=(const GateElementScope&) = delete;

private:
    XElement* m_saved;
};

std::wstring NextWord(CTok& tok) {
    std::wstring word;
    tok.GetNext(word);
    return std::wstring(orvo::TrimBlanks(word));
}

} // namespace

extern "C" int DataSequenceSend(XDO* caller, const wchar_t* param) {
    return DataSequenceSendCallBack(caller, param, nullptr);
}

extern "C" int
DataSequenceSendCallBack(XDO* caller, const wchar_t* param, XDataSequenceCallback callback) {
    if (!caller || !IsLiveXdo(caller))
        return 0;
    orvo::DispatchScope dispatch;
    CTok tok(param ? param : L"", L",");
    const std::wstring sequenceName = NextWord(tok);
    const std::wstring gateName = NextWord(tok);
    const std::wstring callbackSwitch = NextWord(tok);
    const std::wstring rest = tok.GetTail();
    const bool callbackOn = !plat::EqualsNoCase(callbackSwitch, L"false");

    XElement element;
    bool gathered = false;
    if (!gateName.empty()) {
        XDO* found = FindLink(caller, gateName);
        auto* gate = orvo::HasStyle(found, XDO_STYLE_GATE) ? orvo::KindOf<XGate>(found) : nullptr;
        if (!gate) {
            ConfirmMsg(L"Gate " + gateName + L" 를 찾지 못했습니다.", 0, 0);
            return 0;
        }
        gathered = gate->Gather(&element) != 0;
    }
    XDO* found = FindLink(caller, sequenceName);
    auto* sequence = orvo::HasStyle(found, XDO_STYLE_DATASEQUENCE)
                         ? orvo::KindOf<XDataSequence>(found)
                         : nullptr;
    if (!sequence) {
        ConfirmMsg(L"DataSequence " + sequenceName + L" 를 찾지 못했습니다.", 0, 0);
        return 0;
    }
    sequence->CloseRequest();
    GateElementScope current(&element);
    for (XDataRequest* request : sequence->Requests()) {
        if (request->IsTornDown())
            continue;
        if (gathered && !request->SetGateItem(sequence, 0))
            continue;
        if (callback && callbackOn && !callback(caller, request->GetRequestStruct(), rest.c_str()))
            return 0;
        request->DoRequest();
    }
    return 1;
}
