#pragma once
// The sets of definitions (attribute bundles, meta types, structures) load the same way: the
// project names a file by kind, the screen manager opens it, and its root element resolves to
// the set itself so the definitions become the set's children.
class XDO;

namespace orvo {

// Replaces the children of `set` with the definitions of the project's file of `kind`. A file
// whose root is some other object still gives it to the set, owned and in reach. Returns 1;
// a project without such a file leaves the set empty.
int LoadDefinitionSet(XDO* set, const wchar_t* kind);

} // namespace orvo
