#pragma once
// Received tab-separated lines mapped into rows a whole line at a time in 512-bit registers,
// on processors with AVX-512 VBMI. Field by field, the work around a short number costs as
// much as its digits; here a line's separators are found, its digit runs gathered and eight
// runs converted at once, and only the cells are put together one by one.
//
// A record qualifies when each field is a fixed string, a character, an integer, a 64-bit
// integer, a double or a float. A line qualifies when it is shorter than 127 bytes, holds no
// zero byte, each integer is an optional minus and 1 to 8 digits (1 to 16 for a 64-bit one),
// and each double or float is an optional minus, up to 8 digits, one point and 1 to 7
// digits. Any other line is left untouched for the per-field path, which gives the same cells.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "data/record.h"

namespace orvo {

class VectorRowMapper {
public:
    // Whether this processor runs the vector path.
    static bool Available();

    // Whether the first `rows` lines of the data each hold exactly `fields` fields, by the
    // rule of DelimitedRows::Scan, checked 64 bytes at a time without keeping where the
    // fields are.
    static bool LinesFit(const char* data,
                         std::size_t size,
                         bool carriageReturnEnds,
                         std::size_t rows,
                         std::size_t fields);

    // Lays out the permutations for rows of `record`; false when a field does not qualify
    // or the record has too many numbers or fields for the registers.
    bool Prepare(const CRecord& record);

    // Maps the line starting at data[pos] into `row` and overwrites its separators and line
    // end with zero bytes, as the per-field path does. Returns the length of the line with
    // its end, or 0 when the line does not qualify: then nothing has been written.
    std::size_t MapLine(char* data,
                        std::size_t size,
                        std::size_t pos,
                        bool carriageReturnEnds,
                        unsigned char* row) const;

    // Zeroes the separators and line ends of the mapped lines in data[0, end), as the
    // per-field path does line by line. (Done once at the end: a store into a line the next
    // line's loads overlap would stall them.)
    static void ZeroSeparators(char* data, std::size_t end, bool carriageReturnEnds);

    static constexpr int kLanes = 128;
    static constexpr int kMaxRuns = kLanes / 8;
    static constexpr int kMaxPairs = kMaxRuns / 2;
    // Boundaries fill lanes from 0; the last lane stands for the place before the line.
    static constexpr int kMaxBoundaries = 63;

    // A string or character cell and the boundary lanes around its text.
    struct Text {
        std::uint8_t startLane;
        std::uint8_t endLane;
        std::uint8_t width;
        int offset;
    };

    // Where each digit run is read, eight byte lanes per run, and where its number goes.
    // Integers are one run; 64-bit integers (high and low eight digits) and floating point
    // numbers (whole and fraction) are pairs of runs.
    struct alignas(64) Layout {
        std::uint8_t endBoundary[kLanes];   // the boundary lane ending the run's field part
        std::uint8_t startBoundary[kLanes]; // the boundary lane before the run's first byte
        std::int8_t endBack[kLanes];        // bytes the run ends before that boundary
        std::int8_t minLength[kLanes];
        std::int8_t maxLength[kLanes];
        std::int32_t intOffsets[kMaxRuns];   // by run: where a 32-bit integer goes
        std::int32_t pairFirst[kMaxRuns];    // by pair: its first run (lanes past 8 unused)
        std::uint8_t pairSecond[16];         // by pair: its second run, a byte shuffle
        std::int32_t pairOffsets[kMaxPairs]; // by pair: where its number goes
        std::uint64_t signedRuns[2];         // lanes whose run may start with a minus
        std::uint16_t intRuns = 0;
        std::uint8_t int64Pairs = 0;
        std::uint8_t doublePairs = 0;
        std::uint8_t floatPairs = 0;
        std::uint64_t points = 0; // which boundaries, in order, are points
        int boundaries = 0;       // 0 until a record is prepared
        int tabs = 0;
        int runs = 0;
        int pairs = 0;
        std::vector<Text> texts;
    };

private:
    static bool Lay(const CRecord& record, Layout& layout);

    Layout m_layout;
};

} // namespace orvo
