// Saving and opening a project of 100,000 rows (see LinhasDoProjeto.h) against Info-ZIP packing and
// unpacking the same table files with the same password and level. Prints "ratio save-open <ours/peer>";
// the goal is at most 1.1.
// Also prints "ratio archive <ours/peer>": our archive class alone on the same files, without writing
// and reading the table files, so that the two costs can be told apart.
#include "LinhasDoProjeto.h"
#include "ProjetoDeTeste.h"

#include "core/ProgramState.h"
#include "store/ArquivoZip.h"
#include "store/Catalogo.h"
#include "store/Dados.h"
#include "store/Projeto.h"
#include "store/Alocador.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

using Relogio = std::chrono::steady_clock;

double Segundos(Relogio::time_point inicio) { return std::chrono::duration<double>(Relogio::now() - inicio).count(); }

bool Executa(const QString& programa, const QStringList& args, const QString& pasta)
{
    QProcess p;
    p.setWorkingDirectory(pasta);
    p.start(programa, args);
    return p.waitForFinished(600000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

int main(int argc, char** argv)
{
    store::FixaLimitesDoAlocador();
    QCoreApplication app(argc, argv);
    constexpr int Rodadas = 3;
    const int linhasPorTabela = (bench::LinhasDoProjeto() + store::NumTabelasArmazenadas - 1) / store::NumTabelasArmazenadas;

    teste::AmbienteDeProjeto ambiente;
    teste::PreencheProjeto(linhasPorTabela);
    app::Estado().ProjectCode = QStringLiteral("4242");
    const int linhas = teste::TotalDeLinhas();
    QTemporaryDir saida;
    const QString arquivo = saida.path() + QStringLiteral("/projeto.prj");

    double gravar = 1e9, abrir = 1e9;
    for (int r = 0; r < Rodadas; ++r) {
        auto t0 = Relogio::now();
        if (!store::GravaProjeto(arquivo)) {
            std::fprintf(stderr, "a gravação falhou\n");
            return 1;
        }
        gravar = std::min(gravar, Segundos(t0));
        store::DataGeral().ClearTables();
        t0 = Relogio::now();
        if (!store::LeProjeto(arquivo)) {
            std::fprintf(stderr, "a leitura falhou\n");
            return 1;
        }
        abrir = std::min(abrir, Segundos(t0));
        if (teste::TotalDeLinhas() != linhas) {
            std::fprintf(stderr, "linhas lidas: %d de %d\n", teste::TotalDeLinhas(), linhas);
            return 1;
        }
    }

    // The peer works on the very same table files.
    const QString pasta = ambiente.pasta();
    store::DataGeral().SaveTables();
    QStringList nomes = store::EntradasDoProjeto();
    const QString zip = saida.path() + QStringLiteral("/peer.zip");
    const QString extraidos = saida.path() + QStringLiteral("/peer/");
    double peerZip = 1e9, peerUnzip = 1e9;
    for (int r = 0; r < Rodadas; ++r) {
        QFile::remove(zip);
        QDir(extraidos).removeRecursively();
        QStringList args{QStringLiteral("-q"), QStringLiteral("-P"), store::SenhaDoProjeto, QStringLiteral("-6"), zip};
        args << nomes;
        auto t0 = Relogio::now();
        if (!Executa(QStringLiteral("zip"), args, pasta))
            return 1;
        peerZip = std::min(peerZip, Segundos(t0));
        t0 = Relogio::now();
        if (!Executa(QStringLiteral("unzip"), {QStringLiteral("-q"), QStringLiteral("-o"), QStringLiteral("-P"), store::SenhaDoProjeto, zip, QStringLiteral("-d"), extraidos}, pasta))
            return 1;
        peerUnzip = std::min(peerUnzip, Segundos(t0));
    }
    // Our archive class on the same files.
    double arquivoGrava = 1e9, arquivoLe = 1e9;
    const QString nosso = saida.path() + QStringLiteral("/nosso.zip");
    const QString nossosExtraidos = saida.path() + QStringLiteral("/nosso/");
    QDir().mkpath(nossosExtraidos);
    for (int r = 0; r < Rodadas; ++r) {
        store::ArquivoZip z;
        z.ZipFileName = nosso;
        z.Password = store::SenhaDoProjeto;
        for (const QString& n : nomes)
            z.FilesToProcess << pasta + n;
        auto t0 = Relogio::now();
        if (z.Compacta() != store::ArquivoZip::Ok)
            return 1;
        arquivoGrava = std::min(arquivoGrava, Segundos(t0));
        store::ArquivoZip e;
        e.ZipFileName = nosso;
        e.Password = store::SenhaDoProjeto;
        e.ExtractDirectory = nossosExtraidos;
        e.NomesPermitidos = nomes;
        t0 = Relogio::now();
        if (e.Extrai() != store::ArquivoZip::Ok)
            return 1;
        arquivoLe = std::min(arquivoLe, Segundos(t0));
    }
    store::ApagaArquivosTabelas();

    std::printf("rows %d, archive %lld bytes (peer %lld)\n", linhas, QFileInfo(arquivo).size(), QFileInfo(zip).size());
    std::printf("ours: save %.3f s, open %.3f s; peer: zip %.3f s, unzip %.3f s\n", gravar, abrir, peerZip, peerUnzip);
    std::printf("archive class alone: write %.3f s, extract %.3f s\n", arquivoGrava, arquivoLe);
    std::printf("ratio save-open %.2f\n", (gravar + abrir) / (peerZip + peerUnzip));
    std::printf("ratio archive %.2f\n", (arquivoGrava + arquivoLe) / (peerZip + peerUnzip));
    return 0;
}
