#pragma once
// The wall clock the engine reads (Now, Date, Time, Timer, Randomize without a seed). Tests
// put a fixed clock in its place so that nothing they check depends on the real time.

namespace vbs {

// The local time as an OLE date (days since 1899-12-30, the fraction the time of day).
double NowOleDate();

// Null puts the system clock back.
void SetClockForTests(double (*clock)());

} // namespace vbs
