#pragma once
// InputPlayer: runs the steps of an input script against the live screens, as a user's mouse
// and keyboard would, letting the loop run after each step.
#include <functional>
#include <string>
#include <vector>

#include "shell/input_script.h"

class XDO;

namespace orvo {

class InputPlayer {
public:
    // Finds the object an address names; null when none.
    using Finder = std::function<XDO*(const std::wstring& address)>;
    // Whether a message containing the text has been shown.
    using MessageCheck = std::function<bool(const std::wstring& text)>;

    InputPlayer(Finder finder, MessageCheck messages)
        : m_find(std::move(finder)), m_messages(std::move(messages)) {}

    // False with a message "line N: ..." at the first step that cannot be carried out.
    bool Run(const std::vector<InputStep>& steps, std::wstring& error);

private:
    bool RunStep(const InputStep& step, std::wstring& reason);

    Finder m_find;
    MessageCheck m_messages;
};

} // namespace orvo
