#include "platform/qt/qt_picture_loader.h"

#include <QFileInfo>
#include <QImageReader>

#include "platform/qt/qt_text.h"
#include "support/errors.h"

namespace lumaro::platform {

namespace {

// The formats the program has always accepted for its templates.
bool acceptedFormat(const QByteArray& format) {
    static const QByteArray accepted[] = {"bmp", "jpeg", "jpg", "gif", "png", "ico", "cur"};
    const QByteArray f = format.toLower();
    for (const auto& a : accepted) {
        if (f == a)
            return true;
    }
    return false;
}

// Pictures larger than this are refused rather than decoded; a template logo
// is a few hundred pixels, so this only stops a broken or hostile file from
// taking all memory.
constexpr qint64 kMaxPixels = 64LL * 1024 * 1024;

}  // namespace

Picture QtPictureLoader::load(const std::string& path) {
    const QString qpath = toQString(path);
    const QFileInfo info(qpath);
    if (!info.exists())
        raiseError(err::kFileNotFound);
    if (!info.isFile())
        raiseError(err::kInvalidPicture);

    const qint64 modified = info.lastModified().toMSecsSinceEpoch();
    const QString key = info.absoluteFilePath();
    QImage image;
    auto cached = byPath_.find(key);
    if (cached != byPath_.end() && cached->second.size == info.size() &&
        cached->second.modified == modified) {
        image = cached->second.image;
    } else {
        QImageReader reader(qpath);
        reader.setAutoTransform(false);
        if (!reader.canRead() || !acceptedFormat(reader.format()))
            raiseError(err::kInvalidPicture);
        const QSize size = reader.size();
        if (size.isValid() &&
            static_cast<qint64>(size.width()) * static_cast<qint64>(size.height()) > kMaxPixels)
            raiseError(err::kInvalidPicture);
        if (!reader.read(&image) || image.isNull())
            raiseError(err::kInvalidPicture);
        byPath_[key] = Cached{info.size(), modified, image};
    }

    const int handle = next_++;
    images_.emplace(handle, image);
    return Picture{handle, path, nullptr};
}

const QImage* QtPictureLoader::image(int handle) const {
    auto it = images_.find(handle);
    return it == images_.end() ? nullptr : &it->second;
}

}  // namespace lumaro::platform
