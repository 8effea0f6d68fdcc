#pragma once
// Builds object trees for tests from markup, the way screens are built: every element makes
// an object (its tag looked up in the registry, else a plain XDO) under its parent, except
// "Event", "Message" and "__param__" children, which are declarations handed to the parent's
// SetMethod. CreateInstance then runs over the whole tree.
#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/xdo.h"
#include "core/xml_parser.h"
#include "platform/base/nocase.h"

namespace test {

inline bool IsDeclaration(const XElement* e) {
    for (const wchar_t* tag : {L"Event", L"Message", L"__param__", L"Radio", L"Gate"}) {
        if (plat::EqualsNoCase(e->GetTagName(), tag))
            return true;
    }
    return false;
}

inline XDO* MakeObject(const XElement* e) {
    IXO* made = IXO::GetIXO(e->GetTagName());
    if (auto* obj = dynamic_cast<XDO*>(made))
        return obj;
    delete made;
    return new XDO();
}

// The root object of the tree built from `markup`; null when the markup does not parse.
inline orvo::XDOPtr BuildTree(std::string_view markup, bool create = true) {
    XElement* root = nullptr;
    XMLParser parser;
    if (!parser.ParseMemory(markup, &root))
        return nullptr;
    std::unique_ptr<XElement> elements(root);
    orvo::XDOPtr top(MakeObject(root));
    top->SetElement(root);
    struct Job {
        XElement* element;
        XDO* parent;
    };
    std::vector<Job> pending;
    for (XElement* c = root->GetFirstChild(); c; c = c->GetNextSibling())
        pending.push_back({c, top.get()});
    std::reverse(pending.begin(), pending.end());
    while (!pending.empty()) {
        Job job = pending.back();
        pending.pop_back();
        if (IsDeclaration(job.element)) {
            job.parent->SetMethod(job.element->GetTagName().c_str(), job.element);
            continue;
        }
        XDO* obj = MakeObject(job.element);
        job.parent->AddChild(obj);
        obj->SetElement(job.element);
        std::size_t mark = pending.size();
        for (XElement* c = job.element->GetFirstChild(); c; c = c->GetNextSibling())
            pending.push_back({c, obj});
        std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(mark), pending.end());
    }
    if (create) {
        std::vector<XDO*> all{top.get()};
        while (!all.empty()) {
            XDO* node = all.back();
            all.pop_back();
            node->CreateInstance();
            for (XDO* c = node->child(); c; c = c->next())
                all.push_back(c);
        }
    }
    return top;
}

inline XDO* Find(XDO* root, const wchar_t* name) {
    return root ? root->GetObjByNameDown(name) : nullptr;
}

} // namespace test
