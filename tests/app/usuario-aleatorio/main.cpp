#include "app/ui/AplicacaoProtegida.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

// These tests run under the program's own application object, which catches what reaches the event
// loop; the other test programs would let it end the run.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app::ui::AplicacaoProtegida aplicacao(argc, argv);
    QTemporaryDir estado;
    qputenv("REZOZUR_ESTADO", (estado.path() + QStringLiteral("/estado.ini")).toLocal8Bit());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
