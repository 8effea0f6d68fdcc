#pragma once
// TextRunCache: how one font measures and draws single lines, cheaply. Screens paint numbers
// frame after frame; shaping each one for its width and again to draw it costs more than
// drawing it.
// - Digits and the signs numbers are written with (" +-.,:%/()#*") need no shaping: their
//   glyphs and advances come from a table made once, and a line of them is drawn as a glyph
//   run, to the same pixels and width as shaped text (kerning is off in every font made
//   here, and these characters form no ligatures).
// - Other lines are shaped; their widths are kept (up to kMaxWidths texts, then the cache
//   starts again empty).
// A font and its copies share one cache.
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QList>
#include <QPainter>
#include <QPointF>
#include <QRawFont>
#include <QString>

#include <array>
#include <cstdint>

class TextRunCache {
public:
    int Width(const QString& text, const QFont& font, const QFontMetrics& metrics);
    // Draws `text` with its baseline starting at `baseline`, in the painter's pen.
    void Draw(QPainter& painter, const QPoint& baseline, const QString& text, const QFont& font);

    static constexpr qsizetype kMaxWidths = 8192;

private:
    struct Glyph {
        quint32 index = 0;
        std::int64_t advance = 0; // in 1/64 pixels, as the shaper counts
    };
    // True when every character of `text` is in the table.
    bool Simple(const QString& text, const QFont& font);
    void BuildTable(const QFont& font);

    bool m_tableBuilt = false;
    bool m_tableUsable = false;
    QRawFont m_raw;
    std::array<Glyph, 128> m_table{};
    QHash<QString, int> m_widths;
    QList<quint32> m_indexes;
    QList<QPointF> m_positions;
};
