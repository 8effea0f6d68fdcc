#include "platform/gui/image_output.h"

#include <QFileDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "platform/gui/message_box.h"
#include "platform/gui/window.h"

namespace plat {

namespace {

SaveFileAsker& Asker() {
    static SaveFileAsker asker;
    return asker;
}

QString Q(std::wstring_view text) {
    return QString::fromWCharArray(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

SaveFileAsker SetSaveFileAsker(SaveFileAsker asker) {
    SaveFileAsker previous = std::move(Asker());
    Asker() = std::move(asker);
    return previous;
}

std::wstring QtFileFilter(std::wstring_view filter) {
    std::wstring result;
    // Descriptions and patterns alternate; the patterns are in the descriptions already.
    bool description = true;
    std::size_t start = 0;
    while (start < filter.size()) {
        const std::size_t bar = filter.find(L'|', start);
        const std::wstring_view part = filter.substr(
            start, bar == std::wstring_view::npos ? std::wstring_view::npos : bar - start);
        if (description && !part.empty()) {
            if (!result.empty())
                result += L";;";
            result += part;
        }
        description = !description;
        if (bar == std::wstring_view::npos)
            break;
        start = bar + 1;
    }
    return result;
}

std::wstring
AskSaveFileName(Window* owner, std::wstring_view defaultExtension, std::wstring_view filter) {
    std::wstring chosen;
    if (Asker())
        chosen = Asker()(defaultExtension, filter);
    else if (HasDisplay())
        chosen = QFileDialog::getSaveFileName(owner ? owner->NativeWidget() : nullptr,
                                              QString(),
                                              QString(),
                                              Q(QtFileFilter(filter)))
                     .toStdWString();
    if (chosen.empty() || defaultExtension.empty())
        return chosen;
    const std::size_t slash = chosen.find_last_of(L'/');
    const std::size_t dot = chosen.find_last_of(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) {
        if (defaultExtension.front() != L'.')
            chosen += L'.';
        chosen += defaultExtension;
    }
    return chosen;
}

bool SaveImage(const QImage& image, const std::wstring& path) {
    return !image.isNull() && !path.empty() && image.save(Q(path));
}

bool PrintImage(Window* owner, const QImage& image) {
    if (image.isNull() || !HasDisplay())
        return false;
    QPrinter printer;
    QPrintDialog dialog(&printer, owner ? owner->NativeWidget() : nullptr);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRect page = painter.viewport();
    const QSize fitted = image.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.drawImage(QRect(page.topLeft(), fitted), image);
    return painter.end();
}

} // namespace plat
