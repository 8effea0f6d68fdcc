#include "data/tr_set.h"

#include <string>

#include "core/definition_set.h"
#include "core/notice_messages.h"
#include "data/contracts.h"
#include "platform/base/nocase.h"

namespace {
XTRSet* g_set = nullptr;
[[maybe_unused]] const int g_registered = [] {
    g_set = new XTRSet(); // lives for the process, like every service
    return orvo::RegisterInstance(g_set);
}();
} // namespace

XTRSet& XTRSet::Instance() {
    return *g_set;
}

ORVO_DISPATCH(XTRSet,
              XDO,
              ORVO_METHOD(InitializeIXO),
              ORVO_PROVIDE(orvo::contract::TRSetGetTRByID, GetTRByID))

int XTRSet::InitializeIXO() {
    orvo::LoadDefinitionSet(this, L"TRSet");
    WarnAboutDuplicateIds();
    return 1;
}

XTR* XTRSet::GetTRByID(const wchar_t* id) {
    for (XDO* c = child(); c; c = c->next()) {
        if (auto* first = dynamic_cast<XTR*>(c))
            return first->GetByIDDown(id);
    }
    return nullptr;
}

void XTRSet::WarnAboutDuplicateIds() {
    // Lookups take the first transaction of an id, so a later one with the same id can never
    // be found: a copy-and-paste slip worth a word. Switch ids naming a transaction of their
    // own are left alone; that is how a switch may document its target.
    plat::NoCaseMap<bool> seen;
    std::wstring duplicates;
    XTR::WalkDown(child(), [&](XTR& tr) {
        std::wstring id = tr.GetID();
        if (!id.empty() && !seen.emplace(id, true).second)
            duplicates += (duplicates.empty() ? L"" : L", ") + id;
        return false;
    });
    if (!duplicates.empty())
        ConfirmMsg(L"Transaction ids declared more than once (lookups find the first): " +
                       duplicates,
                   0,
                   0);
}
