#pragma once
// XNoticeMan: the notice service, registered as "NoticeMan". Configuration errors arrive as
// confirmations; trading notices (notices, alerts, news, conclusions) are kept with their
// time, the most recent ones per kind, and handed to the presenter the host installed.
// Callers reach it by name (see notice_messages.h), so core never depends on the presenter.
#include <array>
#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "core/notice_presenter.h"
#include "nubra/ixo.h"

class XNoticeMan : public IXO {
    ORVO_DISPATCH_MAP()

public:
    static constexpr std::size_t kMaxRecordsPerKind = 500;

    // The instance registered at start-up.
    static XNoticeMan& Instance();

    ORVO_KEY(L"NoticeMan")

    // Hands the text to the presenter and answers its answer.
    int Confirm(const wchar_t* text, unsigned type, unsigned helpId);
    // Record the text with the current time and show it; answer 1.
    int Notice(const wchar_t* text);
    int Alert(const wchar_t* text);
    int News(const wchar_t* text);
    int NoticeConclude(const wchar_t* text);

    // Oldest first.
    std::vector<orvo::NoticeRecord> Records(orvo::NoticeKind kind) const;
    // For scripts: the text of the latest record of kind "Notice", "Alert", "News" or
    // "Conclude" (also "NoticeConclude"), any case; "" when there is none.
    std::wstring GetLastNotice(const wchar_t* kindName) const;

    // Not owned; null restores the stderr presenter. The host clears it before destroying
    // its presenter, since late messages may arrive while the process winds down.
    void SetPresenter(orvo::NoticePresenter* presenter);
    orvo::NoticePresenter* Presenter() const { return m_presenter; }

private:
    int Record(orvo::NoticeKind kind, const wchar_t* text);

    orvo::StderrNoticePresenter m_stderr;
    orvo::NoticePresenter* m_presenter = &m_stderr;
    std::array<std::deque<orvo::NoticeRecord>, 4> m_records;
};
