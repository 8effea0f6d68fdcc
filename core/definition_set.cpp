#include "core/definition_set.h"

#include <string>

#include "core/contracts.h"
#include "core/xdo.h"
#include "nubra/call_site.h"

namespace orvo {

int LoadDefinitionSet(XDO* set, const wchar_t* kind) {
    static orvo::ContractCall<orvo::contract::ProjectGetFile> s_getFile;
    while (XDO* c = set->child())
        c->LinkCut(1, nullptr);
    set->SetCreateState(0); // built again from the start, events and all
    std::wstring file;
    auto getFile = s_getFile.Get();
    if (!getFile || !getFile(kind, file))
        return 1;
    static orvo::ContractCall<orvo::contract::ScrManOpenPage> s_openPage;
    auto openPage = s_openPage.Get();
    XDO* root = openPage ? openPage(file.c_str(), nullptr, nullptr) : nullptr;
    if (root && root != set && !root->parent())
        set->AddChild(root);
    return 1;
}

} // namespace orvo
