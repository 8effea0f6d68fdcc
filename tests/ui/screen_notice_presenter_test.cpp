#include "ui/screen_notice_presenter.h"

#include <gtest/gtest.h>

#include "platform/gui/message_box.h"

namespace {

// The tests run on the offscreen platform, where the presenter must answer at once.
TEST(ScreenNoticePresenterTest, HeadlessItAnswersTheDefaultButtonAndLogsEveryNotice) {
    orvo::ScreenNoticePresenter presenter;
    testing::internal::CaptureStderr();
    EXPECT_EQ(presenter.Confirm(L"주문을 보낼까요?\n확인", plat::MB_YESNO | plat::MB_DEFBUTTON2, 0),
              plat::IDNO);
    EXPECT_EQ(presenter.Confirm(L"plain", 0, 0), plat::IDOK);
    presenter.Show({orvo::NoticeKind::Alert, L"상한가 도달", L"2026-12-06 09:00:01"});
    presenter.Show({orvo::NoticeKind::News, L"장 시작", L"2026-12-06 09:00:00"});
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(log,
              "Kestrel: 주문을 보낼까요? 확인\n"
              "Kestrel: plain\n"
              "2026-12-06 09:00:01 Alert: 상한가 도달\n"
              "2026-12-06 09:00:00 News: 장 시작\n");
}

} // namespace
