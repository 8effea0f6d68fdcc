#pragma once
// XDataRequest ("DataRequest"): asks the communication manager for one transaction and
// spreads the answer over the screen.
//
//   input links --fill--> request structure --"CommMan" Request--> back end
//   back end --OnReceiveData(received)--> output links --> screen objects
//                                         updates      --> screen structures
//                                         child requests, requested in turn
//
// "Comm" events let scripts act on an answer: "Receive" before anything (false drops the
// answer), "ReceiveDataProc" after each value written, "ReceiveAfterProc" after all (false
// keeps the child requests from going out).
#include <memory>
#include <string>
#include <vector>

#include "core/object_lifetime.h"
#include "data/struct.h"
#include "flow/dr_update.h"
#include "flow/link_input.h"
#include "flow/link_output.h"
#include "flow/xdata_control.h"

enum : int { XDO_STYLE_DATAREQUEST = 0x800000 };

// Listener codes a request notifies with (the request is the notifier).
enum XDataRequestNotify : int {
    NOTIFY_DR_RECEIVED = 0x800,  // an answer arrived, before any processing
    NOTIFY_DR_NEXT = 0x801,      // script asked for the next page (second value: the flag)
    NOTIFY_DR_PREV = 0x802,      // the previous page
    NOTIFY_DR_FIRST = 0x803,     // the first page
    NOTIFY_DR_LAST = 0x804,      // the last page
    NOTIFY_DR_PROCESSED = 0x805, // the answer was processed
};

class XDataRequest : public XDataControl {
    ORVO_DISPATCH_MAP()

public:
    XDataRequest();
    ORVO_KEY(L"DataRequest")

    int SetElement(XElement* e) override;
    int SetMethod(const wchar_t* name, XElement* e) override;
    int AfterChildElement() override;
    int RunObjectEvent(int n) override;

    // ---- the request flow -------------------------------------------------------------------
    int DoRequest() { return DoRequestEx(m_clear); }
    // Cancels an open request (clearing the outputs when `clear`), tells "BeforeRequest" and
    // sends; 1 when the communication manager took it.
    int DoRequestEx(int clear);
    int CloseRequest(int recursive);
    // Fills the request structure from the gate element (and the linked objects), the child
    // requests' too, and with `request` sends when every value was found.
    int SetGateItem(XDO* caller, int request);
    // 0 when a gate-bound input's key is missing here or in a child request.
    int CheckGateItem(XDO* caller);
    // Parses the link texts of the inputs and outputs (children first).
    int MakeObject(XDO* obj);
    // One answer of the back end; `received` has the output structure's layout.
    int OnReceiveData(XStruct* received);

    // ---- script -------------------------------------------------------------------------------
    int RequestNext(int flag);
    int RequestPrev(int flag);
    int RequestFirst();
    int RequestLast();
    IXO* GetHeader() const { return m_header.Get(); }
    IXO* GetHeaderEx() const { return m_headerEx.Get(); }
    // Row 0 of the request structure's field of that name; 0 for an unknown field.
    int SetItemValue(const wchar_t* field, const wchar_t* value);

    // ---- for the back end ---------------------------------------------------------------------
    int GetTrID() const;
    int GetRepeat() const { return m_repeat; }
    int GetFrameID() const { return m_frameId; }
    void SetHeader(IXO* header) { m_header = header ? header->WeakRef() : orvo::IXORef{}; }
    void SetHeaderEx(IXO* header) { m_headerEx = header ? header->WeakRef() : orvo::IXORef{}; }
    XStruct* GetRequestStruct() const { return m_request; }
    XTR* GetTR() const;
    int GetHandle() const { return m_handle; }
    const std::vector<std::unique_ptr<CLinkOutput>>& GetOutputs() const { return m_outputs; }

    // ---- frames -------------------------------------------------------------------------------
    static int GetMenuID(XDO* obj, int& id);
    static XDO* GetXFrame(XDO* obj);

protected:
    ~XDataRequest() override;
    void Teardown() override;

private:
    // The requests declared inside this one, still alive.
    std::vector<XDataRequest*> Children() const;
    // Runs the "Comm" handler of a phase; true without one.
    bool RunComm(int phase);

    std::wstring m_trId;
    int m_frameId = 0;
    orvo::IXORef m_tr;
    orvo::XDOPtr m_requestOwner; // the request structure, a copy of the transaction's input
    XStruct* m_request = nullptr;
    orvo::IXORef m_output; // the transaction's output, then the last received structure
    orvo::IXORef m_header;
    orvo::IXORef m_headerEx;
    int m_handle = 0;
    std::vector<orvo::IXORef> m_children;
    std::vector<std::unique_ptr<CDRUpdate>> m_updates;
    std::vector<std::unique_ptr<CLinkOutput>> m_outputs;
    std::vector<std::unique_ptr<CLinkInput>> m_inputs;
    std::wstring m_value;
    int m_clear = 0;
    int m_switch = 0;
    int m_repeat = 0;
};
