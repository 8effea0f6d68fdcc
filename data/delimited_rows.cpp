#include "data/delimited_rows.h"

#include <bit>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvo {

bool DelimitedRows::Scan(
    char* data, std::size_t size, bool carriageReturnEnds, std::size_t rows, std::size_t fields) {
    m_data = data;
    m_size = size;
    m_fields = fields;
    m_carriageReturnEnds = carriageReturnEnds;
    m_holdsZero = false;
    m_marks.clear();
    // Places are kept in 32 bits, and a count from the data is bounded by its bytes.
    if (fields == 0 || size >= std::numeric_limits<std::uint32_t>::max() || rows > size)
        return false;
    m_marks.reserve(rows * (fields + 1));
    std::size_t pos = 0;
    for (std::size_t r = 0; r < rows; ++r) {
        std::size_t end = 0;
        if (pos == size || !ScanLine(pos, end))
            return false;
        std::size_t next = end;
        if (end != size) {
            const bool pair = data[end] == '\r' && end + 1 != size && data[end + 1] == '\n';
            next += pair ? 2 : 1;
        }
        m_marks.push_back(static_cast<std::uint32_t>(end));
        m_marks.push_back(static_cast<std::uint32_t>(next));
        pos = next;
    }
    return true;
}

bool DelimitedRows::ScanLine(std::size_t pos, std::size_t& end) {
    const char otherEnd = m_carriageReturnEnds ? '\r' : '\n';
    std::size_t tabs = 0;
    std::size_t p = pos;
#if defined(__SSE2__)
    // Sixteen bytes at a time: a bit per byte for tabs, line ends and zero bytes.
    const __m128i tab = _mm_set1_epi8('\t');
    const __m128i lineFeed = _mm_set1_epi8('\n');
    const __m128i other = _mm_set1_epi8(otherEnd);
    const __m128i zero = _mm_setzero_si128();
    for (; m_size - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m_data + p));
        const auto ends = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi8(bytes, lineFeed), _mm_cmpeq_epi8(bytes, other))));
        // Only the bytes before the line's end belong to it.
        const unsigned keep = ends ? (1u << std::countr_zero(ends)) - 1 : 0xFFFFu;
        auto tabBits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, tab))) & keep;
        if (static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, zero))) & keep)
            m_holdsZero = true;
        for (; tabBits != 0; tabBits &= tabBits - 1) {
            if (++tabs >= m_fields)
                return false;
            m_marks.push_back(static_cast<std::uint32_t>(p + std::countr_zero(tabBits)));
        }
        if (ends) {
            end = p + static_cast<std::size_t>(std::countr_zero(ends));
            return tabs + 1 == m_fields;
        }
    }
#endif
    for (; p != m_size && m_data[p] != '\n' && m_data[p] != otherEnd; ++p) {
        if (m_data[p] == '\t') {
            if (++tabs >= m_fields)
                return false;
            m_marks.push_back(static_cast<std::uint32_t>(p));
        } else if (m_data[p] == '\0') {
            m_holdsZero = true;
        }
    }
    end = p;
    return tabs + 1 == m_fields;
}

} // namespace orvo
