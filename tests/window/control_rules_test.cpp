// The enabling rules of the controls and the target list, as the window shows them.
#include "window/control_ids.h"
#include "support/window_fixture.h"

namespace tarnwick::test {
namespace {

class ControlRulesTest : public WindowTest {
protected:
    void loadPackage(uint32_t commMask, const std::string& model = "QT818LX") {
        start();
        UpdatePackage& pkg = window->package;
        pkg.commMask = commMask;
        pkg.modelName = model;
        pkg.packageChecksum = 0x1234ABCD;
        pkg.packageId = "0102";
    }
};

TEST_F(ControlRulesTest, CommMaskRepairsTheCommunicationType) {
    const struct { uint32_t mask; int before; int after; } cases[] = {
        {2, -1, 1}, {0, -1, -1}, {5, 1, 2}, {1, 1, 0}, {4, 0, 2}, {3, 2, 0}, {2, 2, 1}, {6, 0, 1}, {7, 1, 1},
    };
    for (const auto& c : cases) {
        loadPackage(c.mask);
        dialog.controls.commType = c.before;
        window->updateControls();
        EXPECT_EQ(dialog.controls.commType, c.after) << "mask " << c.mask << " from " << c.before;
        EXPECT_EQ(dialog.isEnabled(ctl::RadioRs232c), (c.mask & 1) != 0);
        EXPECT_EQ(dialog.isEnabled(ctl::RadioEthernet), (c.mask & 2) != 0);
        EXPECT_EQ(dialog.isEnabled(ctl::RadioIeee1394), (c.mask & 4) != 0);
        EXPECT_EQ(dialog.isEnabled(ctl::PortList), c.after == 0);
        EXPECT_EQ(dialog.isEnabled(ctl::IpAddress), c.after == 1);
    }
}

TEST_F(ControlRulesTest, SelectModeEnablesEveryExistingComponentAfterUpdate) {
    loadPackage(1);
    window->package.selectAllowed = true;
    addComponent(0, 0x01, "MAIN", kAttrRs232c);
    addComponent(1, 0x11, "DSP", kAttrEthernetFrames);
    dialog.controls.commType = 0;
    dialog.controls.operationMode = 1;
    window->refreshTargetList();
    EXPECT_TRUE(dialog.isEnabled(ctl::targetBox(0)));
    EXPECT_FALSE(dialog.isEnabled(ctl::targetBox(1)));
    window->updateControls();
    // The update enables the boxes of every component, "--:-----" ones included.
    EXPECT_TRUE(dialog.isEnabled(ctl::targetBox(1)));
    EXPECT_FALSE(dialog.isEnabled(ctl::targetBox(2)));
    EXPECT_EQ(dialog.controls.operationMode, 1);
}

TEST_F(ControlRulesTest, UpdateResetsModesAndNeedsAModelName) {
    for (const char* model : {"QT818LX", ""}) {
        loadPackage(1, model);
        window->refreshTargetList();
        dialog.controls.updateMode = 1;
        dialog.controls.operationMode = 1;
        window->updateControls();
        EXPECT_EQ(dialog.controls.updateMode + dialog.controls.operationMode, 0);
        EXPECT_EQ(std::make_pair(dialog.isEnabled(ctl::Update), dialog.isEnabled(ctl::Sum)), std::make_pair(*model != '\0', *model != '\0')) << model;
    }
}

}  // namespace
}  // namespace tarnwick::test
