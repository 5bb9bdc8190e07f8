// The whole printed document to PDF for a project of 2,000 publications, 2,000 members with 4,000
// academic works and 500 budget lines, against QTextDocument::print of the same texts, in the same
// order, page size and pages, to a QPdfWriter. Prints "ratio report-pdf <ours/qtextdocument>" (goal: at
// most 1.0) and "ratio report-2n-over-n <ours at twice the size / ours>" (goal: at most 2.3).
#include "ProjetoDeTeste.h"

#include "reports/Documento.h"
#include "reports/Impressao.h"
#include "store/Dados.h"
#include "store/Alocador.h"

#include <QApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

using Relogio = std::chrono::steady_clock;

double Segundos(Relogio::time_point inicio) { return std::chrono::duration<double>(Relogio::now() - inicio).count(); }

void Linha(store::Table& t, std::initializer_list<std::pair<const char*, QString>> valores)
{
    t.append();
    t.setValue(QStringLiteral("Status"), QStringLiteral("N"));
    for (const auto& [campo, valor] : valores)
        t.setValue(QString::fromLatin1(campo), valor);
    t.post();
}

void PreencheProjeto(int n)
{
    auto& id = store::DataIdentificacao();
    auto& rg = store::DataResultadosGerados();
    auto& aa = store::DataAtividadesApoiadas();
    for (store::Table* t : store::dados().todas())
        t->disableControls();
    Linha(id.tbProjeto, {{"Cod_Proj", QStringLiteral("1")}, {"Titulo", QStringLiteral("Projeto de medida")},
                         {"Objetivo", QStringLiteral("Medir o tempo de impressão de um projeto grande. ").repeated(20)}});
    for (int i = 0; i < n; ++i) {
        const QString m = QString::number(i + 1);
        Linha(id.tbMembro, {{"Cod_Membro", m}, {"Nome", QStringLiteral("Membro número %1 da equipe").arg(m)},
                            {"EquipeOriginal", QStringLiteral("S")},
                            {"DescricaoFuncao", i == 0 ? QStringLiteral("COORDENADOR") : QStringLiteral("PESQUISADOR")},
                            {"TitulacaoAtual", QStringLiteral("DOUTOR")}, {"Cidade", QStringLiteral("Belo Horizonte")},
                            {"Email", QStringLiteral("membro%1@exemplo.br").arg(m)}});
        for (int k = 0; k < 2; ++k) {
            const QString t = QStringLiteral("%1-%2").arg(m).arg(k);
            Linha(aa.tbTrabalhoAcademico, {{"Cod_Trab", t}, {"Cod_Membro", m}, {"TipoTrab", QStringLiteral("DISSERTAÇÃO")},
                                           {"TituloTrab", QStringLiteral("Trabalho acadêmico %1 sobre sensores").arg(t)},
                                           {"AnoInicio", QStringLiteral("1997")}});
            Linha(aa.tbTrabalhoAreaConhec, {{"Cod_Trab", t}, {"DescArea", QStringLiteral("ENGENHARIA ELÉTRICA")}});
        }
        Linha(rg.tbPublicacao, {{"Cod_Publicacao", m}, {"TipoPublicacao", QStringLiteral("ARTIGO")},
                                {"Qualificacao", QStringLiteral("INDEXADA")},
                                {"Titulo", QStringLiteral("Publicação %1 sobre a qualidade da água").arg(m)},
                                {"Autor", m}, {"VeiculoPublic", QStringLiteral("Revista de Medidas")},
                                {"Co_autores", QStringLiteral("Outros autores da equipe")}});
        Linha(rg.tbPublicAreaConhec, {{"Cod_Publicacao", m}, {"DescricaoAreaConhec", QStringLiteral("QUÍMICA")}});
    }
    for (int i = 0; i < n / 4; ++i)
        Linha(id.tbPlanoAplic, {{"Local", i % 3 ? QStringLiteral("P") : QStringLiteral("E")},
                                {"ItemDispendio", QStringLiteral("Item de dispêndio %1").arg(i)},
                                {"VlContratado", QStringLiteral("%1.50").arg(i * 10)},
                                {"VlDesembolsado", QStringLiteral("%1.25").arg(i)}, {"VlExecutado", QStringLiteral("7")}});
    for (store::Table* t : store::dados().todas())
        t->enableControls();
}

struct Texto {
    QString texto;
    int pagina;
};

// Our document; `textos` (when given) receives every text with its page.
double Nosso(const QString& arquivo, std::vector<Texto>* textos, int* paginas)
{
    reports::Composto composto;
    composto.relatorios = reports::CriaRelatorios(reports::TodasAsPastas(), store::dados());
    QPdfWriter pdf(arquivo);
    pdf.setResolution(600);
    if (textos)
        composto.aoImprimirTexto = [textos](const QString& t, int pagina) { textos->push_back({t, pagina}); };
    const auto inicio = Relogio::now();
    *paginas = composto.imprime(pdf);
    return Segundos(inicio);
}

double Pares(const QString& arquivo, const std::vector<Texto>& textos)
{
    const auto inicio = Relogio::now();
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    QTextCursor cursor(&doc);
    int pagina = textos.empty() ? 0 : textos.front().pagina;
    bool primeiro = true;
    for (const Texto& t : textos) {
        QTextBlockFormat formato;
        if (t.pagina != pagina) {
            formato.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            pagina = t.pagina;
        }
        if (primeiro)
            cursor.setBlockFormat(formato);
        else
            cursor.insertBlock(formato);
        primeiro = false;
        cursor.insertText(t.texto);
    }
    QPdfWriter pdf(arquivo);
    pdf.setResolution(600);
    pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(215.9, 279.4), QPageSize::Millimeter), QPageLayout::Portrait,
                                  QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter));
    doc.print(&pdf);
    return Segundos(inicio);
}

} // namespace

int main(int argc, char** argv)
{
    store::FixaLimitesDoAlocador();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir pasta;
    const int n = argc > 1 ? std::max(10, atoi(argv[1])) : 2000;

    double nosso1 = 0, par = 0;
    {
        teste::AmbienteDeProjeto ambiente;
        PreencheProjeto(n);
        std::vector<Texto> textos;
        int paginas = 0;
        Nosso(pasta.filePath(QStringLiteral("aquecimento.pdf")), &textos, &paginas);
        nosso1 = 1e9;
        for (int r = 0; r < 2; ++r)
            nosso1 = std::min(nosso1, Nosso(pasta.filePath(QStringLiteral("nosso.pdf")), nullptr, &paginas));
        par = 1e9;
        for (int r = 0; r < 2; ++r)
            par = std::min(par, Pares(pasta.filePath(QStringLiteral("par.pdf")), textos));
        std::printf("n=%d: %d pages, %zu texts; ours %.2f s, QTextDocument %.2f s\n", n, paginas, textos.size(), nosso1,
                    par);
    }
    double nosso2 = 1e9;
    {
        teste::AmbienteDeProjeto ambiente;
        PreencheProjeto(2 * n);
        int paginas = 0;
        for (int r = 0; r < 2; ++r)
            nosso2 = std::min(nosso2, Nosso(pasta.filePath(QStringLiteral("nosso2.pdf")), nullptr, &paginas));
        std::printf("2n=%d: %d pages; ours %.2f s\n", 2 * n, paginas, nosso2);
    }
    std::printf("ratio report-pdf %.3f\n", nosso1 / par);
    std::printf("ratio report-2n-over-n %.3f\n", nosso2 / nosso1);
    return 0;
}
