#include "backends/sim/scenario.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/element.h"
#include "core/xml_parser.h"
#include "platform/base/lenient.h"
#include "platform/base/nocase.h"

namespace sim {

std::uint64_t Random::Next() {
    std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

Scenario Scenario::BuiltIn() {
    Scenario s;
    Instrument i;
    i.code = L"005930";
    i.name = L"삼성전자";
    i.reference = i.price = i.open = i.high = i.low = 71500;
    i.tick = 100;
    i.volume = 1000000;
    s.instruments.push_back(i);
    return s;
}

namespace {

std::int64_t Number(XElement* e, const wchar_t* name, std::int64_t fallback) {
    std::wstring text;
    return e->GetValue(name, text) ? plat::_wtoi64(text) : fallback;
}

} // namespace

bool Scenario::Load(const std::wstring& path, Scenario& out, std::wstring& error) {
    XElement* root = nullptr;
    XMLParser parser;
    if (!parser.DoParse(path.c_str(), &root) || !root) {
        error = L"the scenario " + path + L" could not be read";
        return false;
    }
    std::unique_ptr<XElement> owned(root);
    Scenario s;
    s.seed = static_cast<std::uint64_t>(Number(root, L"Seed", 1));
    s.marketDate = static_cast<int>(
        std::clamp<std::int64_t>(Number(root, L"MarketDate", s.marketDate), 0, 99991231));
    s.openTime = static_cast<int>(
        std::clamp<std::int64_t>(Number(root, L"OpenTime", s.openTime), 0, 235959));
    s.tickMs = static_cast<unsigned>(
        std::clamp<std::int64_t>(Number(root, L"TickMs", s.tickMs), 1, 3600000));
    s.depth = static_cast<int>(std::clamp<std::int64_t>(Number(root, L"Depth", s.depth), 1, 50));
    s.listRows =
        static_cast<int>(std::clamp<std::int64_t>(Number(root, L"ListRows", s.listRows), 1, 1000));
    for (XElement* e = root->GetFirstChild(); e; e = e->GetNextSibling()) {
        if (!plat::EqualsNoCase(e->GetTagName(), L"Instrument"))
            continue;
        Instrument i;
        e->GetValue(L"Code", i.code);
        e->GetValue(L"Name", i.name);
        // Prices stay far from the int32 limits the records hold them in.
        constexpr std::int64_t kMaxPrice = 100'000'000;
        i.tick = std::clamp<std::int64_t>(Number(e, L"Tick", 1), 1, kMaxPrice);
        i.reference = std::clamp<std::int64_t>(Number(e, L"Price", 0), i.tick, kMaxPrice);
        i.price = i.open = i.high = i.low = i.reference;
        i.volume = std::clamp<std::int64_t>(Number(e, L"Volume", 0), 0, INT64_C(1) << 50);
        std::wstring volatility;
        if (e->GetValue(L"Volatility", volatility))
            i.volatility = std::clamp(plat::_wtof(volatility), 0.0, 100.0);
        if (i.code.empty()) {
            error = L"an Instrument of " + path + L" has no Code";
            return false;
        }
        s.instruments.push_back(i);
    }
    if (s.instruments.empty()) {
        error = L"the scenario " + path + L" lists no Instrument";
        return false;
    }
    out = std::move(s);
    return true;
}

Market::Market(Scenario scenario) : m_scenario(std::move(scenario)), m_random(m_scenario.seed) {
    if (m_scenario.instruments.empty())
        m_scenario.instruments = Scenario::BuiltIn().instruments;
}

Instrument* Market::Find(std::wstring_view code) {
    for (Instrument& i : m_scenario.instruments)
        if (plat::EqualsNoCase(i.code, code))
            return &i;
    return nullptr;
}

Instrument& Market::NextInTurn() {
    Instrument& i = m_scenario.instruments[m_turn];
    m_turn = (m_turn + 1) % m_scenario.instruments.size();
    return i;
}

void Market::Step(Instrument& i) {
    // Whole ticks: the integer part of the volatility always, the fraction by chance.
    const double whole = std::floor(i.volatility);
    const auto ticks =
        static_cast<std::int64_t>(whole) + (m_random.Unit() < i.volatility - whole ? 1 : 0);
    const std::int64_t move = (m_random.Next() & 1 ? 1 : -1) * ticks * i.tick;
    i.price = std::max(i.tick, i.price + move);
    i.high = std::max(i.high, i.price);
    i.low = std::min(i.low, i.price);
    i.volume += Quantity();
    ++m_seconds;
}

std::int64_t Market::Quantity() {
    return 10 * (1 + static_cast<std::int64_t>(m_random.Below(100)));
}

int Market::Time() const {
    const std::int64_t open = m_scenario.openTime;
    std::int64_t seconds = open / 10000 * 3600 + open / 100 % 100 * 60 + open % 100 + m_seconds;
    seconds %= 24 * 3600;
    return static_cast<int>(seconds / 3600 * 10000 + seconds / 60 % 60 * 100 + seconds % 60);
}

} // namespace sim
