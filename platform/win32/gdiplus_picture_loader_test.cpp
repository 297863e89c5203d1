// Pictures written by GDI+'s own encoders, read back: pixels laid onto white, the file's
// resolution, a JPEG's bytes; and the error numbers of files that are no picture.
#include "platform/win32/gdiplus_picture_loader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/win32/gdiplus_headers.h"
#include "platform/win32/picture_file.h"
#include "platform/win32/wide_text.h"
#include "support/codepage.h"
#include "support/errors.h"
#include "tests/fakes/fakes.h"

namespace lumaro::platform {
namespace {

namespace gp = Gdiplus::DllExports;
namespace fs = std::filesystem;

struct PictureLoaderTest : ::testing::Test {
    fs::path folder_ =
        fs::temp_directory_path() / ("lumaro-pictures-" + std::to_string(::GetCurrentProcessId()));
    GdiplusPictureLoader loader_;  // GDI+ runs while it lives

    void SetUp() override { fs::create_directories(folder_); }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    // Opaque red, fully transparent black, half-transparent blue at 300 dpi.
    std::string save(const wchar_t* mime, const std::string& name) {
        std::uint32_t pixels[3] = {0xFFFF0000, 0x00000000, 0x800000FF};
        Gdiplus::GpBitmap* bitmap = nullptr;
        EXPECT_EQ(gp::GdipCreateBitmapFromScan0(3, 1, 12, PixelFormat32bppARGB,
                                                reinterpret_cast<BYTE*>(pixels), &bitmap),
                  Gdiplus::Ok);
        gp::GdipBitmapSetResolution(bitmap, 300, 300);
        UINT count = 0, size = 0;
        gp::GdipGetImageEncodersSize(&count, &size);
        std::vector<BYTE> buffer(size);
        auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
        gp::GdipGetImageEncoders(count, size, codecs);
        const std::string path = ansiFromWide((folder_ / name).wstring());
        for (UINT i = 0; i < count; ++i) {
            if (std::wstring(codecs[i].MimeType) == mime) {
                EXPECT_EQ(gp::GdipSaveImageToFile(bitmap, wideFromAnsi(path).c_str(),
                                                  &codecs[i].Clsid, nullptr),
                          Gdiplus::Ok);
            }
        }
        gp::GdipDisposeImage(bitmap);
        return path;
    }

    std::string write(const std::string& name, const std::string& bytes) {
        std::ofstream(folder_ / name, std::ios::binary) << bytes;
        return ansiFromWide((folder_ / name).wstring());
    }

    std::string read(const std::string& path) {
        std::ifstream in(fs::path(wideFromAnsi(path)), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(PictureLoaderTest, DecodesOntoWhiteWithTheResolutionOnceWhileUnchangedAndRefusesNoPictures) {
    struct Case {
        const wchar_t* mime;
        const char* file;
        int tolerance;  // JPEG is lossy
        bool keepsAlpha;
        double dotsPerMetre;
    } cases[] = {
        {L"image/png", "bild.png", 1, true, 11811},
        {L"image/bmp", "bild.bmp", 0, false, 11811},
        {L"image/jpeg", "bild.jpg", 48, false, 11811},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = save(c.mime, c.file);
        const Picture p = loader_.load(path);
        ASSERT_TRUE(p.image);
        EXPECT_EQ(p.image->width, 3);
        ASSERT_EQ(p.image->rgb.size(), 9u);
        auto colour = [&](int at, int r, int g, int b) {
            EXPECT_NEAR(p.image->rgb[at * 3], r, c.tolerance) << at;
            EXPECT_NEAR(p.image->rgb[at * 3 + 1], g, c.tolerance) << at;
            EXPECT_NEAR(p.image->rgb[at * 3 + 2], b, c.tolerance) << at;
        };
        colour(0, 255, 0, 0);
        if (c.keepsAlpha) {
            colour(1, 255, 255, 255);  // transparent: the paper
            colour(2, 127, 127, 255);  // half blue on white
        }
        EXPECT_NEAR(p.image->dotsPerMetreX, c.dotsPerMetre, 1);
        EXPECT_NEAR(p.image->dotsPerMetreY, c.dotsPerMetre, 1);
        EXPECT_EQ(p.image->jpeg, std::string(c.file) == "bild.jpg" ? read(path) : "");
    }
    // Loaded again: a fresh handle, the picture decoded once; written anew, read again.
    const std::string path = save(L"image/png", "logo.png");
    const Picture a = loader_.load(path), b = loader_.load(path);
    EXPECT_NE(a.handle, 0);
    EXPECT_NE(a.handle, b.handle);
    EXPECT_EQ(a.image, b.image);
    save(L"image/bmp", "logo.png");
    EXPECT_NE(loader_.load(path).image, a.image);

    const std::string folder = ansiFromWide(folder_.wstring());
    const std::string png = read(ansiFromWide((folder_ / "bild.png").wstring()));
    // Files that are missing (53) or no picture of a format the program takes (481).
    const std::pair<std::string, int> refused[] = {
        {folder + "\\fehlt.png", err::kFileNotFound},
        {folder + ansi("\\kein Ordner\\bild.png"), err::kFileNotFound},
        {folder, err::kInvalidPicture},
        {write("leer.bmp", ""), err::kInvalidPicture},
        {write("halb.png", png.substr(0, 40)), err::kInvalidPicture},
        {write("bild.tif", std::string("II*\0\x08\0\0\0", 8) + std::string(64, '\0')),
         err::kInvalidPicture},
    };
    for (const auto& [file, error] : refused)
        EXPECT_EQ(testing::errorOf([&] { loader_.load(file); }), error) << file;
}

TEST(PictureFile, TheFirstBytesTellTheFormatAndAJpegsHeadersItsDensityAndWhetherAPdfTakesIt) {
    // GIFs and icons decode as PNGs do; only their first bytes must let them in.
    EXPECT_EQ(sniffFormat("GIF87a"), PictureFormat::Gif);
    EXPECT_EQ(sniffFormat(std::string("\0\0\1\0\1\0", 6)), PictureFormat::Icon);
    // Densities other than the encoder's per inch; which codings a PDF takes as they are.
    auto jpeg = [](unsigned sof, int components, char units = 2) {
        std::string b = std::string("\xFF\xD8\xFF\xE0\0\x10JFIF\0\1\1", 13) + units;
        b += std::string("\0\x64\0\x32\0\0\xFF", 7) + static_cast<char>(sof);
        b += std::string("\0\x11\x08\0\x10\0\x10", 7) + static_cast<char>(components);
        b += std::string(3 * components, '\1');
        return b + std::string("\xFF\xDA\0\x02\xFF\xD9", 6);
    };
    const Resolution perCentimetre = fileResolution(PictureFormat::Jpeg, jpeg(0xC0, 3));
    EXPECT_NEAR(perCentimetre.dotsPerMetreX, 10000, 0.01);
    EXPECT_NEAR(perCentimetre.dotsPerMetreY, 5000, 0.01);
    // An aspect ratio only is no density.
    EXPECT_EQ(fileResolution(PictureFormat::Jpeg, jpeg(0xC0, 3, 0)).dotsPerMetreX, 0);
    for (const auto& [sof, components, pdf] : {std::tuple{0xC0u, 3, true},
                                               {0xC1u, 3, true},
                                               {0xC2u, 1, true},
                                               {0xC0u, 4, false},     // CMYK
                                               {0xC3u, 3, false},     // lossless
                                               {0xC9u, 3, false}}) {  // arithmetic coding
        EXPECT_EQ(jpegForPdf(jpeg(sof, components)), pdf) << std::hex << sof << " " << components;
    }
    EXPECT_FALSE(jpegForPdf(std::string("\xFF\xD8\xFF\xE0\0\x02", 6)));
}

}  // namespace
}  // namespace lumaro::platform
