#include "data/struct.h"

#include <cstring>

#include "core/notice_messages.h"
#include "data/contracts.h"
#include "data/inner_struct.h"
#include "data/meta_data.h"
#include "data/meta_item.h"
#include "data/type_keyword.h"
#include "nubra/call_site.h"
#include "nubra/tok.h"
#include "platform/base/codepage.h"
#include "platform/base/format.h"
#include "platform/base/nocase.h"

namespace {
[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XStruct>();

constexpr const wchar_t* kTooLarge = L"Record size exceeds 2147483647 bytes. [%s]";
constexpr const wchar_t* kFieldAfterRows = L"Fields must be declared before addrow. [%s]";
constexpr const wchar_t* kBadInnerCount = L"Nested structure count can't be negative. [%s]";
constexpr const wchar_t* kRowsWithoutBytes = L"A record of 0 bytes can't hold %d rows. [%s]";

XStruct* AsStruct(XDO* obj) {
    return orvo::KindOf<XStruct>(obj);
}

// The type and width of the meta item "name" or "namespace:name"; DT_NONE when none.
orvo::TypeAndWidth MetaType(const std::wstring& nameSpace, const std::wstring& name) {
    static orvo::ContractCall<orvo::contract::MetaSetGetMetaDataByName> s_byName;
    static orvo::ContractCall<orvo::contract::MetaSetGetMetaDataByID> s_byId;
    const CMetaItem* item = nullptr;
    if (!nameSpace.empty()) {
        auto byName = s_byName.Get();
        XMetaData* meta = byName ? byName(nameSpace.c_str()) : nullptr;
        item = meta ? meta->GetItemByID(name.c_str()) : nullptr;
    } else if (auto byId = s_byId.Get()) {
        item = byId(name.c_str());
    }
    if (!item)
        return {};
    return {item->GetDataType(), item->GetDataSize()};
}

template <class T> std::vector<unsigned char> BytesOf(T value) {
    std::vector<unsigned char> bytes(sizeof(T));
    std::memcpy(bytes.data(), &value, sizeof(T));
    return bytes;
}

// The default of a fixed-width field from "value", as a record stores it.
std::vector<unsigned char> DefaultBytes(XElement* e, DT_DATA_TYPE type, int size) {
    switch (type) {
    case DT_INT: {
        int v = 0;
        e->GetValue(L"value", v);
        return BytesOf<std::int32_t>(v);
    }
    case DT_UINT: {
        unsigned v = 0;
        e->GetUInt(L"value", v);
        return BytesOf<std::uint32_t>(v);
    }
    case DT_BOOL: {
        int v = 0;
        e->GetBool(L"value", v);
        return BytesOf<std::int32_t>(v ? 1 : 0);
    }
    case DT_DOUBLE: {
        double v = 0;
        e->GetValue(L"value", v);
        return BytesOf<double>(v);
    }
    case DT_FLOAT: {
        float v = 0;
        e->GetValue(L"value", v);
        return BytesOf<float>(v);
    }
    case DT_CHAR: {
        char v = 0;
        e->GetChar(L"value", v);
        return BytesOf<char>(v);
    }
    case DT_INT64: {
        std::int64_t v = 0;
        e->GetInt64(L"value", v);
        return BytesOf<std::int64_t>(v);
    }
    default: { // DT_STR: code page bytes cut to the width, zero padded
        std::wstring text;
        e->GetValue(L"value", text);
        const std::string ansi = plat::ToAnsi(text);
        std::vector<unsigned char> bytes(static_cast<std::size_t>(size), 0);
        std::memcpy(bytes.data(), ansi.data(), std::min(ansi.size(), bytes.size()));
        return bytes;
    }
    }
}

} // namespace

ORVO_DISPATCH(XStruct,
              XMetaIOData,
              ORVO_METHOD_AS(GetRecordCountVB, GetRecordCount),
              ORVO_METHOD_AS(AddRecordVB, AddRecord),
              ORVO_METHOD_AS(AddRecordExVB, AddRecordEx),
              ORVO_METHOD_AS(RemoveRecordVB, RemoveRecord),
              ORVO_METHOD_AS(RemoveAllVB, RemoveAll),
              ORVO_METHOD_AS(SetValVB, SetVal),
              ORVO_METHOD_AS(GetValVB, GetVal))

XStruct::XStruct() {
    m_nStyle |= XDO_STYLE_STRUCT;
}

XStruct::XStruct(const XStruct& source, XDO* parent) : XStruct() {
    CopyStruct(source);
    if (parent)
        parent->AddChild(this);
}

XStruct& XStruct::operator=(const XStruct& source) {
    CopyStruct(source);
    return *this;
}

XStruct* XStruct::GetNewInstance(const XStruct& source, XDO* parent) {
    return new XStruct(source, parent);
}

// ---- reading the element -----------------------------------------------------------------------

int XStruct::SetElement(XElement* e) {
    if (!XDO::SetElement(e))
        return 0;
    if (XStruct* outer = AsStruct(parent())) {
        m_nested = true;
        if (outer->m_nested) {
            ConfirmMsg(L"Nested structure supports maximum depth 2", 0, 0);
            return 0;
        }
    }
    if (!e)
        return 1;
    std::wstring base;
    if (e->GetValue(L"basename", base)) {
        if (m_nested) {
            ConfirmMsg(plat::Format(
                           L"Basename attribute can't be used in the nested structure. [%s]", base),
                       0,
                       0);
            return 0;
        }
        static orvo::ContractCall<orvo::contract::StructureSetGetStructByName> s_find;
        auto find = s_find.Get();
        XStruct* source = find ? find(base.c_str()) : nullptr;
        if (!source) {
            ConfirmMsg(plat::Format(L"Structure not found. [%s]", base), 0, 0);
            return 0;
        }
        if (source != this)
            CopyStruct(*source);
        return 1;
    }
    e->GetValue(L"count", m_count);
    std::wstring type;
    if (e->GetValue(L"type", type))
        m_dynamic = plat::EqualsNoCase(type, L"dynamic");
    e->GetValue(L"MaxRow", m_maxRow);
    return 1;
}

int XStruct::SetMethod(const wchar_t* name, XElement* e) {
    std::wstring_view method(name ? name : L"");
    if (plat::EqualsNoCase(method, L"field"))
        return e ? ReadField(e) : 0;
    if (plat::EqualsNoCase(method, L"addrow"))
        return e ? ReadAddRow(e) : 0;
    return XDO::SetMethod(name, e);
}

int XStruct::ReadField(XElement* e) {
    std::wstring item;
    e->GetValue(L"item", item);
    plat::MakeLower(item);
    const std::size_t colon = item.find(L':');
    const std::wstring nameSpace =
        colon == std::wstring::npos ? std::wstring() : item.substr(0, colon);
    const std::wstring fieldName = colon == std::wstring::npos ? item : item.substr(colon + 1);

    int size = orvo::kSizeNotGiven;
    e->GetValue(L"size", size);
    std::wstring keyword;
    const orvo::TypeAndWidth type = e->GetValue(L"type", keyword)
                                        ? orvo::TypeFromKeyword(keyword, size)
                                        : MetaType(nameSpace, fieldName);
    if (type.type == DT_NONE) {
        ConfirmMsg(plat::Format(L"[No definition] %s ", item), 0, 0);
        return 0;
    }
    if (m_nested && type.type == DT_PT_STR) {
        ConfirmMsg(L"Inner structure can't have a field typed DT_PT_STR", 0, 0);
        return 0;
    }
    if (m_memReady) {
        // Rows already laid out in the old width would no longer match the record.
        ConfirmMsg(plat::Format(kFieldAfterRows, item), 0, 0);
        return 0;
    }
    if (!m_record.CanAdd(type.size)) {
        ConfirmMsg(plat::Format(kTooLarge, item), 0, 0);
        return 0;
    }

    auto field = std::make_unique<CRecord::CField>();
    field->NameSpace = nameSpace;
    field->Name = fieldName;
    field->Type = type.type;
    field->Size = type.size;
    std::wstring format;
    if (e->GetValue(L"Format", format)) {
        field->Format = std::make_unique<CFormat>();
        field->Format->SetFormat(format);
    }
    if (e->HaveKey(L"value")) {
        if (type.type == DT_BLOB) {
            ConfirmMsg(L"BLOB 은 Default Value 를 가질 수 없습니다.", 0, 0);
            return 1;
        }
        if (type.type == DT_PT_STR)
            e->GetValue(L"value", field->DefaultText);
        else
            field->DefaultBytes = DefaultBytes(e, type.type, type.size);
    }
    if (m_record.AddField(std::move(field)) < 0) {
        ConfirmMsg(plat::Format(kTooLarge, item), 0, 0);
        return 0;
    }
    return 1;
}

int XStruct::ReadAddRow(XElement* e) {
    std::wstring text;
    std::wstring separator = L",";
    e->GetValue(L"text", text);
    e->GetValue(L"separator", separator);
    int row = 0;
    if (m_maxRow < 1) {
        if (m_count == INT_MAX || !ConfirmDataMem(m_count + 1))
            return 0;
        row = m_count - 1;
    } else {
        // The ring is made once; past MaxRow rows the last row is written again.
        if (!m_memReady && !ConfirmDataMem())
            return 0;
        if (m_count < m_maxRow)
            ++m_count;
        row = m_count - 1;
    }
    CTok tok(text, separator);
    std::wstring piece;
    for (int col = 0; col < GetFieldCount() && tok.GetNext(piece); ++col)
        SetVal(row, col, piece.c_str());
    return 1;
}

// ---- finishing -------------------------------------------------------------------------------

int XStruct::AfterChildElement() {
    if (!m_record.CalcInternals()) {
        ConfirmMsg(plat::Format(kTooLarge, GetName()), 0, 0);
        return 0;
    }
    if (m_nested) {
        XStruct* outer = AsStruct(parent());
        return outer && !outer->m_nested ? AppendTo(*outer) : 0;
    }
    int result = 1;
    if ((m_count > 0 || m_maxRow > 0) && !m_memReady)
        result = AllocateDeclaredRows();
    // The nested definitions live on in the DT_STRUCT fields.
    for (XDO* c = child(); c;) {
        XDO* next = c->next();
        if (AsStruct(c))
            c->LinkCut(1, nullptr);
        c = next;
    }
    if (m_record.IsLastFieldVirtual() && m_record.HasPointerField()) {
        const CRecord::CField* text = m_record.GetPointerField();
        const CRecord::CField* last = m_record.GetField(GetFieldCount() - 1);
        ConfirmMsg(
            plat::Format(
                L"A struct can't have nested structure with count=0 and variable length string "
                L"field simultaneously. [%s > %s:%s , %s]",
                GetName(),
                text->NameSpace,
                text->Name,
                last->Name),
            0,
            0);
        return 0;
    }
    return result;
}

int XStruct::AllocateDeclaredRows() {
    // Rows of no bytes cost no memory, so the size limit would not bound how many a count
    // declares, and every walk over them would still take its time. One such row is a
    // placeholder (a record whose repeating group arrives later); more are a mistake.
    const int declared = m_maxRow > 0 ? m_maxRow : m_count;
    if (GetRecordSize() == 0 && declared > 1) {
        ConfirmMsg(plat::Format(kRowsWithoutBytes, declared, GetName()), 0, 0);
        m_count = 0;
        m_maxRow = 0;
        return 0;
    }
    if (ConfirmDataMem())
        return 1;
    // The declared rows do not exist: nothing may read or walk them.
    m_count = 0;
    // A ring refuses variable-length strings silently; anything else did not fit.
    if (!(m_maxRow > 0 && HasPointerField()))
        ConfirmMsg(plat::Format(kTooLarge, GetName()), 0, 0);
    return 0;
}

int XStruct::AppendTo(XStruct& outer) {
    std::wstring name = plat::ToLower(GetName());
    if (m_count < 0) {
        ConfirmMsg(plat::Format(kBadInnerCount, name), 0, 0);
        return 0;
    }
    if (outer.m_memReady) {
        ConfirmMsg(plat::Format(kFieldAfterRows, name), 0, 0);
        return 0;
    }
    if (outer.m_record.AddNewStructField(
            L"", name, std::make_unique<CInnerStruct>(m_count, m_record)) < 0) {
        ConfirmMsg(plat::Format(kTooLarge, name), 0, 0);
        return 0;
    }
    return 1;
}
