#pragma once
// The notice presenter of a terminal with a screen: confirmations are message boxes and
// alerts interrupt with one; every notice is also logged as a line on stderr. Without a
// display it behaves as the headless presenter: nothing waits for a user.
#include "core/notice_presenter.h"

namespace orvo {

class ScreenNoticePresenter : public NoticePresenter {
public:
    // The caption of every box.
    static constexpr const wchar_t* kCaption = L"Kestrel";

    // The button chosen; headless, the default button of `type`.
    int Confirm(const std::wstring& text, unsigned type, unsigned helpId) override;
    void Show(const NoticeRecord& record) override;

private:
    StderrNoticePresenter m_log;
};

} // namespace orvo
