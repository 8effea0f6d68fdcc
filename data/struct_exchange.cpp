// XStruct: received data mapped into rows, and row 0 serialised into requests.
// Received data is untrusted: every length is checked against the buffer before anything
// changes, counts taken from the data are bounded by its length, and text is scanned once.
// Received records store their fixed cells as the typed setters would, whichever path they
// take: the bytes as they came, except that a boolean becomes 0 or 1.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "core/notice_messages.h"
#include "data/boolean_cells.h"
#include "data/cell_codec.h"
#include "data/delimited_rows.h"
#include "data/inner_struct.h"
#include "data/struct.h"
#include "data/vector_row_mapper.h"
#include "platform/base/codepage.h"
#include "platform/base/nocase.h"

using orvo::TakeCell;

namespace {

constexpr const wchar_t* kBlobWithOthers = L"BLOB 필드는 다른 필드와 함께 올 수 없습니다.";
constexpr const wchar_t* kBlobRepeated = L"BLOB 필드는 루핑될 수 없습니다.";
constexpr const wchar_t* kLeadingUnread = L"OG 앞 필드를 읽지 못했습니다.";
// Below this many rows, laying out the vector tables costs more than they save.
constexpr int kWideRowsFrom = 8;

// A field and where its cell starts in a row, looked up once per receive.
struct Column {
    const CRecord::CField* field;
    int offset;
};

std::vector<Column> ColumnsOf(const CRecord& record) {
    std::vector<Column> columns;
    columns.reserve(static_cast<std::size_t>(record.GetFieldCount()));
    for (int c = 0; c < record.GetFieldCount(); ++c)
        columns.push_back({record.GetField(c), record.GetOffSet(c)});
    return columns;
}

// Whether a line with a text for every field writes every byte of a row: each of these
// types fills its whole cell from any text. (A DT_UINT cell keeps its bytes when its text has
// no digits; structs and blobs take no text.)
bool TextWritesEveryByte(const CRecord& record) {
    for (int c = 0; c < record.GetFieldCount(); ++c) {
        switch (record.GetField(c)->Type) {
        case DT_STR:
        case DT_CHAR:
        case DT_INT:
        case DT_BOOL:
        case DT_DOUBLE:
        case DT_FLOAT:
        case DT_INT64:
            break;
        default:
            return false;
        }
    }
    return true;
}

// Raw received bytes must never become string handles: a DT_PT_STR cell inside an inner
// record would name strings of other cells.
bool InnerRecordsHoldStrings(const CRecord& record) {
    for (int c = 0; c < record.GetFieldCount(); ++c) {
        const CInnerStruct* inner = record.GetField(c)->InnerStruct.get();
        if (inner && (inner->record.HasPointerField() || InnerRecordsHoldStrings(inner->record)))
            return true;
    }
    return false;
}

// The field received data decides the size of: the virtual field, or a repeating group
// whose rows earlier data decided (it stops being virtual once it has rows). -1 for none.
int VariableFieldNo(const CRecord& record, int receivedGroupNo) {
    const CRecord::CField* group = record.GetField(receivedGroupNo);
    const bool groupValid = group && group->Type == DT_STRUCT && group->InnerStruct &&
                            group->InnerStruct->GetRecordSize() > 0;
    return std::max(record.GetVirtualNo(), groupValid ? receivedGroupNo : -1);
}

// The same layout without default values, for rows whose every byte is received.
CRecord WithoutDefaults(const CRecord& record) {
    CRecord plain = record;
    for (int c = 0; c < plain.GetFieldCount(); ++c)
        plain.GetField(c)->DefaultBytes.reset();
    return plain;
}

// Gives the variable field its received size (inner rows of a group, bytes of a blob) and
// makes one fresh row of the new layout; the old layout comes back when that fails.
bool ResizeVariableField(
    CRecord& record, int no, int received, bool perRow, orvo::RowStorage& fresh) {
    CRecord::CField& field = *record.GetField(no);
    int& size = field.Type == DT_BLOB ? field.Size : field.InnerStruct->count;
    const int previous = size;
    size = received;
    if (record.CalcInternals() && fresh.Append(record, 1, perRow))
        return true;
    size = previous;
    record.CalcInternals();
    return false;
}

// Tab-separated lines over a byte range. A line ends at a line feed or, in carriage-return
// mode, at a carriage return (a carriage return and line feed pair is one line end there).
struct Line {
    char* begin;
    char* end;  // the line's text ends here
    char* next; // the next line starts here, after the line end
};

// Sixteen bytes at a time for the line checks: each lane of a block counts its own matches
// (a match compares as -1).
using Block = unsigned char __attribute__((vector_size(16)));
constexpr std::ptrdiff_t kBlockSize = sizeof(Block);
// Lane counts are added up at the latest before they can overflow.
constexpr int kBlocksPerCount = 255;

Block LoadBlock(const char* p) {
    Block bytes;
    std::memcpy(&bytes, p, sizeof bytes);
    return bytes;
}

// The sum of a block's byte lanes: pairs into 16-bit lanes, then those multiplied into the top.
std::size_t LaneSum(Block lanes) {
    std::uint64_t halves[2];
    std::memcpy(halves, &lanes, sizeof halves);
    constexpr std::uint64_t kLowBytes = 0x00FF00FF00FF00FF;
    const std::uint64_t pairs = (halves[0] & kLowBytes) + ((halves[0] >> 8) & kLowBytes) +
                                (halves[1] & kLowBytes) + ((halves[1] >> 8) & kLowBytes);
    return static_cast<std::size_t>((pairs * 0x0001000100010001) >> 48);
}

constexpr Block kLaneNumbers = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};

// The number of the first lane that is not zero, in a block that has one.
std::size_t FirstLane(Block lanes) {
    std::uint64_t halves[2];
    std::memcpy(halves, &lanes, sizeof halves);
    return halves[0] != 0 ? static_cast<std::size_t>(std::countr_zero(halves[0]) / 8)
                          : 8 + static_cast<std::size_t>(std::countr_zero(halves[1]) / 8);
}

bool AnyLane(Block lanes) {
    std::uint64_t halves[2];
    std::memcpy(halves, &lanes, sizeof halves);
    return (halves[0] | halves[1]) != 0;
}

// The first byte equal to `a` or `b` in [p, end), or end. Fields are a few bytes long, shorter
// than a library search takes to set up, so eight bytes are tested at a time: a byte equal to
// the one sought turns to zero under the exclusive or, and the lowest zero byte of a word is
// flagged exactly.
static_assert(std::endian::native == std::endian::little, "the lowest byte comes first");
char* FindEither(char* p, char* end, char a, char b) {
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHighBits = 0x8080808080808080;
    const std::uint64_t as = kOnes * static_cast<unsigned char>(a);
    const std::uint64_t bs = kOnes * static_cast<unsigned char>(b);
    while (end - p >= 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, p, sizeof word);
        const std::uint64_t x = word ^ as;
        const std::uint64_t y = word ^ bs;
        if (const std::uint64_t found = (((x - kOnes) & ~x) | ((y - kOnes) & ~y)) & kHighBits)
            return p + std::countr_zero(found) / 8;
        p += 8;
    }
    while (p != end && *p != a && *p != b)
        ++p;
    return p;
}

class LineReader {
public:
    LineReader(char* data, int bytes, bool carriageReturnEnds)
        : m_data(data), m_size(static_cast<std::size_t>(bytes)),
          m_carriageReturnEnds(carriageReturnEnds) {}

    bool AtEnd() const { return m_pos == m_size; }
    // A line that starts with a carriage return closes a repeating group.
    bool AtCarriageReturn() const { return m_pos != m_size && m_data[m_pos] == '\r'; }

    // The next line, its end searched for from its start.
    Line Next() { return NextEndingAt(FindLineEnd(LineStart())); }

    // Steps over the next line, as Next() does, and gives its number of fields: one pass over
    // its bytes finds both its end and its tabs, for lines checked before they are mapped.
    std::size_t NextFieldCount() {
        const unsigned char lineEnd = '\n';
        const unsigned char otherEnd = m_carriageReturnEnds ? '\r' : '\n';
        const char* dataEnd = m_data + m_size;
        const char* p = m_data + m_pos;
        std::size_t tabs = 0;
        for (bool endAhead = false; !endAhead;) {
            Block tabCounts{};
            for (int n = 0; n < kBlocksPerCount; ++n, p += kBlockSize) {
                if (dataEnd - p < kBlockSize) {
                    endAhead = true;
                    break;
                }
                const Block bytes = LoadBlock(p);
                const auto ends = reinterpret_cast<Block>((bytes == lineEnd) | (bytes == otherEnd));
                // In the block where the line ends only the lanes before its end count.
                const bool endHere = AnyLane(ends);
                const std::size_t counted = endHere ? FirstLane(ends) : sizeof(Block);
                const auto lanes =
                    reinterpret_cast<Block>(kLaneNumbers < static_cast<unsigned char>(counted));
                tabCounts -= reinterpret_cast<Block>(bytes == '\t') & lanes;
                if (endHere) {
                    p += counted;
                    endAhead = true;
                    break;
                }
            }
            tabs += LaneSum(tabCounts);
        }
        for (; p != dataEnd && *p != lineEnd && *p != otherEnd; ++p)
            tabs += *p == '\t';
        Step(static_cast<std::size_t>(p - m_data));
        return tabs + 1;
    }

    // For a line already checked, whose tabs are known to come before its end: the mapping
    // finds its fields from its start and then its end past the last of them, rather than
    // search the whole line for its end first.
    char* LineStart() const { return m_data + m_pos; }
    char* DataEnd() const { return m_data + m_size; }
    char* FindLineEnd(char* from) const {
        return FindEither(from, DataEnd(), '\n', m_carriageReturnEnds ? '\r' : '\n');
    }
    Line NextEndingAt(char* end) { return Step(static_cast<std::size_t>(end - m_data)); }

private:
    // The line from the current position to its end at `end`, and past its line end.
    Line Step(std::size_t end) {
        Line line{m_data + m_pos, m_data + end, nullptr};
        if (end != m_size) {
            const bool pair = m_data[end] == '\r' && end + 1 != m_size && m_data[end + 1] == '\n';
            end += pair ? 2 : 1;
        }
        m_pos = end;
        line.next = m_data + end;
        return line;
    }

    char* m_data;
    std::size_t m_size;
    bool m_carriageReturnEnds;
    std::size_t m_pos = 0;
};

// Calls fn with the text of each of the next line's `fields` fields, which its check counted,
// overwrites the separators with zero bytes and steps past the line. A zero byte inside a
// field ends its text.
template <class Fn> void ForEachField(LineReader& reader, std::size_t fields, Fn&& fn) {
    auto call = [&](char* start, char* end) {
        const auto field = static_cast<std::size_t>(end - start);
        const void* zero = std::memchr(start, 0, field);
        fn(std::string_view(start,
                            zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - start)
                                 : field));
    };
    char* start = reader.LineStart();
    for (std::size_t f = 1; f < fields; ++f) {
        char* tab = FindEither(start, reader.DataEnd(), '\t', '\t');
        call(start, tab);
        *tab = 0;
        start = tab + 1;
    }
    char* end = reader.FindLineEnd(start);
    call(start, end);
    const Line line = reader.NextEndingAt(end);
    std::fill(line.end, line.next, '\0');
}

// The cells of the next line, checked to hold `fields` texts, column by column from `first`.
void SetLine(LineReader& reader,
             const std::vector<Column>& columns,
             std::size_t first,
             std::size_t fields,
             unsigned char* row,
             orvo::StringTable& strings) {
    std::size_t c = first;
    ForEachField(reader, fields, [&](std::string_view text) {
        const Column& column = columns[c++];
        orvo::WriteCellAnsi(*column.field, row + column.offset, text, strings);
    });
}

// Where the lines of a repeating group record are, found before anything changes.
struct GroupLines {
    bool leading = false;  // a line of leading fields comes first
    std::size_t rows = 0;  // inner rows
    bool closed = false;   // the inner rows end at a carriage-return line
    bool trailing = false; // a line of trailing fields comes last
};

enum class GroupScan { Ok, LeadingUnread, Malformed };

GroupScan ScanGroup(LineReader reader,
                    std::size_t leadingFields,
                    std::size_t innerFields,
                    std::size_t trailingFields,
                    GroupLines& out) {
    if (leadingFields > 0) {
        if (reader.AtEnd() || reader.NextFieldCount() != leadingFields)
            return GroupScan::LeadingUnread;
        out.leading = true;
    }
    while (!reader.AtEnd() && !reader.AtCarriageReturn()) {
        const std::size_t fields = reader.NextFieldCount();
        if (fields == innerFields) {
            ++out.rows;
            continue;
        }
        if (trailingFields == 0 || fields != trailingFields)
            return GroupScan::Malformed;
        out.trailing = true;
        return GroupScan::Ok;
    }
    if (trailingFields == 0)
        return GroupScan::Ok;
    if (reader.AtCarriageReturn()) {
        out.closed = true;
        reader.Next();
    }
    if (reader.AtEnd() || reader.NextFieldCount() != trailingFields)
        return GroupScan::Malformed;
    out.trailing = true;
    return GroupScan::Ok;
}

// The cells of a DT_STR or DT_CHAR field in a text request: its characters up to the first
// zero byte, without trailing white space, as they stand in the cell.
std::string_view TrimmedChars(const CRecord::CField& field, const unsigned char* cell) {
    std::string_view chars = field.Type == DT_CHAR
                                 ? std::string_view(reinterpret_cast<const char*>(cell), 1)
                                 : orvo::CellChars(field, cell);
    const std::size_t last = chars.find_last_not_of(" \t\r\n\v\f");
    return chars.substr(0, last == std::string_view::npos ? 0 : last + 1);
}

void Append(std::vector<unsigned char>& out, const void* bytes, std::size_t length) {
    const auto* begin = static_cast<const unsigned char*>(bytes);
    out.insert(out.end(), begin, begin + length);
}

} // namespace

// ---- rows for received data ------------------------------------------------------------------

bool XStruct::ReceiveRows(int records, bool overwritten) {
    const bool rowsFit = m_memReady && m_rows.RowSize() == GetRecordSize();
    if (m_maxRow > 0) {
        if (records > m_maxRow || (m_memReady ? !rowsFit : !ConfirmDataMem()))
            return false;
        m_ringStart = 0;
        m_count = records;
        return true;
    }
    if (rowsFit && m_rows.Rows() >= records) {
        m_rows.Truncate(m_record, records);
        m_count = records;
        return true;
    }
    orvo::RowStorage fresh;
    if (!fresh.Append(overwritten ? WithoutDefaults(m_record) : m_record, records, m_dynamic))
        return false;
    AdoptRows(fresh, records);
    return true;
}

void XStruct::AdoptRows(orvo::RowStorage& rows, int count) {
    m_rows = std::move(rows);
    m_count = count;
    m_ringStart = 0;
    m_memReady = true;
}

// ---- received bytes --------------------------------------------------------------------------

bool XStruct::MapData(int records, int bytes, const char* data) {
    if (bytes < 0 || (!data && bytes > 0))
        return false;
    records = std::max(records, 1);
    const int recordSize = m_record.GetRecordSize();
    if (recordSize < 0 || InnerRecordsHoldStrings(m_record))
        return false;
    const int fieldCount = GetFieldCount();
    const int variable = VariableFieldNo(m_record, m_receivedGroupNo);
    const CRecord::CField* last = m_record.GetField(fieldCount - 1);

    if (records == 1 && last && variable == fieldCount - 1 && last->Type == DT_STRUCT) {
        // One record ending in a repeating group: the data's length decides its rows.
        const int fixed = m_record.GetOffSet(variable);
        const int innerSize = last->InnerStruct->GetRecordSize();
        if (HasPointerField() || bytes < fixed)
            return false;
        const int innerRows = (bytes - fixed) / innerSize;
        orvo::RowStorage fresh;
        if (!ResizeVariableField(m_record, variable, innerRows, m_dynamic, fresh))
            return false;
        if (const int used = fixed + innerRows * innerSize; used > 0)
            std::memcpy(fresh.Row(0), data, static_cast<std::size_t>(used));
        orvo::BooleanCells(m_record).Normalise(fresh.Row(0), 1, 0);
        m_receivedGroupNo = variable;
        m_maxRow = 0;
        AdoptRows(fresh, 1);
        return true;
    }

    // A record of no bytes has nothing to receive, and its count would not be bounded.
    if (recordSize == 0)
        return false;
    if (HasPointerField()) {
        // The data holds one record, the fixed fields and then the string up to its end, so
        // it gives one row whatever `records` says.
        const int text = GetPointerFieldNo();
        const bool textLast = text == fieldCount - 1;
        const int fixed = m_record.GetOffSet(text);
        if ((textLast && bytes < fixed) || !ReceiveRows(1, false))
            return false;
        if (!textLast)
            return true;
        unsigned char* row = m_rows.Row(PhysicalRow(0));
        if (fixed > 0)
            std::memcpy(row, data, static_cast<std::size_t>(fixed));
        orvo::BooleanCells(m_record).Normalise(row, 1, 0);
        std::string_view rest(data + fixed, static_cast<std::size_t>(bytes - fixed));
        orvo::WriteCellAnsi(*last, row + fixed, rest.substr(0, rest.find('\0')), m_rows.Strings());
        return true;
    }

    const auto size = static_cast<std::size_t>(recordSize);
    if (static_cast<std::int64_t>(records) * recordSize > bytes)
        return false;
    const auto* received = reinterpret_cast<const unsigned char*>(data);
    const orvo::BooleanCells booleans(m_record);
    const bool reuseRows =
        m_maxRow > 0 || (m_memReady && m_rows.RowSize() == recordSize && m_rows.Rows() >= records);
    if (!reuseRows) {
        // New rows are copied straight from the data: nothing to zero first.
        orvo::RowStorage fresh;
        if (!fresh.Assign(m_record, received, records, m_dynamic))
            return false;
        if (unsigned char* block = fresh.Block()) {
            booleans.Normalise(block, static_cast<std::size_t>(records), size);
        } else {
            for (int r = 0; r < records && !booleans.Empty(); ++r)
                booleans.Normalise(fresh.Row(r), 1, 0);
        }
        AdoptRows(fresh, records);
        return true;
    }
    // The received rows are physical rows 0 .. records - 1, a ring's included.
    if (!ReceiveRows(records, true))
        return false;
    if (unsigned char* block = m_rows.Block()) {
        booleans.CopyRows(block, received, static_cast<std::size_t>(records), size);
        return true;
    }
    for (int r = 0; r < records; ++r)
        booleans.CopyRows(m_rows.Row(r), received + static_cast<std::size_t>(r) * size, 1, size);
    return true;
}

bool XStruct::MapDelimiterData(int records, int bytes, char* data, char mode) {
    if (bytes < 0 || (!data && bytes > 0))
        return false;
    records = std::max(records, 1);
    if (m_record.GetRecordSize() < 0)
        return false;
    const int fieldCount = GetFieldCount();
    const int variable = VariableFieldNo(m_record, m_receivedGroupNo);
    CRecord::CField* variableField = m_record.GetField(variable);
    const LineReader reader(data, bytes, mode == 'T');

    if (variableField && variableField->Type == DT_BLOB) {
        // A blob arrives alone and whole, its bytes as they are.
        if (fieldCount > 1) {
            ConfirmMsg(kBlobWithOthers, 0, 0);
            return false;
        }
        if (records > 1) {
            ConfirmMsg(kBlobRepeated, 0, 0);
            return false;
        }
        orvo::RowStorage fresh;
        if (!ResizeVariableField(m_record, variable, bytes, m_dynamic, fresh))
            return false;
        if (bytes > 0)
            std::memcpy(fresh.Row(0), data, static_cast<std::size_t>(bytes));
        m_maxRow = 0;
        AdoptRows(fresh, 1);
        return true;
    }

    if (records != 1 || !variableField) {
        // Every line one row, with exactly one text per field; checked before anything changes.
        if (m_maxRow > 0 && (records > m_maxRow || HasPointerField()))
            return false;
        const auto size = static_cast<std::size_t>(bytes);
        const bool carriageReturnEnds = mode == 'T';
        const auto fields = static_cast<std::size_t>(fieldCount);
        orvo::DelimitedRows lines;
        orvo::VectorRowMapper wide;
        const bool useWide = records >= kWideRowsFrom && wide.Prepare(m_record);
        if (useWide
                ? !orvo::VectorRowMapper::LinesFit(
                      data, size, carriageReturnEnds, static_cast<std::size_t>(records), fields)
                : !lines.Scan(
                      data, size, carriageReturnEnds, static_cast<std::size_t>(records), fields))
            return false;
        const int rows = std::max(records, m_maxRow);
        const std::vector<Column> columns = ColumnsOf(m_record);
        std::size_t pos = 0;
        auto take = [&](std::size_t line, unsigned char* row, orvo::StringTable& strings) {
            lines.Take(line, [&](std::size_t f, std::string_view text) {
                const Column& column = columns[f];
                orvo::WriteCellAnsi(*column.field, row + column.offset, text, strings);
            });
        };
        auto fill = [&](orvo::RowStorage& storage) {
            if (!useWide) {
                for (int r = 0; r < records; ++r)
                    take(static_cast<std::size_t>(r), storage.Row(r), storage.Strings());
                return true;
            }
            // Contiguous rows go through the vector form in runs; per-row storage one by one.
            const bool block = storage.Block() != nullptr;
            for (int r = 0; r < records;) {
                const auto count = block ? static_cast<std::size_t>(records - r) : 1;
                const std::size_t mapped =
                    wide.MapLines(data,
                                  size,
                                  pos,
                                  carriageReturnEnds,
                                  storage.Row(r),
                                  static_cast<std::size_t>(storage.RowSize()),
                                  count);
                r += static_cast<int>(mapped);
                if (mapped == count)
                    continue;
                // Checked above, so the line scans; it just is not in the vector form.
                if (!lines.Scan(data + pos, size - pos, carriageReturnEnds, 1, fields))
                    return false;
                take(0, storage.Row(r), storage.Strings());
                pos += lines.NextLine(0);
                ++r;
            }
            orvo::VectorRowMapper::ZeroSeparators(data, pos, carriageReturnEnds);
            return true;
        };
        if (TextWritesEveryByte(m_record) && m_memReady && m_rows.RowSize() == GetRecordSize() &&
            m_rows.PerRow() == m_dynamic &&
            (m_maxRow > 0 ? m_rows.Rows() == rows : m_rows.Rows() >= rows)) {
            // The rows there are take the texts as they stand: every byte of them is written,
            // so they end as new rows would. A ring's rows past the texts are made new.
            m_rows.Truncate(m_record, rows);
            for (int r = records; r < rows; ++r)
                m_rows.ResetRow(m_record, r);
            if (!fill(m_rows))
                return false;
            m_ringStart = 0;
            m_count = records;
            return true;
        }
        orvo::RowStorage fresh;
        if (!fresh.Append(m_record, rows, m_dynamic))
            return false;
        if (!fill(fresh))
            return false;
        AdoptRows(fresh, records);
        return true;
    }

    // One record with a repeating group: leading fields on the first line, one inner row per
    // line, then the trailing fields.
    const CInnerStruct& inner = *variableField->InnerStruct;
    const auto leading = static_cast<std::size_t>(variable);
    const auto trailing = static_cast<std::size_t>(fieldCount - variable - 1);
    GroupLines lines;
    switch (ScanGroup(
        reader, leading, static_cast<std::size_t>(inner.record.GetFieldCount()), trailing, lines)) {
    case GroupScan::LeadingUnread:
        ConfirmMsg(kLeadingUnread, 0, 0);
        return false;
    case GroupScan::Malformed:
        return false;
    case GroupScan::Ok:
        break;
    }
    const int innerSize = inner.GetRecordSize();
    const std::int64_t fixed = m_record.GetRecordSize() - variableField->Size;
    if (lines.rows > static_cast<std::size_t>(CRecord::kMaxRecordSize) ||
        fixed + static_cast<std::int64_t>(lines.rows) * innerSize > CRecord::kMaxRecordSize)
        return false;
    orvo::RowStorage fresh;
    if (!ResizeVariableField(m_record, variable, static_cast<int>(lines.rows), m_dynamic, fresh))
        return false;

    // Offsets of the new layout: the trailing fields moved with the group's size.
    const std::vector<Column> columns = ColumnsOf(m_record);
    unsigned char* row = fresh.Row(0);
    LineReader fill = reader;
    if (lines.leading)
        SetLine(fill, columns, 0, leading, row, fresh.Strings());
    const std::vector<Column> innerColumns = ColumnsOf(inner.record);
    unsigned char* innerRow = row + m_record.GetOffSet(variable);
    for (std::size_t i = 0; i < lines.rows; ++i, innerRow += innerSize)
        SetLine(fill, innerColumns, 0, innerColumns.size(), innerRow, fresh.Strings());
    if (lines.closed) {
        const Line closing = fill.Next();
        std::fill(closing.end, closing.next, '\0');
    }
    if (lines.trailing)
        SetLine(fill, columns, leading + 1, trailing, row, fresh.Strings());
    m_receivedGroupNo = variable;
    m_maxRow = 0;
    AdoptRows(fresh, 1);
    return true;
}

// ---- requests --------------------------------------------------------------------------------

bool XStruct::DumpRecord(std::vector<unsigned char>& out) const {
    out.clear();
    const int physical = PhysicalRow(0);
    const unsigned char* row = physical < 0 ? nullptr : m_rows.Row(physical);
    if (!row || m_rows.RowSize() != GetRecordSize())
        return false;
    if (!HasPointerField()) {
        Append(out, row, static_cast<std::size_t>(GetRecordSize()));
        return true;
    }
    for (int c = 0; c < GetFieldCount(); ++c) {
        const CRecord::CField& field = *m_record.GetField(c);
        const unsigned char* cell = row + m_record.GetOffSet(c);
        if (field.Type != DT_PT_STR) {
            Append(out, cell, static_cast<std::size_t>(field.Size));
            continue;
        }
        const std::wstring* text = m_rows.Strings().Get(TakeCell<std::uint32_t>(cell));
        const std::string ansi = text ? plat::ToAnsi(*text) : std::string();
        Append(out, ansi.data(), ansi.size());
    }
    return true;
}

bool XStruct::DumpDelimiterRecord(std::vector<unsigned char>& out, char delimiter) {
    out.clear();
    const int physical = PhysicalRow(0);
    unsigned char* row = physical < 0 ? nullptr : m_rows.Row(physical);
    if (!row || m_rows.RowSize() != GetRecordSize())
        return false;
    std::wstring text;
    for (int c = 0; c < GetFieldCount(); ++c) {
        const CRecord::CField& field = *m_record.GetField(c);
        unsigned char* cell = row + m_record.GetOffSet(c);
        // A zero character goes out as a blank (which trims to nothing) and the cell keeps
        // the blank, so a binary request of this row sends what the text request did.
        if (field.Type == DT_CHAR && *cell == 0)
            *cell = ' ';
        if (field.Size == 10 && plat::EqualsNoCase(field.Name, L"account")) {
            // An account number goes out as its eight-digit base, a tab and its suffix.
            Append(out, cell, 8);
            out.push_back('\t');
            Append(out, cell + 8, 2);
        } else if (field.Type == DT_STR || field.Type == DT_CHAR) {
            const std::string_view chars = TrimmedChars(field, cell);
            Append(out, chars.data(), chars.size());
        } else if (orvo::ReadCellText(field, cell, text, m_rows.Strings())) {
            // Variable-length strings and numbers go out as their text; structs and blobs
            // have none.
            const std::string ansi = plat::ToAnsi(text);
            Append(out, ansi.data(), ansi.size());
        }
        out.push_back(static_cast<unsigned char>(delimiter));
    }
    return true;
}

void XStruct::DumpFormat(std::vector<std::vector<std::wstring>>& out) const {
    out.clear();
    out.reserve(static_cast<std::size_t>(std::max(m_memReady ? m_count : 0, 0)));
    for (int r = 0; PhysicalRow(r) >= 0; ++r) {
        std::vector<std::wstring>& texts =
            out.emplace_back(static_cast<std::size_t>(GetFieldCount()));
        for (int c = 0; c < GetFieldCount(); ++c) {
            const CRecord::CField* field = nullptr;
            const unsigned char* cell = Cell(r, c, field);
            if (!cell || !orvo::ReadCellText(*field, cell, texts[c], m_rows.Strings()))
                continue;
            if (field->Format)
                texts[c] = field->Format->GetString(texts[c]);
        }
    }
}
