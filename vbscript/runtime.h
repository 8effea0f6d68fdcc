#pragma once
// What the running engine offers to the built-in functions: the Err object's state, a sink
// for text, the message box MsgBox shows, the locale SetLocale chose and where the objects
// they make are kept.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace vbs {

class InstanceHeap;

class Runtime {
public:
    struct ErrorState {
        int number = 0;
        std::wstring description;
        std::wstring source;
        std::wstring helpFile;
        int helpContext = 0;
    };

    ErrorState& Err() { return *m_err; }
    void ClearErr() { *m_err = ErrorState{}; }
    // Shared with the Err objects scripts hold, which may outlive the engine.
    const std::shared_ptr<ErrorState>& SharedErr() const { return m_err; }

    // Without a sink the text is dropped, so a headless run never blocks.
    void SetOutput(std::function<void(std::wstring_view)> sink) { m_output = std::move(sink); }
    void Output(std::wstring_view text) const {
        if (m_output)
            m_output(text);
    }

    // MsgBox's box: text, the buttons-and-icon code, title; answers the button pressed
    // (vbOK = 1 ...). Without one, MsgBox writes the text to the output sink and answers 1.
    using MessageBox = std::function<int(std::wstring_view, int, std::wstring_view)>;
    void SetMessageBox(MessageBox box) { m_messageBox = std::move(box); }
    int ShowMessage(std::wstring_view text, int buttons, std::wstring_view title) const {
        if (m_messageBox)
            return m_messageBox(text, buttons, title);
        Output(text);
        return 1;
    }

    // Rnd's state: the language's 24-bit generator, which each engine starts at &h50000, so
    // a script that never calls Randomize sees 0.7055475, 0.533424, ... on every run.
    static constexpr std::uint32_t kFirstRandomSeed = 0x50000;
    std::uint32_t& RandomSeed() { return m_randomSeed; }

    // The LCID GetLocale answers. Only reported: conversions keep the invariant rules.
    static constexpr std::int32_t kDefaultLocale = 1033; // en-us
    std::int32_t Locale() const { return m_locale; }
    void SetLocale(std::int32_t lcid) { m_locale = lcid; }

    // Where the objects the scripts make are kept for the engine's cycle collector; null
    // without an engine.
    InstanceHeap* Objects() const { return m_objects; }
    void SetObjects(InstanceHeap* heap) { m_objects = heap; }

private:
    InstanceHeap* m_objects = nullptr;
    std::shared_ptr<ErrorState> m_err = std::make_shared<ErrorState>();
    std::int32_t m_locale = kDefaultLocale;
    std::uint32_t m_randomSeed = kFirstRandomSeed;
    std::function<void(std::wstring_view)> m_output;
    MessageBox m_messageBox;
};

} // namespace vbs
