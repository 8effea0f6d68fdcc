#include "data/reform_io_data.h"

#include <string_view>

#include "core/notice_messages.h"
#include "platform/base/format.h"
#include "platform/base/nocase.h"

namespace {
[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XReformIOData>();

bool SortTypeFromWord(std::wstring_view word, SORT_TYPE& type) {
    struct Entry {
        const wchar_t* word;
        SORT_TYPE type;
    };
    static constexpr Entry kWords[] = {
        {L"NONE", SORT_NONE},
        {L"STR", SORT_STR},
        {L"STRING", SORT_STR},
        {L"FLOAT", SORT_FLOAT},
        {L"INT", SORT_INT},
        {L"INTEGER", SORT_INT},
    };
    for (const Entry& entry : kWords) {
        if (plat::EqualsNoCase(word, entry.word)) {
            type = entry.type;
            return true;
        }
    }
    return false;
}

bool SortOrderFromWord(std::wstring_view word, SORT_ORDER& order) {
    if (plat::EqualsNoCase(word, L"ASC"))
        order = SORT_ASC;
    else if (plat::EqualsNoCase(word, L"DESC"))
        order = SORT_DESC;
    else
        return false;
    return true;
}
} // namespace

ORVO_DISPATCH(XReformIOData, XProxyIOData, ORVO_METHOD(SortVB))

int XReformIOData::SetElement(XElement* e) {
    if (!XProxyIOData::SetElement(e))
        return 0;
    if (m_strLink.empty()) {
        ConfirmMsg(plat::Format(L"%s의 DataSource가 지정되지 않았습니다.", GetIXOKey()), 0, 0);
        return 0;
    }
    return 1;
}

int XReformIOData::Sort(int, SORT_TYPE, SORT_ORDER) {
    return 0;
}

int XReformIOData::SortVB(const wchar_t* field, const wchar_t* type, const wchar_t* order) {
    const int index = GetFieldIndex(field ? field : L"");
    if (index == -1)
        return 0;
    SORT_TYPE sortType = SORT_NONE;
    SORT_ORDER sortOrder = SORT_ASC;
    if (!SortTypeFromWord(type ? type : L"", sortType) ||
        !SortOrderFromWord(order ? order : L"", sortOrder))
        return 0;
    return Sort(index, sortType, sortOrder);
}
