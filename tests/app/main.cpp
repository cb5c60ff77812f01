// The widgets need a QApplication for the whole run; tests never show a real
// screen.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    // Test discovery runs this program outside CTest's environment too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
