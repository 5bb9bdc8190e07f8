#include "edit/Edicao.h"
#include "edit/ValidaNumeros.h"
#include "edit/ui/CampoLineEdit.h"
#include "edit/ui/DialogoQt.h"
#include "edit/ui/PainelQt.h"

#include "core/InteracaoRoteirizada.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

TEST(CampoLineEdit, MascarasVaziasComoOsChecadoresEsperam)
{
    QLineEdit data;
    data.setInputMask(QStringLiteral("99/99/9999;_"));
    edit::CampoLineEdit campoData(&data);
    EXPECT_EQ(campoData.texto(), QStringLiteral("  /  /    "));
    data.setText(QStringLiteral("01/02/96"));
    EXPECT_EQ(campoData.texto(), QStringLiteral("01/02/96  "));

    QLineEdit valor;
    valor.setInputMask(QStringLiteral("#############.##;_"));
    edit::CampoLineEdit campoValor(&valor);
    EXPECT_EQ(campoValor.texto(), QStringLiteral("             .  "));
    EXPECT_EQ(campoValor.tamanhoMaximo(), 16);
}

TEST(CampoLineEdit, AlinhamentoMantemAsPosicoes)
{
    QLineEdit codigo;
    codigo.setInputMask(QStringLiteral("#########;_"));
    codigo.setText(QStringLiteral("12345"));
    edit::CampoLineEdit campo(&codigo);
    edit::AlinhaNumero(campo);
    EXPECT_EQ(campo.texto(), QStringLiteral("    12345"));
    EXPECT_EQ(codigo.text(), QStringLiteral("12345"));

    QLineEdit valor;
    valor.setInputMask(QStringLiteral("#############.##;_"));
    valor.setText(QStringLiteral("1234.5"));
    edit::CampoLineEdit campoValor(&valor);
    edit::AlinhaValor(campoValor);
    EXPECT_EQ(campoValor.texto(), QStringLiteral("         1234.5 "));
    EXPECT_EQ(valor.text(), QStringLiteral("1234.5"));

    app::InteracaoRoteirizada roteiro;
    EXPECT_TRUE(edit::ValidaValor(campoValor, QStringLiteral("Valor")));
    EXPECT_TRUE(edit::ValidaInteiro(campo, QStringLiteral("Código KESTA")));
    EXPECT_TRUE(roteiro.mensagens.isEmpty());
}

TEST(PainelQt, BotoesDiretosComTag)
{
    QWidget painel;
    auto* layout = new QHBoxLayout(&painel);
    auto* incluir = new QPushButton(QStringLiteral("&Incluir"));
    auto* editar = new QPushButton(QStringLiteral("&Editar"));
    auto* excluir = new QPushButton(QStringLiteral("E&xcluir"));
    for (QPushButton* b : {incluir, editar, excluir})
        layout->addWidget(b);
    edit::DefineTag(incluir, 1);
    incluir->setEnabled(false);
    auto* interno = new QWidget;
    layout->addWidget(interno);
    auto* neto = new QPushButton(interno);

    edit::PainelQt adaptado(&painel);
    EXPECT_EQ(adaptado.quantidade(), 4);
    for (int i = 0; i < adaptado.quantidade(); ++i)
        if (adaptado.tag(i) != 1)
            adaptado.habilita(i, false);
    EXPECT_FALSE(editar->isEnabled());
    EXPECT_FALSE(excluir->isEnabled());
    EXPECT_FALSE(interno->isEnabled());
    EXPECT_FALSE(incluir->isEnabled());  // tag 1 untouched
    adaptado.habilita(1, true);
    EXPECT_TRUE(editar->isEnabled());
    Q_UNUSED(neto);
}

TEST(DialogoQt, TagEExecModal)
{
    auto dialogo = std::make_unique<QDialog>();
    QPointer<QDialog> observado = dialogo.get();
    edit::DialogoQt adaptado(std::move(dialogo));
    adaptado.setTag(1);
    EXPECT_EQ(adaptado.tag(), 1);
    EXPECT_EQ(edit::TagDoDialogo(observado), 1);
    QTimer::singleShot(0, observado.data(), [observado] { observado->accept(); });
    EXPECT_EQ(adaptado.exec(), int(QDialog::Accepted));
}
