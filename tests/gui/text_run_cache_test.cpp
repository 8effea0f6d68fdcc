// Lines of numbers measured and drawn from a glyph table: the same widths and the same pixels
// as shaped text, in every face screens use; other lines shaped as before.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "platform/gui/font.h"

namespace {

CFont Make(const wchar_t* face, int height, bool underline = false) {
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfFaceName = face;
    lf.lfUnderline = underline ? 1 : 0;
    return CFont(lf);
}

QImage Drawn(const CFont& font, const QString& text, bool shaped) {
    QImage image(160, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font.Font());
    painter.setPen(Qt::black);
    const QPoint baseline(3, 5 + font.Metrics().ascent());
    if (shaped)
        painter.drawText(baseline, text);
    else
        font.DrawText(painter, baseline, text);
    return image;
}

TEST(TextRunCacheTest, NumbersMeasureAndDrawAsShapedTextDoes) {
    const QString lines[] = {QStringLiteral("12,345"),
                             QStringLiteral("-1,000"),
                             QStringLiteral("+0.25%"),
                             QStringLiteral("09:00:01"),
                             QStringLiteral("(1/2) #3 *"),
                             QStringLiteral("1111111111"),
                             QStringLiteral("삼성전자 71,500"),
                             QStringLiteral("NAVER"),
                             QString()};
    for (const wchar_t* face : {L"굴림", L"굴림체", L"Arial", L"바탕"}) {
        for (int height : {-11, -12, -15, 20}) {
            for (bool underline : {false, true}) {
                const CFont font = Make(face, height, underline);
                for (const QString& line : lines) {
                    const std::string what = QString::fromWCharArray(face).toStdString() + " " +
                                             std::to_string(height) + " " + line.toStdString();
                    EXPECT_EQ(font.TextWidth(line), font.Metrics().horizontalAdvance(line)) << what;
                    EXPECT_EQ(font.TextWidth(line), font.Metrics().horizontalAdvance(line))
                        << "again, from the cache: " << what;
                    EXPECT_EQ(Drawn(font, line, false), Drawn(font, line, true)) << what;
                }
            }
        }
    }
}

TEST(TextRunCacheTest, AFontRemadeForgetsTheWidthsOfTheOldOne) {
    CFont font = Make(L"굴림", -12);
    const CFont copy = font;
    const QString text = QStringLiteral("가나다 9");
    const int small = font.TextWidth(text);
    LOGFONT larger;
    larger.lfHeight = -24;
    larger.lfFaceName = L"굴림";
    font.CreateFontIndirect(larger);
    EXPECT_GT(font.TextWidth(text), small);
    EXPECT_EQ(font.TextWidth(QStringLiteral("12,345")),
              font.Metrics().horizontalAdvance(QStringLiteral("12,345")));
    EXPECT_EQ(copy.TextWidth(text), small) << "a copy made before keeps the old font";
}

} // namespace
