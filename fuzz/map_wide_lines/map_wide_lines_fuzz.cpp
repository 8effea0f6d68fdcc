// Received tab-separated lines mapped a whole line at a time against the same lines mapped
// field by field: any record layout the vector form takes, any bytes. Both must give the same
// cells and leave the same text; a refused line must be left untouched.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "data/cell_codec.h"
#include "data/delimited_rows.h"
#include "data/string_table.h"
#include "data/struct.h"
#include "data/vector_row_mapper.h"
#include "fuzz_support.h"

namespace {

constexpr DT_DATA_TYPE kTypes[] = {DT_STR, DT_CHAR, DT_INT, DT_INT64, DT_DOUBLE, DT_FLOAT};

// The layout from the input's first bytes: a field count, then a type and width per field.
CRecord RecordFrom(const std::uint8_t*& data, std::size_t& size) {
    CRecord record;
    const std::size_t fields = 1 + data[0] % 10;
    ++data;
    --size;
    for (std::size_t f = 0; f < fields && size > 0; ++f, ++data, --size) {
        const DT_DATA_TYPE type = kTypes[data[0] % std::size(kTypes)];
        const int width = type == DT_STR ? 1 + data[0] / 8 % 24 : 0;
        record.AddNewField(L"", L"f" + std::to_wstring(f), nullptr, type, width);
    }
    record.CalcInternals();
    return record;
}

void WriteFields(const CRecord& record,
                 orvo::DelimitedRows& lines,
                 std::size_t row,
                 unsigned char* cells,
                 orvo::StringTable& strings) {
    lines.Take(row, [&](std::size_t f, std::string_view text) {
        const auto c = static_cast<int>(f);
        orvo::WriteCellAnsi(*record.GetField(c), cells + record.GetOffSet(c), text, strings);
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3 || !orvo::VectorRowMapper::Available())
        return 0;
    const bool carriageReturnEnds = data[0] & 1;
    const std::size_t rows = 1 + data[0] / 2 % 16;
    ++data;
    --size;
    const CRecord record = RecordFrom(data, size);
    orvo::VectorRowMapper mapper;
    if (!mapper.Prepare(record))
        return 0;
    const auto fields = static_cast<std::size_t>(record.GetFieldCount());
    const auto rowSize = static_cast<std::size_t>(record.GetRecordSize());
    // Exact-size copies, so that any read past the text is caught.
    std::vector<char> byFields(data, data + size);
    std::vector<char> byLines(data, data + size);
    orvo::DelimitedRows lines;
    const bool fit = orvo::VectorRowMapper::LinesFit(
        byLines.data(), byLines.size(), carriageReturnEnds, rows, fields);
    orvo::fuzz::Check(
        fit == lines.Scan(byFields.data(), byFields.size(), carriageReturnEnds, rows, fields));
    if (!fit)
        return 0;

    std::vector<unsigned char> expected(rowSize * rows);
    std::vector<unsigned char> got(rowSize * rows);
    orvo::StringTable strings;
    for (std::size_t r = 0; r < rows; ++r)
        WriteFields(record, lines, r, expected.data() + r * rowSize, strings);
    std::size_t pos = 0;
    for (std::size_t r = 0; r < rows;) {
        unsigned char* row = got.data() + r * rowSize;
        const std::vector<char> before = byLines;
        const std::size_t mapped = mapper.MapLines(
            byLines.data(), byLines.size(), pos, carriageReturnEnds, row, rowSize, rows - r);
        orvo::fuzz::Check(mapped <= rows - r && pos <= byLines.size() && byLines == before);
        r += mapped;
        if (r == rows)
            break;
        // The line that stopped the run is left unwritten for the per-field path.
        row += rowSize * mapped;
        for (std::size_t i = 0; i < rowSize; ++i)
            orvo::fuzz::Check(row[i] == 0);
        orvo::fuzz::Check(
            lines.Scan(byLines.data() + pos, byLines.size() - pos, carriageReturnEnds, 1, fields));
        WriteFields(record, lines, 0, row, strings);
        pos += lines.NextLine(0);
        ++r;
    }
    orvo::VectorRowMapper::ZeroSeparators(byLines.data(), pos, carriageReturnEnds);
    orvo::fuzz::Check(got == expected);
    orvo::fuzz::Check(byLines == byFields);

    // The same text through a structure, as received.
    XStruct s;
    s.GetRecord() = record;
    std::vector<char> received(data, data + size);
    orvo::fuzz::Check(s.MapDelimiterData(static_cast<int>(rows),
                                         static_cast<int>(size),
                                         received.data(),
                                         carriageReturnEnds ? 'T' : 0));
    orvo::fuzz::Check(received == byFields);
    return 0;
}
