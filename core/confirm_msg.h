#pragma once
// Configuration errors are shown to the screen author through the notice service
// ("NoticeMan" method "Confirm"). Without one (early start-up, tools) the text goes to
// stderr so that nothing is lost and nothing blocks.
#include <string_view>

int ConfirmMsg(std::wstring_view text, unsigned type = 0, unsigned helpId = 0);
