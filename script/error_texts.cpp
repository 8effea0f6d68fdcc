#include "script/error_texts.h"

#include "platform/base/format.h"

namespace orvo {

void AppendCodeError(const vbs::SyntaxError& error, std::vector<std::wstring>& texts) {
    texts.push_back(
        plat::Format(L"Script error in line %ld, position %ld", error.line, error.column));
    if (!error.description.empty())
        texts.push_back(plat::Format(L"%s (%d)", error.description, error.number));
    if (!error.sourceLine.empty())
        texts.push_back(error.sourceLine);
}

void AppendCallError(std::wstring_view function, const vbs::ScriptError& error,
                     std::vector<std::wstring>& texts) {
    texts.push_back(
        plat::Format(L"Script error in %s: %s (%d)", function, error.description, error.number));
}

std::wstring JoinErrorTexts(const std::vector<std::wstring>& texts) {
    std::wstring joined;
    for (const std::wstring& text : texts) {
        if (!joined.empty())
            joined += L'\n';
        joined += text;
    }
    return joined;
}

} // namespace orvo
