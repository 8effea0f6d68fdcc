#include "core/confirm_msg.h"

#include <cstdio>
#include <string>

#include "nubra/call_site.h"
#include "platform/base/text.h"

int ConfirmMsg(std::wstring_view text, unsigned type, unsigned helpId) {
    static orvo::ServiceCall<int(const wchar_t*, unsigned, unsigned)> s_confirm(L"NoticeMan", L"Confirm");
    std::wstring owned(text);
    if (auto confirm = s_confirm.Get())
        return confirm(owned.c_str(), type, helpId);
    std::fprintf(stderr, "%s\n", plat::ToUtf8(owned).c_str());
    return 1;
}
