#include "window/qt/qt_status_window.h"

#include <algorithm>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

#include "window/qt/qt_style.h"

namespace tarnwick {

namespace {
constexpr int kLineChars = 56;  // the longest target line fits without wrapping
}

// A window of its own with a caption bar only (no system menu, no minimise, maximise or
// close button), kept above the main window.
QtStatusWindow::QtStatusWindow(QWidget* mainWindow, std::function<void()> onDestroyed, const QRect& keepClear)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint),
      onDestroyed_(std::move(onDestroyed)) {
    setObjectName("statusWindow");
    setWindowTitle("Status");
    setModal(false);
    setFont(windowFont());
    text_ = new QLabel(this);
    text_->setObjectName("statusText");
    text_->setWordWrap(true);
    text_->setMinimumWidth(QFontMetrics(font()).horizontalAdvance(QString(kLineChars, 'M')));
    text_->setMinimumHeight(QFontMetrics(font()).lineSpacing() * 2);
    bar_ = new QProgressBar(this);
    bar_->setObjectName("statusProgress");
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setVisible(false);
    // Keeps the window's size when the bar comes and goes.
    QSizePolicy keep = bar_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    bar_->setSizePolicy(keep);
    position_ = new QLabel(this);
    position_->setObjectName("statusPosition");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(bar_);
    layout->addWidget(position_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    place(keepClear);
}

// Centred over the main window; moved below (or above) keepClear when it would cover it
// and the main window has room there; always on the screen.
void QtStatusWindow::place(const QRect& keepClear) {
    adjustSize();
    const QWidget* owner = parentWidget();
    const QScreen* screen = owner != nullptr ? owner->screen() : this->screen();
    const QRect over = owner != nullptr ? owner->frameGeometry() : screen != nullptr ? screen->availableGeometry() : QRect();
    QRect r(QPoint(0, 0), size());
    r.moveCenter(over.center());
    if (keepClear.isValid() && r.intersects(keepClear)) {
        QRect below = r;
        below.moveTop(keepClear.bottom() + 1);
        QRect above = r;
        above.moveBottom(keepClear.top() - 1);
        if (over.contains(below)) r = below;
        else if (over.contains(above)) r = above;
    }
    if (screen != nullptr) {
        const QRect area = screen->availableGeometry();
        r.moveLeft(std::clamp(r.left(), area.left(), std::max(area.left(), area.right() - r.width())));
        r.moveTop(std::clamp(r.top(), area.top(), std::max(area.top(), area.bottom() - r.height())));
    }
    move(r.topLeft());
}

void QtStatusWindow::setStatus(const std::string& text, int showProgress, int percent) {
    text_->setText(QString::fromStdString(text));
    if (showProgress == 1) {
        bar_->setRange(0, 100);
        bar_->setValue(percent < 0 ? 0 : percent > 100 ? 100 : percent);
        bar_->setVisible(true);
    } else {
        bar_->setVisible(false);
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// Drawn at the next status line or message pump.
void QtStatusWindow::setPosition(const std::string& line) { position_->setText(QString::fromStdString(line)); }

QString QtStatusWindow::text() const { return text_->text(); }
QString QtStatusWindow::position() const { return position_->text(); }
bool QtStatusWindow::progressShown() const { return bar_->isVisibleTo(this); }
int QtStatusWindow::progress() const { return bar_->value(); }

// The owner destroys the window; it already forgot it, so it is not told.
void QtStatusWindow::destroy() {
    gone_ = true;
    hide();
    deleteLater();
}

// Enter or Esc: the window goes away by itself and the owner learns of it.
void QtStatusWindow::goAway() {
    if (gone_) return;
    gone_ = true;
    hide();
    if (onDestroyed_) onDestroyed_();
    deleteLater();
}

void QtStatusWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            event->accept();
            goAway();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

void QtStatusWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    goAway();
}

}  // namespace tarnwick
