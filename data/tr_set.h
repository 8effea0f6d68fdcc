#pragma once
// XTRSet ("trset"): the one holder of the project's transactions. "InitializeIXO" loads the
// file the project names "TRSet"; its root element (tag "TRSet") resolves to this object, so
// the file's "tr" objects become its descendants. Published by name:
//   "TRSet" "GetTRByID":     XTR*(const wchar_t* id)
//       the first transaction, in declaration order, whose id or one of whose switch ids
//       equals `id` without case; null when none.
//   "TRSet" "InitializeIXO": int()
// A reload replaces every transaction: pointers stay valid until the next "InitializeIXO".
#include "core/xdo.h"
#include "data/tr.h"

class XTRSet : public XDO {
    ORVO_DISPATCH_MAP()

public:
    ORVO_KEY(L"trset")
    static XTRSet& Instance();

    // Drops what an earlier call loaded, then builds the project's transaction file. Ids
    // declared by more than one transaction are listed in one message. Always 1, also when
    // the project names no such file.
    int InitializeIXO();
    XTR* GetTRByID(const wchar_t* id);

private:
    void WarnAboutDuplicateIds();
};
