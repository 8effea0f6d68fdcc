#pragma once
// Text picture of a live object tree for `kestrel --dump-tree`: one line per object with its
// tag, name, style bits, creation state and the attributes that matter.
#include <string>

class XDO;

namespace kestrel {

std::wstring DumpObjects(XDO* root);

} // namespace kestrel
