#pragma once
// XStructSet ("structureset"): the one holder of the project's shared structures.
// "InitializeIXO" loads the file the project names "StructureSet"; its root element (tag
// "StructureSet") resolves to this object, so the file's "structure" objects become its
// direct children. Published by name:
//   "StructureSet" "GetStructByName": XStruct*(const wchar_t* name)
//       the first direct child "structure" of that name (without case), or null.
//   "StructureSet" "InitializeIXO":   int()
// A reload replaces every structure: pointers stay valid until the next "InitializeIXO".
#include "core/xdo.h"
#include "data/struct.h"

class XStructSet : public XDO {
    ORVO_DISPATCH_MAP()

public:
    ORVO_KEY(L"structureset")
    static XStructSet& Instance();

    int InitializeIXO();
    XStruct* GetStructByName(const wchar_t* name);
};
