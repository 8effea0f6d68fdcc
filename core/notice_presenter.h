#pragma once
// Who shows what the notice service records: a message box on screen, a line on stderr
// headless, a recording in tests. The host picks one; nothing here may block a headless run.
#include <string>

namespace orvo {

enum class NoticeKind { Notice, Alert, News, Conclude };

// "Notice", "Alert", "News", "Conclude"; "" for a value outside the enumeration.
const wchar_t* NoticeKindName(NoticeKind kind);

struct NoticeRecord {
    NoticeKind kind = NoticeKind::Notice;
    std::wstring text;
    std::wstring time; // "YYYY-MM-DD HH:MM:SS", local time
};

class NoticePresenter {
public:
    virtual ~NoticePresenter() = default;
    // Answers the button chosen (1 is OK); `type` and `helpId` are the caller's message box
    // style and help topic.
    virtual int Confirm(const std::wstring& text, unsigned type, unsigned helpId) = 0;
    virtual void Show(const NoticeRecord& record) = 0;
};

// Headless presenter: one UTF-8 line per text on stderr (line breaks inside a text become
// blanks so that logs stay one message per line); every confirmation answers OK.
class StderrNoticePresenter : public NoticePresenter {
public:
    int Confirm(const std::wstring& text, unsigned type, unsigned helpId) override;
    void Show(const NoticeRecord& record) override;
};

} // namespace orvo
