#include "backends/sim/sim_exchange.h"

#include <algorithm>

#include "backends/sim/wire_record.h"
#include "core/notice_messages.h"
#include "core/xdo.h"
#include "data/contracts.h"
#include "data/struct.h"
#include "data/tr.h"
#include "nubra/call_site.h"
#include "platform/base/event_loop.h"
#include "platform/base/lenient.h"
#include "platform/base/nocase.h"

namespace sim {

struct SimExchange::Pending {
    orvo::IXORef tr;
    orvo::IXORef requester;
    std::wstring code;
    std::int64_t quantity = 0;
    std::int64_t limit = 0;
    std::wstring side;
    std::int64_t key = 0; // the page of a list inquiry
    bool delivered = false;
    std::unique_ptr<XStruct> received; // kept until UnRequest or Final
};

struct SimExchange::Push {
    int trId = 0;
    int handle = 0; // the request it came with; 0 for a registration by RegPushTr
    orvo::IXORef tr;
    orvo::IXORef requester;
    std::wstring code; // the instrument registered for; empty: every instrument
    std::unique_ptr<XStruct> received;
};

ORVO_DISPATCH(SimExchange,
              IXO,
              ORVO_PROVIDE(orvo::contract::BackEndInit, Init),
              ORVO_PROVIDE(orvo::contract::BackEndFinal, Final),
              ORVO_PROVIDE(orvo::contract::BackEndRequest, Request),
              ORVO_PROVIDE(orvo::contract::BackEndUnRequest, UnRequest),
              ORVO_PROVIDE(orvo::contract::BackEndRegPushTr, RegPushTr),
              ORVO_PROVIDE(orvo::contract::BackEndSetRequestFP, SetRequestFP),
              ORVO_PROVIDE(orvo::contract::BackEndReceive, Receive),
              ORVO_PROVIDE(orvo::contract::BackEndGetPoint, GetPoint),
              ORVO_PROVIDE(orvo::contract::BackEndGetPointValue, GetPointValue),
              ORVO_PROVIDE(orvo::contract::BackEndSetPoint, SetPoint),
              ORVO_PROVIDE(orvo::contract::BackEndSetPointValue, SetPointValue),
              ORVO_PROVIDE(orvo::contract::BackEndGetMarketDate, GetMarketDate),
              ORVO_PROVIDE(orvo::contract::BackEndSetMarketDate, SetMarketDate),
              ORVO_PROVIDE(orvo::contract::BackEndBeReconnect, BeReconnect))

SimExchange::SimExchange() = default;

SimExchange::~SimExchange() {
    Final();
}

namespace {

std::wstring Text(XStruct* request, const wchar_t* field) {
    std::wstring text;
    const int col = request ? request->GetFieldIndex(field) : -1;
    if (col < 0 || !request->GetVal(0, col, text))
        text.clear();
    return text;
}

std::int64_t Number(XStruct* request, const wchar_t* field) {
    return plat::_wtoi64(Text(request, field));
}

} // namespace

bool SimExchange::Init() {
    if (!plat::EventLoop::Current())
        return false;
    if (m_market)
        return true; // already running, on the project's scenario or one given by InitWith
    static orvo::ContractCall<orvo::contract::ProjectGetFile> s_getFile;
    std::wstring path;
    auto getFile = s_getFile.Get();
    if (!getFile || !getFile(L"Scenario", path))
        return InitWith(Scenario::BuiltIn());
    Scenario scenario;
    std::wstring error;
    if (!Scenario::Load(path, scenario, error)) {
        ConfirmMsg(L"Simulated exchange: " + error, 0, 0);
        return false;
    }
    return InitWith(std::move(scenario));
}

bool SimExchange::InitWith(Scenario scenario) {
    if (!plat::EventLoop::Current())
        return false;
    Final();
    m_market = std::make_unique<Market>(std::move(scenario));
    return true;
}

bool SimExchange::Final() {
    StopTimer();
    m_pending.clear();
    m_pushes.clear();
    return true;
}

void SimExchange::StopTimer() {
    if (m_timer)
        if (plat::EventLoop* loop = plat::EventLoop::Current())
            loop->KillTimer(m_timer);
    m_timer = 0;
}

int SimExchange::Request(XTR* tr, XStruct* request, XDO* requester) {
    plat::EventLoop* loop = plat::EventLoop::Current();
    if (!m_market || !loop || !tr || !requester || !tr->GetOutputStruct() ||
        m_nextHandle == INT32_MAX)
        return 0;
    auto pending = std::make_shared<Pending>();
    pending->tr = tr->WeakRef();
    pending->requester = requester->WeakRef();
    pending->code = Text(request, L"code");
    pending->quantity = std::max<std::int64_t>(0, Number(request, L"qty"));
    pending->limit =
        std::max<std::int64_t>(0, std::max(Number(request, L"limit"), Number(request, L"price")));
    pending->side = Text(request, L"side");
    pending->key = std::max<std::int64_t>(0, Number(request, L"key"));
    const int handle = ++m_nextHandle;
    // A real-time transaction answers now and then keeps pushing the requested code until
    // the request is cancelled.
    if (tr->GetRealTime() && !AddPush(tr, requester, pending->code, handle))
        return 0;
    m_pending[handle] = std::move(pending);
    loop->Post([this, handle, life = std::weak_ptr<int>(m_life)] {
        if (!life.expired())
            Deliver(handle);
    });
    return handle;
}

void SimExchange::Deliver(int handle) {
    auto it = m_pending.find(handle);
    if (it == m_pending.end() || it->second->delivered || !m_market)
        return;
    const std::shared_ptr<Pending> hold = it->second;
    Pending& p = *hold;
    auto* tr = dynamic_cast<XTR*>(p.tr.Get());
    XStruct* layout = tr ? tr->GetOutputStruct() : nullptr;
    if (!layout) {
        m_pending.erase(it);
        return;
    }
    Instrument* instrument = m_market->Find(p.code);
    if (!instrument)
        instrument = &m_market->First();
    sim::Answer answer;
    answer.instrument = instrument;
    answer.marketDate = m_market->GetMarketDate();
    answer.time = m_market->Time();
    answer.key = p.key;
    answer.listRows = m_market->GetScenario().listRows;
    if (tr->GetType() == XTR::OMS) {
        answer.orderNo = ++m_nextOrderNo;
        answer.quantity = p.quantity;
        answer.fillPrice = p.limit > 0 ? p.limit : instrument->price;
        answer.side = p.side;
        instrument->volume += p.quantity;
    }
    m_wire.clear();
    WriteWireRecord(layout->GetRecord(), answer, m_market->GetScenario().depth, *m_market, m_wire);
    p.delivered = true;
    if (!Answer(p.tr, p.requester, p.received, m_wire))
        m_pending.erase(handle);
}

bool SimExchange::Answer(const orvo::IXORef& trRef,
                         const orvo::IXORef& requesterRef,
                         std::unique_ptr<XStruct>& received,
                         const std::vector<unsigned char>& bytes) {
    auto* tr = dynamic_cast<XTR*>(trRef.Get());
    auto* requester = dynamic_cast<XDO*>(requesterRef.Get());
    XStruct* layout = tr ? tr->GetOutputStruct() : nullptr;
    if (!requester || !layout)
        return false;
    if (!received)
        received.reset(XStruct::GetNewInstance(*layout, nullptr));
    if (!received->MapData(
            1, static_cast<int>(bytes.size()), reinterpret_cast<const char*>(bytes.data())))
        return false;
    static orvo::ContractMethod<orvo::contract::RequesterOnReceiveData> s_onReceive;
    auto onReceive = s_onReceive.Get(requester);
    if (onReceive)
        onReceive(received.get());
    return true;
}

bool SimExchange::UnRequest(int handle, XDO* requester) {
    if (handle != 0) {
        std::erase_if(m_pushes, [handle](const auto& push) { return push->handle == handle; });
        if (m_pushes.empty())
            StopTimer();
        return m_pending.erase(handle) > 0;
    }
    if (!requester)
        return false;
    const orvo::IXORef ref = requester->WeakRef();
    std::erase_if(m_pending, [&ref](const auto& entry) { return entry.second->requester == ref; });
    std::erase_if(m_pushes, [&ref](const auto& push) { return push->requester == ref; });
    if (m_pushes.empty())
        StopTimer();
    return true;
}

bool SimExchange::RegPushTr(int trId, XTR* tr, XDO* requester) {
    if (!tr || !requester)
        return false;
    // A requester that sends a code registers for that instrument only.
    static orvo::ContractMethod<orvo::contract::RequesterGetRequestStruct> s_getRequest;
    auto getRequest = s_getRequest.Get(requester);
    if (!AddPush(tr, requester, getRequest ? Text(getRequest(), L"code") : std::wstring(), 0))
        return false;
    m_pushes.back()->trId = trId;
    return true;
}

bool SimExchange::AddPush(XTR* tr, XDO* requester, const std::wstring& code, int handle) {
    plat::EventLoop* loop = plat::EventLoop::Current();
    if (!m_market || !loop || !tr || !requester || !tr->GetOutputStruct())
        return false;
    auto push = std::make_shared<Push>();
    push->handle = handle;
    push->tr = tr->WeakRef();
    push->requester = requester->WeakRef();
    push->code = code;
    m_pushes.push_back(std::move(push));
    if (!m_timer)
        m_timer = loop->SetTimer(m_market->GetScenario().tickMs,
                                 [this, life = std::weak_ptr<int>(m_life)] {
                                     if (!life.expired())
                                         PushTick();
                                 });
    return true;
}

int SimExchange::PushTick() {
    if (!m_market)
        return 0;
    Instrument& instrument = m_market->NextInTurn();
    m_market->Step(instrument);
    sim::Answer answer;
    answer.instrument = &instrument;
    answer.marketDate = m_market->GetMarketDate();
    answer.time = m_market->Time();
    int delivered = 0;
    // A requester may register or cancel from inside its answer: walk a snapshot that keeps
    // every registration alive, and skip the ones cancelled meanwhile.
    const std::vector<std::shared_ptr<Push>> pushes = m_pushes;
    for (const std::shared_ptr<Push>& push : pushes) {
        if (std::find(m_pushes.begin(), m_pushes.end(), push) == m_pushes.end() ||
            (!push->code.empty() && !plat::EqualsNoCase(push->code, instrument.code)))
            continue;
        auto* tr = dynamic_cast<XTR*>(push->tr.Get());
        if (!tr || !tr->GetOutputStruct())
            continue;
        m_wire.clear();
        WriteWireRecord(tr->GetOutputStruct()->GetRecord(),
                        answer,
                        m_market->GetScenario().depth,
                        *m_market,
                        m_wire);
        if (Answer(push->tr, push->requester, push->received, m_wire))
            ++delivered;
    }
    std::erase_if(m_pushes, [](const auto& p) { return !p->requester.Alive() || !p->tr.Alive(); });
    if (m_pushes.empty())
        StopTimer();
    return delivered;
}

bool SimExchange::SetRequestFP(void* function) {
    m_requestFunction = function;
    return function != nullptr;
}

bool SimExchange::Receive(const void*, int) {
    return false; // nothing arrives from outside a simulation
}

double SimExchange::GetPoint(const wchar_t* code, const wchar_t*, double, double point) {
    Instrument* i = m_market && code ? m_market->Find(code) : nullptr;
    return i ? static_cast<double>(i->tick) : point;
}

double SimExchange::GetPointValue(const wchar_t* code, const wchar_t* kind, const wchar_t*) {
    Instrument* i = m_market && code ? m_market->Find(code) : nullptr;
    if (!i || !kind)
        return 0.0;
    std::wstring_view k(kind);
    if (plat::EqualsNoCase(k, L"tick"))
        return static_cast<double>(i->tick);
    if (plat::EqualsNoCase(k, L"reference"))
        return static_cast<double>(i->reference);
    return static_cast<double>(i->price);
}

void SimExchange::SetPoint(const wchar_t* code, const wchar_t* kind, double value) {
    SetPointValue(code, kind, value);
}

void SimExchange::SetPointValue(const wchar_t* code, const wchar_t* kind, double value) {
    Instrument* i = m_market && code ? m_market->Find(code) : nullptr;
    if (!i || !kind || !(value >= 1.0 && value <= 1e8))
        return;
    const auto v = static_cast<std::int64_t>(value);
    std::wstring_view k(kind);
    if (plat::EqualsNoCase(k, L"tick"))
        i->tick = v;
    else if (plat::EqualsNoCase(k, L"reference"))
        i->reference = v;
    else
        i->price = v;
}

int SimExchange::GetMarketDate() {
    return m_market ? m_market->GetMarketDate() : 0;
}

void SimExchange::SetMarketDate(int date) {
    if (m_market)
        m_market->SetMarketDate(date);
}

bool SimExchange::BeReconnect() {
    return false; // the simulation never loses its connection
}

} // namespace sim
