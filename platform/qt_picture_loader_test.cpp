#include "platform/qt_picture_loader.h"

#include <gtest/gtest.h>

#include <QImage>

#include "support/errors.h"
#include "tests/fakes/fakes.h"

namespace lumaro::platform {
namespace {

int errorOf(QtPictureLoader& loader, const std::string& path) {
    try {
        loader.load(path);
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

TEST(PictureLoader, LoadsTheUsualFormatsByContent) {
    lumaro::testing::TempFolder folder;
    QImage img(4, 3, QImage::Format_RGB32);
    img.fill(Qt::red);
    QtPictureLoader loader;
    int previous = 0;
    for (const char* format : {"BMP", "JPEG", "PNG", "ICO"}) {
        // The extension does not decide: a JPEG named .bmp is still a picture.
        const std::string path = folder.file(std::string("bild_") + format + ".bmp");
        ASSERT_TRUE(img.save(QString::fromStdString(path), format)) << format;
        const Picture p = loader.load(path);
        EXPECT_GT(p.handle, previous) << format;
        previous = p.handle;
        EXPECT_EQ(p.file, path);
        ASSERT_NE(loader.image(p.handle), nullptr);
        EXPECT_EQ(loader.image(p.handle)->size(), QSize(4, 3)) << format;
    }
    EXPECT_EQ(loader.image(0), nullptr);
    EXPECT_EQ(loader.image(previous + 1), nullptr);
}

TEST(PictureLoader, AFileWithoutAPictureIs481AndAMissingOne53) {
    lumaro::testing::TempFolder folder;
    QtPictureLoader loader;
    folder.write("kaputt.bmp", "BM this is not a bitmap at all");
    folder.write("leer.png", "");
    folder.write("text.jpg", "Logo der Praxis");
    EXPECT_EQ(errorOf(loader, folder.file("kaputt.bmp")), err::kInvalidPicture);
    EXPECT_EQ(errorOf(loader, folder.file("leer.png")), err::kInvalidPicture);
    EXPECT_EQ(errorOf(loader, folder.file("text.jpg")), err::kInvalidPicture);
    EXPECT_EQ(errorOf(loader, folder.path()), err::kInvalidPicture);  // a folder
    EXPECT_EQ(errorOf(loader, folder.file("fehlt.bmp")), err::kFileNotFound);
    // A picture, but not of a format the program has ever taken.
    QImage img(2, 2, QImage::Format_RGB32);
    ASSERT_TRUE(img.save(QString::fromStdString(folder.file("bild.ppm")), "PPM"));
    EXPECT_EQ(errorOf(loader, folder.file("bild.ppm")), err::kInvalidPicture);
}

TEST(PictureLoader, AChangedFileIsReadAgain) {
    lumaro::testing::TempFolder folder;
    const std::string path = folder.file("logo.png");
    QImage small(2, 2, QImage::Format_RGB32);
    small.fill(Qt::blue);
    ASSERT_TRUE(small.save(QString::fromStdString(path)));
    QtPictureLoader loader;
    const Picture first = loader.load(path);
    QImage big(5, 7, QImage::Format_RGB32);
    big.fill(Qt::green);
    ASSERT_TRUE(big.save(QString::fromStdString(path)));
    const Picture second = loader.load(path);
    EXPECT_EQ(loader.image(first.handle)->size(), QSize(2, 2));
    EXPECT_EQ(loader.image(second.handle)->size(), QSize(5, 7));
}

}  // namespace
}  // namespace lumaro::platform
