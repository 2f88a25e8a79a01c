// The main window on the Qt dialog, with a virtual clock and a recording tone. A watcher
// answers the boxes and the open-file dialog as a test tells it, like an operator would.
#pragma once
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "window/control_ids.h"
#include "window/main_window.h"
#include "window/qt/qt_dialog.h"
#include "support/fast_clock.h"
#include "support/recording_tone.h"
#include "support/temp_dir_env.h"

namespace tarnwick::test {

struct SeenBox {
    std::string caption;
    std::string text;
    QMessageBox::Icon icon;
    bool yesNo;
    bool statusWindowOpen;  // a status window was still on screen when the box came up
};

// Polls for modal windows while a handler runs inside them and answers them.
class Operator : public QObject {
public:
    std::vector<SeenBox> boxes;
    std::deque<bool> yesAnswers;     // answers for Yes/No boxes; empty answers No
    std::string fileToChoose;        // empty cancels the open-file dialog
    int fileDialogs = 0;
    std::string fileDialogSeen;  // the last one's title, filter and directory, joined by "|"
    // What the status window showed, one entry each time its text or bar changed.
    struct StatusView {
        std::string text;
        bool bar;
        int percent;
        bool operator==(const StatusView&) const = default;
    };
    std::vector<StatusView> statusSeen;
    // Whether a control was enabled whenever the status window was seen; set per id.
    std::map<int, bool> enabledWhileBusy;
    QtDialog* dialog = nullptr;
    std::function<void(const QtStatusWindow&)> onStatus;  // called on each change seen
    std::function<void()> onBox;                          // called with each box up, before it is answered

    Operator() {
        timer_.setInterval(0);  // looks at every pass of the event loop, pumps included
        connect(&timer_, &QTimer::timeout, this, [this] { look(); });
        timer_.start();
    }

private:
    void look() {
        watchStatus();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible()) continue;
            if (auto* box = qobject_cast<QMessageBox*>(w)) answer(box);
            else if (auto* files = qobject_cast<QFileDialog*>(w)) choose(files);
        }
    }

    void answer(QMessageBox* box) {
        if (onBox) onBox();
        const bool yesNo = box->button(QMessageBox::Yes) != nullptr;
        bool statusOpen = false;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == "statusWindow" && w->isVisible()) statusOpen = true;
        }
        boxes.push_back({box->windowTitle().toStdString(), box->text().toStdString(), box->icon(), yesNo, statusOpen});
        if (!yesNo) {
            box->button(QMessageBox::Ok)->click();
            return;
        }
        const bool yes = !yesAnswers.empty() && yesAnswers.front();
        if (!yesAnswers.empty()) yesAnswers.pop_front();
        box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
    }

    void watchStatus() {
        if (dialog == nullptr || dialog->statusWindow() == nullptr || !dialog->statusWindow()->isVisible()) return;
        const QtStatusWindow* s = dialog->statusWindow();
        const StatusView view{s->text().toStdString(), s->progressShown(), s->progress()};
        if (statusSeen.empty() || !(statusSeen.back() == view)) {
            statusSeen.push_back(view);
            if (onStatus) onStatus(*s);
        }
        for (auto& [id, everEnabled] : enabledWhileBusy) everEnabled = everEnabled || dialog->control(id)->isEnabled();
    }

    void choose(QFileDialog* files) {
        ++fileDialogs;
        fileDialogSeen = (files->windowTitle() + "|" + files->nameFilters().join(";;") + "|" +
                          files->directory().absolutePath()).toStdString();
        if (fileToChoose.empty()) {
            files->reject();
            return;
        }
        files->selectFile(QString::fromStdString(fileToChoose));
        static_cast<QDialog*>(files)->accept();
    }

    QTimer timer_;
};

// Each test gets its own directory for its packages and the work directory.
class QtWindowTest : public ::testing::Test {
protected:
    TempDir scratch{"tarnwick-qt"};
    ScopedEnv tmpdir{"TMPDIR", scratch.path() + "/"};
    FastClock clock;
    RecordingTone tone;
    std::unique_ptr<QtDialog> dialog;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<Operator> op;

    void start() {
        window.reset();
        dialog = std::make_unique<QtDialog>();
        window = std::make_unique<MainWindow>(*dialog, clock, tone);
        dialog->bind(*window);
        op = std::make_unique<Operator>();
        op->dialog = dialog.get();
        window->initDialog();
        dialog->show();
        QApplication::processEvents();
    }

    void TearDown() override {
        window.reset();
        dialog.reset();
        op.reset();
    }

    QWidget* control(int id) const { return dialog->control(id); }
    template <class W>
    W* as(int id) const { return static_cast<W*>(control(id)); }
    bool enabled(int id) const { return control(id)->isEnabled(); }
    std::string caption(int id) const { return as<QAbstractButton>(id)->text().toStdString(); }
    // A click as the operator makes it: through the button, into the handler.
    void click(int id) { as<QAbstractButton>(id)->click(); }
};

}  // namespace tarnwick::test
