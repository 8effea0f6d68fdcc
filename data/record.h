#pragma once
// CRecord: the byte layout of one row of a structure. Fields are packed in declaration
// order without alignment or padding; the offset of a field is the sum of the widths before
// it. Widths are added up in 64 bits and a layout larger than kMaxRecordSize bytes is
// refused, so no offset or size ever wraps.
#include <climits>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/data_type.h"
#include "nubra/format.h"
#include "platform/base/nocase.h"

class CInnerStruct;

class CRecord {
public:
    class CField {
    public:
        CField();
        CField(const CField& other);
        CField& operator=(const CField& other);
        virtual ~CField();

        // Names, default text, type, width, default bytes and inner structure; formats are
        // display matters and do not take part.
        bool SameDefinition(const CField& other) const;

        std::wstring NameSpace; // metadata name of the "item" reference, lower case
        std::wstring Name;      // lower case; looked up without case
        DT_DATA_TYPE Type = DT_NONE;
        int Size = 0;             // width in the record (DT_STRUCT: inner rows x inner size)
        std::wstring DefaultText; // DT_PT_STR default
        std::optional<std::vector<unsigned char>> DefaultBytes; // exactly Size bytes
        std::unique_ptr<CFormat> Format;
        std::unique_ptr<CInnerStruct> InnerStruct; // DT_STRUCT only
    };

    static constexpr std::int64_t kMaxRecordSize = INT_MAX;
    // Width of the 32-bit handle a DT_PT_STR cell holds.
    static constexpr int kStringHandleSize = 4;

    CRecord();
    CRecord(const CRecord& other);
    CRecord& operator=(const CRecord& other);
    CRecord(CRecord&& other) noexcept;
    CRecord& operator=(CRecord&& other) noexcept;
    ~CRecord();

    bool operator==(const CRecord& other) const;

    // ---- builders: each appends one field and answers its index, or -1 when the field is
    // refused (no type, a DT_STR without width, a record that would exceed kMaxRecordSize).
    // Fixed-width types always take their own width; a blob below 0 bytes is 0 bytes.
    int AddNewField(std::wstring_view nameSpace,
                    std::wstring_view name,
                    std::unique_ptr<CFormat> format,
                    DT_DATA_TYPE type,
                    int size);
    // size < 1: a DT_PT_STR field whose default text is `value`; else a DT_STR of that width
    // whose default is `value` in the process code page, cut to the width, zero padded.
    int AddNewDefaultField(std::wstring_view nameSpace,
                           std::wstring_view name,
                           std::unique_ptr<CFormat> format,
                           const wchar_t* value,
                           int size);
    int AddNewDefaultIntField(std::wstring_view nameSpace,
                              std::wstring_view name,
                              std::unique_ptr<CFormat> format,
                              int value);
    int AddNewDefaultUIntField(std::wstring_view nameSpace,
                               std::wstring_view name,
                               std::unique_ptr<CFormat> format,
                               unsigned value);
    int AddNewDefaultBoolField(std::wstring_view nameSpace,
                               std::wstring_view name,
                               std::unique_ptr<CFormat> format,
                               bool value);
    int AddNewDefaultCharField(std::wstring_view nameSpace,
                               std::wstring_view name,
                               std::unique_ptr<CFormat> format,
                               char value);
    int AddNewDefaultInt64Field(std::wstring_view nameSpace,
                                std::wstring_view name,
                                std::unique_ptr<CFormat> format,
                                std::int64_t value);
    int AddNewDefaultDoubleField(std::wstring_view nameSpace,
                                 std::wstring_view name,
                                 std::unique_ptr<CFormat> format,
                                 double value);
    int AddNewDefaultFloatField(std::wstring_view nameSpace,
                                std::wstring_view name,
                                std::unique_ptr<CFormat> format,
                                float value);
    // A DT_STRUCT field of count x inner record size bytes that owns `inner`; refused for a
    // null or negative-count inner structure and for an inner layout that was refused.
    int AddNewStructField(std::wstring_view nameSpace,
                          std::wstring_view name,
                          std::unique_ptr<CInnerStruct> inner);
    // Whether a field of `width` bytes still fits; constant time.
    bool CanAdd(std::int64_t width) const {
        return width >= 0 && m_widthSum + width <= kMaxRecordSize;
    }
    // Appends an already built field (its width as it stands); -1 when refused.
    int AddField(std::unique_ptr<CField> field);

    // ---- lookups ----------------------------------------------------------------------------
    int GetFieldCount() const { return static_cast<int>(m_fields.size()); }
    CField* GetField(int index) {
        return index >= 0 && index < GetFieldCount()
                   ? m_fields[static_cast<std::size_t>(index)].get()
                   : nullptr;
    }
    const CField* GetField(int index) const { return const_cast<CRecord*>(this)->GetField(index); }
    // The first field of that name, without case; -1 when none. Hashed: constant time.
    int GetFieldIndex(std::wstring_view name) const;
    // Resolves a cell path ("[2].price", "qty", "items[3].code") into row and field index
    // pairs, inner structures included; false with `out` empty when it does not resolve.
    bool GetRowFieldIndex(const wchar_t* path, std::vector<int>& out) const;

    // ---- layout (computed on demand) ------------------------------------------------------
    // Recomputes offsets, widths of DT_STRUCT fields, the virtual field and the pointer flag.
    // False, and no layout (record size -1), when the widths add up beyond kMaxRecordSize.
    // Call it after changing a field's width or inner count.
    bool CalcInternals();
    // -1 for a refused layout. Inline: every cell access asks.
    int GetRecordSize() const {
        EnsureInternals();
        return m_recordSize;
    }
    // The field at `index` and its offset, for cell access: one check of the index and of
    // the layout for both. Null for a bad index or a refused layout.
    const CField* FieldAt(int index, int& offset) const {
        if (index < 0 || index >= GetFieldCount() || GetRecordSize() < 0)
            return nullptr;
        offset = m_offsets[static_cast<std::size_t>(index)];
        return m_fields[static_cast<std::size_t>(index)].get();
    }
    // -1 gives the record size; a bad index gives -1.
    int GetOffSet(int index) const {
        EnsureInternals();
        if (m_recordSize < 0)
            return -1;
        if (index == -1)
            return m_recordSize;
        return index >= 0 && index < GetFieldCount() ? m_offsets[static_cast<std::size_t>(index)]
                                                     : -1;
    }
    // Inline: whole-row copies ask on every received row.
    int GetVirtualNo() const {
        EnsureInternals();
        return m_virtualNo;
    }
    bool HasVirtual() const { return GetVirtualNo() >= 0; }
    bool IsLastFieldVirtual() const;
    const CField* GetVirtualField() const;
    CInnerStruct* GetVirtualIS() const;
    int GetSizeAfterVirtual() const;
    int GetFieldCountAfterVirtual() const;
    // Inline: a ring asks on every shift.
    bool HasPointerField() const { return m_pointerNo >= 0; }
    const CField* GetPointerField() const;
    int GetPointerFieldNo() const { return m_pointerNo; }

private:
    void EnsureInternals() const {
        // A refused layout stays refused until a field changes (the next CalcInternals call).
        if (m_recordSize < 0 && !m_refused)
            const_cast<CRecord*>(this)->CalcInternals();
    }
    bool Refuse();
    int GetPointerFieldNoByScan() const;
    void Invalidate() {
        m_recordSize = -1;
        m_refused = false;
    }

    std::vector<std::unique_ptr<CField>> m_fields;
    plat::NoCaseMap<int> m_nameIndex; // first field of each name
    std::int64_t m_widthSum = 0;      // the declared widths, for refusing before adding
    int m_pointerNo = -1;             // the first DT_PT_STR field

    // Computed internals; mutable because every reader computes them on demand.
    mutable std::vector<int> m_offsets;
    mutable int m_recordSize = -1;
    mutable int m_virtualNo = -1;
    mutable bool m_refused = false; // the last computation exceeded kMaxRecordSize
};
