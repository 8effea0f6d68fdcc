#include "ui/keyword_list.h"

#include "nubra/trim_blanks.h"
#include "platform/base/nocase.h"

namespace orvo {

std::vector<std::wstring_view> SplitItems(std::wstring_view text, wchar_t separator) {
    std::vector<std::wstring_view> items;
    while (true) {
        const std::size_t end = text.find(separator);
        const std::wstring_view item = TrimBlanks(text.substr(0, end));
        if (!item.empty())
            items.push_back(item);
        if (end == std::wstring_view::npos)
            return items;
        text.remove_prefix(end + 1);
    }
}

bool LookUpKeyword(std::wstring_view keyword, std::span<const Keyword> table, int& value) {
    for (const Keyword& entry : table) {
        if (plat::EqualsNoCase(keyword, entry.name)) {
            value = entry.value;
            return true;
        }
    }
    return false;
}

} // namespace orvo
