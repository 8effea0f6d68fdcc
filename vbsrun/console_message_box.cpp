#include "vbsrun/console_message_box.h"

#include <array>

namespace orvo {

int DefaultButtonAnswer(int buttons) {
    constexpr int ok = 1, cancel = 2, abort = 3, retry = 4, ignore = 5, yes = 6, no = 7;
    // The buttons of each set (the low four bits of the code), left to right.
    static constexpr std::array<std::array<int, 3>, 6> sets{{
        {ok, 0, 0},
        {ok, cancel, 0},
        {abort, retry, ignore},
        {yes, no, cancel},
        {yes, no, 0},
        {retry, cancel, 0},
    }};
    const unsigned set = static_cast<unsigned>(buttons) & 0xF;
    if (set >= sets.size())
        return ok;
    const unsigned chosen = (static_cast<unsigned>(buttons) >> 8) & 0x3;
    const auto& row = sets[set];
    return chosen < row.size() && row[chosen] != 0 ? row[chosen] : row[0];
}

} // namespace orvo
