#pragma once
// The simulated market: instruments with reference prices, tick sizes and volatility, a
// trading date and clock, and a seeded generator of our own, so a scenario replays the same
// prices on every machine.
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

// SplitMix64: tiny, fast, and fully specified (standard-library distributions are not).
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t Next();
    // Uniform in [0, 1).
    double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
    // Uniform in [0, bound); 0 for a bound of 0.
    std::uint64_t Below(std::uint64_t bound) { return bound ? Next() % bound : 0; }

private:
    std::uint64_t m_state;
};

struct Instrument {
    std::wstring code;
    std::wstring name;
    std::int64_t reference = 0; // the previous close
    std::int64_t price = 0;
    std::int64_t tick = 1;
    double volatility = 0.5; // expected ticks moved per step
    std::int64_t volume = 0;
    std::int64_t open = 0;
    std::int64_t high = 0;
    std::int64_t low = 0;
};

struct Scenario {
    std::uint64_t seed = 1;
    int marketDate = 20260105;
    int openTime = 90000; // hhmmss
    unsigned tickMs = 250;
    int depth = 5;     // order book levels of a repeating group
    int listRows = 20; // rows of one page of a list inquiry
    std::vector<Instrument> instruments;

    // One instrument, for projects that name no scenario.
    static Scenario BuiltIn();
    // False with the reason in `error` for a file that is missing, malformed, or lists no
    // usable instrument.
    static bool Load(const std::wstring& path, Scenario& out, std::wstring& error);
};

class Market {
public:
    explicit Market(Scenario scenario);

    const Scenario& GetScenario() const { return m_scenario; }
    // Null when the code is unknown.
    Instrument* Find(std::wstring_view code);
    Instrument& First() { return m_scenario.instruments.front(); }
    // Instruments in turn, for real-time ticks.
    Instrument& NextInTurn();
    // One trade: the price moves by whole ticks (never below one tick), volume grows and
    // the clock advances a second.
    void Step(Instrument& instrument);
    // A random quantity of whole lots for book levels and trades.
    std::int64_t Quantity();
    // The market clock as hhmmss.
    int Time() const;
    int GetMarketDate() const { return m_scenario.marketDate; }
    void SetMarketDate(int date) { m_scenario.marketDate = date; }

private:
    Scenario m_scenario;
    Random m_random;
    std::size_t m_turn = 0;
    std::int64_t m_seconds = 0; // since the opening
};

} // namespace sim
