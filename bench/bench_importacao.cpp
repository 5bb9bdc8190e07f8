// Importing a BibTeX file of publications (reading, mapping, the dialog's checks with the duplicate
// test against the project and the file, and the writing with provisional codes and area rows) against
// inserting the same rows through the store directly. Prints "ratio <figure> <ours/peer>".
#include "core/Interacao.h"
#include "core/ProgramState.h"
#include "edit/ImportacaoPublicacoes.h"
#include "store/Alocador.h"
#include "store/Dados.h"

#include <QCoreApplication>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <vector>

namespace {

// Both sides run on one thread and touch no disk: the time the thread spent on the processor is their
// cost, and it holds steady on a machine that other work keeps busy, where the time on the wall
// does not.
struct Relogio {
    using time_point = double;
    static double now()
    {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
    }
};

const char* const Membros[] = {"MARIA APARECIDA DOS SANTOS", "JOÃO BATISTA DE OLIVEIRA", "ANA LÚCIA FERREIRA",
                               "JOSÉ CARLOS PEREIRA",        "LUIZ FERNANDO COSTA",      "PATRÍCIA GOMES RIBEIRO"};
const char* const Citados[] = {"Santos, Maria A.", "Oliveira, J. B.", "Ferreira, Ana L{\\'u}cia",
                               "Pereira, Jos{\\'e} C.", "Costa, L. F.", "Ribeiro, P. G."};

void inclui(store::Table& t, std::initializer_list<std::pair<const char*, QString>> campos)
{
    t.append();
    t.setValue(QStringLiteral("Status"), QStringLiteral("N"));
    for (const auto& [c, v] : campos)
        t.setValue(QString::fromLatin1(c), v);
    t.post();
}

// A fresh project: signed in 1996, six members and 1,000 publications already in it.
void projeto()
{
    store::criaDados();
    auto& id = store::DataIdentificacao();
    id.tbProjeto.open();
    inclui(id.tbProjeto, {{"Cod_Proj", QStringLiteral("1")}, {"DataAssinat", QStringLiteral("15/03/1996")}});
    int codigo = 1001;
    for (const char* nome : Membros)
        inclui(id.tbMembro, {{"Cod_Membro", QString::number(codigo++)}, {"Nome", QString::fromUtf8(nome)},
                             {"EquipeOriginal", QStringLiteral("S")}, {"DescricaoFuncao", QStringLiteral("PESQUISADOR")}});
    store::Table& pub = store::DataResultadosGerados().tbPublicacao;
    for (int i = 0; i < 1000; ++i)
        inclui(pub, {{"Cod_Publicacao", QString::number(5000 + i)}, {"TipoPublicacao", QStringLiteral("OUTRA")},
                     {"Qualificacao", QStringLiteral("NACIONAL")}, {"Titulo", QStringLiteral("Existente %1").arg(i)},
                     {"Autor", QStringLiteral("1001")}, {"VeiculoPublic", QStringLiteral("Revista %1").arg(i % 50)}});
}

// n entries as a reference manager writes them: LaTeX accents, a macro, three authors.
QByteArray arquivo(int n)
{
    QByteArray b = "@String{rbi = {Revista Brasileira de Instrumenta{\\c{c}}{\\~a}o}}\n\n";
    static const char* const meses[] = {"jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
    for (int i = 0; i < n; ++i) {
        b += "@Article{ref" + QByteArray::number(i) + ",\n  author  = {" + Citados[i % 6] + " and Smith, John and "
             + Citados[(i + 1) % 6] + "},\n  title   = {Calibra{\\c{c}}{\\~a}o de sondas {\\'o}pticas, parte "
             + QByteArray::number(i) + "},\n  journal = " + (i % 2 ? "rbi" : "{Water Research}")
             + ",\n  year    = {" + QByteArray::number(1997 + i % 13) + "},\n  month   = " + meses[i % 12]
             + ",\n  pages   = {1--10},\n}\n\n";
    }
    return b;
}

edit::OpcoesImportacao opcoes()
{
    edit::OpcoesImportacao o;
    o.area = QStringLiteral("ENGENHARIA SANITÁRIA");
    o.qualificacao = QStringLiteral("NACIONAL");
    return o;
}

double segundos(Relogio::time_point inicio) { return Relogio::now() - inicio; }

// Ours: the whole import of the file; `linhas` receives the publications it wrote, for the peer.
double importa(const QByteArray& bytes, int esperadas, std::vector<edit::PublicacaoImportada>* linhas)
{
    projeto();
    const auto inicio = Relogio::now();
    const edit::Importacao imp = edit::PreparaImportacao(bytes, QStringLiteral("refs.bib"), opcoes());
    const int gravadas = edit::GravaImportacao(imp, opcoes());
    const double t = segundos(inicio);
    if (gravadas != esperadas)
        std::fprintf(stderr, "imported %d of %d\n", gravadas, esperadas);
    if (linhas)
        for (const auto& p : imp.entradas)
            if (p.marcada)
                linhas->push_back(p);
    store::destroiDados();
    return t;
}

// The peer: the same rows and their area rows appended and posted straight into the same tables.
double insere(const std::vector<edit::PublicacaoImportada>& linhas)
{
    projeto();
    store::Table& pub = store::DataResultadosGerados().tbPublicacao;
    store::Table& areas = store::DataResultadosGerados().tbPublicAreaConhec;
    const QString area = opcoes().area;
    const auto inicio = Relogio::now();
    int codigo = -1;
    for (const auto& p : linhas) {
        const QString c = QString::number(codigo--);
        pub.append();
        pub.setValue(QStringLiteral("Status"), QStringLiteral("I"));
        pub.setValue(QStringLiteral("Cod_Publicacao"), c);
        pub.setValue(QStringLiteral("TipoPublicacao"), p.tipo);
        pub.setValue(QStringLiteral("Qualificacao"), p.qualificacao);
        pub.setValue(QStringLiteral("Titulo"), p.titulo);
        pub.setValue(QStringLiteral("Autor"), p.autor);
        pub.setValue(QStringLiteral("VeiculoPublic"), p.veiculo);
        pub.setValue(QStringLiteral("PaisPublicacao"), p.pais);
        pub.setValue(QStringLiteral("DataPublicacao"), p.data);
        pub.setValue(QStringLiteral("Co_autores"), p.coautores);
        pub.post();
        areas.append();
        areas.setValue(QStringLiteral("Status"), QStringLiteral("I"));
        areas.setValue(QStringLiteral("Cod_Publicacao"), c);
        areas.setValue(QStringLiteral("DescricaoAreaConhec"), area);
        areas.post();
    }
    const double t = segundos(inicio);
    store::destroiDados();
    return t;
}

double mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    store::FixaLimitesDoAlocador();
    QCoreApplication app(argc, argv);
    app::InicializaEstado(QCoreApplication::applicationDirPath());
    double nossoN = 0;
    for (const int n : {5000, 10000}) {
        const QByteArray bytes = arquivo(n);
        std::vector<edit::PublicacaoImportada> linhas;
        importa(bytes, n, &linhas);
        std::vector<double> nosso, par;
        for (int r = 0; r < 5; ++r) {
            nosso.push_back(importa(bytes, n, nullptr));
            par.push_back(insere(linhas));
        }
        const double a = mediana(nosso), b = mediana(par);
        std::printf("ratio import-%d %.3f\n", n, a / b);
        std::fprintf(stderr, "  import-%d: ours %.4fs, store inserts %.4fs\n", n, a, b);
        if (n == 5000)
            nossoN = a;
        else
            std::printf("ratio import-2n-over-n %.3f\n", a / nossoN);
    }
    return 0;
}
