// Shared main() of the test programs: headless Qt, then GoogleTest.
#include "platform/secrets.h"

#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
    // Before the application object exists; ctest's discovery also runs this.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
    QApplication app(argc, argv);
    // Tests never touch the desktop's secret service.
    static xo::platform::SessionSecrets secrets;
    xo::platform::setSecrets(&secrets);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
