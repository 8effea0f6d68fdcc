#pragma once
// Where a picture of a window goes when the user asks for it: a file the user picks, or the
// printer. Without a display nobody is asked and nothing is written or printed.
#include <QImage>

#include <functional>
#include <string>
#include <string_view>

namespace plat {

class Window;

// Answers the file name the user chose, empty when cancelled. `filter` is written as
// "Bitmap Files (*.bmp)|*.bmp|All Files (*.*)|*.*||".
using SaveFileAsker =
    std::function<std::wstring(std::wstring_view defaultExtension, std::wstring_view filter)>;
// Replaces how the user is asked (tests answer at once); the previous asker comes back.
SaveFileAsker SetSaveFileAsker(SaveFileAsker asker);

// The file the user picks to save into, with `defaultExtension` added when the name has none;
// empty when cancelled or without a display.
std::wstring
AskSaveFileName(Window* owner, std::wstring_view defaultExtension, std::wstring_view filter);

// "Bitmap Files (*.bmp)|*.bmp|All Files (*.*)|*.*||" as Qt writes it:
// "Bitmap Files (*.bmp);;All Files (*.*)".
std::wstring QtFileFilter(std::wstring_view filter);

// Saves `image` in the format the file's extension names (BMP, PNG ...); false on failure.
bool SaveImage(const QImage& image, const std::wstring& path);

// Prints `image` fitted to one page after the user confirmed the print dialog; false when
// cancelled, without a display or on failure.
bool PrintImage(Window* owner, const QImage& image);

} // namespace plat
