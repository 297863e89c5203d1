#include "platform/qt/qt_picture_loader.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <vector>

#include "support/errors.h"
#include "tests/fakes/fakes.h"

namespace lumaro::platform {
namespace {

using lumaro::testing::errorOf;

struct PictureLoader : ::testing::Test {
    lumaro::testing::TempFolder folder;
    QtPictureLoader loader;

    std::string save(const std::string& name, QSize size, const char* format = nullptr) {
        QImage img(size, QImage::Format_RGB32);
        img.fill(Qt::red);
        EXPECT_TRUE(img.save(QString::fromStdString(folder.file(name)), format)) << name;
        return folder.file(name);
    }
};

TEST_F(PictureLoader, DecodesByContentOntoWhiteWithItsResolutionAndAChangedFileAgain) {
    int previous = 0;
    for (const char* format : {"BMP", "JPEG", "PNG", "ICO"}) {
        SCOPED_TRACE(format);
        const std::string path = save(std::string("bild_") + format + ".bmp", {4, 3}, format);
        const Picture p = loader.load(path);
        EXPECT_GT(p.handle, previous);
        previous = p.handle;
        ASSERT_NE(p.image, nullptr);
        EXPECT_EQ(p.image->width, 4);
        EXPECT_EQ(p.image->height, 3);
        EXPECT_EQ(p.image->rgb.size(), 4u * 3u * 3u);
        // Only a JPEG goes into a PDF as the file it is.
        EXPECT_EQ(p.image->jpeg.empty(), std::string(format) != "JPEG");
    }
    EXPECT_EQ(loader.load(save("logo.png", {2, 2})).image->width, 2);
    EXPECT_EQ(loader.load(save("logo.png", {5, 7})).image->width, 5);

    QImage img(2, 1, QImage::Format_ARGB32);
    img.setPixelColor(0, 0, QColor(0, 0, 255, 255));  // opaque blue
    img.setPixelColor(1, 0, QColor(255, 0, 0, 0));    // fully transparent red
    img.setDotsPerMeterX(11811);
    img.setDotsPerMeterY(5906);
    ASSERT_TRUE(img.save(QString::fromStdString(folder.file("alpha.png"))));
    const Picture p = loader.load(folder.file("alpha.png"));
    ASSERT_NE(p.image, nullptr);
    EXPECT_EQ(p.image->rgb, (std::vector<std::uint8_t>{0, 0, 255, 255, 255, 255}));
    EXPECT_NEAR(p.image->dotsPerMetreX, 11811, 1);
    EXPECT_NEAR(p.image->dotsPerMetreY, 5906, 1);
}

TEST_F(PictureLoader, AFileWithoutAPictureIs481AndAMissingOne53) {
    folder.write("kaputt.bmp", "BM this is not a bitmap at all");
    folder.write("leer.png", "");
    save("bild.ppm", {2, 2}, "PPM");  // a picture, but not of a format the program ever took
    for (const std::string& path : {folder.file("kaputt.bmp"), folder.file("leer.png"),
                                    folder.file("bild.ppm"), folder.path()}) {
        EXPECT_EQ(errorOf([&] { loader.load(path); }), err::kInvalidPicture) << path;
    }
    EXPECT_EQ(errorOf([&] { loader.load(folder.file("fehlt.bmp")); }), err::kFileNotFound);
}

}  // namespace
}  // namespace lumaro::platform
