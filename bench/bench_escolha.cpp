// The knowledge-area choice dialog against a bare tree widget filled with the same strings, in the same
// run: "ratio choice-dialog <ours/bare tree>", goal at most 1.5. Ours reads and checks the shipped file,
// builds its form and fills its tree; the peer gets the strings already in memory.
// Times are the thread's processor time, the best of 30 alternated tries.
// Also loads course levels of n and 2n rows into empty tables: "ratio levels-2n-over-n", about 2 when
// the loading is linear (goal at most 2.3).
#include "edit/TabelasInternas.h"
#include "edit/ui/DialogosEscolha.h"

#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "store/Table.h"
#include "store/Alocador.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

namespace {

// The thread's processor time: the other programs of a busy machine do not count in it.
double Agora()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// The best of `tentativas` runs of `vezes` calls of each, in seconds per call. The two are measured in
// turn, so that a busy moment of the machine weighs on both alike.
std::pair<double, double> MelhoresAlternados(int tentativas, int vezes, const std::function<void()>& a,
                                             const std::function<void()>& b)
{
    double ma = 1e30;
    double mb = 1e30;
    for (int t = 0; t < tentativas; ++t) {
        double inicio = Agora();
        for (int i = 0; i < vezes; ++i)
            a();
        ma = std::min(ma, (Agora() - inicio) / vezes);
        inicio = Agora();
        for (int i = 0; i < vezes; ++i)
            b();
        mb = std::min(mb, (Agora() - inicio) / vezes);
    }
    return {ma, mb};
}

void ArvoreNua(const edit::ArvoreTabela& nos)
{
    QTreeWidget arvore;
    arvore.setHeaderHidden(true);
    QList<QTreeWidgetItem*> raizes;
    std::vector<QTreeWidgetItem*> pais;
    for (const edit::NoTabela& no : nos) {
        pais.resize(std::size_t(no.nivel));
        auto* item = pais.empty() ? new QTreeWidgetItem(QStringList{no.texto})
                                  : new QTreeWidgetItem(pais.back(), QStringList{no.texto});
        if (pais.empty())
            raizes.append(item);
        pais.push_back(item);
    }
    arvore.addTopLevelItems(raizes);
}

std::unique_ptr<store::Table> Tabela(const char* nome, int colunas)
{
    std::vector<store::FieldDef> campos;
    if (colunas == 2)
        campos.push_back({QStringLiteral("Nivel"), store::FieldType::Text, 255});
    campos.push_back({QStringLiteral("Descricao"), store::FieldType::Text, 255});
    auto t = std::make_unique<store::Table>(QString::fromLatin1(nome), -99, campos);
    t->open();
    return t;
}

// Writes level and sub-level files of n rows each (the first line of a table text holds at most
// 25,500 characters, so n stays small and each load is repeated).
void EscreveNiveis(const QString& pasta, int n)
{
    QByteArray niveis = "<InitTab>\n";
    QByteArray sub = "<InitTab>\n";
    for (int i = 0; i < n; ++i) {
        niveis += "N\xcdVEL " + QByteArray::number(i) + "\n";
        sub += "N" + QByteArray::number(i % 9) + "|S" + QByteArray::number(i) + "\n";
    }
    niveis += "<FimTab>";
    sub += "<FimTab>";
    QFile a(pasta + QStringLiteral("niveis_curso.txt"));
    QFile b(pasta + QStringLiteral("subniveis_curso.txt"));
    if (!a.open(QIODevice::WriteOnly) || !b.open(QIODevice::WriteOnly))
        std::abort();
    a.write(niveis);
    b.write(sub);
}

// Loads the level files of the folder SystemDir points at.
std::function<void()> CargaNiveis()
{
    return [] {
        auto nivel = Tabela("tbNivel", 1);
        auto sub = Tabela("tbSubNivel", 2);
        edit::CarregaNiveisCurso(*nivel, *sub);
    };
}

} // namespace

int main(int argc, char** argv)
{
    store::FixaLimitesDoAlocador();
    QApplication aplicacao(argc, argv);
    app::InteracaoRoteirizada silencio;  // no wait window, no console output
    app::InicializaEstado(QCoreApplication::applicationDirPath());
    const edit::ArvoreTabela nos = edit::LeArvore(QStringLiteral("areas_conhecimento.txt"));

    // Warm both paths once (fonts, styles, the collator).
    { edit::ui::TfrmConhec d; }
    ArvoreNua(nos);

    const auto [nosso, peer] = MelhoresAlternados(30, 20, [] { edit::ui::TfrmConhec d; }, [&] { ArvoreNua(nos); });
    std::printf("choice dialog: %.3f ms, bare tree of %zu nodes: %.3f ms\n", nosso * 1e3, nos.size(), peer * 1e3);
    std::printf("ratio choice-dialog %.2f\n", nosso / peer);

    // Two folders, one with n rows per file and one with 2n; SystemDir is switched between them.
    const int n = 600;
    QTemporaryDir pastaN;
    QTemporaryDir pasta2N;
    for (auto [pasta, linhas] : {std::pair{&pastaN, n}, std::pair{&pasta2N, 2 * n}}) {
        app::InicializaEstado(pasta->path());
        QDir().mkpath(edit::PastaTabelas());
        EscreveNiveis(edit::PastaTabelas(), linhas);
    }
    const auto [um, dois] = MelhoresAlternados(
        30, 10,
        [&] {
            app::InicializaEstado(pastaN.path());
            CargaNiveis()();
        },
        [&] {
            app::InicializaEstado(pasta2N.path());
            CargaNiveis()();
        });
    std::printf("levels: %d rows %.3f ms, %d rows %.3f ms\n", n, um * 1e3, 2 * n, dois * 1e3);
    std::printf("ratio levels-2n-over-n %.2f\n", dois / um);
    return 0;
}
