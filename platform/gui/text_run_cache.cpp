#include "platform/gui/text_run_cache.h"

#include <QGlyphRun>

#include <cmath>

namespace {

bool IsNumberCharacter(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return true;
    for (char16_t sign : u" +-.,:%/()#*")
        if (sign != 0 && c == sign)
            return true;
    return false;
}

} // namespace

void TextRunCache::BuildTable(const QFont& font) {
    m_tableBuilt = true;
    // Underlines, strike-outs and unsmoothed glyphs are left to the shaper.
    if (font.underline() || font.strikeOut() || font.styleStrategy() & QFont::NoAntialias)
        return;
    m_raw = QRawFont::fromFont(font);
    if (!m_raw.isValid())
        return;
    QString characters;
    for (char16_t c = 0x20; c < 0x7F; ++c)
        if (IsNumberCharacter(c))
            characters.append(QChar(c));
    const QList<quint32> indexes = m_raw.glyphIndexesForString(characters);
    if (indexes.size() != characters.size())
        return;
    const QList<QPointF> advances = m_raw.advancesForGlyphIndexes(indexes);
    for (qsizetype i = 0; i < characters.size(); ++i) {
        if (indexes[i] == 0)
            return; // a missing glyph: the shaper would take it from another font
        Glyph& glyph = m_table[characters[i].unicode()];
        glyph.index = indexes[i];
        glyph.advance = std::llround(advances[i].x() * 64);
    }
    m_tableUsable = true;
}

bool TextRunCache::Simple(const QString& text, const QFont& font) {
    if (!m_tableBuilt)
        BuildTable(font);
    if (!m_tableUsable)
        return false;
    for (QChar c : text)
        if (c.unicode() >= m_table.size() || m_table[c.unicode()].index == 0)
            return false;
    return true;
}

int TextRunCache::Width(const QString& text, const QFont& font, const QFontMetrics& metrics) {
    if (Simple(text, font)) {
        std::int64_t width = 0;
        for (QChar c : text)
            width += m_table[c.unicode()].advance;
        return static_cast<int>((width + 32) >> 6); // rounded as the shaper rounds
    }
    auto found = m_widths.constFind(text);
    if (found != m_widths.constEnd())
        return *found;
    if (m_widths.size() >= kMaxWidths)
        m_widths.clear();
    const int width = metrics.horizontalAdvance(text);
    m_widths.insert(text, width);
    return width;
}

void TextRunCache::Draw(QPainter& painter,
                        const QPoint& baseline,
                        const QString& text,
                        const QFont& font) {
    if (!Simple(text, font)) {
        painter.drawText(baseline, text);
        return;
    }
    m_indexes.resize(text.size());
    m_positions.resize(text.size());
    std::int64_t x = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const Glyph& glyph = m_table[text[i].unicode()];
        m_indexes[i] = glyph.index;
        m_positions[i] = QPointF(static_cast<double>(x) / 64, 0);
        x += glyph.advance;
    }
    QGlyphRun run;
    run.setRawFont(m_raw);
    run.setGlyphIndexes(m_indexes);
    run.setPositions(m_positions);
    painter.drawGlyphRun(QPointF(baseline), run);
}
