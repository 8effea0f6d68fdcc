#include "core/notice_messages.h"

#include <cstdio>
#include <string>

#include "nubra/call_site.h"
#include "platform/base/text.h"

namespace {

using NoticeCall = orvo::ServiceCall<int(const wchar_t*)>;

void Send(NoticeCall& call, std::wstring_view text) {
    if (auto notice = call.Get())
        notice(std::wstring(text).c_str());
}

} // namespace

int ConfirmMsg(std::wstring_view text, unsigned type, unsigned helpId) {
    static orvo::ServiceCall<int(const wchar_t*, unsigned, unsigned)> s_confirm(L"NoticeMan",
                                                                                L"Confirm");
    std::wstring owned(text);
    if (auto confirm = s_confirm.Get())
        return confirm(owned.c_str(), type, helpId);
    std::fprintf(stderr, "%s\n", plat::ToUtf8(owned).c_str());
    return 1;
}

void NoticeMsg(std::wstring_view text) {
    static NoticeCall s_call(L"NoticeMan", L"Notice");
    Send(s_call, text);
}

void AlertMsg(std::wstring_view text) {
    static NoticeCall s_call(L"NoticeMan", L"Alert");
    Send(s_call, text);
}

void NewsMsg(std::wstring_view text) {
    static NoticeCall s_call(L"NoticeMan", L"News");
    Send(s_call, text);
}

void NoticeConcludeMsg(std::wstring_view text) {
    static NoticeCall s_call(L"NoticeMan", L"NoticeConclude");
    Send(s_call, text);
}
