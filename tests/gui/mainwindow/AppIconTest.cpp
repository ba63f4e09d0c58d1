// The carried icon as the program reads it, against Qt's own reading of the same PNG.

#include <QImage>

#include <gtest/gtest.h>

#include "platform/qt/AppIcon.h"
#include "resources/CarriedFiles.h"

namespace velkora::testing {
namespace {

TEST(AppIcon, ReadsThePictureExactlyAsQtWould)
{
    const std::string_view png = carriedIcon();
    QImage expected;
    ASSERT_TRUE(expected.loadFromData(reinterpret_cast<const uchar*>(png.data()), static_cast<int>(png.size()), "PNG"));

    const QImage read = carriedIconImage();
    ASSERT_FALSE(read.isNull());
    EXPECT_EQ(read.size(), QSize(64, 64));
    // Same pixels, transparency included, whatever the two formats' byte orders.
    const QImage a = read.convertToFormat(QImage::Format_ARGB32);
    const QImage b = expected.convertToFormat(QImage::Format_ARGB32);
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            differing += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    EXPECT_EQ(differing, 0);
    EXPECT_FALSE(velkoraIcon().isNull());
}

} // namespace
} // namespace velkora::testing
