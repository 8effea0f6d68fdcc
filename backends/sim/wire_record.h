#pragma once
// The bytes the simulated exchange answers with: one record in a transaction's output layout,
// each field filled by its name from the market (see README.md for the names it knows).
#include <cstdint>
#include <string>
#include <vector>

#include "backends/sim/scenario.h"
#include "data/record.h"

namespace sim {

// What one answer reports.
struct Answer {
    const Instrument* instrument = nullptr;
    int marketDate = 0;
    int time = 0; // hhmmss
    // An order's fill.
    std::int64_t orderNo = 0;
    std::int64_t quantity = 0;
    std::int64_t fillPrice = 0;
    std::wstring side;
};

// One record of `record`'s layout, packed as received data is: a repeating group whose rows
// the data decides gets `groupRows` rows (order book levels); blobs are zero bytes; a
// variable-length string ends the record as text. Appended to `out`.
void WriteWireRecord(const CRecord& record,
                     const Answer& answer,
                     int groupRows,
                     Market& market,
                     std::vector<unsigned char>& out);

} // namespace sim
