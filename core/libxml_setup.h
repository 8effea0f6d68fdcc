#pragma once
// One-time libxml2 set-up shared by reading and writing markup: the parser is initialised,
// its error printing is silenced (callers report failures themselves), and the Korean
// encoding names that Windows tools write are mapped to CP949.
namespace orvo {
void EnsureLibxmlReady();
} // namespace orvo
