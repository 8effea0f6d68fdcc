#include "core/notice_man.h"

#include <optional>
#include <string_view>

#include "core/contracts.h"
#include "nubra/time_util.h"
#include "platform/base/nocase.h"

namespace {

[[maybe_unused]] const int g_registered = orvo::RegisterInstance(&XNoticeMan::Instance());

std::optional<orvo::NoticeKind> KindNamed(std::wstring_view name) {
    using orvo::NoticeKind;
    for (NoticeKind kind :
         {NoticeKind::Notice, NoticeKind::Alert, NoticeKind::News, NoticeKind::Conclude}) {
        if (plat::EqualsNoCase(name, orvo::NoticeKindName(kind)))
            return kind;
    }
    if (plat::EqualsNoCase(name, L"NoticeConclude"))
        return NoticeKind::Conclude;
    return std::nullopt;
}

} // namespace

XNoticeMan& XNoticeMan::Instance() {
    // Never destroyed: destructors of other static objects may still report at exit.
    static XNoticeMan* const instance = new XNoticeMan();
    return *instance;
}

ORVO_DISPATCH(XNoticeMan,
              IXO,
              ORVO_PROVIDE(orvo::contract::NoticeManConfirm, Confirm),
              ORVO_PROVIDE(orvo::contract::NoticeManNotice, Notice),
              ORVO_PROVIDE(orvo::contract::NoticeManAlert, Alert),
              ORVO_PROVIDE(orvo::contract::NoticeManNews, News),
              ORVO_PROVIDE(orvo::contract::NoticeManNoticeConclude, NoticeConclude),
              ORVO_METHOD(GetLastNotice))

int XNoticeMan::Confirm(const wchar_t* text, unsigned type, unsigned helpId) {
    return m_presenter->Confirm(text ? text : L"", type, helpId);
}

int XNoticeMan::Notice(const wchar_t* text) {
    return Record(orvo::NoticeKind::Notice, text);
}

int XNoticeMan::Alert(const wchar_t* text) {
    return Record(orvo::NoticeKind::Alert, text);
}

int XNoticeMan::News(const wchar_t* text) {
    return Record(orvo::NoticeKind::News, text);
}

int XNoticeMan::NoticeConclude(const wchar_t* text) {
    return Record(orvo::NoticeKind::Conclude, text);
}

int XNoticeMan::Record(orvo::NoticeKind kind, const wchar_t* text) {
    orvo::NoticeRecord record{kind, text ? text : L"", GetDateTime(L"YYYY-MM-DD HH:mm:SS")};
    auto& list = m_records[static_cast<std::size_t>(kind)];
    list.push_back(record);
    while (list.size() > kMaxRecordsPerKind)
        list.pop_front();
    // The presenter gets its own copy: showing may record more and drop this one.
    m_presenter->Show(record);
    return 1;
}

std::vector<orvo::NoticeRecord> XNoticeMan::Records(orvo::NoticeKind kind) const {
    const auto index = static_cast<std::size_t>(kind);
    if (index >= m_records.size())
        return {};
    return {m_records[index].begin(), m_records[index].end()};
}

std::wstring XNoticeMan::GetLastNotice(const wchar_t* kindName) const {
    const auto kind = KindNamed(kindName ? kindName : L"");
    if (!kind)
        return {};
    const auto& list = m_records[static_cast<std::size_t>(*kind)];
    return list.empty() ? std::wstring() : list.back().text;
}

void XNoticeMan::SetPresenter(orvo::NoticePresenter* presenter) {
    m_presenter = presenter ? presenter : &m_stderr;
}
