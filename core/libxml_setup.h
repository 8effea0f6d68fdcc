#pragma once
// One-time libxml2 set-up shared by reading and writing markup: the parser is initialised,
// its error printing is silenced (callers report failures themselves, with the first error
// kept here), and the Korean encoding names that Windows tools write are mapped to CP949.
#include <string>

namespace orvo {

void EnsureLibxmlReady();

// The first error libxml2 reported since EnsureLibxmlReady, as "line 3, column 7: the
// reason"; empty when there was none.
std::wstring FirstLibxmlError();

} // namespace orvo
