#include "platform/win32/gdiplus_picture_loader.h"

#include "platform/win32/gdiplus_headers.h"
#include "platform/win32/picture_file.h"
#include "platform/win32/wide_text.h"
#include "support/errors.h"

namespace lumaro::platform {

namespace {

namespace gp = Gdiplus::DllExports;

// A template logo is a few hundred pixels; this only stops a broken or
// hostile file from taking all memory.
constexpr std::uint64_t kMaxPixels = 64ull * 1024 * 1024;
constexpr std::uint64_t kMaxFileBytes = 256ull * 1024 * 1024;

struct FileHandle {
    HANDLE h;
    ~FileHandle() {
        if (h != INVALID_HANDLE_VALUE)
            ::CloseHandle(h);
    }
};

struct Stream {
    IStream* s = nullptr;
    ~Stream() {
        if (s)
            s->Release();
    }
};

struct Bitmap {
    Gdiplus::GpBitmap* b = nullptr;
    ~Bitmap() {
        if (b)
            gp::GdipDisposeImage(b);
    }
};

std::uint64_t combine(DWORD high, DWORD low) {
    return static_cast<std::uint64_t>(high) << 32 | low;
}

}  // namespace

GdiplusPictureLoader::GdiplusPictureLoader() {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok)
        token_ = token;
}

GdiplusPictureLoader::~GdiplusPictureLoader() {
    if (token_)
        Gdiplus::GdiplusShutdown(token_);
}

Picture GdiplusPictureLoader::load(const std::string& path) {
    const std::wstring wide = wideFromAnsi(path);
    WIN32_FILE_ATTRIBUTE_DATA info{};
    if (path.empty() || !::GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &info)) {
        const DWORD e = ::GetLastError();
        if (path.empty() || e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ||
            e == ERROR_INVALID_NAME || e == ERROR_BAD_NETPATH || e == ERROR_INVALID_DRIVE)
            raiseError(err::kFileNotFound);
        raiseError(err::kInvalidPicture);
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        raiseError(err::kInvalidPicture);
    const std::uint64_t size = combine(info.nFileSizeHigh, info.nFileSizeLow);
    const std::uint64_t modified =
        combine(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime);

    std::shared_ptr<const Image> image;
    auto cached = byPath_.find(path);
    if (cached != byPath_.end() && cached->second.size == size &&
        cached->second.modified == modified) {
        image = cached->second.image;
    } else {
        if (size > kMaxFileBytes)
            raiseError(err::kInvalidPicture);
        // The host or a virus scanner may hold the file; reading must not
        // shut them out.
        FileHandle file{::CreateFileW(wide.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
        if (file.h == INVALID_HANDLE_VALUE)
            raiseError(err::kInvalidPicture);
        std::string bytes(static_cast<std::size_t>(size), '\0');
        DWORD got = 0;
        if (size > 0 &&
            (!::ReadFile(file.h, bytes.data(), static_cast<DWORD>(size), &got, nullptr) ||
             got != size))
            raiseError(err::kInvalidPicture);
        image = decode(bytes);
        byPath_[path] = Cached{size, modified, image};
    }
    return Picture{next_++, path, image};
}

std::shared_ptr<const Image> GdiplusPictureLoader::decode(const std::string& bytes) {
    const PictureFormat format = sniffFormat(bytes);
    if (format == PictureFormat::Unknown || !token_)
        raiseError(err::kInvalidPicture);

    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!memory)
        raiseError(err::kOutOfMemory);
    if (void* p = ::GlobalLock(memory)) {
        std::copy(bytes.begin(), bytes.end(), static_cast<char*>(p));
        ::GlobalUnlock(memory);
    }
    Stream stream;
    if (::CreateStreamOnHGlobal(memory, TRUE, &stream.s) != S_OK) {
        ::GlobalFree(memory);
        raiseError(err::kOutOfMemory);
    }
    Bitmap bitmap;
    if (gp::GdipCreateBitmapFromStream(stream.s, &bitmap.b) != Gdiplus::Ok || !bitmap.b)
        raiseError(err::kInvalidPicture);
    UINT width = 0, height = 0;
    gp::GdipGetImageWidth(bitmap.b, &width);
    gp::GdipGetImageHeight(bitmap.b, &height);
    if (width == 0 || height == 0 || static_cast<std::uint64_t>(width) * height > kMaxPixels)
        raiseError(err::kInvalidPicture);

    Gdiplus::GpRect rect(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    Gdiplus::BitmapData data{};
    if (gp::GdipBitmapLockBits(bitmap.b, &rect, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB,
                               &data) != Gdiplus::Ok)
        raiseError(err::kInvalidPicture);
    auto image = std::make_shared<Image>();
    image->width = static_cast<int>(width);
    image->height = static_cast<int>(height);
    image->rgb.resize(static_cast<std::size_t>(width) * height * 3);
    for (UINT y = 0; y < height; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(data.Scan0) +
                          static_cast<std::ptrdiff_t>(y) * data.Stride;
        std::uint8_t* out = image->rgb.data() + static_cast<std::size_t>(y) * width * 3;
        for (UINT x = 0; x < width; ++x) {
            // Blue, green, red, alpha in memory; laid onto white paper.
            const unsigned a = row[x * 4 + 3];
            for (int c = 0; c < 3; ++c) {
                const unsigned v = row[x * 4 + 2 - c];
                out[x * 3 + c] = static_cast<std::uint8_t>((v * a + 255 * (255 - a) + 127) / 255);
            }
        }
    }
    gp::GdipBitmapUnlockBits(bitmap.b, &data);

    const Resolution r = fileResolution(format, bytes);
    image->dotsPerMetreX = r.dotsPerMetreX;
    image->dotsPerMetreY = r.dotsPerMetreY;
    if (format == PictureFormat::Jpeg && jpegForPdf(bytes))
        image->jpeg = bytes;
    return image;
}

}  // namespace lumaro::platform
