#pragma once
// `kestrel --input FILE`: the user input a screen author wrote down, replayed against the
// opened screens.
#include <string>

#include "core/notice_presenter.h"

namespace kestrel {

// Passes everything to the presenter it wraps and keeps the texts, so that an input script
// can expect a message.
class WatchedPresenter : public orvo::NoticePresenter {
public:
    explicit WatchedPresenter(orvo::NoticePresenter& shown) : m_shown(shown) {}
    int Confirm(const std::wstring& text, unsigned type, unsigned helpId) override;
    void Show(const orvo::NoticeRecord& record) override;
    // Whether any text so far contains `part`.
    bool Saw(const std::wstring& part) const;

private:
    orvo::NoticePresenter& m_shown;
    std::wstring m_seen; // every text, one per line
};

// Reads and runs the script; false with "FILE:LINE: ..." (or "FILE: ..." when it cannot be
// read) in `error`.
bool ReplayInput(const std::wstring& file, const WatchedPresenter& messages, std::wstring& error);

} // namespace kestrel
