#pragma once
// Rows of tab-separated received text. Every line is checked to hold exactly its fields
// before any is mapped, and the one pass that checks them keeps where each separator and
// line end is, so mapping reads each field without searching the bytes again.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace orvo {

class DelimitedRows {
public:
    // The first `rows` lines of the data, each of `fields` fields. A line ends at a line
    // feed or, with `carriageReturnEnds`, at a carriage return (a carriage return and line
    // feed pair is one end). False when a line is missing or holds another number of fields.
    bool Scan(char* data,
              std::size_t size,
              bool carriageReturnEnds,
              std::size_t rows,
              std::size_t fields);

    // Calls fn(field, text) for each field of a scanned row, and overwrites the row's
    // separators and line end with zero bytes. A zero byte inside a field ends its text.
    template <class Fn> void Take(std::size_t row, Fn&& fn) {
        const std::uint32_t* marks = m_marks.data() + row * (m_fields + 1);
        std::size_t start = row == 0 ? 0 : marks[-1];
        for (std::size_t f = 0; f < m_fields; ++f) {
            const std::size_t end = marks[f];
            fn(f, Text(start, end));
            start = end + 1;
        }
        for (std::size_t f = 0; f + 1 < m_fields; ++f)
            m_data[marks[f]] = '\0';
        std::fill(m_data + marks[m_fields - 1], m_data + marks[m_fields], '\0');
    }

    // Where the line after a scanned row starts.
    std::size_t NextLine(std::size_t row) const { return m_marks[row * (m_fields + 1) + m_fields]; }

private:
    std::string_view Text(std::size_t start, std::size_t end) const {
        std::size_t length = end - start;
        if (m_holdsZero) {
            if (const void* zero = std::memchr(m_data + start, 0, length))
                length = static_cast<std::size_t>(static_cast<const char*>(zero) - m_data) - start;
        }
        return {m_data + start, length};
    }

    // Finds the end of the line starting at `pos`, recording its tabs; false past `fields`.
    bool ScanLine(std::size_t pos, std::size_t& end);

    char* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_fields = 0;
    bool m_carriageReturnEnds = false;
    bool m_holdsZero = false;
    // Per row: its fields - 1 tabs, where its text ends, where the next line starts.
    std::vector<std::uint32_t> m_marks;
};

} // namespace orvo
