#include "host/tree_dump.h"

#include <utility>
#include <vector>

#include "core/element.h"

namespace kestrel {

std::wstring DumpTree(const XElement* root) {
    std::wstring out;
    std::vector<std::pair<const XElement*, int>> pending;
    if (root)
        pending.emplace_back(root, 0);
    while (!pending.empty()) {
        auto [e, depth] = pending.back();
        pending.pop_back();
        out.append(static_cast<std::size_t>(depth) * 2, L' ');
        out += e->GetTagName();
        if (const CMapStringToString* attrs = e->GetAttributes()) {
            for (const auto& [key, value] : *attrs) {
                out += L' ';
                out += key;
                out += L"=\"";
                out += value;
                out += L'"';
            }
        }
        if (!e->GetText().empty()) {
            out += L" : ";
            for (wchar_t c : e->GetText())
                out += c == L'\n' ? L'|' : c;
        }
        out += L'\n';
        std::vector<const XElement*> children;
        for (const XElement* c = e->GetFirstChild(); c; c = c->GetNextSibling())
            children.push_back(c);
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            pending.emplace_back(*it, depth + 1);
    }
    return out;
}

} // namespace kestrel
