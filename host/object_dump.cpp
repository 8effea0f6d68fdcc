#include "host/object_dump.h"

#include <utility>
#include <vector>

#include "core/lib.h"
#include "core/loader.h"
#include "core/xdo.h"
#include "data/struct.h"
#include "data/tr.h"
#include "platform/base/format.h"

namespace kestrel {

std::wstring DumpObjects(XDO* root) {
    std::wstring out;
    std::vector<std::pair<XDO*, int>> pending;
    if (root)
        pending.emplace_back(root, 0);
    while (!pending.empty()) {
        auto [obj, depth] = pending.back();
        pending.pop_back();
        out.append(static_cast<std::size_t>(depth) * 2, L' ');
        out += obj->GetIXOKey();
        if (!obj->GetName().empty())
            out += L" \"" + obj->GetName() + L"\"";
        out += plat::Format(L" style=0x%X state=%d",
                            static_cast<unsigned>(obj->GetObjectStyle()),
                            obj->GetCreateState());
        std::wstring data = obj->GetDataValueVB();
        if (!data.empty())
            out += L" data=\"" + data + L"\"";
        if (auto* lib = dynamic_cast<XLib*>(obj)) {
            for (const auto& p : lib->GetParams())
                out += L" param:" + p->name + L"=\"" + p->value + L"\"";
        }
        if (auto* loader = dynamic_cast<XLoader*>(obj))
            out += loader->IsLoaded() ? L" loaded" : L" unloaded";
        if (auto* tr = dynamic_cast<XTR*>(obj)) {
            out += plat::Format(L" id=\"%s\" type=%s realtime=%d",
                                tr->GetID(),
                                XTR::TypeKeyword(tr->GetType()),
                                tr->GetRealTime());
            for (const auto& s : tr->GetSwitches())
                out += L" switch:" + s->Item + L"=" + s->Value + L"->" + s->Id;
        }
        if (!obj->GetEvents().empty())
            out += plat::Format(L" events=%d", static_cast<int>(obj->GetEvents().size()));
        out += L'\n';
        if (auto* structure = dynamic_cast<XStruct*>(obj)) {
            const CRecord& record = structure->GetRecord();
            for (int i = 0; i < record.GetFieldCount(); ++i) {
                const CRecord::CField* f = record.GetField(i);
                out.append(static_cast<std::size_t>(depth) * 2 + 2, L' ');
                out += plat::Format(L"field %s type=%d offset=%d width=%d\n",
                                    f->Name,
                                    static_cast<int>(f->Type),
                                    record.GetOffSet(i),
                                    f->Size);
            }
            // The rows as a screen would show them: every cell's text, tab separated.
            for (int row = 0; row < structure->GetRows(); ++row) {
                out.append(static_cast<std::size_t>(depth) * 2 + 2, L' ');
                out += plat::Format(L"row %d:", row);
                for (int col = 0; col < record.GetFieldCount(); ++col)
                    out += L'\t' + structure->GetValVB(row, col);
                out += L'\n';
            }
        }
        std::vector<XDO*> children;
        for (XDO* c = obj->child(); c; c = c->next())
            children.push_back(c);
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            pending.emplace_back(*it, depth + 1);
    }
    return out;
}

} // namespace kestrel
