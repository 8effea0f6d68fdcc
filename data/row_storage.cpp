#include "data/row_storage.h"

#include <cstring>
#include <new>

#include "platform/base/codepage.h"
#include "platform/base/format.h"
#include "platform/base/lenient.h"
#include "platform/base/nocase.h"

namespace orvo {

namespace {

template <class T> void Put(unsigned char* cell, T value) {
    std::memcpy(cell, &value, sizeof(T));
}

template <class T> T Take(const unsigned char* cell) {
    T value;
    std::memcpy(&value, cell, sizeof(T));
    return value;
}

} // namespace

bool RowStorage::Append(const CRecord& record, int rows, bool perRow) {
    const int rowSize = record.GetRecordSize();
    if (rows < 0 || rowSize < 0 || (m_rows > 0 && (perRow != m_perRow || rowSize != m_rowSize)))
        return false;
    const std::int64_t total = static_cast<std::int64_t>(m_rows) + rows;
    // Per-row storage also pays for a buffer object per row.
    const std::int64_t perRowCost =
        rowSize + (perRow ? static_cast<std::int64_t>(sizeof(std::vector<unsigned char>)) : 0);
    if (total * perRowCost > CRecord::kMaxRecordSize || total > CRecord::kMaxRecordSize)
        return false;
    try {
        if (perRow) {
            m_buffers.reserve(static_cast<std::size_t>(total));
            for (int i = 0; i < rows; ++i) {
                m_buffers.emplace_back(static_cast<std::size_t>(rowSize), 0);
                InitRow(record, m_buffers.back().data());
            }
        } else {
            m_block.resize(static_cast<std::size_t>(total * rowSize), 0);
            for (std::int64_t r = m_rows; r < total; ++r)
                InitRow(record, m_block.data() + r * rowSize);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    m_perRow = perRow;
    m_rowSize = rowSize;
    m_rows = static_cast<int>(total);
    return true;
}

void RowStorage::Clear() {
    m_block.clear();
    m_buffers.clear();
    m_strings.clear();
    m_rows = 0;
    m_rowSize = 0;
}

void RowStorage::InitRow(const CRecord& record, unsigned char* row) {
    for (int c = 0; c < record.GetFieldCount(); ++c) {
        const CRecord::CField* f = record.GetField(c);
        unsigned char* cell = row + record.GetOffSet(c);
        if (f->Type == DT_PT_STR)
            Put<std::uint32_t>(cell, NewString(f->DefaultText));
        else if (f->DefaultBytes && static_cast<int>(f->DefaultBytes->size()) == f->Size)
            std::memcpy(cell, f->DefaultBytes->data(), f->DefaultBytes->size());
    }
}

std::uint32_t RowStorage::NewString(const std::wstring& text) {
    m_strings.push_back(text);
    return static_cast<std::uint32_t>(m_strings.size());
}

unsigned char* RowStorage::Row(int row) {
    if (row < 0 || row >= m_rows)
        return nullptr;
    return m_perRow ? m_buffers[static_cast<std::size_t>(row)].data()
                    : m_block.data() +
                          static_cast<std::size_t>(row) * static_cast<std::size_t>(m_rowSize);
}

const unsigned char* RowStorage::Row(int row) const {
    return const_cast<RowStorage*>(this)->Row(row);
}

std::wstring* RowStorage::String(std::uint32_t handle) {
    return handle >= 1 && handle <= m_strings.size() ? &m_strings[handle - 1] : nullptr;
}

const std::wstring* RowStorage::String(std::uint32_t handle) const {
    return const_cast<RowStorage*>(this)->String(handle);
}

unsigned char* RowStorage::Cell(const CRecord& record, int row, int col,
                                const CRecord::CField*& field) {
    field = record.GetField(col);
    unsigned char* bytes = Row(row);
    if (!field || !bytes || record.GetRecordSize() != m_rowSize)
        return nullptr;
    return bytes + record.GetOffSet(col);
}

bool RowStorage::SetText(const CRecord& record, int row, int col, std::wstring_view text) {
    const CRecord::CField* f = nullptr;
    unsigned char* cell = Cell(record, row, col, f);
    if (!cell)
        return false;
    switch (f->Type) {
    case DT_INT:
        Put<std::int32_t>(cell, plat::_wtoi(text));
        return true;
    case DT_UINT: {
        unsigned value = 0;
        if (plat::ScanUnsigned(text, value))
            Put<std::uint32_t>(cell, value);
        return true;
    }
    case DT_STR: {
        const std::string ansi = plat::ToAnsi(text);
        std::memset(cell, 0, static_cast<std::size_t>(f->Size));
        std::memcpy(cell, ansi.data(), std::min(ansi.size(), static_cast<std::size_t>(f->Size)));
        return true;
    }
    case DT_PT_STR:
        if (std::wstring* s = String(Take<std::uint32_t>(cell)))
            *s = text;
        else
            Put<std::uint32_t>(cell, NewString(std::wstring(text)));
        return true;
    case DT_BOOL:
        Put<std::int32_t>(cell, plat::EqualsNoCase(text, L"true") ? 1 : 0);
        return true;
    case DT_DOUBLE:
        Put<double>(cell, plat::_wtof(text));
        return true;
    case DT_FLOAT:
        Put<float>(cell, static_cast<float>(plat::_wtof(text)));
        return true;
    case DT_CHAR: {
        const std::string ansi = plat::ToAnsi(text);
        *cell = ansi.empty() ? 0 : static_cast<unsigned char>(ansi[0]);
        return true;
    }
    case DT_INT64:
        Put<std::int64_t>(cell, plat::_wtoi64(text));
        return true;
    default:
        return false;
    }
}

bool RowStorage::GetText(const CRecord& record, int row, int col, std::wstring& out) const {
    const CRecord::CField* f = nullptr;
    const unsigned char* cell = const_cast<RowStorage*>(this)->Cell(record, row, col, f);
    if (!cell)
        return false;
    switch (f->Type) {
    case DT_INT:
        out = plat::FormatInt(Take<std::int32_t>(cell));
        return true;
    case DT_UINT:
        out = plat::FormatUInt(Take<std::uint32_t>(cell));
        return true;
    case DT_STR: {
        const auto* chars = reinterpret_cast<const char*>(cell);
        out = plat::FromAnsi(
            std::string_view(chars, strnlen(chars, static_cast<std::size_t>(f->Size))));
        return true;
    }
    case DT_PT_STR: {
        const std::wstring* s = String(Take<std::uint32_t>(cell));
        out = s ? *s : std::wstring();
        return true;
    }
    case DT_BOOL:
        out = Take<std::int32_t>(cell) ? L"true" : L"false";
        return true;
    case DT_DOUBLE:
        out = plat::FormatDouble(Take<double>(cell));
        return true;
    case DT_FLOAT:
        out = plat::FormatDouble(Take<float>(cell));
        return true;
    case DT_CHAR:
        out = plat::FromAnsi(std::string_view(reinterpret_cast<const char*>(cell), 1));
        return true;
    case DT_INT64:
        out = plat::FormatInt64(Take<std::int64_t>(cell));
        return true;
    default:
        return false;
    }
}

} // namespace orvo
