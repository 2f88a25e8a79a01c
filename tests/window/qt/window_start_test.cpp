// Start-up of the window: a second instance is refused with its box; the first runs the
// window until Quit and gives the lock back.
#include <QAbstractButton>
#include <QTimer>

#include "platform/instance_lock.h"
#include "window/qt/window_start.h"
#include "window/qt/qt_window_fixture.h"

namespace tarnwick::test {
namespace {

TEST(WindowStart, SecondInstanceIsRefusedWithTheErrorBox) {
    InstanceLock first;  // the instance that runs already (the runtime directory is private)
    ASSERT_EQ(first.acquire(), InstanceLock::Result::Acquired);
    Operator op;
    FastClock clock;
    RecordingTone tone;
    EXPECT_EQ(runWindowApplication({}, clock, tone), 1);
    ASSERT_EQ(op.boxes.size(), 1u);
    EXPECT_EQ(std::tie(op.boxes[0].text, op.boxes[0].icon, op.boxes[0].caption),
              std::make_tuple("This software has already been executed.", QMessageBox::Critical, "Ostrel Firmware Writer"));
    EXPECT_TRUE(tone.played.empty());
    for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_FALSE(w->objectName() == "mainWindow" && w->isVisible());
}

TEST(WindowStart, WindowRunsUntilQuitAndReleasesTheLock) {
    FastClock clock;
    RecordingTone tone;
    bool sawWindow = false;
    QTimer quitter;
    quitter.setInterval(5);
    QObject::connect(&quitter, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QtDialog*>(w);
            if (dialog == nullptr || !dialog->isVisible()) continue;
            sawWindow = true;
            static_cast<QAbstractButton*>(dialog->control(ctl::Quit))->click();
        }
    });
    quitter.start();
    EXPECT_EQ(runWindowApplication({}, clock, tone), 0);
    quitter.stop();
    EXPECT_TRUE(sawWindow);
    InstanceLock after;
    EXPECT_EQ(after.acquire(), InstanceLock::Result::Acquired);
}

}  // namespace
}  // namespace tarnwick::test
