// The window's layout: no visible control overlaps another at the default size, at the
// smallest size the window allows, or when it is made larger. With TARNWICK_SCREENSHOT_DIR
// set, the windows are also saved as pictures for a look by eye.
#include <stdlib.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

#include "platform/qt/about_box.h"
#include "qt/qt_window_fixture.h"

namespace tarnwick::test {
namespace {

class WindowLayoutTest : public QtWindowTest {
protected:
    // The operator's controls and the labels beside them, in window coordinates.
    std::vector<std::pair<std::string, QRect>> visibleControls() const {
        std::vector<std::pair<std::string, QRect>> out;
        const std::vector<int> ids = {ctl::FilePath,     ctl::Load,          ctl::ModelText, ctl::ChecksumText,
                                      ctl::RadioRs232c, ctl::RadioEthernet, ctl::PortList,  ctl::IpAddress,
                                      ctl::NormalUpdate, ctl::AllDevice,    ctl::CheckComm, ctl::Update,
                                      ctl::Quit};
        for (int id : ids) {
            QWidget* w = control(id);
            out.emplace_back(std::to_string(id), QRect(w->mapTo(dialog.get(), QPoint(0, 0)), w->size()));
        }
        for (QLabel* l : dialog->findChildren<QLabel*>()) {
            if (l->buddy() == nullptr || !l->isVisible()) continue;
            out.emplace_back(l->text().toStdString(), QRect(l->mapTo(dialog.get(), QPoint(0, 0)), l->size()));
        }
        return out;
    }

    void expectNoOverlap(const char* when) {
        QApplication::processEvents();
        const auto controls = visibleControls();
        const QRect inside = dialog->rect();
        for (size_t i = 0; i < controls.size(); ++i) {
            EXPECT_TRUE(inside.contains(controls[i].second)) << when << ": " << controls[i].first << " outside";
            EXPECT_GT(controls[i].second.width(), 0) << when << ": " << controls[i].first;
            for (size_t j = i + 1; j < controls.size(); ++j) {
                EXPECT_FALSE(controls[i].second.intersects(controls[j].second))
                    << when << ": " << controls[i].first << " overlaps " << controls[j].first;
            }
        }
        // Every caption fits its button.
        for (int id : {ctl::Load, ctl::RadioRs232c, ctl::RadioEthernet, ctl::NormalUpdate, ctl::AllDevice,
                       ctl::CheckComm, ctl::Update, ctl::Quit}) {
            auto* b = static_cast<QAbstractButton*>(control(id));
            EXPECT_GE(b->width(), b->minimumSizeHint().width()) << when << ": " << id;
        }
    }

    void save(QWidget* w, const char* name) {
        const char* dir = std::getenv("TARNWICK_SCREENSHOT_DIR");
        if (dir == nullptr || dir[0] == '\0') return;
        QApplication::processEvents();
        w->grab().save(QString::fromStdString(std::string(dir) + "/" + name + ".png"));
    }
};

TEST_F(WindowLayoutTest, NoControlOverlapsAnotherAtAnySize) {
    start();
    click(ctl::Load);  // cancelled: enables the communication choice
    expectNoOverlap("default size");
    save(dialog.get(), "main-default");
    dialog->resize(dialog->minimumSize());
    expectNoOverlap("smallest size");
    save(dialog.get(), "main-smallest");
    dialog->resize(dialog->minimumSize() * 2);
    expectNoOverlap("large size");
    save(dialog.get(), "main-large");
}

TEST_F(WindowLayoutTest, StatusWindowAndAboutBoxPictures) {
    start();
    window->showStatus(0x21, "Switching(ID:01 -> ID:11)...", 1, 63);
    ASSERT_NE(dialog->statusWindow(), nullptr);
    save(dialog->statusWindow(), "status");
    AboutBox about(dialog.get());
    about.show();
    EXPECT_EQ(about.windowTitle().toStdString(), "About ORVEX Firmware Writer ...");
    auto* text = about.findChild<QLabel*>("aboutText");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text().toStdString(), "Ostrel Firmware Writer");
    save(&about, "about");
    QLabel icon;
    icon.setPixmap(dialog->windowIcon().pixmap(64, 64));
    EXPECT_FALSE(dialog->windowIcon().isNull());
    save(&icon, "icon");
}

}  // namespace
}  // namespace tarnwick::test
