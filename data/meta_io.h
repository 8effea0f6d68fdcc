#pragma once
// The containers of a transaction's structures: "metaio" and its two kinds, "input" (what
// is sent) and "output" (what comes back). Each holds one "structure"; once an "input" or
// "output" has its children, it hands that structure to its parent, the transaction, by the
// names "SetInputStruct" and "SetOutputStruct" (`void(XStruct*)`).
#include "core/xdo.h"
#include "nubra/call_site.h"

class XStruct;

class XMetaIO : public XDO {
public:
    ORVO_KEY(L"metaio")

    // Checks a chain that starts with a "structure", which then gets its initial rows. The
    // structure's next sibling, when there is one, must be an "input" or "output"; its own
    // children are checked as the next chain. The first fault is shown and answers 0.
    virtual int ValidateChain(XDO* first);

protected:
    // Hands the first child, when it is a structure (else null), to the parent's `call`.
    void HandStructToParent(orvo::MethodCall<void(XStruct*)>& call);
};

class XInput : public XMetaIO {
public:
    ORVO_KEY(L"input")
    int AfterChildElement() override;
};

class XOutput : public XMetaIO {
public:
    ORVO_KEY(L"output")
    int AfterChildElement() override;
};
