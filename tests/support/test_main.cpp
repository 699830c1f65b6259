#include <QApplication>

#include <gtest/gtest.h>

// Every test binary owns a QApplication (offscreen in CTest), so widget and model
// tests can run next to plain ones.
int main(int argc, char** argv)
{
    // Test discovery runs the binary outside CTest's environment: default to offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
