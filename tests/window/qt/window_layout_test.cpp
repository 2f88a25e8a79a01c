// The window's layout: no visible control overlaps another at the default size, at the
// smallest size the window allows, or when it is made larger.
#include <QAbstractButton>
#include <QLabel>

#include "window/qt/qt_window_fixture.h"

namespace tarnwick::test {
namespace {

class WindowLayoutTest : public QtWindowTest {
protected:
    void expectNoOverlap(const char* when) {
        QApplication::processEvents();
        // The operator's controls and the labels beside them, in window coordinates.
        std::vector<std::pair<std::string, QRect>> shown;
        auto add = [&](const std::string& name, QWidget* w) {
            shown.emplace_back(name, QRect(w->mapTo(dialog.get(), QPoint(0, 0)), w->size()));
        };
        for (int id : {ctl::FilePath, ctl::ModelText, ctl::ChecksumText, ctl::PortList, ctl::IpAddress}) {
            add(std::to_string(id), control(id));
        }
        const int buttons[] = {ctl::Load,         ctl::RadioRs232c, ctl::RadioEthernet, ctl::NormalUpdate,
                               ctl::AllDevice,    ctl::CheckComm,   ctl::Update,        ctl::Quit};
        for (int id : buttons) add(std::to_string(id), control(id));
        for (QLabel* l : dialog->findChildren<QLabel*>()) {
            if (l->buddy() != nullptr && l->isVisible()) add(l->text().toStdString(), l);
        }
        for (size_t i = 0; i < shown.size(); ++i) {
            EXPECT_TRUE(dialog->rect().contains(shown[i].second)) << when << ": " << shown[i].first << " outside";
            EXPECT_GT(shown[i].second.width(), 0) << when << ": " << shown[i].first;
            for (size_t j = i + 1; j < shown.size(); ++j) {
                EXPECT_FALSE(shown[i].second.intersects(shown[j].second))
                    << when << ": " << shown[i].first << " overlaps " << shown[j].first;
            }
        }
        for (int id : buttons) {  // every caption fits its button
            EXPECT_GE(control(id)->width(), control(id)->minimumSizeHint().width()) << when << ": " << id;
        }
    }

};

TEST_F(WindowLayoutTest, NoControlOverlapsAnotherAtAnySize) {
    start();
    click(ctl::Load);  // cancelled: enables the communication choice
    const std::pair<QSize, const char*> sizes[] = {
        {dialog->size(), "main-default"}, {dialog->minimumSize(), "main-smallest"}, {dialog->minimumSize() * 2, "main-large"}};
    for (const auto& [size, name] : sizes) {
        dialog->resize(size);
        expectNoOverlap(name);
    }
}

// A 1366x768 laptop with a 40-pixel panel leaves 1366x728 on screen, also at 125 % text
// (CTest runs this test again with QT_SCALE_FACTOR=1.25).
TEST_F(WindowLayoutTest, WindowAndStatusWindowFitALaptopScreen) {
    start();
    window->showStatus(0x01, "Reboot(Application Mode)...", 1, 50);
    const qreal scale = dialog->devicePixelRatioF();
    const QWidget* status = dialog->statusWindow();
    ASSERT_NE(status, nullptr);
    for (const QWidget* w : {static_cast<const QWidget*>(dialog.get()), status}) {
        const QSize smallest = w->minimumSize().expandedTo(w->minimumSizeHint()) * scale;
        EXPECT_LE(smallest.width(), 1366) << w->objectName().toStdString() << " at " << scale;
        EXPECT_LE(smallest.height(), 728) << w->objectName().toStdString() << " at " << scale;
    }
}

}  // namespace
}  // namespace tarnwick::test
