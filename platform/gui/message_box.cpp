#include "platform/gui/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

#include <cstdio>
#include <vector>

#include "platform/gui/window.h"

namespace plat {

namespace {

struct Button {
    QMessageBox::StandardButton qt;
    int answer;
};

std::vector<Button> ButtonsOf(unsigned style) {
    switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_ABORTRETRYIGNORE:
        return {{QMessageBox::Abort, IDABORT},
                {QMessageBox::Retry, IDRETRY},
                {QMessageBox::Ignore, IDIGNORE}};
    case MB_YESNOCANCEL:
        return {
            {QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_YESNO:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    case MB_RETRYCANCEL:
        return {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
    default:
        return {{QMessageBox::Ok, IDOK}};
    }
}

std::size_t DefaultIndex(unsigned style, std::size_t buttonCount) {
    const unsigned def = style & MB_DEFMASK;
    const std::size_t index = def == MB_DEFBUTTON2 ? 1 : def == MB_DEFBUTTON3 ? 2 : 0;
    return index < buttonCount ? index : 0;
}

QMessageBox::Icon IconOf(unsigned style) {
    switch (style & MB_ICONMASK) {
    case MB_ICONERROR:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONWARNING:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

bool HasDisplay() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return false;
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

int DefaultAnswer(unsigned style) {
    const std::vector<Button> buttons = ButtonsOf(style);
    return buttons[DefaultIndex(style, buttons.size())].answer;
}

std::string HeadlessMessageLine(std::wstring_view caption, std::wstring_view text) {
    std::wstring line(caption);
    if (!line.empty())
        line += L": ";
    line += text;
    for (wchar_t& c : line) {
        if (c == L'\r' || c == L'\n')
            c = L' ';
    }
    return QString::fromWCharArray(line.data(), qsizetype(line.size())).toStdString();
}

int MessageBox(Window* owner, std::wstring_view text, std::wstring_view caption, unsigned style) {
    if (!HasDisplay()) {
        std::fprintf(stderr, "%s\n", HeadlessMessageLine(caption, text).c_str());
        return DefaultAnswer(style);
    }
    const std::vector<Button> buttons = ButtonsOf(style);
    QMessageBox box(owner ? owner->NativeWidget() : nullptr);
    box.setIcon(IconOf(style));
    box.setWindowTitle(QString::fromWCharArray(caption.data(), qsizetype(caption.size())));
    box.setText(QString::fromWCharArray(text.data(), qsizetype(text.size())));
    QMessageBox::StandardButtons standard;
    for (const Button& button : buttons)
        standard |= button.qt;
    box.setStandardButtons(standard);
    box.setDefaultButton(buttons[DefaultIndex(style, buttons.size())].qt);
    const int clicked = box.exec();
    for (const Button& button : buttons) {
        if (clicked == button.qt)
            return button.answer;
    }
    // Closed without a button: Windows answers Cancel when there is one, else the default.
    for (const Button& button : buttons) {
        if (button.answer == IDCANCEL)
            return IDCANCEL;
    }
    return DefaultAnswer(style);
}

} // namespace plat
