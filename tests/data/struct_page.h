#pragma once
// Builds structures for tests from markup, the way a screen builds them.
#include <memory>
#include <string_view>

#include "core/scr_man.h"
#include "core/xml_parser.h"
#include "data/struct.h"

namespace test {

// The root object of a page built from `markup`; null when it does not parse.
inline orvo::XDOPtr BuildPage(std::string_view markup) {
    XElement* root = nullptr;
    XMLParser parser;
    if (!parser.ParseMemory(markup, &root))
        return nullptr;
    return orvo::XDOPtr(XScrMan::Instance().OpenPageMem(root, nullptr, nullptr));
}

// The structure `name` in `page` (the root itself when it has that name).
inline XStruct* FindStruct(XDO* page, const wchar_t* name) {
    if (!page)
        return nullptr;
    XDO* found = page->GetName() == name ? page : page->GetObjByNameDown(name);
    return dynamic_cast<XStruct*>(found);
}

} // namespace test
