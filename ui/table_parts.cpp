#include "ui/table_parts.h"

#include <algorithm>
#include <climits>

#include "core/element.h"
#include "platform/base/nocase.h"

void CRowColInfo::SetElement(const XElement* e) {
    if (!e)
        return;
    e->GetValue(L"Gap", gap);
    e->GetValue(L"MinSize", minSize);
    e->GetValue(L"GripSize", gripSize);
    e->GetValue(L"GripWeight", gripWeight);
    e->GetBool(L"Show", shown);
    e->GetBool(L"Resize", resize);
    e->GetBool(L"Resizable", resizable);
    e->GetBool(L"Swap", swap);
}

bool CRowColInfo::SetSizeText(const wchar_t* text) {
    if (!text)
        return false;
    if (plat::EqualsNoCase(text, L"Auto")) {
        SetPos(0, SCALE_UNSET, 0.0);
        return true;
    }
    return SetPos(text);
}

int CRowColInfo::End() const {
    return static_cast<int>(
        std::min<long long>(static_cast<long long>(position) + (shown ? Size() : 0), INT_MAX));
}
