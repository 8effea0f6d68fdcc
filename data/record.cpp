#include "data/record.h"

#include <cstring>

#include "data/inner_struct.h"
#include "platform/base/codepage.h"

namespace {

template <class T> std::vector<unsigned char> BytesOf(T value) {
    std::vector<unsigned char> bytes(sizeof(T));
    std::memcpy(bytes.data(), &value, sizeof(T));
    return bytes;
}

std::unique_ptr<CRecord::CField> MakeField(std::wstring_view nameSpace,
                                           std::wstring_view name,
                                           std::unique_ptr<CFormat> format,
                                           DT_DATA_TYPE type,
                                           int size) {
    auto field = std::make_unique<CRecord::CField>();
    field->NameSpace = nameSpace;
    field->Name = name;
    field->Format = std::move(format);
    field->Type = type;
    field->Size = size;
    return field;
}

// The width a type occupies whatever was declared; -1 for types given their width by the
// caller.
int FixedWidth(DT_DATA_TYPE type) {
    switch (type) {
    case DT_INT:
    case DT_UINT:
    case DT_BOOL:
    case DT_FLOAT:
        return 4;
    case DT_PT_STR:
        return CRecord::kStringHandleSize;
    case DT_DOUBLE:
    case DT_INT64:
        return 8;
    case DT_CHAR:
        return 1;
    default:
        return -1;
    }
}

bool SameBytes(const std::optional<std::vector<unsigned char>>& a,
               const std::optional<std::vector<unsigned char>>& b) {
    if (a.has_value() != b.has_value())
        return false;
    return !a || *a == *b;
}

} // namespace

// ---- CField -----------------------------------------------------------------------------------

CRecord::CField::CField() = default;
CRecord::CField::~CField() = default;

CRecord::CField::CField(const CField& other)
    : NameSpace(other.NameSpace), Name(other.Name), Type(other.Type), Size(other.Size),
      DefaultText(other.DefaultText), DefaultBytes(other.DefaultBytes),
      Format(other.Format ? std::make_unique<CFormat>(*other.Format) : nullptr),
      InnerStruct(other.InnerStruct ? std::make_unique<CInnerStruct>(*other.InnerStruct)
                                    : nullptr) {}

CRecord::CField& CRecord::CField::operator=(const CField& other) {
    if (this != &other) {
        CField copy(other);
        NameSpace = std::move(copy.NameSpace);
        Name = std::move(copy.Name);
        Type = copy.Type;
        Size = copy.Size;
        DefaultText = std::move(copy.DefaultText);
        DefaultBytes = std::move(copy.DefaultBytes);
        Format = std::move(copy.Format);
        InnerStruct = std::move(copy.InnerStruct);
    }
    return *this;
}

bool CRecord::CField::SameDefinition(const CField& other) const {
    if (!plat::EqualsNoCase(NameSpace, other.NameSpace) || !plat::EqualsNoCase(Name, other.Name) ||
        !plat::EqualsNoCase(DefaultText, other.DefaultText) || Type != other.Type ||
        Size != other.Size || !SameBytes(DefaultBytes, other.DefaultBytes))
        return false;
    if (!InnerStruct || !other.InnerStruct)
        return !InnerStruct && !other.InnerStruct;
    return *InnerStruct == *other.InnerStruct;
}

// ---- CRecord: life ---------------------------------------------------------------------------

CRecord::CRecord() = default;
CRecord::~CRecord() = default;
CRecord::CRecord(CRecord&& other) noexcept = default;
CRecord& CRecord::operator=(CRecord&& other) noexcept = default;

CRecord::CRecord(const CRecord& other)
    : m_nameIndex(other.m_nameIndex), m_widthSum(other.m_widthSum), m_pointerNo(other.m_pointerNo) {
    m_fields.reserve(other.m_fields.size());
    for (const auto& f : other.m_fields)
        m_fields.push_back(std::make_unique<CField>(*f));
}

CRecord& CRecord::operator=(const CRecord& other) {
    if (this != &other)
        *this = CRecord(other);
    return *this;
}

bool CRecord::operator==(const CRecord& other) const {
    if (m_fields.size() != other.m_fields.size())
        return false;
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (!m_fields[i]->SameDefinition(*other.m_fields[i]))
            return false;
    }
    return true;
}

// ---- CRecord: builders -----------------------------------------------------------------------

int CRecord::AddField(std::unique_ptr<CField> field) {
    if (!field || field->Size < 0 || m_widthSum + field->Size > kMaxRecordSize)
        return -1;
    const int index = GetFieldCount();
    m_widthSum += field->Size;
    m_nameIndex.try_emplace(field->Name, index);
    if (field->Type == DT_PT_STR && m_pointerNo < 0)
        m_pointerNo = index;
    m_fields.push_back(std::move(field));
    Invalidate();
    return index;
}

int CRecord::AddNewField(std::wstring_view nameSpace,
                         std::wstring_view name,
                         std::unique_ptr<CFormat> format,
                         DT_DATA_TYPE type,
                         int size) {
    int width = FixedWidth(type);
    if (type == DT_STR)
        width = size;
    else if (type == DT_BLOB)
        width = size > 0 ? size : 0;
    if (width < 0 || (type == DT_STR && width < 1))
        return -1; // DT_NONE, DT_STRUCT (see AddNewStructField), a string without width
    return AddField(MakeField(nameSpace, name, std::move(format), type, width));
}

int CRecord::AddNewDefaultField(std::wstring_view nameSpace,
                                std::wstring_view name,
                                std::unique_ptr<CFormat> format,
                                const wchar_t* value,
                                int size) {
    std::wstring_view text(value ? value : L"");
    if (size < 1) {
        auto field = MakeField(nameSpace, name, std::move(format), DT_PT_STR, kStringHandleSize);
        field->DefaultText = text;
        return AddField(std::move(field));
    }
    if (m_widthSum + size > kMaxRecordSize)
        return -1; // refused before the default bytes are made
    auto field = MakeField(nameSpace, name, std::move(format), DT_STR, size);
    std::string ansi = plat::ToAnsi(text);
    std::vector<unsigned char> bytes(static_cast<std::size_t>(size), 0);
    std::memcpy(bytes.data(), ansi.data(), std::min(ansi.size(), bytes.size()));
    field->DefaultBytes = std::move(bytes);
    return AddField(std::move(field));
}

#define ORVO_TYPED_DEFAULT(Method, CppType, Type)                                                  \
    int CRecord::Method(std::wstring_view nameSpace,                                               \
                        std::wstring_view name,                                                    \
                        std::unique_ptr<CFormat> format,                                           \
                        CppType value) {                                                           \
        auto field = MakeField(nameSpace, name, std::move(format), Type, sizeof(CppType));         \
        field->DefaultBytes = BytesOf<CppType>(value);                                             \
        return AddField(std::move(field));                                                         \
    }

ORVO_TYPED_DEFAULT(AddNewDefaultIntField, int, DT_INT)
ORVO_TYPED_DEFAULT(AddNewDefaultUIntField, unsigned, DT_UINT)
ORVO_TYPED_DEFAULT(AddNewDefaultCharField, char, DT_CHAR)
ORVO_TYPED_DEFAULT(AddNewDefaultInt64Field, std::int64_t, DT_INT64)
ORVO_TYPED_DEFAULT(AddNewDefaultDoubleField, double, DT_DOUBLE)
ORVO_TYPED_DEFAULT(AddNewDefaultFloatField, float, DT_FLOAT)
#undef ORVO_TYPED_DEFAULT

int CRecord::AddNewDefaultBoolField(std::wstring_view nameSpace,
                                    std::wstring_view name,
                                    std::unique_ptr<CFormat> format,
                                    bool value) {
    // A boolean cell is a 32-bit 0 or 1.
    auto field = MakeField(nameSpace, name, std::move(format), DT_BOOL, 4);
    field->DefaultBytes = BytesOf<std::int32_t>(value ? 1 : 0);
    return AddField(std::move(field));
}

int CRecord::AddNewStructField(std::wstring_view nameSpace,
                               std::wstring_view name,
                               std::unique_ptr<CInnerStruct> inner) {
    if (!inner || inner->count < 0 || inner->GetRecordSize() < 0)
        return -1;
    const std::int64_t total = inner->GetTotalSize();
    if (total > kMaxRecordSize)
        return -1;
    auto field = MakeField(nameSpace, name, nullptr, DT_STRUCT, static_cast<int>(total));
    field->InnerStruct = std::move(inner);
    return AddField(std::move(field));
}

// ---- CRecord: lookups ------------------------------------------------------------------------

int CRecord::GetFieldIndex(std::wstring_view name) const {
    auto it = m_nameIndex.find(name);
    return it == m_nameIndex.end() ? -1 : it->second;
}

// ---- CRecord: layout ---------------------------------------------------------------------------

bool CRecord::CalcInternals() {
    m_offsets.assign(m_fields.size(), 0);
    m_virtualNo = -1;
    m_pointerNo = GetPointerFieldNoByScan();
    std::int64_t offset = 0;
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        CField& f = *m_fields[i];
        if (f.Type == DT_STRUCT && f.InnerStruct) {
            const std::int64_t total = f.InnerStruct->GetTotalSize();
            const int innerSize = f.InnerStruct->GetRecordSize();
            if (total < 0 || total > kMaxRecordSize || innerSize < 0)
                return Refuse();
            f.Size = static_cast<int>(total);
            if (f.InnerStruct->count == 0 && innerSize > 0)
                m_virtualNo = static_cast<int>(i);
        } else if (f.Type == DT_BLOB) {
            m_virtualNo = static_cast<int>(i);
        }
        m_offsets[i] = static_cast<int>(offset);
        offset += f.Size < 0 ? 0 : f.Size;
        if (offset > kMaxRecordSize)
            return Refuse();
    }
    m_widthSum = offset;
    m_refused = false;
    m_recordSize = static_cast<int>(offset);
    return true;
}

bool CRecord::Refuse() {
    m_refused = true;
    m_recordSize = -1;
    m_virtualNo = -1;
    m_offsets.clear();
    return false;
}

bool CRecord::IsLastFieldVirtual() const {
    return !m_fields.empty() && GetVirtualNo() == GetFieldCount() - 1;
}

const CRecord::CField* CRecord::GetVirtualField() const {
    return GetField(GetVirtualNo());
}

CInnerStruct* CRecord::GetVirtualIS() const {
    const CField* f = GetVirtualField();
    return f ? f->InnerStruct.get() : nullptr;
}

int CRecord::GetSizeAfterVirtual() const {
    const int v = GetVirtualNo();
    return v < 0 ? 0 : m_recordSize - m_offsets[static_cast<std::size_t>(v)];
}

int CRecord::GetFieldCountAfterVirtual() const {
    const int v = GetVirtualNo();
    return v < 0 ? 0 : GetFieldCount() - v - 1;
}

const CRecord::CField* CRecord::GetPointerField() const {
    return GetField(GetPointerFieldNo());
}

int CRecord::GetPointerFieldNoByScan() const {
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i]->Type == DT_PT_STR)
            return static_cast<int>(i);
    }
    return -1;
}
