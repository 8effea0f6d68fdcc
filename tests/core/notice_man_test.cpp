#include "core/notice_man.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "core/notice_messages.h"
#include "nubra/time_util.h"
#include "support/recording_presenter.h"

namespace {

using orvo::NoticeKind;

std::int64_t g_now = 0;
std::int64_t FakeNow() {
    return g_now;
}

constexpr std::int64_t kMarch15At093015Utc = 1'710'495'015'000;

std::vector<std::wstring> TextsOf(const std::vector<orvo::NoticeRecord>& records) {
    std::vector<std::wstring> texts;
    for (const auto& record : records)
        texts.push_back(record.text);
    return texts;
}

// Pins the clock and the time zone, and shows everything through a recording presenter.
class NoticeManTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* tz = std::getenv("TZ"))
            m_previousTz = tz;
        setenv("TZ", "UTC", 1);
        tzset();
        g_now = kMarch15At093015Utc;
        orvo::SetClock(&FakeNow);
        m_previousPresenter = service.Presenter();
        service.SetPresenter(&presenter);
    }
    void TearDown() override {
        service.SetPresenter(m_previousPresenter);
        // Tests that take the service away must not leave the process without it.
        IXO::Register(L"NoticeMan", &service);
        orvo::SetClock(nullptr);
        if (m_previousTz)
            setenv("TZ", m_previousTz->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

    XNoticeMan& service = XNoticeMan::Instance();
    RecordingPresenter presenter;

private:
    std::optional<std::string> m_previousTz;
    orvo::NoticePresenter* m_previousPresenter = nullptr;
};

TEST_F(NoticeManTest, ConfirmReachesThePresenterAndAnswersWithItsAnswer) {
    presenter.confirmAnswer = 2;
    EXPECT_EQ(ConfirmMsg(L"Order rejected", 0x31, 7), 2);
    ASSERT_EQ(presenter.confirms.size(), 1u);
    EXPECT_EQ(presenter.confirms[0].text, L"Order rejected");
    EXPECT_EQ(presenter.confirms[0].type, 0x31u);
    EXPECT_EQ(presenter.confirms[0].helpId, 7u);
    EXPECT_TRUE(presenter.shown.empty()) << "confirmations are not notices";

    service.SetPresenter(nullptr);
    testing::internal::CaptureStderr();
    EXPECT_EQ(ConfirmMsg(L"\xD55C\xAE00\nline"), 1) << "the stderr presenter answers OK";
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "\xED\x95\x9C\xEA\xB8\x80 line\n");
}

TEST_F(NoticeManTest, NoticesAreKeptPerKindWithTheClockTimeAndShown) {
    NoticeMsg(L"market opens");
    AlertMsg(L"price limit");
    g_now += 61'000;
    NewsMsg(L"earnings");
    NoticeConcludeMsg(L"filled 10");
    EXPECT_EQ(service.Notice(nullptr), 1) << "a missing text is recorded empty";

    ASSERT_EQ(presenter.shown.size(), 5u);
    EXPECT_EQ(presenter.shown[1].kind, NoticeKind::Alert);
    EXPECT_EQ(presenter.shown[1].text, L"price limit");
    EXPECT_EQ(presenter.shown[1].time, L"2024-03-15 09:30:15");
    EXPECT_EQ(presenter.shown[3].kind, NoticeKind::Conclude);
    EXPECT_EQ(presenter.shown[3].time, L"2024-03-15 09:31:16");

    const auto alerts = service.Records(NoticeKind::Alert);
    ASSERT_FALSE(alerts.empty());
    EXPECT_EQ(alerts.back().text, L"price limit");
    EXPECT_EQ(alerts.back().time, L"2024-03-15 09:30:15");
    EXPECT_EQ(service.Records(NoticeKind::News).back().text, L"earnings");
    EXPECT_EQ(service.Records(NoticeKind::Notice).back().text, L"");
    EXPECT_TRUE(service.Records(static_cast<NoticeKind>(42)).empty());

    std::vector<orvo::DispVariant> args{L"conclude"};
    orvo::DispVariant result;
    ASSERT_EQ(service.Invoke(L"GetLastNotice", orvo::InvokeMethod, args, result),
              orvo::DispStatus::Ok);
    ASSERT_NE(result.AsString(), nullptr);
    EXPECT_EQ(*result.AsString(), L"filled 10");
    EXPECT_EQ(service.GetLastNotice(L"NoticeConclude"), L"filled 10");
    EXPECT_EQ(service.GetLastNotice(L"Weather"), L"");
}

TEST_F(NoticeManTest, OnlyTheMostRecentRecordsOfAKindAreKept) {
    XNoticeMan fresh;
    fresh.SetPresenter(&presenter);
    const std::size_t total = XNoticeMan::kMaxRecordsPerKind + 10;
    for (std::size_t i = 0; i < total; ++i)
        fresh.News(std::to_wstring(i).c_str());
    fresh.Alert(L"other kind");
    const auto texts = TextsOf(fresh.Records(NoticeKind::News));
    ASSERT_EQ(texts.size(), XNoticeMan::kMaxRecordsPerKind);
    EXPECT_EQ(texts.front(), L"10");
    EXPECT_EQ(texts.back(), std::to_wstring(total - 1));
    EXPECT_EQ(fresh.Records(NoticeKind::Alert).size(), 1u);
    EXPECT_EQ(presenter.shown.size(), total + 1) << "every notice is shown, kept or not";
}

TEST_F(NoticeManTest, WithoutTheServiceConfirmationsGoToStderrAndNoticesAreDropped) {
    NoticeMsg(L"cached call site");
    const std::size_t before = service.Records(NoticeKind::Notice).size();
    ASSERT_TRUE(IXO::Unregister(L"NoticeMan"));

    NoticeMsg(L"lost");
    testing::internal::CaptureStderr();
    EXPECT_EQ(ConfirmMsg(L"no service"), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "no service\n");
    EXPECT_EQ(service.Records(NoticeKind::Notice).size(), before);
    EXPECT_TRUE(presenter.confirms.empty());

    IXO::Register(L"NoticeMan", &service);
    NoticeMsg(L"back");
    EXPECT_EQ(service.Records(NoticeKind::Notice).back().text, L"back")
        << "call sites find the service registered again";
}

} // namespace
