#include "ui/screen_notice_presenter.h"

#include "platform/gui/message_box.h"

namespace orvo {

int ScreenNoticePresenter::Confirm(const std::wstring& text, unsigned type, unsigned) {
    return plat::MessageBox(nullptr, text, kCaption, type);
}

void ScreenNoticePresenter::Show(const NoticeRecord& record) {
    m_log.Show(record);
    // Notices, news and conclusions arrive in streams and wait in their lists for the notice
    // screens; only an alert stops the trader.
    if (record.kind == NoticeKind::Alert && plat::HasDisplay())
        plat::MessageBox(nullptr, record.text, kCaption, plat::MB_OK | plat::MB_ICONWARNING);
}

} // namespace orvo
