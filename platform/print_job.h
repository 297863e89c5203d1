// One print job on a real device: a system printer through the spooler, or the
// built-in PDF printer writing one file per job. The surface starts a job with
// its first drawing call and ends or discards it; this class owns the device
// and the painter for that time.
#pragma once

#include <QBuffer>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QString>
#include <memory>

#include "support/services.h"

namespace lumaro::platform {

// Where jobs go. name is what deviceName reports (UTF-8 QString).
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

// A device set up like a job's device but never painted on: fonts measured on
// it have the job's metrics before the job exists. Owns whatever the device
// needs (the PDF writer's buffer).
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

class PrintJob {
  public:
    // Starts painting on target's device. jobNumber and started name the PDF
    // file ("2026-12-05_14-03-27_job001.pdf"). Raises RuntimeError 482 when the
    // printer is unknown, the folder or file cannot be made, or painting fails.
    PrintJob(const PrintTarget& target, QPageLayout::Orientation orientation, int jobNumber,
             const DateTime& started);
    // Discards the job unless finish() ran.
    ~PrintJob();
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    QPainter& painter() { return painter_; }
    QPaintDevice& device() { return *device_; }
    const DeviceGeometry& geometry() const { return geometry_; }

    void newPage();  // 482 when the device refuses
    // Ends painting: sends the job to the spooler, or completes the PDF under
    // its final name (never replacing an existing file). 482 on failure, with
    // nothing left behind.
    void finish();
    // Nothing printed, no file left.
    void abort();
    // The completed PDF's path after finish() (empty for system printers).
    const QString& pdfPath() const { return finalPath_; }

  private:
    bool pdf_ = false;
    bool active_ = false;
    QString folder_, baseName_, tempPath_, finalPath_;
    std::unique_ptr<QPagedPaintDevice> device_;
    QPainter painter_;
    DeviceGeometry geometry_;
};

}  // namespace lumaro::platform
