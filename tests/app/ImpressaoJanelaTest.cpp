// The Print command of the main window opens the print selection, from the menu and from the toolbar.
#include "JanelaFixture.h"

#include "app/ui/Aplicacao.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTimer>

TEST_F(JanelaTest, ImprimirAbreAsOpcoesDeImpressaoPeloMenuEPelaBarra)
{
    app::ui::LigaComandos(*janela);
    preencheProjeto();
    abreProjeto();
    QStringList vistos;
    const auto responde = [&] {
        QTimer::singleShot(0, [&] {
            QWidget* d = QApplication::activeModalWidget();
            if (!d)
                return;
            vistos << d->objectName() + QStringLiteral(": ") + d->windowTitle();
            if (auto* cancelar = d->findChild<QPushButton*>(QStringLiteral("btnCancelar")))
                cancelar->click();
        });
    };
    responde();
    achar<QAction>("Imprimir1")->trigger();
    responde();
    achar<QToolButton>("btImprimir")->click();
    EXPECT_EQ(vistos, QStringList(2, QStringLiteral("TfrmImpressao: Opções de Impressão")));
    EXPECT_TRUE(roteiro->mensagens.isEmpty());
}
