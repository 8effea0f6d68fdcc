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
    // A list inquiry's page: the continuation key asked for and the rows of a page.
    std::int64_t key = 0;
    int listRows = 0;
};

// One record of `record`'s layout, packed as received data is: a repeating group whose rows
// the data decides gets `groupRows` rows when it is an order book (it has "askPrice" or
// "bidPrice"), else the answer's list rows, numbered from its key ("seq"); blobs are zero
// bytes; a variable-length string ends the record as text. Appended to `out`.
void WriteWireRecord(const CRecord& record,
                     const Answer& answer,
                     int groupRows,
                     Market& market,
                     std::vector<unsigned char>& out);

} // namespace sim
