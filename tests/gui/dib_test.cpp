// CDib: images from files and memory, drawn with their alpha or a transparency colour.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>

#include "platform/gui/dib.h"
#include "support/temp_dir.h"
#include "surface.h"

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);

// 3x2: magenta, red, half-transparent green / blue, magenta, clear.
QImage Sample() {
    QImage image(3, 2, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgb(255, 0, 255));
    image.setPixel(1, 0, qRgb(255, 0, 0));
    image.setPixel(2, 0, qRgba(0, 255, 0, 128));
    image.setPixel(0, 1, qRgb(0, 0, 255));
    image.setPixel(1, 1, qRgb(255, 0, 255));
    image.setPixel(2, 1, qRgba(0, 0, 0, 0));
    return image;
}

QByteArray Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

TEST(DibTest, LoadsPngBmpAndIcoByContent) {
    TempDir dir;
    const QImage sample = Sample();
    // The name says BMP; the bytes are PNG: the bytes win.
    const auto png = dir.Path("sample.bmp");
    ASSERT_TRUE(sample.save(QString::fromStdString(png.string()), "PNG"));
    CDib dib;
    ASSERT_TRUE(dib.Load(png.wstring()));
    EXPECT_EQ(dib.GetSize(), CSize(3, 2));
    EXPECT_EQ(dib.GetPixel(1, 0), RGB(255, 0, 0));
    EXPECT_EQ(qAlpha(dib.Image().pixel(2, 0)), 128);

    const auto bmp = dir.Path("opaque.bmp");
    ASSERT_TRUE(sample.convertToFormat(QImage::Format_RGB32)
                    .save(QString::fromStdString(bmp.string()), "BMP"));
    CDib fromBmp;
    ASSERT_TRUE(fromBmp.Load(bmp.wstring()));
    EXPECT_EQ(fromBmp.GetPixel(0, 1), RGB(0, 0, 255));

    const QByteArray ico = Encoded(sample.scaled(16, 16), "ICO");
    ASSERT_FALSE(ico.isEmpty());
    CDib fromIco;
    ASSERT_TRUE(fromIco.LoadFromMemory(ico.constData(), static_cast<std::size_t>(ico.size())));
    EXPECT_EQ(fromIco.GetSize(), CSize(16, 16));
}

TEST(DibTest, MissingFilesAndBadBytesLeaveTheImageAlone) {
    CDib dib;
    EXPECT_FALSE(dib.Load(L"/no/such/file.png"));
    EXPECT_FALSE(dib.Load(L""));
    EXPECT_FALSE(dib.IsValid());
    const char junk[] = "\x89PNG\r\n\x1a\n but then nothing sensible";
    EXPECT_FALSE(dib.LoadFromMemory(junk, sizeof junk));
    EXPECT_FALSE(dib.LoadFromMemory(nullptr, 10));
    const QByteArray png = Encoded(Sample(), "PNG");
    ASSERT_TRUE(dib.LoadFromMemory(png.constData(), static_cast<std::size_t>(png.size())));
    EXPECT_FALSE(dib.LoadFromMemory(png.constData(), static_cast<std::size_t>(png.size() / 2)));
    EXPECT_EQ(dib.GetSize(), CSize(3, 2)) << "the earlier image stays";
    EXPECT_EQ(dib.GetPixel(3, 0), CLR_INVALID);
    EXPECT_FALSE(dib.SetPixel(-1, 0, 0));
    EXPECT_TRUE(dib.SetPixel(0, 0, RGB(1, 2, 3)));
    EXPECT_EQ(dib.GetPixel(0, 0), RGB(1, 2, 3));
    dib.DeleteObject();
    Surface s;
    EXPECT_FALSE(dib.Draw(&s.dc, CPoint(0, 0)));
    EXPECT_FALSE(dib.Draw(nullptr, CPoint(0, 0)));
}

TEST(DibTest, DrawsWithItsAlphaOrWithoutItsTransparencyColour) {
    CDib dib;
    const QByteArray png = Encoded(Sample(), "PNG");
    ASSERT_TRUE(dib.LoadFromMemory(png.constData(), static_cast<std::size_t>(png.size())));

    Surface plain(10, 10);
    ASSERT_TRUE(dib.Draw(&plain.dc, CPoint(2, 3)));
    EXPECT_EQ(plain.At(2, 3), kMagenta);
    EXPECT_EQ(plain.At(3, 3), RGB(255, 0, 0));
    const COLORREF blended = plain.At(4, 3);
    EXPECT_NEAR(GetRValue(blended), 127, 1);
    EXPECT_EQ(GetGValue(blended), 255);
    EXPECT_TRUE(plain.IsWhite(4, 4)) << "a clear pixel leaves the background";

    Surface keyed(10, 10);
    dib.SetTransparent(true);
    dib.SetTransColor(kMagenta);
    ASSERT_TRUE(dib.Draw(&keyed.dc, CPoint(2, 3)));
    EXPECT_TRUE(keyed.IsWhite(2, 3));
    EXPECT_TRUE(keyed.IsWhite(3, 4));
    EXPECT_EQ(keyed.At(3, 3), RGB(255, 0, 0));
    EXPECT_EQ(keyed.At(2, 4), RGB(0, 0, 255));

    Surface stretched(10, 10);
    dib.SetTransparent(false);
    ASSERT_TRUE(dib.Draw(&stretched.dc, CRect(0, 0, 6, 4)));
    EXPECT_EQ(stretched.At(3, 1), RGB(255, 0, 0));
    EXPECT_EQ(stretched.At(1, 3), RGB(0, 0, 255));
}

} // namespace
