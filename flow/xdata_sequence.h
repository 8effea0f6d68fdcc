#pragma once
// XDataSequence ("DataSequence"): the data requests nested in it, fired together. A gate's
// apply walk hands it the gate element: when the element has every key the requests need,
// their open requests are cancelled, their structures filled from the element and, with
// "AutoSend", sent. Scripts send or cancel them directly; markup actions and native callers
// drive a sequence by name through DataSequenceSend and DataSequenceSendCallBack.
#include <vector>

#include "core/xdo.h"
#include "nubra/ixo_ref.h"

class XDataRequest;
class XStruct;

enum : int { XDO_STYLE_DATASEQUENCE = 0x400000 };

class XDataSequence : public XDO {
    ORVO_DISPATCH_MAP()

public:
    XDataSequence();
    ORVO_KEY(L"DataSequence")

    int SetElement(XElement* e) override;
    int AfterChildElement() override;
    int AfterNextElement() override;
    int RunObjectEvent(int n) override;

    // Cancels and sends every request with the values already in its structure.
    int Send();
    void CloseRequest();

    // The requests still alive, in child order.
    std::vector<XDataRequest*> Requests() const;
    bool IsAutoSend() const { return m_autoSend; }

private:
    std::vector<orvo::IXORef> m_requests;
    bool m_autoSend = true;
};

// Called before each request of a send by name; 0 stops the remaining requests.
using XDataSequenceCallback = int (*)(XDO* caller, XStruct* request, const wchar_t* text);

// "sequence, gate, callback switch, rest": gathers through the gate (when named), fills and
// sends every request of the sequence. Exported for "User." actions.
extern "C" int DataSequenceSend(XDO* caller, const wchar_t* param);
extern "C" int
DataSequenceSendCallBack(XDO* caller, const wchar_t* param, XDataSequenceCallback callback);
