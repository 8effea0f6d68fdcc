#include "vbscript/procedure.h"

namespace vbs {

const StatementRange* Procedure::StatementAt(std::int32_t pc) const {
    // Ranges nest (a loop holds its statements); the innermost one decides where to resume.
    const StatementRange* best = nullptr;
    for (const StatementRange& range : statements)
        if (range.begin <= pc && pc < range.end &&
            (!best || range.end - range.begin < best->end - best->begin))
            best = &range;
    return best;
}

} // namespace vbs
