#pragma once
// A notice presenter that keeps everything it is asked to show, for tests that check the
// messages a screen author or trader would see.
#include <string>
#include <vector>

#include "core/notice_presenter.h"

class RecordingPresenter : public orvo::NoticePresenter {
public:
    struct Confirmation {
        std::wstring text;
        unsigned type = 0;
        unsigned helpId = 0;
    };

    int Confirm(const std::wstring& text, unsigned type, unsigned helpId) override {
        confirms.push_back({text, type, helpId});
        return confirmAnswer;
    }
    void Show(const orvo::NoticeRecord& record) override { shown.push_back(record); }

    int confirmAnswer = 1; // the button every confirmation answers with
    std::vector<Confirmation> confirms;
    std::vector<orvo::NoticeRecord> shown;
};
