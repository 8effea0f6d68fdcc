#include "flow/xdata_request.h"

#include "core/contracts.h"
#include "core/notice_messages.h"
#include "data/comm_man.h"
#include "data/contracts.h"
#include "flow/link_calc.h"
#include "platform/base/format.h"
#include "platform/base/lenient.h"
#include "platform/base/nocase.h"

namespace {
[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XDataRequest>();

enum CommPhase : int { COMM_RECEIVE = 0, COMM_RECEIVE_DATA_PROC = 1, COMM_RECEIVE_AFTER_PROC = 2 };
} // namespace

ORVO_DISPATCH(XDataRequest,
              XDataControl,
              ORVO_METHOD(DoRequest),
              ORVO_METHOD(DoRequestEx),
              ORVO_METHOD(RequestNext),
              ORVO_METHOD(RequestPrev),
              ORVO_METHOD(RequestFirst),
              ORVO_METHOD(RequestLast),
              ORVO_METHOD(GetHeader),
              ORVO_METHOD(GetHeaderEx),
              ORVO_METHOD(SetItemValue),
              ORVO_PROVIDE(orvo::contract::RequesterOnReceiveData, OnReceiveData),
              ORVO_PROVIDE(orvo::contract::RequesterGetRequestStruct, GetRequestStruct))

XDataRequest::XDataRequest() {
    m_nStyle |= XDO_STYLE_DATAREQUEST;
}

XDataRequest::~XDataRequest() = default;

void XDataRequest::Teardown() {
    if (m_handle)
        XCommMan::Instance().UnRequest(m_handle, this);
    m_handle = 0;
    XDataControl::Teardown();
}

XTR* XDataRequest::GetTR() const {
    auto* tr = static_cast<XTR*>(m_tr.Get());
    return tr && !tr->IsTornDown() ? tr : nullptr;
}

int XDataRequest::GetTrID() const {
    return plat::_wtoi(m_trId.c_str());
}

// ---- markup ---------------------------------------------------------------------------------

int XDataRequest::SetElement(XElement* e) {
    if (!XDataControl::SetElement(e))
        return 0;
    if (!e->GetValue(L"TR", m_trId)) {
        ConfirmMsg(L"<DataRequest> 에 TR 정의가 되어있지 않습니다.", 0, 0);
        return 0;
    }
    static orvo::ContractCall<orvo::contract::TRSetGetTRByID> s_getTR;
    if (auto getTR = s_getTR.Get()) {
        XTR* tr = getTR(m_trId.c_str());
        if (!tr) {
            ConfirmMsg(
                plat::Format(L"<DataRequest TR=\"%s\">\n해당 TR 을 trset 에서 찾지 못했습니다.",
                             m_trId),
                0,
                0);
            return 0;
        }
        m_tr = tr->WeakRef();
        if (XStruct* input = tr->GetInputStruct()) {
            m_requestOwner.reset(XStruct::GetNewInstance(*input, nullptr));
            m_request = static_cast<XStruct*>(m_requestOwner.get());
            m_request->ConfirmDataMem();
        }
        if (XStruct* output = tr->GetOutputStruct())
            m_output = output->WeakRef();
        SyncTRLazy(tr);
    }
    e->GetBool(L"Clear", m_clear);
    e->GetBool(L"Switch", m_switch);
    e->GetBool(L"Repeat", m_repeat);
    return 1;
}

int XDataRequest::SetMethod(const wchar_t* name, XElement* e) {
    if (!XDataControl::SetMethod(name, e))
        return 0;
    const std::wstring_view method(name ? name : L"");
    auto* output = static_cast<XStruct*>(m_output.Get());
    auto keep = [](auto link, int ok, auto& into) {
        if (ok)
            into.push_back(std::move(link));
    };
    if (plat::EqualsNoCase(method, L"input")) {
        auto link = std::make_unique<CLinkInput>();
        const int ok = link->SetElement(e, m_request);
        keep(std::move(link), ok, m_inputs);
    } else if (plat::EqualsNoCase(method, L"output")) {
        std::unique_ptr<CLinkOutput> link = std::make_unique<CLinkOutput>();
        const int ok = link->SetElement(e, output, m_clear);
        keep(std::move(link), ok, m_outputs);
    } else if (plat::EqualsNoCase(method, L"calc")) {
        std::unique_ptr<CLinkOutput> link = std::make_unique<CDRLinkCalc>();
        const int ok = link->SetElement(e, output, m_clear);
        keep(std::move(link), ok, m_outputs);
    } else if (plat::EqualsNoCase(method, L"Formula")) {
        std::unique_ptr<CLinkOutput> link = std::make_unique<CDRLinkFormula>();
        const int ok = link->SetElement(e, output, m_clear);
        keep(std::move(link), ok, m_outputs);
    } else if (plat::EqualsNoCase(method, L"Update")) {
        auto update = std::make_unique<CDRUpdate>();
        const int ok = update->SetElement(e, output, this, m_clear);
        keep(std::move(update), ok, m_updates);
    }
    return 1;
}

int XDataRequest::AfterChildElement() {
    for (XDO* c = child(); c; c = c->next()) {
        if (plat::EqualsNoCase(c->GetIXOKey(), L"DataRequest"))
            m_children.push_back(c->WeakRef());
    }
    return 1;
}

std::vector<XDataRequest*> XDataRequest::Children() const {
    std::vector<XDataRequest*> live;
    for (const orvo::IXORef& ref : m_children) {
        auto* request = static_cast<XDataRequest*>(ref.Get());
        if (request && !request->IsTornDown())
            live.push_back(request);
    }
    return live;
}

int XDataRequest::RunObjectEvent(int n) {
    if (!XDataControl::RunObjectEvent(n))
        return 0;
    if (n == EVT_AFTERCREATE) {
        for (auto& link : m_inputs)
            link->LinkObject(this);
        for (auto& link : m_outputs)
            link->LinkObject(this);
        for (auto& update : m_updates)
            update->LinkObject(this);
    }
    return 1;
}

// ---- requesting -------------------------------------------------------------------------------

XDO* XDataRequest::GetXFrame(XDO* obj) {
    for (XDO* up = obj; up; up = up->parent()) {
        if (orvo::HasStyle(up, XDO_STYLE_FRAME))
            return up;
    }
    return nullptr;
}

int XDataRequest::GetMenuID(XDO* obj, int& id) {
    XDO* frame = GetXFrame(obj);
    if (!frame)
        return 0;
    static orvo::ContractMethod<orvo::contract::FrameGetFrameID> s_getFrameID;
    if (auto getFrameID = s_getFrameID.Get(frame))
        id = plat::_wtoi(getFrameID().c_str());
    return 1;
}

int XDataRequest::DoRequestEx(int clear) {
    GetMenuID(parent(), m_frameId);
    const int ownClear = m_clear;
    m_clear = clear;
    CloseRequest(0);
    m_clear = ownClear;
    const orvo::IXORef alive = WeakRef();
    {
        XElement before(L"BeforeRequest", nullptr);
        SendEvent(&before, this);
    }
    XTR* tr = GetTR();
    if (!alive.Alive() || IsTornDown() || !tr)
        return 0;
    m_handle = XCommMan::Instance().Request(tr, m_request, this);
    return m_handle != 0 ? 1 : 0;
}

int XDataRequest::CloseRequest(int recursive) {
    bool closed = false;
    if (m_handle && GetTR()) {
        XCommMan::Instance().UnRequest(m_handle, this);
        m_handle = 0;
        closed = true;
    }
    if (recursive) {
        for (XDataRequest* request : Children())
            request->CloseRequest(recursive);
    }
    if (closed && m_clear) {
        for (auto& link : m_outputs)
            link->Clear();
        for (auto& update : m_updates)
            update->Clear();
    }
    return 1;
}

int XDataRequest::SetGateItem(XDO* caller, int request) {
    const XElement* gate = s_pGateElement;
    XTR* tr = GetTR();
    if (GetSyncTRLazy() && tr) {
        SetLazyProc(tr->GetLazyProc());
        SetLazyTime(tr->GetLazyTime());
    }
    if (m_switch && tr && tr->HasSwitch() && gate) {
        if (const XTR::Switch* trSwitch = tr->GetSwitch(const_cast<XElement*>(gate))) {
            m_trId = trSwitch->Id;
            SyncSwitchLazy(trSwitch);
        }
    }
    int result = 1;
    for (auto& link : m_inputs) {
        if (link->IsGateMode()) {
            if (!link->SetGateItem(gate, m_request))
                result = 0;
        } else if (link->HasLink()) {
            if (!link->SetLinkItem(m_request))
                result = 0;
        }
    }
    for (XDataRequest* child : Children())
        child->SetGateItem(caller, 0);
    if (result && request)
        return DoRequestEx(m_clear);
    return result;
}

int XDataRequest::CheckGateItem(XDO* caller) {
    for (auto& link : m_inputs) {
        if (link->IsGateMode() && !link->CheckGateItem(s_pGateElement, m_request))
            return 0;
    }
    for (XDataRequest* child : Children()) {
        if (!child->CheckGateItem(caller))
            return 0;
    }
    return 1;
}

int XDataRequest::MakeObject(XDO* obj) {
    for (XDataRequest* child : Children())
        child->MakeObject(obj);
    for (auto& link : m_inputs)
        link->MakeObject(obj);
    for (auto& link : m_outputs)
        link->MakeObject(obj);
    return 1;
}

// ---- answers --------------------------------------------------------------------------------

bool XDataRequest::RunComm(int phase) {
    XEvent* handler = GetEvent(XEvent::TriggerComm, phase);
    return !handler || handler->Run(this) != 0;
}

int XDataRequest::OnReceiveData(XStruct* received) {
    // Handlers may close the screen: this request stays whole until the answer is done.
    orvo::DispatchScope dispatch;
    const orvo::IXORef alive = WeakRef();
    auto gone = [&] { return !alive.Alive() || IsTornDown(); };
    if (gone())
        return 0;
    m_output = received ? received->WeakRef() : orvo::IXORef{};
    NotifyChange(NOTIFY_DR_RECEIVED, 0);
    if (gone() || !RunComm(COMM_RECEIVE) || gone())
        return 1;
    if (received) {
        const bool hasProc = GetEvent(XEvent::TriggerComm, COMM_RECEIVE_DATA_PROC) != nullptr;
        auto afterEach = [&] {
            if (hasProc && !gone())
                RunComm(COMM_RECEIVE_DATA_PROC);
        };
        // By index: a handler may not add links, but it may close this request's screen.
        for (std::size_t i = 0; i < m_outputs.size() && !gone(); ++i) {
            if (m_outputs[i]->GetValue(received, m_value))
                m_outputs[i]->Write(m_value, afterEach);
        }
        for (std::size_t i = 0; i < m_updates.size() && !gone(); ++i)
            m_updates[i]->Update(received);
    }
    if (gone())
        return 1;
    NotifyChange(NOTIFY_DR_PROCESSED, 0);
    if (gone() || !RunComm(COMM_RECEIVE_AFTER_PROC) || gone())
        return 1;
    for (XDataRequest* child : Children())
        child->DoRequestEx(child->m_clear);
    return 1;
}

// ---- script -----------------------------------------------------------------------------------

int XDataRequest::RequestNext(int flag) {
    NotifyChange(NOTIFY_DR_NEXT, flag ? 1 : 0);
    return 1;
}

int XDataRequest::RequestPrev(int flag) {
    NotifyChange(NOTIFY_DR_PREV, flag ? 1 : 0);
    return 1;
}

int XDataRequest::RequestFirst() {
    NotifyChange(NOTIFY_DR_FIRST, 0);
    return 1;
}

int XDataRequest::RequestLast() {
    NotifyChange(NOTIFY_DR_LAST, 0);
    return 1;
}

int XDataRequest::SetItemValue(const wchar_t* field, const wchar_t* value) {
    if (!m_request || !field)
        return 0;
    const int col = m_request->GetFieldIndex(field);
    if (col < 0)
        return 0;
    m_request->SetVal(0, col, value ? value : L"", 0);
    return 1;
}
