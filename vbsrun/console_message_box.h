#pragma once
// MsgBox on a console: nobody is there to press a button, so the prompt is printed and the
// box answers with its default button, the one Enter would press.

namespace orvo {

// The answer (vbOK, vbYes ...) of the default button of a MsgBox `buttons` code.
int DefaultButtonAnswer(int buttons);

} // namespace orvo
