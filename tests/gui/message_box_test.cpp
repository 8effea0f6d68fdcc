#include <gtest/gtest.h>

#include <string>

#include "platform/gui/message_box.h"

using namespace plat;

TEST(MessageBox, DefaultAnswerIsTheDefaultButtonOfTheStyle) {
    EXPECT_EQ(DefaultAnswer(MB_OK), IDOK);
    EXPECT_EQ(DefaultAnswer(MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
    EXPECT_EQ(DefaultAnswer(MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(DefaultAnswer(MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(DefaultAnswer(MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
    EXPECT_EQ(DefaultAnswer(MB_ABORTRETRYIGNORE | MB_DEFBUTTON2), IDRETRY);
    EXPECT_EQ(DefaultAnswer(MB_RETRYCANCEL), IDRETRY);
    // A button the style does not have, and styles that do not exist.
    EXPECT_EQ(DefaultAnswer(MB_OK | MB_DEFBUTTON3), IDOK);
    EXPECT_EQ(DefaultAnswer(MB_YESNO | MB_DEFBUTTON3), IDYES);
    EXPECT_EQ(DefaultAnswer(0xF), IDOK);
    EXPECT_EQ(DefaultAnswer(0xFFFFFFFF), IDOK);
}

TEST(MessageBox, HeadlessItWritesOneUtf8LineAndAnswersAtOnce) {
    EXPECT_FALSE(HasDisplay()) << "the offscreen platform counts as headless";
    EXPECT_EQ(HeadlessMessageLine(L"주문", L"잔고가\r\n부족합니다"),
              "\xEC\xA3\xBC\xEB\xAC\xB8: \xEC\x9E\x94\xEA\xB3\xA0\xEA\xB0\x80  "
              "\xEB\xB6\x80\xEC\xA1\xB1\xED\x95\xA9\xEB\x8B\x88\xEB\x8B\xA4");
    EXPECT_EQ(HeadlessMessageLine(L"", L"plain"), "plain");

    testing::internal::CaptureStderr();
    const int answer = MessageBox(nullptr, L"Cancel the order?", L"Orvo", MB_YESNO | MB_DEFBUTTON2);
    const std::string written = testing::internal::GetCapturedStderr();
    EXPECT_EQ(answer, IDNO);
    EXPECT_EQ(written, "Orvo: Cancel the order?\n");
}
