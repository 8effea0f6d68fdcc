#pragma once
// SimExchange: a communication back end that answers every transaction from a simulated
// market and pushes real-time ticks, so the terminal runs offline. Answers go through the
// event loop, never from inside "Request".
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "backends/sim/scenario.h"
#include "nubra/ixo.h"
#include "nubra/ixo_ref.h"

class XDO;
class XStruct;
class XTR;

namespace sim {

class SimExchange : public IXO {
    ORVO_DISPATCH_MAP()

public:
    SimExchange();
    ~SimExchange() override;
    ORVO_KEY(L"SimExchange")

    // Reads the project's scenario ("Project" "GetFile" "Scenario"), or uses a built-in one
    // when the project names none; false when the named file is unusable or no event loop is
    // installed.
    bool Init();
    bool Final();
    int Request(XTR* tr, XStruct* request, XDO* requester);
    bool UnRequest(int handle, XDO* requester);
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

    // For tests and benchmarks: starts on this scenario instead of the project's.
    bool InitWith(Scenario scenario);
    // One real-time tick to every registration, as the timer sends it; answers how many
    // requesters received it.
    int PushTick();
    Market* GetMarket() { return m_market.get(); }

private:
    struct Pending;
    struct Push;

    void Deliver(int handle);
    // Registers `requester` for the ticks of `code` (every instrument when empty).
    bool AddPush(XTR* tr, XDO* requester, const std::wstring& code, int handle);
    // Maps `bytes` into `received` (made from `tr`'s output layout when null) and hands it to
    // the requester; false when the requester or transaction is gone.
    bool Answer(const orvo::IXORef& trRef,
                const orvo::IXORef& requesterRef,
                std::unique_ptr<XStruct>& received,
                const std::vector<unsigned char>& bytes);
    void StopTimer();

    std::unique_ptr<Market> m_market;
    int m_nextHandle = 0;
    std::int64_t m_nextOrderNo = 0;
    // Shared: an answer keeps its entry alive while the requester, inside it, cancels.
    std::map<int, std::shared_ptr<Pending>> m_pending;
    std::vector<std::shared_ptr<Push>> m_pushes;
    int m_timer = 0;
    void* m_requestFunction = nullptr;
    std::vector<unsigned char> m_wire; // reused for every answer
    // Posted deliveries and timer ticks check this before touching the exchange.
    std::shared_ptr<int> m_life = std::make_shared<int>(0);
};

} // namespace sim
