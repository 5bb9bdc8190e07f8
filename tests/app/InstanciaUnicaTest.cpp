#include "JanelaFixture.h"

#include "app/ui/Aplicacao.h"
#include "app/ui/InstanciaUnica.h"
#include "app/ui/TfrmMenu1.h"
#include "core/ProgramState.h"
#include "store/Dados.h"

#include <QDialog>
#include <QDir>
#include <QTemporaryDir>
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

TEST(InstanciaUnica, SecondCopyHandsTheFilesItWasGivenToTheFirst)
{
    const QString nome = nomeDeTeste();
    InstanciaUnica primeira(nome);
    ASSERT_TRUE(primeira.escuta());
    QStringList pedidos;
    QObject::connect(&primeira, &InstanciaUnica::abrirPedido, [&](const QString& a) { pedidos << a; });
    // Blanks, accents, a percent sign and a line break stay what they were on the way over.
    const QStringList arquivos{QStringLiteral("/home/ana/Relatório final 100%.prj"), QStringLiteral("/tmp/a\nb.prj")};
    InstanciaUnica segunda(nome);
    EXPECT_TRUE(segunda.avisaOutraCopia(1000, arquivos));
    EXPECT_TRUE(espera([&] { return pedidos.size() == 2; }));
    EXPECT_EQ(pedidos, arquivos);
    // Without a file, nothing is asked to open.
    InstanciaUnica terceira(nome);
    EXPECT_TRUE(terceira.avisaOutraCopia());
    QTest::qWait(100);
    EXPECT_EQ(pedidos.size(), 2);
}

// A file manager's double click while the program runs: the running copy asks about its unsaved
// project, then opens the file, and waits while a dialog is open.
class OutraCopia : public JanelaTest
{
};

TEST_F(OutraCopia, OpensTheFileItIsHandedAfterTheSaveQuestionOnceNoDialogIsOpen)
{
    QTemporaryDir pasta;
    const QString arquivo = salvaProjetoEFecha(pasta.path(), QStringLiteral("entregue.prj"));
    preencheProjeto();
    abreProjeto();
    auto& inst = store::DataIdentificacao().tbInstituicao;
    inst.first();
    inst.edit();
    inst.setValue(QStringLiteral("Nome"), QStringLiteral("NOME MUDADO"));
    inst.post();
    app::SetModified(true);
    app::Estado().ProjectFileName.clear();

    const QString nome = nomeDeTeste();
    InstanciaUnica primeira(nome);
    ASSERT_TRUE(primeira.escuta());
    app::ui::LigaOutraCopia(primeira, *janela);
    QDialog aberto(janela.get());
    aberto.setModal(true);
    aberto.show();

    InstanciaUnica segunda(nome);
    ASSERT_TRUE(segunda.avisaOutraCopia(1000, {arquivo}));
    QTest::qWait(600);
    EXPECT_TRUE(app::Estado().ProjectFileName.isEmpty()) << "opened under an open dialog";
    EXPECT_TRUE(roteiro->mensagens.isEmpty());

    roteiro->responde(app::Resposta::Nao);  // the unsaved project is not saved
    aberto.close();
    EXPECT_TRUE(espera([&] { return app::Estado().ProjectFileName == arquivo; }))
        << qPrintable(roteiro->textos().join(QLatin1Char('|')));
    ASSERT_FALSE(roteiro->mensagens.isEmpty());
    EXPECT_EQ(roteiro->mensagens.front().botoes, app::Botoes::SimNaoCancelar);
    EXPECT_TRUE(app::Estado().ProjectOpen);
    EXPECT_FALSE(app::Estado().ProjectModified);
    inst.first();
    EXPECT_EQ(inst.value(QStringLiteral("Nome")), QStringLiteral("UNIVERSIDADE EXECUTORA"));
}
