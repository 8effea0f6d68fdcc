#include "data/vector_row_mapper.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "data/data_type.h"
#include "data/inline_number.h"

#if defined(__x86_64__)
// GCC 12 reports the deliberately undefined registers inside its own AVX-512 intrinsics as
// uninitialized when they are inlined.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
#define ORVO_WIDE                                                                                  \
    __attribute__((target("avx512f,avx512bw,avx512dq,avx512vl,avx512vbmi,avx512vbmi2,bmi2")))
#endif

namespace orvo {

namespace {

constexpr std::uint64_t LowBits(unsigned n) {
    return n >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << n) - 1;
}

// Bits lo .. hi - 1 of a 128-bit mask, the half starting at `base`.
constexpr std::uint64_t Span(unsigned lo, unsigned hi, unsigned base) {
    const unsigned from = std::clamp(lo, base, base + 64) - base;
    const unsigned to = std::clamp(hi, base, base + 64) - base;
    return LowBits(to) & ~LowBits(from);
}

constexpr int kRunDigits = 8;
// Eight whole digits and seven of fraction stay below 10^15, exact in a double.
constexpr int kFractionDigits = 7;
// A line and its two-byte end fit in the two 64-byte loads.
constexpr unsigned kMaxLine = 126;
constexpr std::uint8_t kBeforeLine = VectorRowMapper::kMaxBoundaries;

} // namespace

#if defined(__x86_64__)

namespace {

struct alignas(64) LaneConstants {
    std::uint8_t iota[64];
    std::int8_t offsetInRun[VectorRowMapper::kLanes]; // j - 8 for lane j of its run
    std::int32_t runOrder[16]; // the 32-bit lane holding run r's value, both halves
    std::uint64_t integerPowers[8];
    double powers[8];
};

constexpr LaneConstants kLaneConstants = [] {
    LaneConstants c{};
    for (int i = 0; i < 64; ++i)
        c.iota[i] = static_cast<std::uint8_t>(i);
    for (int i = 0; i < VectorRowMapper::kLanes; ++i)
        c.offsetInRun[i] = static_cast<std::int8_t>(i % 8 - 8);
    for (int r = 0; r < 16; ++r)
        c.runOrder[r] = (r / 8) * 16 + 4 * ((r % 8) / 2) + r % 2;
    for (int k = 0; k < 8; ++k) {
        // The same exact powers the text readers divide by.
        c.powers[k] = inline_number::kExactPowersOfTen[k];
        c.integerPowers[k] = static_cast<std::uint64_t>(c.powers[k]);
    }
    return c;
}();

ORVO_WIDE inline __m512i Load(const void* p) {
    return _mm512_load_si512(p);
}

ORVO_WIDE inline std::uint64_t Equal(__m512i bytes, char c) {
    return _mm512_cmpeq_epi8_mask(bytes, _mm512_set1_epi8(c));
}

// Eight right-aligned digits (0..9 per byte) in each 64-bit group become one 32-bit value;
// group g of each 128-bit half ends in 32-bit lane 4 * (g / 2) + g % 2.
ORVO_WIDE inline __m512i EightDigitValues(__m512i digits) {
    __m512i v = _mm512_maddubs_epi16(digits, _mm512_set1_epi16(0x010A));
    v = _mm512_madd_epi16(v, _mm512_set1_epi32(0x00010064));
    v = _mm512_packus_epi32(v, v);
    return _mm512_madd_epi16(v, _mm512_set1_epi32(0x00012710));
}

// The digit runs of eight groups: their lengths and, in kept lanes, their digits.
struct RunHalf {
    __m512i lengths;
    __m512i digits;
    std::uint64_t negative;
    bool ok;
};

ORVO_WIDE inline RunHalf GatherRuns(
    const VectorRowMapper::Layout& layout, int half, __m512i boundaries, __m512i b0, __m512i b1) {
    const int at = half * 64;
    const __m512i one = _mm512_set1_epi8(1);
    const __m512i ends =
        _mm512_sub_epi8(_mm512_permutexvar_epi8(Load(layout.endBoundary + at), boundaries),
                        Load(layout.endBack + at));
    __m512i starts =
        _mm512_add_epi8(_mm512_permutexvar_epi8(Load(layout.startBoundary + at), boundaries), one);
    // A minus at a signed run's start belongs to the number, not to its digits.
    const __m512i first = _mm512_permutex2var_epi8(b0, starts, b1);
    const std::uint64_t negative = Equal(first, '-') & layout.signedRuns[half];
    starts = _mm512_mask_add_epi8(starts, negative, starts, one);
    RunHalf run{};
    run.negative = negative;
    run.lengths = _mm512_sub_epi8(ends, starts);
    run.ok = (_mm512_cmpgt_epi8_mask(run.lengths, Load(layout.maxLength + at)) |
              _mm512_cmplt_epi8_mask(run.lengths, Load(layout.minLength + at))) == 0;
    // Lane j of a run reads the byte 8 - j before its end; lanes before the start read none.
    const __m512i from = _mm512_add_epi8(ends, Load(kLaneConstants.offsetInRun + at));
    const std::uint64_t keep = _mm512_cmpge_epi8_mask(from, starts);
    run.digits =
        _mm512_maskz_sub_epi8(keep, _mm512_permutex2var_epi8(b0, from, b1), _mm512_set1_epi8('0'));
    run.ok = run.ok && _mm512_cmpgt_epu8_mask(run.digits, _mm512_set1_epi8(9)) == 0;
    return run;
}

// Bit r: run r's number is negative (one bit per eight lanes of the two halves).
ORVO_WIDE inline __mmask16 RunSigns(std::uint64_t low, std::uint64_t high) {
    constexpr std::uint64_t kFirstLanes = 0x0101010101010101;
    return static_cast<__mmask16>(_pext_u64(low, kFirstLanes) |
                                  (_pext_u64(high, kFirstLanes) << 8));
}

// Each run's length, one byte per run.
ORVO_WIDE inline __m128i RunLengths(__m512i low, __m512i high) {
    constexpr std::uint64_t kFirstLanes = 0x0101010101010101;
    return _mm_unpacklo_epi64(
        _mm512_castsi512_si128(_mm512_maskz_compress_epi8(kFirstLanes, low)),
        _mm512_castsi512_si128(_mm512_maskz_compress_epi8(kFirstLanes, high)));
}

// The numbers of a line from its runs, put into their cells 64 bytes at a time.
ORVO_WIDE inline void PutNumbers(const VectorRowMapper::Layout& layout,
                                 const RunHalf& first,
                                 const RunHalf& second,
                                 unsigned char* row) {
    const __m512i zero = _mm512_setzero_si512();
    // Lane r: run r's value, as a 32-bit integer with its sign.
    __m512i ints = _mm512_permutex2var_epi32(EightDigitValues(first.digits),
                                             Load(kLaneConstants.runOrder),
                                             EightDigitValues(second.digits));
    const __mmask16 negative = RunSigns(first.negative, second.negative);
    const __m512i runValues = ints;
    ints = _mm512_mask_sub_epi32(ints, negative, zero, ints);

    // Lane k: pair k, a 64-bit integer (high * 10^8 + low) or a mantissa (whole * 10^fraction
    // digits + fraction). Both halves are below 10^8, so 32-bit products suffice.
    __m512i pairs = zero;
    __m512i floats = zero;
    if (layout.pairs > 0) {
        const __m512i pairFirst = Load(layout.pairFirst);
        const __m512i high = _mm512_cvtepu32_epi64(
            _mm512_castsi512_si256(_mm512_permutexvar_epi32(pairFirst, runValues)));
        const __m128i second8 =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(layout.pairSecond));
        const __m512i low = _mm512_cvtepu32_epi64(_mm512_castsi512_si256(
            _mm512_permutexvar_epi32(_mm512_cvtepu8_epi32(second8), runValues)));
        const __m512i fraction = _mm512_cvtepu8_epi64(
            _mm_shuffle_epi8(RunLengths(first.lengths, second.lengths), second8));
        const __m512i scale = _mm512_mask_mov_epi64(
            _mm512_permutexvar_epi64(fraction, Load(kLaneConstants.integerPowers)),
            layout.int64Pairs,
            _mm512_set1_epi64(100'000'000));
        const __m512i magnitude = _mm512_add_epi64(_mm512_mul_epu32(high, scale), low);
        const __mmask8 pairNegative = _mm256_movepi32_mask(_mm512_castsi512_si256(
            _mm512_permutexvar_epi32(pairFirst, _mm512_movm_epi32(negative))));
        // Mantissas below 10^15 convert exactly, and one division rounds as the text readers
        // do. Four numbers or fewer divide in half the width, at about half the wait.
        const __m512d mantissa = _mm512_cvtepu64_pd(magnitude);
        const __m512d divisor =
            _mm512_permutexvar_pd(fraction, _mm512_load_pd(kLaneConstants.powers));
        const __m512d quotient =
            layout.pairs <= 4
                ? _mm512_castpd256_pd512(_mm256_div_pd(_mm512_castpd512_pd256(mantissa),
                                                       _mm512_castpd512_pd256(divisor)))
                : _mm512_div_pd(mantissa, divisor);
        const __m512i doubles = _mm512_mask_xor_epi64(_mm512_castpd_si512(quotient),
                                                      pairNegative,
                                                      _mm512_castpd_si512(quotient),
                                                      _mm512_set1_epi64(INT64_MIN));
        pairs = _mm512_mask_blend_epi64(
            layout.int64Pairs,
            doubles,
            _mm512_mask_sub_epi64(magnitude, pairNegative, zero, magnitude));
        if (layout.floats)
            floats = _mm512_castps_si512(
                _mm512_castps256_ps512(_mm512_cvtpd_ps(_mm512_castsi512_pd(doubles))));
    }
    for (int part = 0; part < layout.rowParts; ++part) {
        const int at = part * 64;
        __m512i cells = _mm512_permutex2var_epi8(ints, Load(layout.numberByte + at), pairs);
        if (layout.floats)
            cells = _mm512_mask_permutexvar_epi8(
                cells, layout.floatBytes[part], Load(layout.floatByte + at), floats);
        _mm512_mask_storeu_epi8(
            row + at, layout.numberBytes[part] | layout.floatBytes[part], cells);
    }
}

// Where boundary `lane` is in the line; one before the line for the last lane.
ORVO_WIDE inline unsigned
BoundaryPlace(unsigned lane, int low, std::uint64_t bounds0, std::uint64_t bounds1) {
    if (lane == kBeforeLine)
        return ~0u;
    const auto lowCount = static_cast<unsigned>(low);
    if (lane < lowCount)
        return static_cast<unsigned>(
            std::countr_zero(_pdep_u64(std::uint64_t{1} << lane, bounds0)));
    return 64 + static_cast<unsigned>(
                    std::countr_zero(_pdep_u64(std::uint64_t{1} << (lane - lowCount), bounds1)));
}

ORVO_WIDE inline std::size_t MapWideLine(const VectorRowMapper::Layout& layout,
                                         char* line,
                                         std::size_t left,
                                         bool carriageReturnEnds,
                                         unsigned char* row) {
    // Masked loads never touch bytes past the data.
    const std::uint64_t load0 = LowBits(static_cast<unsigned>(std::min<std::size_t>(left, 64)));
    const std::uint64_t load1 =
        left > 64 ? LowBits(static_cast<unsigned>(std::min<std::size_t>(left - 64, 64))) : 0;
    const __m512i b0 = _mm512_maskz_loadu_epi8(load0, line);
    const __m512i b1 = _mm512_maskz_loadu_epi8(load1, line + 64);

    std::uint64_t end0 = Equal(b0, '\n');
    std::uint64_t end1 = Equal(b1, '\n');
    if (carriageReturnEnds) {
        end0 |= Equal(b0, '\r');
        end1 |= Equal(b1, '\r');
    }
    if ((end0 | end1) == 0)
        return 0;
    const unsigned length = end0 ? static_cast<unsigned>(std::countr_zero(end0))
                                 : 64 + static_cast<unsigned>(std::countr_zero(end1));
    if (length > kMaxLine)
        return 0;
    const std::uint64_t in0 = Span(0, length, 0);
    const std::uint64_t in1 = Span(0, length, 64);
    if (((Equal(b0, '\0') & in0) | (Equal(b1, '\0') & in1)) != 0)
        return 0;
    const std::uint64_t tabs0 = Equal(b0, '\t') & in0;
    const std::uint64_t tabs1 = Equal(b1, '\t') & in1;
    if (std::popcount(tabs0) + std::popcount(tabs1) != layout.tabs)
        return 0;
    const std::uint64_t points0 = Equal(b0, '.') & in0;
    const std::uint64_t points1 = Equal(b1, '.') & in1;
    const std::uint64_t bounds0 = tabs0 | points0 | Span(length, length + 1, 0);
    const std::uint64_t bounds1 = tabs1 | points1 | Span(length, length + 1, 64);
    const int low = std::popcount(bounds0);
    if (low + std::popcount(bounds1) != layout.boundaries ||
        (_pext_u64(points0, bounds0) | (_pext_u64(points1, bounds1) << low)) != layout.points)
        return 0;

    // The boundaries' places in order, and one before the line in the last lane.
    const __m512i iota = Load(kLaneConstants.iota);
    const __m512i high =
        _mm512_maskz_compress_epi8(bounds1, _mm512_add_epi8(iota, _mm512_set1_epi8(64)));
    __m512i boundaries = _mm512_maskz_compress_epi8(bounds0, iota);
    boundaries = _mm512_mask_permutexvar_epi8(
        boundaries,
        ~std::uint64_t{0} << low,
        _mm512_sub_epi8(iota, _mm512_set1_epi8(static_cast<char>(low))),
        high);
    boundaries =
        _mm512_mask_mov_epi8(boundaries, std::uint64_t{1} << kBeforeLine, _mm512_set1_epi8(-1));

    const RunHalf first = GatherRuns(layout, 0, boundaries, b0, b1);
    RunHalf second{_mm512_setzero_si512(), _mm512_setzero_si512(), 0, true};
    if (layout.runs > 8)
        second = GatherRuns(layout, 1, boundaries, b0, b1);
    if (!first.ok || !second.ok)
        return 0;

    PutNumbers(layout, first, second, row);
    // Text places come from the masks: reading them from the boundary vector would wait for
    // the whole chain that builds it.
    for (const VectorRowMapper::Text& t : layout.texts) {
        const unsigned start = BoundaryPlace(t.startLane, low, bounds0, bounds1) + 1;
        const unsigned size =
            std::min<unsigned>(BoundaryPlace(t.endLane, low, bounds0, bounds1) - start, t.width);
        const __m512i chars = _mm512_maskz_loadu_epi8(LowBits(size), line + start);
        _mm512_mask_storeu_epi8(row + t.offset, LowBits(t.width), chars);
    }
    // A carriage return and line feed pair is one end.
    return length + 1 + (line[length] == '\r' && length + 1 < left && line[length + 1] == '\n');
}

ORVO_WIDE std::size_t MapWideLines(const VectorRowMapper::Layout& layout,
                                   char* data,
                                   std::size_t size,
                                   std::size_t& pos,
                                   bool carriageReturnEnds,
                                   unsigned char* rows,
                                   std::size_t stride,
                                   std::size_t count) {
    // A local place: stores into the rows could otherwise alias it.
    std::size_t at = pos;
    std::size_t mapped = 0;
    for (; mapped < count && at < size; ++mapped, rows += stride) {
        const std::size_t used =
            MapWideLine(layout, data + at, size - at, carriageReturnEnds, rows);
        if (used == 0)
            break;
        at += used;
    }
    pos = at;
    return mapped;
}

ORVO_WIDE bool LinesFitWide(const char* data,
                            std::size_t size,
                            bool carriageReturnEnds,
                            std::size_t rows,
                            std::size_t fields) {
    const std::size_t wantTabs = fields - 1;
    std::size_t lines = 0;
    std::size_t tabs = 0;
    std::uint64_t carriageBefore = 0;
    for (std::size_t b = 0; b < size; b += 64) {
        const std::uint64_t mask =
            LowBits(static_cast<unsigned>(std::min<std::size_t>(size - b, 64)));
        const __m512i bytes = _mm512_maskz_loadu_epi8(mask, data + b);
        const std::uint64_t feeds = Equal(bytes, '\n');
        const std::uint64_t returns = carriageReturnEnds ? Equal(bytes, '\r') : 0;
        std::uint64_t tabBits = Equal(bytes, '\t');
        // A line feed right after a carriage return ends nothing: the pair is one end.
        std::uint64_t ends = returns | (feeds & ~((returns << 1) | carriageBefore));
        carriageBefore = returns >> 63;
        for (; ends != 0; ends &= ends - 1) {
            const auto at = static_cast<unsigned>(std::countr_zero(ends));
            tabs += static_cast<std::size_t>(std::popcount(tabBits & LowBits(at)));
            if (tabs != wantTabs)
                return false;
            if (++lines == rows)
                return true;
            // The next line must start inside the data (a line end is at most two bytes).
            if (b + at + 2 >= size) {
                std::size_t next = b + at + 1;
                if ((returns >> at & 1) != 0 && next < size && data[next] == '\n')
                    ++next;
                if (next >= size)
                    return false;
            }
            tabBits &= ~LowBits(at + 1);
            tabs = 0;
        }
        tabs += static_cast<std::size_t>(std::popcount(tabBits));
        if (tabs > wantTabs)
            return false;
    }
    // The data ends inside the last line.
    return size > 0 && lines + 1 == rows && tabs == wantTabs;
}

ORVO_WIDE void ZeroSeparatorsWide(char* data, std::size_t end, bool carriageReturnEnds) {
    const __m512i zero = _mm512_setzero_si512();
    for (std::size_t b = 0; b < end; b += 64) {
        const std::uint64_t mask =
            LowBits(static_cast<unsigned>(std::min<std::size_t>(end - b, 64)));
        const __m512i bytes = _mm512_maskz_loadu_epi8(mask, data + b);
        std::uint64_t ends = Equal(bytes, '\t') | Equal(bytes, '\n');
        if (carriageReturnEnds)
            ends |= Equal(bytes, '\r');
        _mm512_mask_storeu_epi8(data + b, ends & mask, zero);
    }
}

} // namespace

bool VectorRowMapper::Available() {
    static const bool available = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
               __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512vl") &&
               __builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512vbmi2") &&
               __builtin_cpu_supports("bmi2");
    }();
    return available;
}

bool VectorRowMapper::LinesFit(const char* data,
                               std::size_t size,
                               bool carriageReturnEnds,
                               std::size_t rows,
                               std::size_t fields) {
    // The same bounds as the per-field scan: places fit 32 bits, counts are bounded by bytes.
    if (!Available() || fields == 0 || rows == 0 || size >= UINT32_MAX || rows > size)
        return false;
    return LinesFitWide(data, size, carriageReturnEnds, rows, fields);
}

void VectorRowMapper::ZeroSeparators(char* data, std::size_t end, bool carriageReturnEnds) {
    if (Available())
        ZeroSeparatorsWide(data, end, carriageReturnEnds);
}

std::size_t VectorRowMapper::MapLines(char* data,
                                      std::size_t size,
                                      std::size_t& pos,
                                      bool carriageReturnEnds,
                                      unsigned char* rows,
                                      std::size_t stride,
                                      std::size_t count) const {
    if (!Available() || m_layout.boundaries == 0)
        return 0;
    return MapWideLines(m_layout, data, size, pos, carriageReturnEnds, rows, stride, count);
}

#else

bool VectorRowMapper::Available() {
    return false;
}

bool VectorRowMapper::LinesFit(const char*, std::size_t, bool, std::size_t, std::size_t) {
    return false;
}

std::size_t VectorRowMapper::MapLines(
    char*, std::size_t, std::size_t&, bool, unsigned char*, std::size_t, std::size_t) const {
    return 0;
}

void VectorRowMapper::ZeroSeparators(char*, std::size_t, bool) {}

#endif

bool VectorRowMapper::Prepare(const CRecord& record) {
    m_layout = Layout{};
    if (Available() && record.GetFieldCount() > 0 && Lay(record, m_layout))
        return true;
    m_layout.boundaries = 0;
    return false;
}

bool VectorRowMapper::Lay(const CRecord& record, Layout& layout) {
    int bounds = 0;
    std::uint8_t before = kBeforeLine;
    auto addRun = [&](std::uint8_t start, std::uint8_t end, int back, int min, int max, bool sign) {
        for (int j = 0; j < 8; ++j) {
            const int lane = 8 * layout.runs + j;
            layout.startBoundary[lane] = start;
            layout.endBoundary[lane] = end;
            layout.endBack[lane] = static_cast<std::int8_t>(back);
            layout.minLength[lane] = static_cast<std::int8_t>(min);
            layout.maxLength[lane] = static_cast<std::int8_t>(max);
            if (sign)
                layout.signedRuns[lane / 64] |= std::uint64_t{1} << (lane % 64);
        }
        return layout.runs++;
    };
    // A cell's bytes taken from `from` onwards of the numbers (or of the floats).
    auto place = [&](int offset, int size, int from, bool isFloat) {
        for (int i = 0; i < size; ++i) {
            const int at = offset + i;
            (isFloat ? layout.floatByte : layout.numberByte)[at] =
                static_cast<std::uint8_t>(from + i);
            (isFloat ? layout.floatBytes : layout.numberBytes)[at / 64] |= std::uint64_t{1}
                                                                           << (at % 64);
        }
    };
    // A number of two runs; returns its bit among the pairs.
    auto addPair = [&](int firstRun) {
        layout.pairFirst[layout.pairs] = firstRun;
        layout.pairSecond[layout.pairs] = static_cast<std::uint8_t>(firstRun + 1);
        return layout.pairs++;
    };
    if (record.GetRecordSize() > kMaxRowBytes)
        return false;
    layout.rowParts = (record.GetRecordSize() + 63) / 64;
    for (int c = 0; c < record.GetFieldCount(); ++c) {
        const CRecord::CField& field = *record.GetField(c);
        const int offset = record.GetOffSet(c);
        const auto end = [&bounds] { return static_cast<std::uint8_t>(bounds); };
        const bool number = field.Type == DT_INT || field.Type == DT_INT64 ||
                            field.Type == DT_DOUBLE || field.Type == DT_FLOAT;
        const bool point = field.Type == DT_DOUBLE || field.Type == DT_FLOAT;
        const int runs = field.Type == DT_INT ? 1 : number ? 2 : 0;
        if (bounds + (point ? 2 : 1) > kMaxBoundaries || layout.runs + runs > kMaxRuns)
            return false;
        switch (field.Type) {
        case DT_STR:
            if (field.Size < 1 || field.Size > 64)
                return false;
            layout.texts.push_back({before, end(), static_cast<std::uint8_t>(field.Size), offset});
            break;
        case DT_CHAR:
            layout.texts.push_back({before, end(), 1, offset});
            break;
        case DT_INT: {
            const int run = addRun(before, end(), 0, 1, kRunDigits, true);
            place(offset, 4, 4 * run, false);
            break;
        }
        case DT_INT64: {
            // The high run may be empty or cut short; the low one holds at least one digit.
            const int high = addRun(before, end(), kRunDigits, -128, kRunDigits, true);
            addRun(before, end(), 0, 1, 127, true);
            const int pair = addPair(high);
            layout.int64Pairs |= static_cast<std::uint8_t>(1u << pair);
            place(offset, 8, 64 + 8 * pair, false);
            break;
        }
        case DT_DOUBLE:
        case DT_FLOAT: {
            const auto pointLane = static_cast<std::uint8_t>(bounds++);
            layout.points |= std::uint64_t{1} << pointLane;
            const int whole = addRun(before, pointLane, 0, 0, kRunDigits, true);
            addRun(pointLane, end(), 0, 1, kFractionDigits, false);
            const int pair = addPair(whole);
            if (field.Type == DT_DOUBLE) {
                place(offset, 8, 64 + 8 * pair, false);
            } else {
                place(offset, 4, 4 * pair, true);
                layout.floats = true;
            }
            break;
        }
        default:
            return false;
        }
        before = static_cast<std::uint8_t>(bounds++);
    }
    // Unused runs read nothing and pass every check; unused pairs read nothing.
    for (int lane = 8 * layout.runs; lane < kLanes; ++lane) {
        layout.startBoundary[lane] = kBeforeLine;
        layout.endBoundary[lane] = kBeforeLine;
        layout.minLength[lane] = -128;
        layout.maxLength[lane] = 127;
    }
    for (int k = layout.pairs; k < 16; ++k)
        layout.pairSecond[k] = 0x80;
    layout.boundaries = bounds;
    layout.tabs = record.GetFieldCount() - 1;
    return true;
}

} // namespace orvo
