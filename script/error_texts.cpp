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

void AppendCallError(std::wstring_view function,
                     const vbs::ScriptError& error,
                     std::wstring_view source,
                     std::vector<std::wstring>& texts) {
    std::wstring_view line;
    if (error.line > 0) {
        // The line the error happened on; its position is where its statement starts.
        std::wstring_view rest = source;
        for (int current = 1; current < error.line && !rest.empty(); ++current) {
            const std::size_t end = rest.find(L'\n');
            rest = end == std::wstring_view::npos ? std::wstring_view() : rest.substr(end + 1);
        }
        line = rest.substr(0, rest.find(L'\n'));
        if (!line.empty() && line.back() == L'\r')
            line.remove_suffix(1);
        const std::size_t first = line.find_first_not_of(L" \t");
        texts.push_back(plat::Format(L"Script error in line %ld, position %ld",
                                     error.line,
                                     first == std::wstring_view::npos ? 0L : long(first + 1)));
    }
    texts.push_back(plat::Format(L"%s (%d) in %s", error.description, error.number, function));
    if (!line.empty())
        texts.emplace_back(line);
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
