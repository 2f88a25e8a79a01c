// A main window on a recording dialog, a virtual clock and a recording tone.
#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "window/main_window.h"
#include "support/recording_dialog.h"
#include "support/recording_tone.h"
#include "support/test_clock.h"

namespace tarnwick::test {

class WindowTest : public ::testing::Test {
protected:
    RecordingDialog dialog;
    VirtualClock clock;
    RecordingTone tone;
    std::unique_ptr<MainWindow> window = std::make_unique<MainWindow>(dialog, clock, tone);

    void start(std::vector<std::string> args = {}) {
        window = std::make_unique<MainWindow>(dialog, clock, tone, std::move(args));
        window->initDialog();
    }

    // Puts a component into the window's package as a load would.
    void addComponent(int position, uint8_t id, const std::string& name, uint32_t attributes) {
        UpdatePackage& pkg = window->package;
        pkg.order[static_cast<size_t>(position)] = id;
        pkg.positionOfId[id] = static_cast<uint8_t>(position);
        ComponentEntry& c = pkg.components[static_cast<size_t>(position)];
        c.id = id;
        c.name = name;
        c.attributes = attributes;
        c.kindMark = static_cast<uint8_t>(attributes >> kKindMarkShift);
        if (pkg.componentCount <= position) pkg.componentCount = static_cast<uint8_t>(position + 1);
    }

};

}  // namespace tarnwick::test
