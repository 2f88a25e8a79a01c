#include "window/qt/window_start.h"

#include <QApplication>
#include <QMessageBox>
#include <memory>

#include "window/main_window.h"
#include "window/start_window.h"
#include "platform/instance_lock.h"
#include "platform/socket_service.h"
#include "history/history_place.h"
#include "history/sqlite_history.h"
#include "window/qt/qt_dialog.h"
#include "window/qt/qt_style.h"

namespace tarnwick {

namespace {

int startupBox(QMessageBox::Icon icon, const char* text) {
    QMessageBox box(icon, kAppTitle, text, QMessageBox::Ok);
    box.setObjectName("startupBox");
    box.exec();
    return 1;
}

}  // namespace

int runWindowApplication(const std::vector<std::string>& args, Clock& clock, Tone& tone) {
    if (!startSocketService()) return startupBox(QMessageBox::NoIcon, kSocketsFailedText);
    InstanceLock lock;  // released when this function returns, and by the kernel at any exit
    const InstanceLock::Result taken = lock.acquire();
    if (taken == InstanceLock::Result::HeldElsewhere) {
        return startupBox(QMessageBox::Critical, kAlreadyRunningText);
    }
    if (taken == InstanceLock::Result::Unavailable) {  // a guard that cannot be taken guards nothing
        const std::string text = "The single-instance lock cannot be taken: " + lock.reason();
        return startupBox(QMessageBox::Critical, text.c_str());
    }
    QtDialog dialog;
    MainWindow window(dialog, clock, tone, args);
    const std::unique_ptr<HistoryStore> history = openHistoryForRuns(historyFilePath("", false, false));
    window.history = history.get();
    dialog.bind(window);
    window.initDialog();
    if (dialog.ended()) return 0;  // a station run that ended while the window started
    dialog.show();
    return QApplication::exec();
}

int startWindow(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tarnwick");
    QApplication::setWindowIcon(appIcon());
    QApplication::setQuitOnLastWindowClosed(false);
    std::vector<std::string> args(argv + 1, argv + argc);
    return runWindowApplication(args, systemClock(), platformTone());
}

}  // namespace tarnwick
