#pragma once
// XMetaSet ("metaset"): the one holder of the project's metadata. "InitializeIXO" loads the
// file the project names "MetaSet"; its root element (tag "MetaSet") resolves to this object,
// so the file's "metadata" objects become its descendants.
//
// Structures reach the lookups by name through the registry, with exactly these signatures:
//   "metaset" "GetMetaDataByName": XMetaData*(const wchar_t* name)
//       the first "metadata" object of that name (without case), in pre-order over the
//       set's children and their subtrees; null when none or when the set is empty.
//   "metaset" "GetMetaDataByID":   CMetaItem*(const wchar_t* id)
//       the item of that lower-case id (compared exactly): the first child's table, then the
//       tables below it and of its later siblings, depth first; null when none. Not callable
//       from scripts (a meta item is no registry object).
//   "metaset" "InitializeIXO":     int()
// Pointers they return stay valid until the next "InitializeIXO", which replaces everything.
#include "core/xdo.h"
#include "data/meta_data.h"
#include "data/meta_item.h"

class XMetaSet : public XDO {
    ORVO_DISPATCH_MAP()

public:
    ORVO_KEY(L"metaset")
    static XMetaSet& Instance();

    // Drops what an earlier call loaded, then builds the project's metadata file. Always 1,
    // also when the project names no such file.
    int InitializeIXO();
    XMetaData* GetMetaDataByName(const wchar_t* name);
    CMetaItem* GetMetaDataByID(const wchar_t* id);
};
