#include "platform/base/codepage.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <iconv.h>
#include <map>
#include <mutex>

namespace plat {

namespace {

constexpr const char* kDefaultCodePage = "CP949";
// glibc's name for wchar_t in host byte order (32-bit here).
constexpr const char* kWide = "WCHAR_T";
constexpr wchar_t kReplacement = 0xFFFD;
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

bool IsAscii(std::string_view bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

bool IsAscii(std::wstring_view wide) {
    for (const wchar_t c : wide) {
        if (c < 0 || c >= 0x80) {
            return false;
        }
    }
    return true;
}

// One iconv descriptor per direction and encoding, opened on first use. iconv descriptors
// carry shift state, so every use goes through the mutex.
struct Converter {
    iconv_t toWide = kNoConverter;
    iconv_t fromWide = kNoConverter;
    // Pure ASCII input maps to itself, so conversions may skip iconv for it.
    bool asciiCompatible = false;
};

class ConverterCache {
public:
    std::mutex& Mutex() { return m_mutex; }

    // Null when iconv does not know the encoding. Caller holds the mutex.
    Converter* Get(const std::string& encoding) {
        if (auto it = m_converters.find(encoding); it != m_converters.end()) {
            return &it->second;
        }
        Converter c;
        c.toWide = iconv_open(kWide, encoding.c_str());
        c.fromWide = iconv_open(encoding.c_str(), kWide);
        if (c.toWide == kNoConverter || c.fromWide == kNoConverter) {
            Close(c);
            return nullptr;
        }
        c.asciiCompatible = MapsAsciiToItself(c.toWide);
        if (m_converters.size() >= kMaxEntries) {
            for (auto& [name, old] : m_converters) {
                Close(old);
            }
            m_converters.clear();
        }
        return &m_converters.emplace(encoding, c).first->second;
    }

private:
    static constexpr std::size_t kMaxEntries = 8;

    static void Close(Converter& c) {
        if (c.toWide != kNoConverter) {
            iconv_close(c.toWide);
        }
        if (c.fromWide != kNoConverter) {
            iconv_close(c.fromWide);
        }
        c.toWide = c.fromWide = kNoConverter;
    }

    static bool MapsAsciiToItself(iconv_t toWide) {
        char ascii[127];
        for (int i = 0; i < 127; ++i) {
            ascii[i] = static_cast<char>(i + 1);
        }
        wchar_t wide[128] = {};
        char* in = ascii;
        std::size_t inLeft = sizeof ascii;
        char* out = reinterpret_cast<char*>(wide);
        std::size_t outLeft = sizeof wide;
        iconv(toWide, nullptr, nullptr, nullptr, nullptr);
        const std::size_t rc = iconv(toWide, &in, &inLeft, &out, &outLeft);
        iconv(toWide, nullptr, nullptr, nullptr, nullptr);
        if (rc == static_cast<std::size_t>(-1) || inLeft != 0 ||
            outLeft != sizeof wide - 127 * sizeof(wchar_t)) {
            return false;
        }
        for (int i = 0; i < 127; ++i) {
            if (wide[i] != static_cast<wchar_t>(i + 1)) {
                return false;
            }
        }
        return true;
    }

    std::mutex m_mutex;
    std::map<std::string, Converter> m_converters;
};

// Never destroyed: text may still be converted by other objects' destructors at exit.
ConverterCache& Cache() {
    static auto* cache = new ConverterCache;
    return *cache;
}

// The process code page and whether pure ASCII passes through it unchanged, so FromAnsi and
// ToAnsi can answer ASCII text without the lock.
struct CodePageState {
    std::string name;
    bool asciiCompatible = false;
};

// Fills `state` when iconv knows `name`.
bool Describe(const std::string& name, CodePageState& state) {
    if (name.empty()) {
        return false;
    }
    std::lock_guard lock(Cache().Mutex());
    const Converter* c = Cache().Get(name);
    if (c == nullptr) {
        return false;
    }
    state.name = name;
    state.asciiCompatible = c->asciiCompatible;
    return true;
}

CodePageState& ProcessState() {
    static CodePageState state = [] {
        CodePageState s;
        const char* env = std::getenv("ORVO_CODEPAGE");
        if (env == nullptr || !Describe(env, s)) {
            Describe(kDefaultCodePage, s);
            s.name = kDefaultCodePage;
        }
        return s;
    }();
    return state;
}

std::wstring Widen(std::string_view ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

std::string Narrow(std::wstring_view ascii) {
    std::string out(ascii.size(), '\0');
    for (std::size_t i = 0; i < ascii.size(); ++i) {
        out[i] = static_cast<char>(ascii[i]);
    }
    return out;
}

// Whether decoding cannot start at `in`: its first character is undecodable or cut short.
// Leaves the converter in its initial state.
bool StuckAt(iconv_t cd, const char* in, std::size_t inLeft) {
    char* probe = const_cast<char*>(in);
    std::size_t probeLeft = std::min<std::size_t>(inLeft, 8); // longer than any character
    wchar_t scratch[8];
    char* out = reinterpret_cast<char*>(scratch);
    std::size_t outLeft = sizeof scratch;
    iconv(cd, &probe, &probeLeft, &out, &outLeft);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    return probe == in;
}

std::wstring Decode(iconv_t cd, std::string_view bytes) {
    std::wstring out(bytes.size() + 8, L'\0');
    std::size_t produced = 0;
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0) {
        char* outPtr = reinterpret_cast<char*>(out.data() + produced);
        std::size_t outLeft = (out.size() - produced) * sizeof(wchar_t);
        const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        produced = out.size() - outLeft / sizeof(wchar_t);
        if (rc != static_cast<std::size_t>(-1)) {
            break;
        }
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        // EILSEQ or a truncated sequence at the end: one replacement marks it. Converters
        // mostly stop at the bad bytes, and one is given up; glibc's CP949 steps over an
        // unmapped pair (A2 E8) itself, and what follows it is kept.
        if (produced == out.size()) {
            out.resize(out.size() * 2);
        }
        out[produced++] = kReplacement;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (inLeft > 0 && StuckAt(cd, in, inLeft)) {
            ++in;
            --inLeft;
        }
    }
    out.resize(produced);
    return out;
}

// Appends the bytes iconv produces for `wide`; false when a character cannot be converted
// (after converting everything before it).
class Encoder {
public:
    explicit Encoder(iconv_t cd) : m_cd(cd) { iconv(m_cd, nullptr, nullptr, nullptr, nullptr); }

    std::string Run(std::wstring_view wide) {
        m_out.assign(wide.size() + 16, '\0');
        const wchar_t* start = wide.data();
        std::size_t left = wide.size();
        while (left > 0) {
            if (Convert(start, left)) {
                break;
            }
            // Unencodable: return to the initial shift state so the '?' is plain.
            Flush();
            const wchar_t question = L'?';
            const wchar_t* q = &question;
            std::size_t qLeft = 1;
            if (!Convert(q, qLeft)) {
                Flush();
                Append('?');
            }
            ++start;
            --left;
        }
        Flush();
        m_out.resize(m_produced);
        return std::move(m_out);
    }

private:
    bool Convert(const wchar_t*& start, std::size_t& left) {
        char* in = reinterpret_cast<char*>(const_cast<wchar_t*>(start));
        std::size_t inLeft = left * sizeof(wchar_t);
        for (;;) {
            char* out = m_out.data() + m_produced;
            std::size_t outLeft = m_out.size() - m_produced;
            const std::size_t rc = iconv(m_cd, &in, &inLeft, &out, &outLeft);
            m_produced = m_out.size() - outLeft;
            if (rc == static_cast<std::size_t>(-1) && errno == E2BIG) {
                m_out.resize(m_out.size() * 2);
                continue;
            }
            const std::size_t done = left - inLeft / sizeof(wchar_t);
            start += done;
            left -= done;
            return rc != static_cast<std::size_t>(-1);
        }
    }

    void Flush() {
        for (;;) {
            char* out = m_out.data() + m_produced;
            std::size_t outLeft = m_out.size() - m_produced;
            const std::size_t rc = iconv(m_cd, nullptr, nullptr, &out, &outLeft);
            m_produced = m_out.size() - outLeft;
            if (rc == static_cast<std::size_t>(-1) && errno == E2BIG) {
                m_out.resize(m_out.size() * 2);
                continue;
            }
            return;
        }
    }

    void Append(char c) {
        if (m_produced == m_out.size()) {
            m_out.resize(m_out.size() * 2);
        }
        m_out[m_produced++] = c;
    }

    iconv_t m_cd;
    std::string m_out;
    std::size_t m_produced = 0;
};

// Without a converter only ASCII survives; everything else becomes the replacement.
std::wstring DecodeWithoutConverter(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += b < 0x80 ? static_cast<wchar_t>(b) : kReplacement;
    }
    return out;
}

std::string EncodeWithoutConverter(std::wstring_view wide) {
    std::string out;
    out.reserve(wide.size());
    for (const wchar_t c : wide) {
        out += (c >= 0 && c < 0x80) ? static_cast<char>(c) : '?';
    }
    return out;
}

} // namespace

const std::string& ProcessCodePage() {
    return ProcessState().name;
}

bool SetProcessCodePage(const std::string& name) {
    CodePageState state;
    if (!Describe(name, state)) {
        return false;
    }
    ProcessState() = std::move(state);
    return true;
}

std::wstring DecodeBytes(std::string_view bytes, const std::string& encoding) {
    std::lock_guard lock(Cache().Mutex());
    Converter* c = Cache().Get(encoding);
    if (c == nullptr) {
        return DecodeWithoutConverter(bytes);
    }
    if (c->asciiCompatible && IsAscii(bytes)) {
        return Widen(bytes);
    }
    return Decode(c->toWide, bytes);
}

std::string EncodeText(std::wstring_view wide, const std::string& encoding) {
    std::lock_guard lock(Cache().Mutex());
    Converter* c = Cache().Get(encoding);
    if (c == nullptr) {
        return EncodeWithoutConverter(wide);
    }
    if (c->asciiCompatible && IsAscii(wide)) {
        return Narrow(wide);
    }
    return Encoder(c->fromWide).Run(wide);
}

std::wstring FromAnsi(std::string_view bytes) {
    const CodePageState& state = ProcessState();
    // Most record fields are plain ASCII: no lock, no iconv.
    if (state.asciiCompatible && IsAscii(bytes)) {
        return Widen(bytes);
    }
    return DecodeBytes(bytes, state.name);
}

void AssignFromAnsi(std::string_view bytes, std::wstring& out) {
    const CodePageState& state = ProcessState();
    if (state.asciiCompatible && IsAscii(bytes)) {
        out.resize(bytes.size());
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            out[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
        }
        return;
    }
    out = DecodeBytes(bytes, state.name);
}

std::string ToAnsi(std::wstring_view wide) {
    const CodePageState& state = ProcessState();
    if (state.asciiCompatible && IsAscii(wide)) {
        return Narrow(wide);
    }
    return EncodeText(wide, state.name);
}

} // namespace plat
