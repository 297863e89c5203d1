#include "platform/qt/qt_picture_loader.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <cstring>

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

// The decoded picture as every device draws it: laid onto white, as it would
// be on paper.
std::shared_ptr<const Image> toImage(const QImage& decoded, const QString& path,
                                     const QByteArray& format) {
    QImage rgb(decoded.size(), QImage::Format_RGB888);
    rgb.fill(Qt::white);
    {
        QPainter p(&rgb);
        p.drawImage(0, 0, decoded);
    }
    auto image = std::make_shared<Image>();
    image->width = rgb.width();
    image->height = rgb.height();
    image->dotsPerMetreX = decoded.dotsPerMeterX();
    image->dotsPerMetreY = decoded.dotsPerMeterY();
    const auto rowBytes = static_cast<std::size_t>(rgb.width()) * 3;
    image->rgb.resize(rowBytes * static_cast<std::size_t>(rgb.height()));
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(image->rgb.data() + rowBytes * static_cast<std::size_t>(y),
                    rgb.constScanLine(y), rowBytes);
    if (format == "jpeg" || format == "jpg") {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            image->jpeg = file.readAll().toStdString();
    }
    return image;
}

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
    std::shared_ptr<const Image> image;
    auto cached = byPath_.find(key);
    if (cached != byPath_.end() && cached->second.size == info.size() &&
        cached->second.modified == modified) {
        image = cached->second.image;
    } else {
        QImageReader reader(qpath);
        reader.setAutoTransform(false);
        if (!reader.canRead())
            raiseError(err::kInvalidPicture);
        const QByteArray format = reader.format().toLower();
        if (!acceptedFormat(format))
            raiseError(err::kInvalidPicture);
        const QSize size = reader.size();
        if (size.isValid() &&
            static_cast<qint64>(size.width()) * static_cast<qint64>(size.height()) > kMaxPixels)
            raiseError(err::kInvalidPicture);
        QImage decoded;
        if (!reader.read(&decoded) || decoded.isNull())
            raiseError(err::kInvalidPicture);
        image = toImage(decoded, qpath, format);
        byPath_[key] = Cached{info.size(), modified, image};
    }

    return Picture{next_++, path, image};
}

}  // namespace lumaro::platform
