#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Test discovery runs without the test's environment, so the platform is chosen here.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Window sizes, column widths and folders a test leaves behind stay with this run.
    QTemporaryDir estado;
    qputenv("REZOZUR_ESTADO", (estado.path() + QStringLiteral("/estado.ini")).toLocal8Bit());
    // So are the send journals, and the command-line tool the tests start inherits the folder.
    qputenv("REZOZUR_ENVIOS", (estado.path() + QStringLiteral("/envios")).toLocal8Bit());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
