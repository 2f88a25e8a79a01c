// The enabling rules of the controls and the target list, as the window shows them.
#include "app/control_ids.h"
#include "support/window_fixture.h"

namespace tarnwick::test {
namespace {

class ControlRulesTest : public WindowTest {
protected:
    void loadPackage(uint32_t commMask, const std::string& model = "QT818LX") {
        UpdatePackage& pkg = window->package;
        pkg.commMask = commMask;
        pkg.modelName = model;
        pkg.packageChecksum = 0x1234ABCD;
        pkg.packageId = "0102";
    }
};

TEST_F(ControlRulesTest, StartLeavesOnlyLoadAndQuitUsable) {
    start();
    EXPECT_TRUE(dialog.isEnabled(ctl::Load) || !dialog.enabled.count(ctl::Load));
    EXPECT_FALSE(dialog.isEnabled(ctl::RadioRs232c));
    EXPECT_FALSE(dialog.isEnabled(ctl::RadioEthernet));
    EXPECT_FALSE(dialog.isEnabled(ctl::CheckComm));
    EXPECT_FALSE(dialog.isEnabled(ctl::Update));
    EXPECT_EQ(dialog.controls.commType, -1);
    EXPECT_EQ(dialog.controls.checkMode, 1);
    EXPECT_EQ(dialog.controls.tcpPortText, "5000");
    EXPECT_EQ(dialog.controls.ipAddress, (std::array<uint8_t, 4>{192, 168, 0, 1}));
    EXPECT_EQ(dialog.baudSel, 4);
    EXPECT_EQ(dialog.baudList.at(0), "  9600bps");
    EXPECT_EQ(dialog.baudList.at(4), "115200bps");
    // No port could be opened: the list is empty and nothing is selected.
    EXPECT_TRUE(dialog.portList.empty());
    EXPECT_EQ(dialog.portSel, -1);
}

TEST_F(ControlRulesTest, NoPackageSelectsRs232cButKeepsUpdateDisabled) {
    start();
    window->updateControls();
    EXPECT_EQ(dialog.controls.commType, 0);
    EXPECT_TRUE(dialog.isEnabled(ctl::RadioRs232c));
    EXPECT_TRUE(dialog.isEnabled(ctl::RadioEthernet));
    EXPECT_TRUE(dialog.isEnabled(ctl::PortList));
    EXPECT_FALSE(dialog.isEnabled(ctl::IpAddress));
    EXPECT_TRUE(dialog.isEnabled(ctl::CheckComm));
    EXPECT_TRUE(dialog.isEnabled(ctl::Quit));
    EXPECT_FALSE(dialog.isEnabled(ctl::Update));
    EXPECT_FALSE(dialog.isEnabled(ctl::CheckVersion));
}

TEST_F(ControlRulesTest, CommMaskRepairsTheCommunicationType) {
    struct Case {
        uint32_t mask;
        int before;
        int after;
    } cases[] = {
        {2, -1, 1}, {0, -1, -1}, {5, 1, 2}, {1, 1, 0}, {4, 0, 2}, {3, 2, 0}, {2, 2, 1}, {6, 0, 1}, {7, 1, 1},
    };
    for (const Case& c : cases) {
        start();
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

TEST_F(ControlRulesTest, TargetListFollowsCommunicationType) {
    start();
    loadPackage(3);
    addComponent(0, 0x01, "MAIN", 0x1);
    addComponent(1, 0x11, "DSP", 0x2);
    addComponent(2, 0x21, "NET", 0x4 | (2u << 16));
    addComponent(3, 0x31, "BOOT", 0x3 | (1u << 16));

    dialog.controls.commType = 0;
    window->refreshTargetList();
    EXPECT_EQ(dialog.caption(ctl::targetBox(0)), "01:MAIN");
    EXPECT_EQ(dialog.caption(ctl::targetBox(1)), "--:-----");
    EXPECT_EQ(dialog.caption(ctl::targetBox(2)), "--:-----");
    EXPECT_EQ(dialog.caption(ctl::targetBox(3)), "31:BOOT(b)");
    EXPECT_EQ(dialog.caption(ctl::targetBox(4)), "");
    EXPECT_EQ(dialog.controls.targetChecked[0], 1);
    EXPECT_EQ(dialog.controls.targetChecked[1], 0);
    EXPECT_EQ(dialog.controls.targetChecked[2], 0);
    EXPECT_EQ(dialog.controls.targetChecked[3], 1);
    EXPECT_EQ(dialog.controls.checksumText, "1234ABCD");
    EXPECT_EQ(dialog.controls.modelText, "QT818LX");
    EXPECT_EQ(dialog.controls.packageIdText, "0102");
    // "All" mode: every box disabled.
    for (int p = 0; p < 20; ++p) EXPECT_FALSE(dialog.isEnabled(ctl::targetBox(p)));

    dialog.controls.commType = 1;
    window->refreshTargetList();
    EXPECT_EQ(dialog.caption(ctl::targetBox(0)), "--:-----");
    EXPECT_EQ(dialog.caption(ctl::targetBox(1)), "11:DSP");
    EXPECT_EQ(dialog.caption(ctl::targetBox(2)), "21:NET(ic)");
    EXPECT_EQ(dialog.controls.targetChecked[0], 0);
    EXPECT_EQ(dialog.controls.targetChecked[1], 1);
    EXPECT_EQ(dialog.controls.targetChecked[2], 1);
}

TEST_F(ControlRulesTest, FirstRefreshWithNoTypeChecksEveryComponentInAllMode) {
    start();
    loadPackage(3);
    addComponent(0, 0x01, "MAIN", 0x0);
    addComponent(1, 0x11, "DSP", 0x2);
    window->refreshTargetList();
    EXPECT_EQ(dialog.controls.targetChecked[0], 1);
    EXPECT_EQ(dialog.controls.targetChecked[1], 1);
    EXPECT_EQ(dialog.caption(ctl::targetBox(0)), "01:MAIN");
}

TEST_F(ControlRulesTest, SelectModeEnablesEveryExistingComponentAfterUpdate) {
    start();
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
    EXPECT_TRUE(dialog.isEnabled(ctl::All));
    EXPECT_EQ(dialog.controls.operationMode, 1);
}

TEST_F(ControlRulesTest, EmptyModelNameKeepsUpdateDisabled) {
    start();
    loadPackage(1, "");
    addComponent(0, 0x01, "MAIN", 0x1);
    window->refreshTargetList();
    window->updateControls();
    EXPECT_EQ(dialog.controls.checksumText, "");
    EXPECT_FALSE(dialog.isEnabled(ctl::Update));
    EXPECT_FALSE(dialog.isEnabled(ctl::Verify));
}

TEST_F(ControlRulesTest, UpdateResetsModesTheOperatorCannotKeep) {
    start();
    loadPackage(1);
    window->refreshTargetList();
    dialog.controls.updateMode = 1;
    dialog.controls.operationMode = 1;
    window->updateControls();
    EXPECT_EQ(dialog.controls.updateMode, 0);
    EXPECT_EQ(dialog.controls.operationMode, 0);
    EXPECT_TRUE(dialog.isEnabled(ctl::Update));
    EXPECT_TRUE(dialog.isEnabled(ctl::Sum));
}

}  // namespace
}  // namespace tarnwick::test
