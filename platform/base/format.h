#pragma once
// printf-style formatting that never depends on the process locale ('.' is always the
// decimal point) and is type safe: an argument of the wrong kind for its conversion is
// converted sensibly, a missing argument prints nothing, nothing is undefined.
//
// Conversions: d i u x X o c s S f F e E g G p %; flags - + space # 0; width and precision
// (also '*', both capped at 4096); length prefixes h l ll I32 I64 z are accepted and the
// argument's own type decides, except that a negative integer under u x X o shows its
// 32-bit pattern (as printf reads an int there) unless ll, I64 or j asks for 64 bits.
// %s takes wide text, %S and %hs narrow text of the process code page (a wide argument is
// taken as is either way). %p writes 16 upper-case hex digits as on 64-bit Windows; NaN
// prints as "nan" and infinity as "inf" (upper case under F E G). An unknown conversion is
// copied to the output as written.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace plat {

class FormatArg {
public:
    enum class Kind { Signed, Unsigned, Double, WideText, NarrowText, Pointer };

    template <class T>
    requires(std::is_integral_v<T>&& std::is_signed_v<T> && !std::is_same_v<T, wchar_t> &&
             !std::is_same_v<T, char> && !std::is_same_v<T, bool>) FormatArg(T v)
        : m_kind(Kind::Signed), m_signed(v) {}
    template <class T>
    requires(std::is_integral_v<T>&& std::is_unsigned_v<T> && !std::is_same_v<T, bool>)
        FormatArg(T v)
        : m_kind(Kind::Unsigned), m_unsigned(v) {}
    FormatArg(bool v) : m_kind(Kind::Signed), m_signed(v ? 1 : 0) {}
    FormatArg(char v) : m_kind(Kind::Signed), m_signed(static_cast<unsigned char>(v)) {}
    FormatArg(wchar_t v) : m_kind(Kind::Unsigned), m_unsigned(static_cast<std::uint32_t>(v)) {}
    FormatArg(double v) : m_kind(Kind::Double), m_double(v) {}
    FormatArg(float v) : m_kind(Kind::Double), m_double(v) {}
    FormatArg(const wchar_t* v) : m_kind(Kind::WideText), m_wide(v ? v : L"") {}
    FormatArg(const std::wstring& v) : m_kind(Kind::WideText), m_wide(v) {}
    FormatArg(std::wstring_view v) : m_kind(Kind::WideText), m_wide(v) {}
    FormatArg(const char* v) : m_kind(Kind::NarrowText), m_narrow(v ? v : "") {}
    FormatArg(const std::string& v) : m_kind(Kind::NarrowText), m_narrow(v) {}
    FormatArg(const void* v)
        : m_kind(Kind::Pointer), m_unsigned(reinterpret_cast<std::uintptr_t>(v)) {}

    Kind kind() const { return m_kind; }
    std::int64_t AsSigned() const;
    std::uint64_t AsUnsigned() const;
    double AsDouble() const;
    std::wstring_view Wide() const { return m_wide; }
    std::string_view Narrow() const { return m_narrow; }

private:
    Kind m_kind;
    std::int64_t m_signed = 0;
    std::uint64_t m_unsigned = 0;
    double m_double = 0;
    std::wstring_view m_wide;
    std::string_view m_narrow;
};

std::wstring FormatV(std::wstring_view format, std::span<const FormatArg> args);

template <class... A> std::wstring Format(std::wstring_view format, const A&... args) {
    if constexpr (sizeof...(A) == 0) {
        return FormatV(format, {});
    } else {
        const FormatArg list[] = {FormatArg(args)...};
        return FormatV(format, list);
    }
}

// The fixed forms the system writes most: "%d", "%u", "%I64d", "%f" (six decimals).
std::wstring FormatInt(int value);
std::wstring FormatUInt(unsigned value);
std::wstring FormatInt64(std::int64_t value);
std::wstring FormatDouble(double value, int decimals = 6);

} // namespace plat
