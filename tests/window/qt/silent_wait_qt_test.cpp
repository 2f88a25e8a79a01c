// A product that stays silent must not leave the window looking hung: while the link waits
// for an answer the status window is repainted and its elapsed time moves on.
#include <set>

#include "link/target_link.h"
#include "support/memory_transport.h"
#include "window/qt/qt_window_fixture.h"

namespace tarnwick::test {
namespace {

class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* watched) : watched_(watched) { qApp->installEventFilter(this); }
    ~PaintCounter() override { qApp->removeEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        auto* w = qobject_cast<QWidget*>(o);
        if (e->type() == QEvent::Paint && w != nullptr && (w == watched_ || watched_->isAncestorOf(w))) ++paints;
        return false;
    }

private:
    QWidget* watched_;
};

TEST_F(QtWindowTest, SilentFiveSecondAnswerWaitRepaintsAndTheElapsedTimeTicks) {
    start();
    clock.realPollMs = 0;
    window->procedureStartMs = clock.nowMs();
    window->showStatus(0, "Checking...", 0, 0);
    QtStatusWindow* status = dialog->statusWindow();
    ASSERT_NE(status, nullptr);
    QApplication::processEvents();

    MemoryTransport silent;
    TargetLink link(silent, clock);
    link.setOwner(window.get());
    PaintCounter counter(status);
    std::set<std::string> elapsedSeen;
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] { elapsedSeen.insert(status->position().toStdString()); });
    watch.start();

    EXPECT_EQ(link.receiveFrame(0x01, 5), ReceiveResult::TimedOut);
    EXPECT_EQ(clock.nowMs() - window->procedureStartMs, 5000u);
    EXPECT_GE(counter.paints, 5);  // at least one repaint each second of silence
    EXPECT_TRUE(elapsedSeen.count("elapsed 0:01") && elapsedSeen.count("elapsed 0:04")) << elapsedSeen.size();
}

}  // namespace
}  // namespace tarnwick::test
