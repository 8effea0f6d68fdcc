#pragma once
// What the running engine offers to the built-in functions: the Err object's state and a
// sink for the text MsgBox-like functions show.
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace vbs {

class Runtime {
public:
    struct ErrorState {
        int number = 0;
        std::wstring description;
        std::wstring source;
    };

    ErrorState& Err() { return m_err; }
    void ClearErr() { m_err = ErrorState{}; }

    // Without a sink the text is dropped, so a headless run never blocks.
    void SetOutput(std::function<void(std::wstring_view)> sink) { m_output = std::move(sink); }
    void Output(std::wstring_view text) const {
        if (m_output)
            m_output(text);
    }

private:
    ErrorState m_err;
    std::function<void(std::wstring_view)> m_output;
};

} // namespace vbs
