// A product that stays silent must not leave the window looking hung: while the link waits
// for an answer the status window is repainted and its elapsed time moves on.
#include <QLabel>
#include <set>

#include "link/target_link.h"
#include "support/memory_transport.h"
#include "window/qt/qt_window_fixture.h"

namespace tarnwick::test {
namespace {

// The position line's texts as they were painted.
class PaintedPositions : public QObject {
public:
    std::set<std::string> texts;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint && o->objectName() == "statusPosition") {
            texts.insert(static_cast<QLabel*>(o)->text().toStdString());
        }
        return false;
    }
};

TEST_F(QtWindowTest, SilentFiveSecondAnswerWaitRepaintsAndTheElapsedTimeTicks) {
    start();
    clock.realPollMs = 0;
    window->procedureStartMs = clock.nowMs();
    window->showStatus(0, "Checking...", 0, 0);
    QApplication::processEvents();
    MemoryTransport silent;
    TargetLink link(silent, clock);
    link.setOwner(window.get());
    PaintedPositions painted;
    qApp->installEventFilter(&painted);
    EXPECT_EQ(link.receiveFrame(0x01, std::chrono::seconds(5)), ReceiveResult::TimedOut);
    qApp->removeEventFilter(&painted);
    EXPECT_EQ(clock.nowMs() - window->procedureStartMs, 5000u);
    // Each second of the silence painted (the wait's last poll has no pump after it).
    EXPECT_EQ(painted.texts, (std::set<std::string>{"elapsed 0:01", "elapsed 0:02", "elapsed 0:03", "elapsed 0:04"}));
}

}  // namespace
}  // namespace tarnwick::test
