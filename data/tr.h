#pragma once
// XTR ("tr"): one transaction of the project's transaction file: an id, the service and
// encoding it is sent with, timing options, the input structure sent and the output
// structure received, and switches that replace it by another transaction for requesting
// elements carrying a given attribute value.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/xdo.h"
#include "nubra/ixo_ref.h"

class XStruct;

class XTR : public XDO {
    ORVO_DISPATCH_MAP()

public:
    enum Type : int { IQR = 0, OMS = 1, VCS = 2, IQS = 3 };

    struct Switch {
        std::wstring Item;  // attribute of the requesting element
        std::wstring Value; // the value that selects this switch, without case
        std::wstring Id;    // the transaction used instead
        int Lazy = 0;
        int ApplyLazy = 0;
        int ApplyTime = 0;
        int LazyTime = 0;
    };

    XTR();
    // Copies ID, Text and RealTime only: no links, switches or structures.
    XTR(const XTR& source);
    XTR& operator=(const XTR&) = delete;
    ORVO_KEY(L"tr")

    int SetElement(XElement* e) override;
    int SetMethod(const wchar_t* name, XElement* e) override;
    int AfterChildElement() override;

    std::wstring GetID() const { return m_id; }
    std::wstring GetText() const { return m_text; }
    std::wstring GetService() const { return m_service; }
    std::wstring GetEncode() const { return m_encode; }
    Type GetType() const { return m_type; }
    int GetRealTime() const { return m_realTime; }
    int GetRepeat() const { return m_repeat; }
    int GetLazyProc() const { return m_lazyProc; }
    void SetLazyProc(int lazy) { m_lazyProc = lazy; }
    unsigned long GetLazyTime() const { return m_lazyTime; }
    void SetLazyTime(unsigned long time) { m_lazyTime = time; }
    bool HasSwitch() const { return !m_switches.empty(); }
    const std::vector<std::unique_ptr<Switch>>& GetSwitches() const { return m_switches; }
    // The first switch whose Item attribute of `element` equals its Value, without case.
    const Switch* GetSwitch(XElement* element) const;
    // This transaction or the first below it (first child, then next sibling, "tr" objects
    // only) whose id, or one of whose switch ids, equals `id` without case.
    XTR* GetByIDDown(const wchar_t* id);
    // The transactions from `first` on in lookup order: each "tr", the transactions below it,
    // then its later siblings. Objects of other kinds (the "input" and "output" containers)
    // are passed over and never entered. Answers the first one `visit` accepts, or null.
    static XTR* WalkDown(XDO* first, const std::function<bool(XTR&)>& visit);
    // "IQR", "OMS", "VCS" or "IQS".
    static const wchar_t* TypeKeyword(Type type);
    // True for "input" and "output" objects; otherwise shows "%s must input or output" with
    // the key of `object` (the one the author has to move) and answers false.
    bool CheckType(XDO* object);

    // Null once the structure is gone.
    XStruct* GetInputStruct() const;
    XStruct* GetOutputStruct() const;
    // Set by the "input" and "output" children once their structures are read; published
    // under these names for them.
    void SetInputStruct(XStruct* input);
    void SetOutputStruct(XStruct* output);

private:
    // Its own id or a switch id equals `id`, without case.
    bool Answers(std::wstring_view id) const;

    std::wstring m_id;
    std::wstring m_text;
    std::wstring m_service;
    std::wstring m_encode;
    Type m_type = IQR;
    int m_realTime = 0;
    int m_repeat = 0;
    int m_lazyProc = 0;
    unsigned long m_lazyTime = 20;
    orvo::IXORef m_input;  // owned by the "input" child
    orvo::IXORef m_output; // owned by the "output" child
    std::vector<std::unique_ptr<Switch>> m_switches;
};
