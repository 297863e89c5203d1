#include "platform/qt/qt_picture_loader.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <vector>

#include "support/errors.h"
#include "tests/fakes/fakes.h"

namespace lumaro::platform {
namespace {

struct PictureLoader : ::testing::Test {
    lumaro::testing::TempFolder folder;
    QtPictureLoader loader;

    std::string save(const std::string& name, QSize size, const char* format = nullptr) {
        QImage img(size, QImage::Format_RGB32);
        img.fill(Qt::red);
        EXPECT_TRUE(img.save(QString::fromStdString(folder.file(name)), format)) << name;
        return folder.file(name);
    }
    int loadError(const std::string& path) {
        return lumaro::testing::errorOf([&] { loader.load(path); });
    }
};

TEST_F(PictureLoader, LoadsTheUsualFormatsByContentAndAChangedFileAgain) {
    int previous = 0;
    for (const char* format : {"BMP", "JPEG", "PNG", "ICO"}) {
        // The extension does not decide: a JPEG named .bmp is still a picture.
        const std::string path = save(std::string("bild_") + format + ".bmp", {4, 3}, format);
        const Picture p = loader.load(path);
        EXPECT_GT(p.handle, previous) << format;
        previous = p.handle;
        EXPECT_EQ(p.file, path);
        ASSERT_NE(p.image, nullptr);
        EXPECT_EQ(p.image->width, 4) << format;
        EXPECT_EQ(p.image->height, 3) << format;
        EXPECT_EQ(p.image->rgb.size(), 4u * 3u * 3u) << format;
        // Only a JPEG goes into a PDF as the file it is.
        EXPECT_EQ(p.image->jpeg.empty(), std::string(format) != "JPEG") << format;
    }

    const Picture first = loader.load(save("logo.png", {2, 2}));
    const Picture second = loader.load(save("logo.png", {5, 7}));
    EXPECT_EQ(first.image->width, 2);
    EXPECT_EQ(second.image->width, 5);
    EXPECT_EQ(second.image->height, 7);
}

TEST_F(PictureLoader, TransparencyIsLaidOntoWhiteAndTheResolutionKept) {
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
    folder.write("text.jpg", "Logo der Praxis");
    save("bild.ppm", {2, 2}, "PPM");  // a picture, but not of a format the program ever took
    for (const char* name : {"kaputt.bmp", "leer.png", "text.jpg", "bild.ppm"})
        EXPECT_EQ(loadError(folder.file(name)), err::kInvalidPicture) << name;
    EXPECT_EQ(loadError(folder.path()), err::kInvalidPicture);  // a folder
    EXPECT_EQ(loadError(folder.file("fehlt.bmp")), err::kFileNotFound);
}

}  // namespace
}  // namespace lumaro::platform
