// The window tests: one QApplication on Qt's offscreen platform, and a private runtime
// directory so that the single-instance lock of a running Tarnwick is never touched.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <filesystem>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    char runtime[] = "/tmp/tarnwick-qt-runtime-XXXXXX";
    if (mkdtemp(runtime) == nullptr) return 2;
    setenv("XDG_RUNTIME_DIR", runtime, 1);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code ec;
    std::filesystem::remove_all(runtime, ec);
    return result;
}
