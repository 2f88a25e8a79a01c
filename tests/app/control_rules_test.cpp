// The enabling rules of the controls and the target list, as the window shows them.
#include "app/control_ids.h"
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

TEST_F(ControlRulesTest, DisableControlsLocksEveryControlInOrder) {
    start();
    window->updateControls();
    dialog.enableOrder.clear();
    window->disableControls();
    ASSERT_EQ(dialog.enableOrder.size(), 13u + 20u + 11u);
    EXPECT_EQ(dialog.enableOrder.front(), ctl::RadioRs232c);
    EXPECT_EQ(dialog.enableOrder[12], ctl::Load);
    EXPECT_EQ(dialog.enableOrder[13], ctl::TargetFirst);
    EXPECT_EQ(dialog.enableOrder.back(), ctl::Quit);
    for (const auto& [id, on] : dialog.enabled) EXPECT_FALSE(on) << id;
}

TEST_F(ControlRulesTest, TargetCaptionsCarryKindMarksAndTheTypesFilter) {
    loadPackage(3);
    addComponent(0, 0x01, "MAIN", 0x1);
    addComponent(1, 0x21, "NET", 0x4 | (2u << 16));
    addComponent(2, 0x31, "BOOT", 0x3 | (1u << 16));
    dialog.controls.commType = 0;
    window->refreshTargetList();
    const char* captions[] = {"01:MAIN", "--:-----", "31:BOOT(b)", ""};
    for (int p = 0; p < 4; ++p) EXPECT_EQ(dialog.caption(ctl::targetBox(p)), captions[p]) << p;
    EXPECT_EQ(dialog.controls.targetChecked[1], 0);
    EXPECT_EQ(dialog.controls.targetChecked[2], 1);
    EXPECT_EQ(dialog.controls.checksumText, "1234ABCD");
    for (int p = 0; p < 20; ++p) EXPECT_FALSE(dialog.isEnabled(ctl::targetBox(p)));  // "All" mode
    dialog.controls.commType = 1;
    window->refreshTargetList();
    EXPECT_EQ(dialog.caption(ctl::targetBox(1)), "21:NET(ic)");
    EXPECT_EQ(dialog.controls.targetChecked[1], 1);
}

TEST_F(ControlRulesTest, SelectModeEnablesEveryExistingComponentAfterUpdate) {
    loadPackage(1);
    window->package.selectAllowed = true;
    addComponent(0, 0x01, "MAIN", 0x1);
    addComponent(1, 0x11, "DSP", 0x2);
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
        EXPECT_EQ(dialog.controls.updateMode, 0);
        EXPECT_EQ(dialog.controls.operationMode, 0);
        EXPECT_EQ(dialog.isEnabled(ctl::Update), *model != '\0') << model;
        EXPECT_EQ(dialog.isEnabled(ctl::Sum), *model != '\0') << model;
    }
}

}  // namespace
}  // namespace tarnwick::test
