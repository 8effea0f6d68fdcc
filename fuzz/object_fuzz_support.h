#pragma once
// Shared by the fuzz targets that build objects from their input.
#include <string>
#include <string_view>

#include "core/notice_presenter.h"
#include "platform/base/nocase.h"
#include "platform/base/text.h"

namespace orvo::fuzz {

// Actions that load user libraries would let the input pick code to run; such inputs are
// left out.
inline bool NamesUserLibraries(std::string_view bytes) {
    std::wstring text = plat::ToLower(plat::FromUtf8(bytes));
    return text.find(L"user.") != std::wstring::npos ||
           text.find(L"message.") != std::wstring::npos;
}

// Configuration messages are expected by the thousand while fuzzing; they go nowhere.
class SilentPresenter : public orvo::NoticePresenter {
public:
    int Confirm(const std::wstring&, unsigned, unsigned) override { return 1; }
    void Show(const orvo::NoticeRecord&) override {}
};

} // namespace orvo::fuzz
