#include "platform/qt/qt_main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetricsF>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QThread>
#include <algorithm>
#include <cmath>

#include "platform/qt/qt_text.h"
#include "printing/font_table.h"
#include "support/codepage.h"

namespace lumaro::platform {

namespace {

constexpr const char* kCaption = "Druckfunktion für Tierärzte - Version 26. September 2010";
constexpr double kTwipsPerInch = 1440;

QFont windowFont(const char* name, double points) {
    QFont f(toQString(FontTable::standIns().family(name)));
    f.setPointSizeF(points);
    return f;
}

}  // namespace

QtMainWindow::QtMainWindow(bool unattended, QWidget* parent)
    : QWidget(parent),
      unattended_(unattended),
      label_(new QLabel(QStringLiteral("Drucker:"), this)),
      list_(new QComboBox(this)),
      exitTimer_(this) {
    setWindowTitle(QString::fromUtf8(kCaption));
    // The designed client area; the run fits it to the list before showing.
    resize(pxX(5430), pxY(1230));

    label_->setFont(windowFont("MS Sans Serif", 8.25));
    label_->setGeometry(pxX(120), pxY(120), pxX(735), pxY(255));

    list_->setFont(windowFont("Verdana", 9.75));
    list_->setGeometry(pxX(840), pxY(120), pxX(4335), pxY(360));
    // Nobody sees an unattended window; laying out its label costs a good
    // part of a one-record run's time.
    if (!unattended_)
        placeLabelOnListBaseline();
    setWindowIcon(programIcon());
    list_->setEditable(false);
    list_->setToolTip(QStringLiteral("verfügbaren Bon-Drucker auswählen"));
    list_->installEventFilter(this);
    // activated comes for every choice the user makes, with the mouse or the
    // keyboard, even of the item already selected; the program's own choices
    // go through selectListIndex.
    connect(list_, &QComboBox::activated, this, [this](int) {
        fromEventLoop([this] {
            if (onListClicked)
                onListClicked();
        });
    });

    exitTimer_.setSingleShot(true);
    connect(&exitTimer_, &QTimer::timeout, this, [this] {
        fromEventLoop([this] {
            exitTimer_.stop();
            unload();
        });
    });
}

void QtMainWindow::placeLabelOnListBaseline() {
    // The designed label is shorter than the list and centres its text, which
    // then stands above the list's text. Its baseline is moved onto the one
    // the list draws its text on: centred in the style's text field.
    QStyleOptionComboBox option;
    option.initFrom(list_);
    option.editable = false;
    option.frame = true;
    const QRect field = list_->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                       QStyle::SC_ComboBoxEditField, list_);
    // Qt centres the text with the font's exact (fractional) height.
    const QFontMetricsF listMetrics(list_->font());
    const int baseline =
        list_->y() +
        static_cast<int>(std::lround(field.y() + (field.height() - listMetrics.height()) / 2 +
                                     listMetrics.ascent()));
    const QFontMetrics labelMetrics(label_->font());
    label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label_->setContentsMargins(0, 0, 0, 0);
    label_->setGeometry(label_->x(), baseline - labelMetrics.ascent(), label_->width(),
                        std::max(label_->height(), labelMetrics.height()));
}

QIcon QtMainWindow::programIcon() {
    // A printer with a sheet coming out, drawn here so that the program needs
    // no image file beside it.
    QIcon icon;
    for (const int size : {16, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 64.0, size / 64.0);
        p.setPen(QPen(QColor(40, 40, 40), 2));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(18, 6, 28, 22));  // the sheet waiting at the back
        p.setBrush(QColor(70, 110, 160));
        p.drawRoundedRect(QRectF(6, 24, 52, 24), 5, 5);  // the body
        p.setBrush(Qt::white);
        p.drawRect(QRectF(16, 40, 32, 20));  // the printed sheet
        p.setPen(QPen(QColor(40, 40, 40), 2.5));
        for (const int y : {46, 51, 56})
            p.drawLine(QLineF(21, y, 43, y));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(120, 200, 90));
        p.drawEllipse(QRectF(48, 29, 5, 5));  // the ready light
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void QtMainWindow::fromEventLoop(const std::function<void()>& f) {
    try {
        f();
    } catch (...) {
        // Qt cannot unwind through its event loop; carry the exception to
        // whoever runs the loop. An open message box is closed, so that its
        // caller gets it at once (QtMessageBoxes rethrows it); otherwise a running
        // loop is ended. QCoreApplication::exit with no loop running would
        // leave every later box returning without waiting for its answer.
        if (!pending_)
            pending_ = std::current_exception();
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
        else if (QThread::currentThread()->loopLevel() > 0)
            QCoreApplication::exit(0);
    }
}

void QtMainWindow::rethrowPendingException() {
    if (pending_) {
        std::exception_ptr e = pending_;
        pending_ = nullptr;
        std::rethrow_exception(e);
    }
}

int QtMainWindow::pxX(double twips) const {
    return static_cast<int>(std::lround(twips * logicalDpiX() / kTwipsPerInch));
}

int QtMainWindow::pxY(double twips) const {
    return static_cast<int>(std::lround(twips * logicalDpiY() / kTwipsPerInch));
}

TwipsRect QtMainWindow::toTwips(const QRect& px) const {
    const double fx = kTwipsPerInch / logicalDpiX();
    const double fy = kTwipsPerInch / logicalDpiY();
    return {px.x() * fx, px.y() * fy, px.width() * fx, px.height() * fy};
}

std::string QtMainWindow::caption() const {
    return ansi(kCaption);
}

TwipsRect QtMainWindow::outerGeometry() const {
    return toTwips(frameGeometry());
}

TwipsRect QtMainWindow::innerGeometry() const {
    return toTwips(geometry());
}

TwipsRect QtMainWindow::listGeometry() const {
    return toTwips(list_->geometry());
}

double QtMainWindow::screenWidth() const {
    const QScreen* s = screen();
    return s ? s->geometry().width() * kTwipsPerInch / logicalDpiX() : 0;
}

double QtMainWindow::screenHeight() const {
    const QScreen* s = screen();
    return s ? s->geometry().height() * kTwipsPerInch / logicalDpiY() : 0;
}

void QtMainWindow::setOuterGeometry(const TwipsRect& r) {
    // Qt sizes the client area and places the frame; the frame's own extent is
    // whatever the window manager added.
    const QSize frame = frameGeometry().size() - geometry().size();
    resize(std::max(1, pxX(r.width) - frame.width()), std::max(1, pxY(r.height) - frame.height()));
    move(pxX(r.left), pxY(r.top));
}

void QtMainWindow::show() {
    if (unattended_)
        return;
    QWidget::show();
}

void QtMainWindow::addListItem(const std::string& name) {
    // A list filled by the program has no selection until one is chosen;
    // QComboBox would select the first item on its own.
    const QSignalBlocker block(list_);
    const int before = list_->currentIndex();
    list_->addItem(toQString(name));
    list_->setCurrentIndex(before);
}

void QtMainWindow::selectListIndex(int index) {
    {
        const QSignalBlocker block(list_);
        list_->setCurrentIndex(index >= 0 && index < list_->count() ? index : -1);
    }
    if (list_->currentIndex() >= 0 && onListClicked)
        onListClicked();
}

std::string QtMainWindow::listText() const {
    return list_->currentIndex() < 0 ? std::string() : fromQString(list_->currentText());
}

void QtMainWindow::startExitTimer(int ms) {
    exitTimer_.start(unattended_ ? 0 : std::max(0, ms));
}

void QtMainWindow::unload() {
    if (unloaded_)
        return;
    unloaded_ = true;
    exitTimer_.stop();
    if (onAboutToUnload)
        onAboutToUnload();
    close();
    if (onUnloaded)
        onUnloaded();
    // The loop of runUntilUnloaded has nothing left to wait for.
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::quit();
}

void QtMainWindow::runUntilUnloaded() {
    if (!unloaded_)
        QApplication::exec();
    rethrowPendingException();
}

void QtMainWindow::windowKeyUp(int key) {
    if (key == Qt::Key_Escape)
        unload();
}

void QtMainWindow::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat())
        return;
    fromEventLoop([this, key = event->key()] { windowKeyUp(key); });
}

bool QtMainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->isAutoRepeat())
            return true;
        // The window sees a key before the list does.
        fromEventLoop([this, k = key->key()] {
            windowKeyUp(k);
            if (!unloaded_ && onListKeyUp)
                onListKeyUp();
        });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void QtMainWindow::closeEvent(QCloseEvent* event) {
    // The close box, or the system ending the session: the same unload as Esc.
    if (!unloaded_)
        fromEventLoop([this] { unload(); });
    event->accept();
}

}  // namespace lumaro::platform
