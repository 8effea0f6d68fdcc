#pragma once
// A font made from LOGFONT fields, as CreateFontIndirect makes it, with the face name mapped
// to an installed font (face_substitution.h).
#include <QFont>
#include <QFontMetrics>

#include <memory>

#include "platform/gui/log_font.h"
#include "platform/gui/text_run_cache.h"

class CFont {
public:
    // The default font.
    CFont();
    explicit CFont(const LOGFONT& description);

    bool CreateFontIndirect(const LOGFONT& description);
    // MFC's CreatePointFont: tenths of a point at 96 dots per inch.
    bool CreatePointFont(int pointSizeTenths, std::wstring_view face);
    bool GetLogFont(LOGFONT& description) const;

    const QFont& Font() const { return m_font; }
    const QFontMetrics& Metrics() const { return m_metrics; }
    int Escapement() const { return m_description.lfEscapement; }
    // A single line's width in this font, and the line drawn; quick for numbers, and kept for
    // this font and its copies.
    int TextWidth(const QString& text) const { return m_runs->Width(text, m_font, m_metrics); }
    void DrawText(QPainter& painter, const QPoint& baseline, const QString& text) const {
        m_runs->Draw(painter, baseline, text, m_font);
    }

    // The font a DC starts with: "굴림" at 12 pixels, as Korean screens expect. Made on first
    // use, which needs a QGuiApplication, and kept for the life of the process.
    static const CFont& Default();

private:
    LOGFONT m_description;
    QFont m_font;
    QFontMetrics m_metrics;
    std::shared_ptr<TextRunCache> m_runs = std::make_shared<TextRunCache>();
};
