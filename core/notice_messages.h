#pragma once
// What the framework tells the screen author and the trader goes through the notice service
// ("NoticeMan"), reached by name so that core never depends on who presents it.
// Configuration errors are confirmations. Without the service (early start-up, tools) a
// confirmation goes to stderr so that nothing is lost and nothing blocks; notices are dropped.
#include <string_view>

// Answers the button chosen (1 is OK).
int ConfirmMsg(std::wstring_view text, unsigned type = 0, unsigned helpId = 0);

// Trading notices, kept by the service with their time.
void NoticeMsg(std::wstring_view text);
void AlertMsg(std::wstring_view text);
void NewsMsg(std::wstring_view text);
void NoticeConcludeMsg(std::wstring_view text);
