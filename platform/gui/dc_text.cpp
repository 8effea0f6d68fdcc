// CDC: text. DrawText lays out lines (prefix characters, line breaks, word wrap, end
// ellipsis) and hands each line to DrawTextRun, which ExtTextOut uses too.
#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/gui/dc.h"
#include "platform/gui/qt_color.h"

namespace {

constexpr std::wstring_view kEllipsis = L"...";
constexpr std::size_t kNoUnderline = std::wstring_view::npos;

// Drops the prefix marks: "&x" underlines x, "&&" is a plain "&". Gives the index of the
// underlined character in the result, or kNoUnderline.
std::wstring WithoutPrefixes(std::wstring_view text, std::size_t& underlined) {
    std::wstring out;
    out.reserve(text.size());
    underlined = kNoUnderline;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != L'&')
                underlined = out.size();
        } else if (text[i] == L'&') {
            continue;
        }
        out.push_back(text[i]);
    }
    return out;
}

// Text positions come from markup rectangles; they are worked out wide and kept in range.
int Position(long long v) {
    return static_cast<int>(std::clamp<long long>(v, -(1 << 24), 1 << 24));
}

bool IsBreak(wchar_t c) {
    return c == L'\r' || c == L'\n';
}

std::wstring_view TrimEnd(std::wstring_view line) {
    while (!line.empty() && line.back() == L' ')
        line.remove_suffix(1);
    return line;
}

} // namespace

const QString& CDC::ToQString(std::wstring_view text) const {
    qsizetype units = 0;
    for (wchar_t c : text)
        units += static_cast<std::uint32_t>(c) > 0xFFFF ? 2 : 1;
    // resize keeps the buffer's capacity: no allocation once it has grown.
    m_text.resize(units);
    QChar* out = m_text.data();
    for (wchar_t wide : text) {
        auto c = static_cast<std::uint32_t>(wide);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            c = 0xFFFD;
        if (c > 0xFFFF) {
            c -= 0x10000;
            *out++ = QChar(static_cast<char16_t>(0xD800 + (c >> 10)));
            *out++ = QChar(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            *out++ = QChar(static_cast<char16_t>(c));
        }
    }
    return m_text;
}

int CDC::TextWidth(std::wstring_view text) const {
    if (text.empty())
        return 0;
    return m_state.font.TextWidth(ToQString(text));
}

CSize CDC::GetTextExtent(std::wstring_view text) const {
    return {TextWidth(text), m_state.font.Metrics().height()};
}

void CDC::SetPainterColour(COLORREF colour) {
    if (colour == m_painterColour)
        return;
    m_painter.setPen(plat::ToQColor(colour));
    m_painterColour = colour;
}

void CDC::SetPainterFont() {
    if (m_painterFontValue == m_state.font.Font())
        return;
    m_painterFontValue = m_state.font.Font();
    m_painter.setFont(m_painterFontValue);
}

void CDC::ClipTo(const CRect& rect) {
    m_painter.setClipRegion(VisibleRegion().intersected(DeviceRegionOf(rect)));
}

void CDC::DrawTextRun(std::wstring_view text, int x, int top) {
    if (text.empty() || !Drawable())
        return;
    const QFontMetrics& metrics = m_state.font.Metrics();
    const QString& qtext = ToQString(text);
    if (m_state.backMode == OPAQUE) {
        const int width = m_state.font.TextWidth(qtext);
        FillLogical(
            CRect(x, top, Position(1LL * x + width), Position(1LL * top + metrics.height())),
            m_state.backColour);
    }
    SetPainterFont();
    SetPainterColour(m_state.textColour);
    const int baseline = top + metrics.ascent();
    if (m_state.transform.IsTranslation() && m_state.font.Escapement() == 0) {
        // A window's paint shifts every drawing: the point is moved, not the painter.
        m_state.font.DrawText(m_painter, Map(x, baseline), qtext);
        return;
    }
    m_painter.setWorldTransform(QtTransform());
    m_painter.translate(x, baseline);
    m_painter.rotate(-m_state.font.Escapement() / 10.0);
    m_painter.drawText(QPoint(0, 0), qtext);
    m_painter.resetTransform();
}

void CDC::DrawPrefixUnderline(std::wstring_view line, std::size_t index, int x, int top) {
    if (index >= line.size())
        return;
    const QFontMetrics& metrics = m_state.font.Metrics();
    const int from = x + TextWidth(line.substr(0, index));
    const int to = x + TextWidth(line.substr(0, index + 1));
    const int y = top + metrics.ascent() + 1;
    FillLogical(CRect(from, y, to, y + 1), m_state.textColour);
}

bool CDC::ExtTextOut(int x, int y, unsigned options, const CRect* rect, std::wstring_view text) {
    if (!Drawable())
        return false;
    if ((options & ETO_OPAQUE) != 0 && rect != nullptr)
        FillLogical(*rect, m_state.backColour);
    if (text.empty())
        return true;
    const QFontMetrics& metrics = m_state.font.Metrics();
    const int width = TextWidth(text);
    long long left = Position(x);
    if ((m_state.textAlign & TA_CENTER) == TA_CENTER)
        left -= width / 2;
    else if ((m_state.textAlign & TA_RIGHT) != 0)
        left -= width;
    long long top = Position(y);
    if ((m_state.textAlign & TA_BASELINE) == TA_BASELINE)
        top -= metrics.ascent();
    else if ((m_state.textAlign & TA_BOTTOM) != 0)
        top -= metrics.height();

    // Clip only text that sticks out: setting a clip costs more than the text.
    const CRect box(
        Position(left), Position(top), Position(left + width), Position(top + metrics.height()));
    const bool clip = (options & ETO_CLIPPED) != 0 && rect != nullptr &&
                      (box.left < rect->left || box.top < rect->top || box.right > rect->right ||
                       box.bottom > rect->bottom);
    if (clip)
        ClipTo(*rect);
    DrawTextRun(text, box.left, box.top);
    if (clip)
        ApplyClip();
    return true;
}

int CDC::DrawText(const wchar_t* text, int count, CRect* rect, unsigned format) {
    if (text == nullptr || rect == nullptr)
        return 0;
    const std::size_t length = count < 0 ? std::wcslen(text) : static_cast<std::size_t>(count);
    return DrawText(std::wstring_view(text, length), *rect, format);
}

int CDC::DrawText(std::wstring_view text, CRect& rect, unsigned format) {
    std::wstring withoutPrefixes;
    std::size_t underlined = kNoUnderline;
    if ((format & DT_NOPREFIX) == 0 && text.find(L'&') != std::wstring_view::npos) {
        withoutPrefixes = WithoutPrefixes(text, underlined);
        text = withoutPrefixes;
    }
    const int available = std::max(0, rect.Width());
    const bool singleLine = (format & DT_SINGLELINE) != 0;
    // The common case, a short label or number on one line, allocates nothing.
    if (singleLine && std::none_of(text.begin(), text.end(), IsBreak) &&
        ((format & DT_END_ELLIPSIS) == 0 || TextWidth(text) <= available))
        return DrawSingleLine(text, rect, format, underlined);
    const int lineHeight = m_state.font.Metrics().height();

    // Lines, as views into `text` or, when shortened with an ellipsis, into `shortened`.
    std::vector<std::wstring_view> lines;
    std::vector<std::wstring> shortened;
    if (singleLine) {
        lines.push_back(text);
    } else {
        std::size_t start = 0;
        while (true) {
            std::size_t end = start;
            while (end < text.size() && !IsBreak(text[end]))
                ++end;
            std::wstring_view paragraph = text.substr(start, end - start);
            if ((format & DT_WORDBREAK) == 0) {
                lines.push_back(paragraph);
            } else {
                // Greedy: as many words as fit; a word wider than the line stands alone.
                do {
                    std::size_t taken = 0;
                    std::size_t scan = 0;
                    while (scan < paragraph.size()) {
                        std::size_t next = scan;
                        while (next < paragraph.size() && paragraph[next] == L' ')
                            ++next;
                        while (next < paragraph.size() && paragraph[next] != L' ')
                            ++next;
                        if (taken != 0 && TextWidth(TrimEnd(paragraph.substr(0, next))) > available)
                            break;
                        taken = scan = next;
                    }
                    lines.push_back(TrimEnd(paragraph.substr(0, taken)));
                    paragraph.remove_prefix(taken);
                    while (!paragraph.empty() && paragraph.front() == L' ')
                        paragraph.remove_prefix(1);
                } while (!paragraph.empty());
            }
            if (end >= text.size())
                break;
            // "\r\n" is one break.
            start = end +
                    (text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n' ? 2 : 1);
        }
    }
    if (singleLine) {
        // Line breaks are not drawn on a single line.
        if (std::any_of(text.begin(), text.end(), IsBreak)) {
            std::wstring joined(text);
            std::erase_if(joined, IsBreak);
            shortened.push_back(std::move(joined));
            lines[0] = shortened.back();
        }
    }
    if ((format & DT_END_ELLIPSIS) != 0) {
        shortened.reserve(shortened.size() + lines.size());
        for (auto& line : lines) {
            if (TextWidth(line) <= available)
                continue;
            std::wstring candidate;
            std::size_t keep = line.size();
            while (true) {
                candidate.assign(line.substr(0, keep));
                candidate += kEllipsis;
                if (keep == 0 || TextWidth(candidate) <= available)
                    break;
                --keep;
            }
            shortened.push_back(std::move(candidate));
            line = shortened.back();
            underlined = kNoUnderline;
        }
    }

    if (singleLine)
        return DrawSingleLine(lines[0], rect, format, underlined);

    int widest = 0;
    for (auto line : lines)
        widest = std::max(widest, TextWidth(line));
    const int total = lineHeight * static_cast<int>(lines.size());
    if ((format & DT_CALCRECT) != 0) {
        rect.right = Position(1LL * rect.left + widest);
        rect.bottom = Position(1LL * rect.top + total);
        return total;
    }
    const bool clip = (format & DT_NOCLIP) == 0 && (widest > rect.Width() || total > rect.Height());
    if (clip && Drawable())
        ClipTo(rect);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int width = TextWidth(lines[i]);
        long long x = rect.left;
        if ((format & DT_CENTER) != 0)
            x += (static_cast<long long>(rect.right) - rect.left - width) / 2;
        else if ((format & DT_RIGHT) != 0)
            x = static_cast<long long>(rect.right) - width;
        DrawTextRun(lines[i],
                    Position(x),
                    Position(rect.top + 1LL * lineHeight * static_cast<long long>(i)));
    }
    if (clip && Drawable())
        ApplyClip();
    return total;
}

int CDC::DrawSingleLine(std::wstring_view line,
                        CRect& rect,
                        unsigned format,
                        std::size_t underlined) {
    const int lineHeight = m_state.font.Metrics().height();
    const int width = TextWidth(line);
    if ((format & DT_CALCRECT) != 0) {
        rect.right = Position(1LL * rect.left + width);
        rect.bottom = Position(1LL * rect.top + lineHeight);
        return lineHeight;
    }
    long long wideTop = rect.top;
    if ((format & DT_VCENTER) != 0)
        wideTop += (static_cast<long long>(rect.bottom) - rect.top - lineHeight) / 2;
    else if ((format & DT_BOTTOM) != 0)
        wideTop = static_cast<long long>(rect.bottom) - lineHeight;
    long long wideX = rect.left;
    if ((format & DT_CENTER) != 0)
        wideX += (static_cast<long long>(rect.right) - rect.left - width) / 2;
    else if ((format & DT_RIGHT) != 0)
        wideX = static_cast<long long>(rect.right) - width;
    const int top = Position(wideTop);
    const int x = Position(wideX);
    const bool clip = (format & DT_NOCLIP) == 0 && Drawable() &&
                      (wideX < rect.left || wideX + width > rect.right || wideTop < rect.top ||
                       wideTop + lineHeight > rect.bottom);
    if (clip)
        ClipTo(rect);
    DrawTextRun(line, x, top);
    if (underlined != kNoUnderline)
        DrawPrefixUnderline(line, underlined, x, top);
    if (clip)
        ApplyClip();
    if ((format & (DT_VCENTER | DT_BOTTOM)) != 0)
        return Position(wideTop + lineHeight - rect.top);
    return lineHeight;
}
