#include <QApplication>

#include <gtest/gtest.h>

// Test discovery runs without the test's environment, so the platform is chosen here.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
