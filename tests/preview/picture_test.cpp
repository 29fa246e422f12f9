// The metafile player and the fitting arithmetic.
#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>

#include "host/wmf/WmfWriter.h"
#include "preview/WmfPicture.h"
#include "preview/basDWF.h"

namespace {

bool dark(const QImage& img, int x, int y) {
    // Anything drawn near the point (antialiasing spreads a line).
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
            const QPoint p(x + dx, y + dy);
            if (img.rect().contains(p) && qGray(img.pixel(p)) < 128)
                return true;
        }
    return false;
}

QImage render(const WmfPicture& pic, QSize size) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    pic.play(p, QRectF(QPointF(0, 0), QSizeF(size)));
    return img;
}

}  // namespace

// The two examples: a small picture at its own size, centred; one twice as
// wide as the frame and no higher: the frame's width, half its height.
TEST(PictureFit, SmallPictureCentredWidePictureScaled) {
    auto f = basDWF::pu_fun_Fit(QSize(100, 50), QSize(300, 200), 0, 0);
    EXPECT_FALSE(f.stretched);
    EXPECT_EQ(f.rect, QRect(100, 75, 100, 50));
    f = basDWF::pu_fun_Fit(QSize(600, 160), QSize(300, 200), 0, 0);
    EXPECT_TRUE(f.stretched);
    EXPECT_EQ(f.rect, QRect(0, 60, 300, 80));
    // Too high as well: scaled to the height less the margin, then moved down.
    f = basDWF::pu_fun_Fit(QSize(100, 400), QSize(300, 200), 20, 5);
    EXPECT_EQ(f.rect, QRect(128, 5, 45, 180));
}

// What the host's writer draws, the player draws at the same places: a
// diagonal line from corner to corner of the extents, a circle and a text.
TEST(WmfPlayer, PlaysTheRecordsTheHostWrites) {
    host::wmf::WmfWriter w(0, 0, 100, 100);
    w.setPen(0x000000);
    w.polyline({{0, 0}, {100, 100}});
    w.circle({50, 50}, 25);
    w.arc({50, 50}, 40, 0, 90);
    w.text({10, 80}, 8, 0, QStringLiteral("AB"));
    const WmfPicture pic = WmfPicture::fromBytes(w.finish());
    ASSERT_FALSE(pic.isNull());
    EXPECT_GT(pic.recordCount(), 5);
    // 30,000 units plus margins at 1440 per inch, shown at 96 dots per inch.
    EXPECT_NEAR(pic.naturalSize(96).width(), (30000 + 400) / 15.0, 1.0);
    const QImage img = render(pic, QSize(304, 304));
    // Margins of 2 pixels; drawing y grows up, so (0,0) is bottom left.
    EXPECT_TRUE(dark(img, 2, 301));
    EXPECT_TRUE(dark(img, 301, 2));
    EXPECT_TRUE(dark(img, 152, 152));
    EXPECT_TRUE(dark(img, 152 + 75, 152));    // the circle's right
    EXPECT_TRUE(dark(img, 152, 152 - 120));   // the arc's top end (90 degrees)
    EXPECT_FALSE(dark(img, 152 - 120, 152));  // the arc does not reach 180 degrees
    EXPECT_FALSE(dark(img, 280, 280));        // empty corner
}

TEST(WmfPlayer, DamagedAndForeignFiles) {
    EXPECT_TRUE(WmfPicture::fromBytes("not a metafile at all").isNull());
    EXPECT_TRUE(WmfPicture::load("/no/such/file.wmf").isNull());
    host::wmf::WmfWriter w(0, 0, 10, 10);
    w.polyline({{0, 0}, {10, 10}});
    w.polyline({{0, 10}, {10, 0}});
    QByteArray bytes = w.finish();
    // Cut in the middle of the last polyline: the first still plays.
    bytes.chop(12);
    const WmfPicture pic = WmfPicture::fromBytes(bytes);
    ASSERT_FALSE(pic.isNull());
    const QImage img = render(pic, QSize(100, 100));
    EXPECT_TRUE(dark(img, 50, 50));
    // A record claiming more words than the file has stops the reading.
    QByteArray lying = w.finish();
    lying[22 + 18] = '\xFF';
    lying[22 + 19] = '\xFF';
    EXPECT_NO_FATAL_FAILURE(render(WmfPicture::fromBytes(lying), QSize(50, 50)));
}
