#include "core/notice_presenter.h"

#include <cstdio>

#include "platform/base/text.h"

namespace orvo {

namespace {

void WriteLine(std::wstring line) {
    for (wchar_t& c : line) {
        if (c == L'\n' || c == L'\r')
            c = L' ';
    }
    std::string utf8 = plat::ToUtf8(line);
    utf8 += '\n';
    std::fwrite(utf8.data(), 1, utf8.size(), stderr);
}

} // namespace

const wchar_t* NoticeKindName(NoticeKind kind) {
    switch (kind) {
    case NoticeKind::Notice:
        return L"Notice";
    case NoticeKind::Alert:
        return L"Alert";
    case NoticeKind::News:
        return L"News";
    case NoticeKind::Conclude:
        return L"Conclude";
    }
    return L"";
}

int StderrNoticePresenter::Confirm(const std::wstring& text, unsigned, unsigned) {
    WriteLine(text);
    return 1;
}

void StderrNoticePresenter::Show(const NoticeRecord& record) {
    WriteLine(record.time + L" " + NoticeKindName(record.kind) + L": " + record.text);
}

} // namespace orvo
