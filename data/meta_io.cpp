#include "data/meta_io.h"

#include "core/notice_messages.h"
#include "data/contracts.h"
#include "data/struct.h"
#include "platform/base/format.h"
#include "platform/base/nocase.h"

namespace {
[[maybe_unused]] const int g_registered = [] {
    orvo::RegisterFactory<XMetaIO>();
    orvo::RegisterFactory<XInput>();
    return orvo::RegisterFactory<XOutput>();
}();

} // namespace

int XMetaIO::ValidateChain(XDO* first) {
    // Each level is one structure and at most one container after it; the container's
    // children are the next level, so the walk is a loop however deep the markup goes.
    for (XDO* node = first;;) {
        auto* structure = orvo::KindOf<XStruct>(node);
        if (!structure) {
            ConfirmMsg(plat::Format(L"%s must structure", node ? node->GetIXOKey() : L""), 0, 0);
            return 0;
        }
        // Not the chain's result: false also means the rows already exist.
        structure->ConfirmDataMem();
        XDO* sibling = structure->next();
        if (!sibling)
            return 1;
        if (!orvo::KindOf<XInput>(sibling) && !orvo::KindOf<XOutput>(sibling)) {
            ConfirmMsg(plat::Format(L"%s must input or output", sibling->GetIXOKey()), 0, 0);
            return 0;
        }
        node = sibling->child();
    }
}

void XMetaIO::HandStructToParent(orvo::MethodCall<void(XStruct*)>& call) {
    if (auto set = call.Get(parent()))
        set(dynamic_cast<XStruct*>(child()));
}

int XInput::AfterChildElement() {
    static orvo::ContractMethod<orvo::contract::SetInputStruct> s_setInput;
    if (!XMetaIO::AfterChildElement())
        return 0;
    HandStructToParent(s_setInput);
    return 1;
}

int XOutput::AfterChildElement() {
    static orvo::ContractMethod<orvo::contract::SetOutputStruct> s_setOutput;
    if (!XMetaIO::AfterChildElement())
        return 0;
    HandStructToParent(s_setOutput);
    return 1;
}
