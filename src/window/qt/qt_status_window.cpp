#include "window/qt/qt_status_window.h"

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

// A window of its own (caption bar, no system menu), kept above the main window.
QtStatusWindow::QtStatusWindow(QWidget* mainWindow, std::function<void()> onDestroyed)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
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
    centre();
}

void QtStatusWindow::centre() {
    adjustSize();
    const QScreen* screen = parentWidget() != nullptr ? parentWidget()->screen() : this->screen();
    if (screen == nullptr) return;
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
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
