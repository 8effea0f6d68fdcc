#include "data/data_item.h"

#include <string_view>

#include "platform/base/format.h"
#include "platform/base/nocase.h"

namespace {
[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XData>();

int FieldTypeOf(std::wstring_view keyword) {
    static constexpr struct {
        const wchar_t* keyword;
        int type;
    } kTypes[] = {
        {L"String", CField::TypeString},
        {L"Integer", CField::TypeInteger},
        {L"UInteger", CField::TypeUInteger},
        {L"Boolean", CField::TypeBoolean},
        {L"Double", CField::TypeDouble},
    };
    for (const auto& t : kTypes) {
        if (plat::EqualsNoCase(keyword, t.keyword))
            return t.type;
    }
    return CField::TypeNone;
}
} // namespace

int CField::SetElement(XElement* e) {
    if (!e)
        return 0;
    e->GetValue(L"Name", Name);
    std::wstring type;
    if (e->GetValue(L"Type", type))
        Type = FieldTypeOf(type);
    return 1;
}

int XData::SetMethod(const wchar_t* name, XElement* e) {
    if (!XDO::SetMethod(name, e))
        return 0;
    if (!plat::EqualsNoCase(name ? name : L"", L"Field"))
        return 1;
    auto field = std::make_unique<CField>();
    if (!field->SetElement(e))
        return 0;
    m_fields.push_back(std::move(field));
    return 1;
}

int XData::GetFieldIndex(const wchar_t* name) const {
    const std::wstring_view wanted(name ? name : L"");
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (plat::EqualsNoCase(m_fields[i]->Name, wanted))
            return static_cast<int>(i);
    }
    return -1;
}

const wchar_t* XData::GetText(int row, int field) {
    m_text = plat::Format(L"R %d, F %d", row, field);
    return m_text.c_str();
}
