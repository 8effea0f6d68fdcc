#pragma once
// A stand-in "Project" that answers "GetFile" with the files a test names by kind (kinds
// without case, as the real one); an unnamed kind or an empty file answers 0.
#include <string>

#include "nubra/ixo.h"
#include "platform/base/nocase.h"

class ProjectFilesStandIn : public IXO {
    ORVO_DISPATCH_MAP()

public:
    int GetFile(const wchar_t* kind, std::wstring& out) {
        auto it = files.find(kind ? kind : L"");
        if (it == files.end() || it->second.empty())
            return 0;
        out = it->second;
        return 1;
    }
    plat::NoCaseMap<std::wstring> files;
};

ORVO_DISPATCH_INLINE(ProjectFilesStandIn, IXO, ORVO_METHOD(GetFile))
