// Print jobs on real devices: a system printer through the spooler, or the
// built-in PDF printer writing one file per job.
//
// A job is recorded while the document draws and played onto the device only
// when it ends. Qt's spooler back ends cannot take a job back once painting
// began (ending the painter always submits it), and a job the run never ended
// must not reach the paper: its data file stays and is printed whole next time.
// Recording in device pixels keeps every position exactly as measured.
#pragma once

#include <QBuffer>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QLineF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPen>
#include <QString>
#include <memory>
#include <variant>
#include <vector>

#include "support/services.h"

namespace lumaro::platform {

// Where jobs go. name is what deviceName reports.
struct PrintTarget {
    QString name;
    bool pdf = false;
    QString pdfFolder;  // the built-in printer's folder; created when missing
};

// Printable area of a device in device pixels and its resolution.
struct DeviceGeometry {
    double areaWidth = 0, areaHeight = 0;
    double dpiX = 0, dpiY = 0;
};

// A device set up exactly like a job's device but never painted on: fonts
// measured on it have the job's metrics, and its geometry is the job's. Owns
// whatever the device needs (the PDF writer's buffer).
class MeasureDevice {
  public:
    MeasureDevice(const PrintTarget& target, QPageLayout::Orientation orientation);
    ~MeasureDevice();
    QPaintDevice& device() { return *device_; }
    const DeviceGeometry& geometry() const { return geometry_; }

  private:
    std::unique_ptr<QBuffer> buffer_;
    std::unique_ptr<QPagedPaintDevice> device_;
    DeviceGeometry geometry_;
};

// What one job drew, sheet by sheet, in device pixels of its device.
class JobRecording {
  public:
    JobRecording(PrintTarget target, QPageLayout::Orientation orientation,
                 const DeviceGeometry& geometry, int jobNumber, const DateTime& started);

    void text(const QPointF& baseline, const QString& text, const QFont& font, const QColor& color);
    void line(const QLineF& line, const QPen& pen);
    void outline(const QRectF& rect, const QPen& pen);
    void fill(const QRectF& rect, const QColor& color);
    // A negative width or height mirrors the image about corner.
    void image(const QPointF& corner, const QSizeF& extent, const QImage& image);
    void newPage();

    int pages() const { return static_cast<int>(pages_.size()); }
    const PrintTarget& target() const { return target_; }

    // Plays the job onto its device and ends it there: the spooler gets it, or
    // the PDF file is written under a temporary name and renamed to its final
    // one ("2026-12-05_14-03-27_job001.pdf", "..._job001_2.pdf" when that is
    // taken: nothing is ever replaced). Returns the PDF's path (empty for a
    // system printer). Raises RuntimeError 482 when the printer is unknown or
    // fails, or the folder or file cannot be written; no PDF is left then.
    QString deliver() const;

  private:
    struct Text {
        QPointF baseline;
        QString text;
        QFont font;
        QColor color;
    };
    struct Line {
        QLineF line;
        QPen pen;
    };
    struct Outline {
        QRectF rect;
        QPen pen;
    };
    struct Fill {
        QRectF rect;
        QColor color;
    };
    struct Image {
        QPointF corner;
        QSizeF extent;
        QImage image;
    };
    using Op = std::variant<Text, Line, Outline, Fill, Image>;

    void play(class QPainter& painter, const DeviceGeometry& actual) const;
    QString deliverPdf() const;
    void deliverToPrinter() const;

    PrintTarget target_;
    QPageLayout::Orientation orientation_;
    DeviceGeometry geometry_;
    int jobNumber_;
    DateTime started_;
    std::vector<std::vector<Op>> pages_;
};

// Fails early, before a job is recorded, when its device cannot be used: an
// unknown printer, a PDF folder that cannot be made. Raises RuntimeError 482.
void checkTarget(const PrintTarget& target);

}  // namespace lumaro::platform
