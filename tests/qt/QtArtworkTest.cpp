#include <gtest/gtest.h>

#include <QImage>

#include "platform/qt/Artwork.h"

namespace tarnwk::test {
namespace {

TEST(QtArtworkTest, EveryPictureIsBundled) {
    for (const char* name : {"icon", "banner", "about", "splash"})
        EXPECT_TRUE(qt::hasArtwork(name)) << name;
    EXPECT_FALSE(qt::hasArtwork("nonesuch"));
    EXPECT_FALSE(qt::hasArtwork(""));
}

TEST(QtArtworkTest, PictureIsDrawnSharpAtTheScreensRatio) {
    const QPixmap plain = qt::artwork("banner", QSize(481, 105), 1.0);
    EXPECT_EQ(plain.size(), QSize(481, 105));
    const QPixmap sharp = qt::artwork("banner", QSize(481, 105), 2.0);
    EXPECT_EQ(sharp.size(), QSize(962, 210));
    EXPECT_EQ(sharp.deviceIndependentSize().toSize(), QSize(481, 105));
    // The banner fills its box: no transparent corner.
    const QImage image = plain.toImage();
    EXPECT_EQ(qAlpha(image.pixel(2, 2)), 255);
    EXPECT_EQ(qAlpha(image.pixel(478, 102)), 255);
}

TEST(QtArtworkTest, UnknownPictureIsTransparent) {
    const QImage image = qt::artwork("nonesuch", QSize(10, 10), 1.0).toImage();
    EXPECT_EQ(qAlpha(image.pixel(5, 5)), 0);
}

TEST(QtArtworkTest, IconComesInTheUsualSizes) {
    const QIcon icon = qt::artworkIcon("icon");
    ASSERT_FALSE(icon.isNull());
    EXPECT_GE(icon.availableSizes().size(), 4);
    const QImage small = icon.pixmap(QSize(16, 16)).toImage();
    EXPECT_EQ(small.size(), QSize(16, 16));
    // Something is drawn in the middle of the icon.
    EXPECT_GT(qAlpha(small.pixel(8, 8)), 0);
}

}  // namespace
}  // namespace tarnwk::test
