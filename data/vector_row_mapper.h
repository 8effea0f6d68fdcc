#pragma once
// Received tab-separated lines mapped into rows a whole line at a time in 512-bit registers,
// on processors with AVX-512 VBMI. Field by field, the work around a short number costs as
// much as its digits; here a line's separators are found, its digit runs gathered and
// converted eight at a time, and its number cells assembled by one byte permutation. Only
// strings are copied one by one.
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

    // Maps up to `count` lines from data[pos] into rows `stride` bytes apart, stopping at the
    // first line that does not qualify, which is left unread and unwritten. Returns how many
    // were mapped; `pos` moves past them. Their separators are left for ZeroSeparators.
    std::size_t MapLines(char* data,
                         std::size_t size,
                         std::size_t& pos,
                         bool carriageReturnEnds,
                         unsigned char* rows,
                         std::size_t stride,
                         std::size_t count) const;

    // Zeroes the separators and line ends of the mapped lines in data[0, end), as the
    // per-field path does line by line. (Done once at the end: a store into a line the next
    // line's loads overlap would stall them.)
    static void ZeroSeparators(char* data, std::size_t end, bool carriageReturnEnds);

    static constexpr int kLanes = 128;
    static constexpr int kMaxRuns = kLanes / 8;
    // Boundaries fill lanes from 0; the last lane stands for the place before the line.
    static constexpr int kMaxBoundaries = 63;

    // A string or character cell and the boundary lanes around its text.
    struct Text {
        std::uint8_t startLane;
        std::uint8_t endLane;
        std::uint8_t width;
        int offset;
    };

    // A record of up to this many bytes is put together in registers, 64 bytes at a time.
    static constexpr int kMaxRowBytes = 256;

    // Where each digit run is read, eight byte lanes per run, and where its number goes.
    // Integers are one run; 64-bit integers (high and low eight digits) and floating point
    // numbers (whole and fraction) are pairs of runs.
    struct alignas(64) Layout {
        std::uint8_t endBoundary[kLanes];   // the boundary lane ending the run's field part
        std::uint8_t startBoundary[kLanes]; // the boundary lane before the run's first byte
        std::int8_t endBack[kLanes];        // bytes the run ends before that boundary
        std::int8_t minLength[kLanes];
        std::int8_t maxLength[kLanes];
        // Each byte of a number cell, by 64-byte part of the row: its byte among the 32-bit
        // integers by run then the 64-bit numbers by pair, or among the floats by pair.
        std::uint8_t numberByte[kMaxRowBytes];
        std::uint8_t floatByte[kMaxRowBytes];
        std::uint64_t numberBytes[kMaxRowBytes / 64]; // which bytes take numberByte
        std::uint64_t floatBytes[kMaxRowBytes / 64];  // which bytes take floatByte
        std::int32_t pairFirst[kMaxRuns];             // by pair: its first run (past 8 unused)
        std::uint8_t pairSecond[16];                  // by pair: its second run, a byte shuffle
        std::uint64_t signedRuns[2];                  // lanes whose run may start with a minus
        std::uint8_t int64Pairs = 0;
        std::uint64_t points = 0; // which boundaries, in order, are points
        int boundaries = 0;       // 0 until a record is prepared
        int tabs = 0;
        int runs = 0;
        int pairs = 0;
        int rowParts = 0;
        bool floats = false;
        std::vector<Text> texts;
    };

private:
    static bool Lay(const CRecord& record, Layout& layout);

    Layout m_layout;
};

} // namespace orvo
