// The print selection dialog: its controls, the folder menu, and each of its buttons' paths.
#include "ApoioRelatorios.h"

#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "reports/ui/TfrmImpressao.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using reports::ui::TfrmImpressao;

namespace {

const char* const Pastas[] = {"cbDadosGerais", "cbInstituicoes", "cbEquipe", "cbResultados",
                              "cbApoios", "cbRecursosAdquiridos", "cbOrcamento", "cbAvaliacao"};

class Impressao : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("REZOZUR_NOME_DO_PROGRAMA", "Programa de Apoio de Teste");
        ambiente = std::make_unique<teste::AmbienteDeProjeto>();
        app::Estado().ProjectFileName = pasta.filePath(u"meu projeto.prj"_s);
        app::Estado().ProjectOpen = true;
        Insere(store::DataIdentificacao().tbProjeto, {{"Cod_Proj", u"5"_s}, {"Titulo", u"TITULO-DO-PROJETO"_s}});
        Insere(store::DataAtividadesApoiadas().tbLaboratorio,
               {{"Cod_Laboratorio", u"1"_s}, {"NomeLab", u"LABORATORIO-UNICO"_s}});
        roteiro = std::make_unique<app::InteracaoRoteirizada>();
        dialogo = std::make_unique<TfrmImpressao>();
        dialogo->show();
    }
    void TearDown() override
    {
        dialogo.reset();
        EXPECT_TRUE(roteiro->inesperadas.isEmpty()) << qPrintable(roteiro->inesperadas.join(u'\n'));
        EXPECT_EQ(roteiro->respostasPendentes(), 0);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the hourglass is always given back
        roteiro.reset();
        ambiente.reset();
    }
    template <typename T>
    T* achar(const char* nome)
    {
        T* w = dialogo->findChild<T*>(QString::fromLatin1(nome));
        EXPECT_NE(w, nullptr) << nome;
        return w;
    }
    void clica(const char* botao) { QTest::mouseClick(achar<QPushButton>(botao), Qt::LeftButton); }

    QTemporaryDir pasta;
    std::unique_ptr<teste::AmbienteDeProjeto> ambiente;
    std::unique_ptr<app::InteracaoRoteirizada> roteiro;
    std::unique_ptr<TfrmImpressao> dialogo;
};

} // namespace

TEST_F(Impressao, ControlesEMenuDeMarcarEDesmarcar)
{
    EXPECT_EQ(dialogo->windowTitle(), u"Opções de Impressão"_s);
    EXPECT_EQ(achar<QGroupBox>("gbPastas")->title(), u"Pastas : "_s);
    QStringList textos;
    for (const char* n : Pastas) {
        auto* c = achar<QCheckBox>(n);
        EXPECT_TRUE(c->isChecked() && c->isVisible()) << n;
        textos << c->text();
    }
    EXPECT_EQ(textos, (QStringList{u"Dados Gerais"_s, u"Instituições"_s, u"Equipe"_s, u"Resultados"_s, u"Apoios"_s,
                                   u"Recursos Adquiridos"_s, u"Orçamento"_s, u"Avaliação"_s}));
    auto* capa = achar<QCheckBox>("cbCapa");
    EXPECT_TRUE(capa->isChecked());
    EXPECT_FALSE(capa->isVisible());
    EXPECT_FALSE(achar<QSpinBox>("seCopias")->isVisible());
    EXPECT_EQ(achar<QSpinBox>("seCopias")->value(), 1);
    EXPECT_EQ(achar<QSpinBox>("seCopias")->maximum(), 5);
    EXPECT_EQ(achar<QPushButton>("BtnOk")->text(), u"&Imprimir"_s);
    EXPECT_EQ(achar<QPushButton>("btnVisualizar")->text(), u"&Visualizar"_s);
    EXPECT_EQ(achar<QPushButton>("btnSalvarPdf")->text(), u"Salvar em &PDF..."_s);
    EXPECT_EQ(achar<QPushButton>("btnCancelar")->text(), u"&Cancelar"_s);

    auto* desmarcar = achar<QAction>("pmiDesmarcarTodos");
    auto* marcar = achar<QAction>("pmiMarcarTodos");
    EXPECT_EQ(desmarcar->text(), u"&Desmarcar todos"_s);
    EXPECT_EQ(marcar->text(), u"&Marcar todos"_s);
    EXPECT_EQ(dialogo->menuDasPastas()->actions(), (QList<QAction*>{marcar, desmarcar}));
    desmarcar->trigger();
    for (const char* n : Pastas)
        EXPECT_FALSE(achar<QCheckBox>(n)->isChecked()) << n;
    EXPECT_TRUE(capa->isChecked());
    EXPECT_TRUE(dialogo->pastasMarcadas().isEmpty());
    marcar->trigger();
    for (const char* n : Pastas)
        EXPECT_TRUE(achar<QCheckBox>(n)->isChecked()) << n;
    EXPECT_EQ(dialogo->pastasMarcadas(), reports::TodasAsPastas());
}

TEST_F(Impressao, SalvarEmPdfSemPastasGravaSoACapaComOTituloDoTrabalho)
{
    achar<QAction>("pmiDesmarcarTodos")->trigger();
    store::Table& plano = store::DataIdentificacao().tbPlanoAplic;
    plano.setFilter(u"Local = 'E'"_s);
    const QString arquivo = pasta.filePath(u"saida.pdf"_s);
    roteiro->respondeArquivo(arquivo);
    clica("btnSalvarPdf");
    ASSERT_EQ(roteiro->escolhas.size(), 1);
    EXPECT_EQ(roteiro->escolhas[0].extensaoPadrao, u"pdf"_s);
    EXPECT_EQ(roteiro->escolhas[0].nomeInicial, u"meu projeto.pdf"_s);
    const LeituraPdf pdf = LeituraPdf::de(arquivo);
    EXPECT_EQ(pdf.paginasInfo, 1);
    EXPECT_TRUE(pdf.tudo().contains(u"TITULO-DO-PROJETO"_s));
    EXPECT_FALSE(pdf.tudo().contains(u"LABORATORIO-UNICO"_s));
    EXPECT_EQ(pdf.titulo, u"meu projeto.prj"_s);
    EXPECT_EQ(plano.filter(), u"Local = 'E'"_s);
    EXPECT_TRUE(roteiro->mensagens.isEmpty());
    EXPECT_EQ(dialogo->result(), QDialog::Accepted);
    EXPECT_FALSE(dialogo->isVisible());
}

TEST_F(Impressao, ImprimirPassaPeloDialogoDaImpressoraSemImprimirEmArquivo)
{
    const QString arquivo = pasta.filePath(u"impressora.pdf"_s);
    roteiro->respondeImpressora(true);
    QString titulo;
    roteiro->aoEscolherImpressora = [&](QPagedPaintDevice* d) {
        auto* p = static_cast<QPrinter*>(d);
        titulo = p->docName();
        // What a user chooses in the dialog: here a printer that writes a PDF file.
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(arquivo);
    };
    clica("BtnOk");
    ASSERT_EQ(roteiro->impressoras.size(), 1);
    EXPECT_FALSE(roteiro->impressoras[0].imprimirEmArquivo);
    EXPECT_EQ(titulo, u"meu projeto.prj"_s);
    const LeituraPdf pdf = LeituraPdf::de(arquivo);
    EXPECT_TRUE(pdf.tudo().contains(u"LABORATORIO-UNICO"_s));
    EXPECT_TRUE(pdf.tudo().contains(u"TITULO-DO-PROJETO"_s));
    EXPECT_EQ(pdf.titulo, u"meu projeto.prj"_s);
    EXPECT_FALSE(dialogo->isVisible());
}

TEST_F(Impressao, CancelarODialogoDaImpressoraNaoImprimeNemAvisa)
{
    roteiro->respondeImpressora(false);
    clica("BtnOk");
    EXPECT_EQ(roteiro->impressoras.size(), 1);
    EXPECT_TRUE(roteiro->mensagens.isEmpty());
    EXPECT_FALSE(dialogo->isVisible());
}

TEST_F(Impressao, FalhaAoGerarAvisaEDevolveOCursor)
{
    roteiro->respondeArquivo(u"/pasta/que/nao/existe/x.pdf"_s);
    clica("btnSalvarPdf");
    ASSERT_EQ(roteiro->mensagens.size(), 1);
    EXPECT_TRUE(roteiro->mensagens[0].texto.startsWith(
        u"Não foi possível gerar o relatório.\r\rVerifique a impressora\r\rErro:"_s))
        << qPrintable(roteiro->mensagens[0].texto);
    EXPECT_GT(roteiro->mensagens[0].texto.size(), 70);  // the failure's own message follows
    EXPECT_EQ(roteiro->mensagens[0].icone, app::Icone::Erro);
    EXPECT_EQ(roteiro->mensagens[0].titulo, u"REZOZUR Eva-Rudo 1.3.1"_s);
    EXPECT_TRUE(roteiro->status.value(2).isEmpty());
    EXPECT_FALSE(dialogo->isVisible());
}

TEST_F(Impressao, VisualizarMostraAPreviaComTodasAsPaginas)
{
    achar<QAction>("pmiDesmarcarTodos")->trigger();
    achar<QCheckBox>("cbApoios")->setChecked(true);
    int paginas = -1;
    QString titulo;
    QTimer::singleShot(0, [&] {
        auto* previa = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (!previa)
            return;
        titulo = previa->windowTitle();
        if (auto* w = previa->findChild<QPrintPreviewWidget*>())
            paginas = w->pageCount();
        previa->reject();
    });
    clica("btnVisualizar");
    // The cover, the laboratories, then a page for each of the three other supported activities.
    EXPECT_EQ(paginas, 5);
    EXPECT_EQ(titulo, u"meu projeto.prj"_s);
    EXPECT_TRUE(roteiro->mensagens.isEmpty());
    EXPECT_FALSE(dialogo->isVisible());
}
