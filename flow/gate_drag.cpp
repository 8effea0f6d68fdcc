// Drag and drop between windows: the drag gate near the pressed object gathers what a drag
// carries, the drop gate near the target takes it.
#include <memory>

#include "core/lib.h"
#include "core/loader.h"
#include "flow/xgate.h"

namespace {

enum class Search { Drag, Drop };

XGate* AsGate(XDO* obj) {
    return obj && orvo::HasStyle(obj, XDO_STYLE_GATE) ? orvo::KindOf<XGate>(obj) : nullptr;
}

bool IsWanted(XGate* gate, Search search) {
    return gate && (search == Search::Drag ? gate->IsDragTrigger() : gate->IsDropTrigger());
}

// Gates, loaders and libraries can fence their part of the screen off from searches.
bool IsFence(XDO* obj) {
    return AsGate(obj) || orvo::KindOf<XLoader>(obj) || orvo::KindOf<XLib>(obj);
}

bool Blocks(XDO* obj, Search search) {
    const bool drag = search == Search::Drag;
    if (XGate* gate = AsGate(obj))
        return drag ? gate->IsDragBlock() : gate->IsDropBlock();
    if (auto* loader = orvo::KindOf<XLoader>(obj))
        return drag ? loader->IsDragBlock() : loader->IsDropBlock();
    if (auto* lib = orvo::KindOf<XLib>(obj))
        return drag ? lib->IsDragBlock() : lib->IsDropBlock();
    return false;
}

XGate* FindGate(XDO* obj, Search search) {
    if (!obj || !IsLiveXdo(obj))
        return nullptr;
    for (XDO* up = obj; up; up = up->parent()) {
        XGate* gate = AsGate(up);
        if (IsWanted(gate, search))
            return gate;
        if (gate && Blocks(gate, search))
            return nullptr;
    }
    TREE_SCAN_INFO<XDO> info;
    info.callback = &XGate::FindGateProc;
    info.flags = static_cast<int>(search);
    info.skip = obj;
    return AsGate(obj->ScanTreeCNSP(info));
}

} // namespace

int XGate::FindGateProc(int phase, XDO* obj, ScanInfo& info) {
    const auto search = static_cast<Search>(info.flags);
    switch (phase) {
    case orvo::ScanClimb:
        if (IsFence(obj))
            info.climb = !Blocks(obj, search);
        break;
    case orvo::ScanFirstChild:
        info.descend = !Blocks(obj->child(), search);
        break;
    case orvo::ScanNext:
        info.next = !Blocks(obj->next(), search);
        break;
    case orvo::ScanVisit:
        if (XGate* gate = AsGate(obj); IsWanted(gate, search)) {
            info.result = gate;
            info.stop = true;
        }
        break;
    default:
        break;
    }
    return 1;
}

XGate* XGate::FindDragGate(XDO* obj) {
    return FindGate(obj, Search::Drag);
}

XGate* XGate::FindDropGate(XDO* obj) {
    return FindGate(obj, Search::Drop);
}

XGate* XGate::FindDefaultDropGate(XDO* obj) {
    if (!obj)
        return nullptr;
    return AsGate(obj->GetTopParent()->find_down(
        [](XDO* node) { return IsWanted(AsGate(node), Search::Drop); }));
}

XElement* XGate::FindGatherDrag(XDO* obj) {
    XGate* gate = FindDragGate(obj);
    if (!gate)
        return nullptr;
    auto drag = std::make_unique<XElement>();
    gate->GatherDrag(drag.get());
    return drag->GetSize() > 0 ? drag.release() : nullptr;
}

int XGate::DropGateTrigger(XDO* obj, XElement* element) {
    XGate* gate = FindDropGate(obj);
    if (!gate)
        return 0;
    gate->TriggerWithElem(obj, element);
    return 1;
}
