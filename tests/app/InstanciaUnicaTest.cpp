#include "app/ui/InstanciaUnica.h"
#include "app/ui/TfrmMenu1.h"
#include "store/Dados.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QUuid>

#include <gtest/gtest.h>

using app::ui::InstanciaUnica;

namespace {
bool espera(const std::function<bool()>& condicao)
{
    for (int i = 0; i < 100 && !condicao(); ++i)
        QTest::qWait(50);
    return condicao();
}

QString nomeDeTeste() { return QStringLiteral("rezozur-teste-") + QUuid::createUuid().toString(QUuid::Id128).left(12); }
}

TEST(InstanciaUnica, WithoutAFirstCopyTheProgramStartsAndListens)
{
    const QString nome = nomeDeTeste();
    InstanciaUnica unica(nome);
    EXPECT_FALSE(unica.avisaOutraCopia(200));
    EXPECT_TRUE(unica.escuta());
}

TEST(InstanciaUnica, SecondCopyRestoresAndRaisesTheFirstWindow)
{
    store::criaDados();
    {
        const QString nome = nomeDeTeste();
        InstanciaUnica primeira(nome);
        ASSERT_TRUE(primeira.escuta());
        app::ui::TfrmMenu1 janela;
        QObject::connect(&primeira, &InstanciaUnica::restaurarPedido, &janela,
                         &app::ui::TfrmMenu1::restauraDoMinimizado);
        janela.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&janela));
        janela.showMinimized();
        ASSERT_TRUE(espera([&] { return janela.isMinimized(); }));

        InstanciaUnica segunda(nome);
        EXPECT_TRUE(segunda.avisaOutraCopia());
        EXPECT_TRUE(espera([&] { return !janela.isMinimized(); }));
        EXPECT_TRUE(janela.isVisible());
    }
    store::destroiDados();
}

TEST(InstanciaUnica, SocketLeftByACrashedCopyDoesNotBlockTheNextStart)
{
    const QString nome = nomeDeTeste();
    // What an abruptly ended copy leaves: the socket's file, with nobody listening.
    QFile sobra(QDir::tempPath() + QLatin1Char('/') + nome);
    ASSERT_TRUE(sobra.open(QIODevice::WriteOnly));
    sobra.close();
    InstanciaUnica nova(nome);
    EXPECT_FALSE(nova.avisaOutraCopia(200));
    EXPECT_TRUE(nova.escuta());
    InstanciaUnica outra(nome);
    EXPECT_TRUE(outra.avisaOutraCopia());
}
