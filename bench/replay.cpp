// trace_replay: draws the calls of a trace straight onto PDF files through
// QPainter, with nothing of our layout, template or record code in between.
// Its run time is the floor for any program that draws the same calls on the
// same device, so the benchmark divides the program's time by it.
//
//     trace_replay TRACE OUTDIR
//
// Each job of the trace becomes OUTDIR/jobNNN.pdf, set up as the built-in
// PDF printer sets up its files (A4, the job's orientation, no margins,
// 1200 dpi), with the same font substitution and the same mapping of scale
// units onto the page. Fonts, their metrics and pictures are kept once made,
// which is the most a drawing program could save. Positions within a job use
// the scale its `job` event names.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/qt/qt_device.h"
#include "printing/font_table.h"
#include "support/codepage.h"

namespace {

QColor toQColor(qint64 c) {
    const auto v = static_cast<std::uint32_t>(c);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

struct Font {
    QFont font;
    double ascent = 0;
};

class Replay {
  public:
    explicit Replay(const QString& outDir) : outDir_(outDir) {}
    ~Replay() { endJob(false); }
    Replay(const Replay&) = delete;
    Replay& operator=(const Replay&) = delete;

    // One event; false when the line is not a trace event we can draw.
    bool event(const QJsonObject& e) {
        const QString ev = e.value(QLatin1String("ev")).toString();
        if (ev == QLatin1String("job"))
            return startJob(e);
        if (ev == QLatin1String("enddoc")) {
            endJob(true);
            return true;
        }
        if (ev == QLatin1String("abort")) {
            endJob(false);
            return true;
        }
        if (ev == QLatin1String("message"))
            return true;
        if (!writer_)
            return false;  // drawing outside a job: the trace is broken
        if (ev == QLatin1String("text"))
            text(e);
        else if (ev == QLatin1String("line"))
            line(e);
        else if (ev == QLatin1String("box"))
            box(e);
        else if (ev == QLatin1String("picture"))
            picture(e);
        else if (ev == QLatin1String("newpage"))
            writer_->newPage();
        else
            return false;
        return true;
    }

    int jobs() const { return jobs_; }

  private:
    bool startJob(const QJsonObject& e) {
        endJob(true);
        const double sw = e.value(QLatin1String("scaleWidth")).toDouble();
        const double sh = e.value(QLatin1String("scaleHeight")).toDouble();
        if (sw == 0 || sh == 0)
            return false;
        ++jobs_;
        path_ = QDir(outDir_).filePath(QStringLiteral("job%1.pdf").arg(jobs_, 3, 10, QChar('0')));
        writer_ = std::make_unique<QPdfWriter>(path_);
        writer_->setResolution(1200);
        const auto orientation = e.value(QLatin1String("orientation")).toInt() == 2
                                     ? QPageLayout::Landscape
                                     : QPageLayout::Portrait;
        writer_->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), orientation,
                                           QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        writer_->setCreator(QStringLiteral("Lumaro"));
        writer_->setTitle(QStringLiteral("Lumaro"));
        if (!painter_.begin(writer_.get()))
            return false;
        sx_ = writer_->width() / sw;
        sy_ = writer_->height() / sh;
        hairline_ = std::max(0.1 * std::min(std::abs(sx_), std::abs(sy_)), 1.0);
        return true;
    }

    void endJob(bool keep) {
        if (!writer_)
            return;
        painter_.end();
        writer_.reset();
        if (!keep)
            QFile::remove(path_);
    }

    static double num(const QJsonObject& e, const char* key) {
        return e.value(QLatin1String(key)).toDouble();
    }

    QPointF at(const QJsonObject& e, const char* x, const char* y) const {
        return {num(e, x) * sx_, num(e, y) * sy_};
    }

    const Font& font(const QJsonObject& e) {
        const QString name = e.value(QLatin1String("font")).toString();
        const double size = num(e, "size");
        const bool bold = e.value(QLatin1String("bold")).toBool();
        const bool italic = e.value(QLatin1String("italic")).toBool();
        const bool underline = e.value(QLatin1String("underline")).toBool();
        const QString key =
            QStringLiteral("%1|%2|%3%4%5").arg(name).arg(size).arg(bold).arg(italic).arg(underline);
        auto it = fonts_.find(key);
        if (it == fonts_.end()) {
            Font f;
            const std::string asked = lumaro::fromUtf8(name.toStdString());
            f.font = lumaro::platform::qtFont(lumaro::DeviceFont{
                lumaro::FontTable::standIns().family(asked), size, bold, italic, underline});
            f.ascent = QFontMetricsF(f.font, writer_.get()).ascent();
            it = fonts_.insert(key, f);
        }
        return *it;
    }

    void text(const QJsonObject& e) {
        const Font& f = font(e);
        const QPointF p = at(e, "x", "y");
        painter_.setFont(f.font);
        painter_.setPen(toQColor(e.value(QLatin1String("color")).toInteger()));
        painter_.drawText(QPointF(p.x(), p.y() + f.ascent),
                          e.value(QLatin1String("text")).toString());
    }

    QPen pen(const QJsonObject& e) const {
        return QPen(toQColor(e.value(QLatin1String("color")).toInteger()), hairline_, Qt::SolidLine,
                    Qt::SquareCap, Qt::MiterJoin);
    }

    void line(const QJsonObject& e) {
        painter_.setPen(pen(e));
        painter_.drawLine(at(e, "x1", "y1"), at(e, "x2", "y2"));
    }

    void box(const QJsonObject& e) {
        QRectF r = QRectF(at(e, "x1", "y1"), at(e, "x2", "y2")).normalized();
        if (e.value(QLatin1String("filled")).toBool()) {
            r.setWidth(std::max(r.width(), hairline_));
            r.setHeight(std::max(r.height(), hairline_));
            painter_.fillRect(r, toQColor(e.value(QLatin1String("color")).toInteger()));
        } else {
            painter_.setPen(pen(e));
            painter_.setBrush(Qt::NoBrush);
            painter_.drawRect(r);
        }
    }

    void picture(const QJsonObject& e) {
        const QString file = e.value(QLatin1String("file")).toString();
        auto it = images_.find(file);
        if (it == images_.end())
            it = images_.insert(file, QImage(file));
        const QPointF topLeft = at(e, "x", "y");
        const QPointF extent = at(e, "w", "h");
        painter_.save();
        painter_.translate(topLeft);
        painter_.scale(extent.x() < 0 ? -1 : 1, extent.y() < 0 ? -1 : 1);
        painter_.drawImage(QRectF(0, 0, std::abs(extent.x()), std::abs(extent.y())), *it);
        painter_.restore();
    }

    QString outDir_;
    QString path_;
    std::unique_ptr<QPdfWriter> writer_;
    QPainter painter_;
    double sx_ = 1, sy_ = 1, hairline_ = 1;
    int jobs_ = 0;
    QHash<QString, Font> fonts_;
    QHash<QString, QImage> images_;
};

// Qt's notes about the environment (no runtime folder) would only clutter
// the benchmark's output; real faults still show.
void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& msg) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", msg.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: trace_replay TRACE OUTDIR\n");
        return 64;
    }
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(quietQtMessages);
    QGuiApplication app(argc, argv);
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "trace_replay: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString outDir = QString::fromLocal8Bit(argv[2]);
    if (!QDir().mkpath(outDir)) {
        std::fprintf(stderr, "trace_replay: cannot make %s\n", argv[2]);
        return 1;
    }
    Replay replay(outDir);
    long lineNumber = 0;
    while (!in.atEnd()) {
        const QByteArray line = in.readLine();
        ++lineNumber;
        if (line.trimmed().isEmpty())
            continue;
        QJsonParseError error{};
        const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
        if (error.error != QJsonParseError::NoError || !doc.isObject() ||
            !replay.event(doc.object())) {
            std::fprintf(stderr, "trace_replay: line %ld cannot be replayed\n", lineNumber);
            return 1;
        }
    }
    std::printf("%d jobs\n", replay.jobs());
    return 0;
}
