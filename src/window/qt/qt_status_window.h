// The modeless "Status" window: one status line and a 0..100 progress bar.
#pragma once
#include <QDialog>
#include <functional>

#include "window/dialog.h"

class QLabel;
class QProgressBar;

namespace tarnwick {

class QtStatusWindow final : public QDialog, public StatusWindow {
    Q_OBJECT
public:
    // onDestroyed is called when the window goes away by itself (Enter, Esc). The window
    // opens centred over the main window and, where the main window has room, clear of
    // keepClear (global coordinates: what the operator wants to see during the run).
    QtStatusWindow(QWidget* mainWindow, std::function<void()> onDestroyed, const QRect& keepClear = QRect());

    void setStatus(const std::string& text, int showProgress, int percent) override;
    void setPosition(const std::string& line) override;
    void destroy() override;

    QString text() const;
    QString position() const;
    bool progressShown() const;
    int progress() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void goAway();
    void place(const QRect& keepClear);

    QLabel* text_ = nullptr;          // control 1043
    QProgressBar* bar_ = nullptr;     // control 1045
    QLabel* position_ = nullptr;      // the overall position and the elapsed time
    std::function<void()> onDestroyed_;
    bool gone_ = false;
};

}  // namespace tarnwick
