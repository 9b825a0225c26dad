// Mirror and flip in place, in every picture format.
#include "pictures.h"
#include "sky.h"

#include <gtest/gtest.h>

using namespace sky;

TEST(Transform, TwiceGivesBackThePictureAndOnceMovesItsPixels)
{
    const QImage photo = photoPicture(31, 17);
    QImage mono;
    ASSERT_EQ(Ok, toDepth(photo, 1, true, mono));
    for (const QImage &picture : {photo, indexedPicture(31, 17, 40), mono}) {
        SCOPED_TRACE(int(picture.format()));
        QImage image = picture;
        ASSERT_EQ(Ok, mirror(24, image));
        EXPECT_EQ(picture.format(), image.format());
        EXPECT_EQ(picture.colorTable(), image.colorTable());
        EXPECT_EQ(picture.pixel(0, 3), image.pixel(30, 3));
        EXPECT_EQ(picture.pixel(7, 16), image.pixel(23, 16));
        ASSERT_EQ(Ok, mirror(24, image));
        EXPECT_EQ(picture, image);

        ASSERT_EQ(Ok, flip(8, image));
        EXPECT_EQ(picture.colorTable(), image.colorTable());
        EXPECT_EQ(picture.pixel(4, 0), image.pixel(4, 16));
        EXPECT_EQ(picture.pixel(30, 5), image.pixel(30, 11));
        ASSERT_EQ(Ok, flip(8, image));
        EXPECT_EQ(picture, image);
    }
    QImage empty;
    EXPECT_EQ(EmptyPicture, mirror(24, empty));
    EXPECT_EQ(EmptyPicture, flip(24, empty));
}
