#include "core/notice_messages.h"

#include <cstdio>
#include <string>

#include "core/contracts.h"
#include "platform/base/text.h"

namespace {

template <class Call> void Send(Call& call, std::wstring_view text) {
    if (auto notice = call.Get())
        notice(std::wstring(text).c_str());
}

} // namespace

int ConfirmMsg(std::wstring_view text, unsigned type, unsigned helpId) {
    static orvo::ContractCall<orvo::contract::NoticeManConfirm> s_confirm;
    std::wstring owned(text);
    if (auto confirm = s_confirm.Get())
        return confirm(owned.c_str(), type, helpId);
    std::fprintf(stderr, "%s\n", plat::ToUtf8(owned).c_str());
    return 1;
}

void NoticeMsg(std::wstring_view text) {
    static orvo::ContractCall<orvo::contract::NoticeManNotice> s_call;
    Send(s_call, text);
}

void AlertMsg(std::wstring_view text) {
    static orvo::ContractCall<orvo::contract::NoticeManAlert> s_call;
    Send(s_call, text);
}

void NewsMsg(std::wstring_view text) {
    static orvo::ContractCall<orvo::contract::NoticeManNews> s_call;
    Send(s_call, text);
}

void NoticeConcludeMsg(std::wstring_view text) {
    static orvo::ContractCall<orvo::contract::NoticeManNoticeConclude> s_call;
    Send(s_call, text);
}
