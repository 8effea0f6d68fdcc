#pragma once
// The simulated exchange's market in tests that trade: two stocks, 삼성전자 (005930 at
// 71,500 in steps of 100) and SK하이닉스 (000660 at 128,000 in steps of 500), ticking every
// 100 ms of the test clock. The seed and the volatility decide the prices that follow.
#include <cstdint>

#include "backends/sim/scenario.h"

inline sim::Scenario TwoStocks(std::uint64_t seed, double volatility) {
    sim::Scenario s;
    s.seed = seed;
    s.tickMs = 100;
    sim::Instrument a;
    a.code = L"005930";
    a.name = L"삼성전자";
    a.reference = a.price = a.open = a.high = a.low = 71500;
    a.tick = 100;
    a.volatility = volatility;
    sim::Instrument b = a;
    b.code = L"000660";
    b.name = L"SK하이닉스";
    b.reference = b.price = b.open = b.high = b.low = 128000;
    b.tick = 500;
    s.instruments = {a, b};
    return s;
}
