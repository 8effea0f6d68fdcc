#pragma once
// Text picture of an element tree for `kestrel --dump-tree`: one line per element, indented
// by depth, with its attributes and text.
#include <string>

class XElement;

namespace kestrel {

std::wstring DumpTree(const XElement* root);

} // namespace kestrel
