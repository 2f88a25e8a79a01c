// The window tests: one QApplication on Qt's offscreen platform (the private runtime
// directory that keeps a running Tarnwick's single-instance lock out of reach comes with
// support/no_serial_devices.cpp).
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
