// A server that never says whether a connection stays open and closes it after each reply (as many
// small servers and proxies do): every download and send must still go through, each request once.

#include "ApoioEnvio.h"

#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "net/CargaProjeto.h"
#include "net/EnviaDados.h"
#include "net/Transporte.h"
#include "store/Dados.h"
#include "tests/support/ServidorDeTeste.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace {

// path -> how many requests the server received for it
std::map<QString, int> contaPedidos(const QString& registro)
{
    std::map<QString, int> r;
    QFile f(registro);
    if (!f.open(QIODevice::ReadOnly))
        return r;
    const QByteArray tudo = f.readAll();
    qsizetype pos = 0;
    while (pos < tudo.size()) {
        const qsizetype fim = tudo.indexOf('\n', pos);
        if (fim < 0)
            break;
        const QList<QByteArray> cab = tudo.mid(pos, fim - pos).split(' ');
        ++r[QString::fromUtf8(cab.value(0))];
        pos = fim + 1 + cab.value(1).toLongLong() + 1;
    }
    return r;
}

} // namespace

TEST(ConexaoFechadaTest, TwentyDownloadsAndSendsInARowNeitherFailNorRepeatARequest)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString registro = dir.filePath(QStringLiteral("pedidos.log"));
    ServidorDeTeste::Opcoes o;
    // Long enough for the client to hand its next request to the connection before it goes down.
    o.extras = {QStringLiteral("--fecha-sem-aviso"), QStringLiteral("150"), QStringLiteral("--registro-pedidos"),
                registro};
    ServidorDeTeste servidor(o);
    ASSERT_TRUE(servidor.iniciado()) << servidor.erro().toStdString();
    servidor.exportaAmbiente();
    net::RecarregaConfiguracao();
    app::InteracaoRoteirizada seam;
    app::Estado().ProgramDir = app::ComBarra(dir.path());
    store::criaDados();
    net::AcoesDoEnvio acoes;
    acoes.verificarPendencia = [](bool) {};
    acoes.salvarComo = [] { return true; };

    constexpr int Rodadas = 20;
    int falhas = 0;
    for (int i = 0; i < Rodadas; ++i) {
        const bool baixou = net::RecebeProjeto(QStringLiteral("demo"), QStringLiteral("demo"), [](store::Table&) {
            app::Estado().ProjectCode = QStringLiteral("1");
        });
        falhas += !baixou;
        if (!baixou)
            continue;
        store::Table& estudo = store::dados().resultadosGerados().tbEstudo;
        estudo.first();
        estudo.edit();
        estudo.setValue(QStringLiteral("Status"), QStringLiteral("A"));
        estudo.setValue(QStringLiteral("Titulo"), QStringLiteral("TÍTULO DA RODADA %1").arg(i));
        estudo.post();
        seam.mensagens.clear();
        const net::ResultadoEnvio r = net::EnviaDados(store::dados(), QStringLiteral("demo"), QStringLiteral("demo"), acoes);
        falhas += r.etapa != net::EtapaEnvio::Concluido || r.flags.erro || r.nadaEnviado;
    }
    store::destroiDados();

    EXPECT_EQ(falhas, 0) << seam.textos().join(QLatin1Char('\n')).toStdString();
    const std::map<QString, int> pedidos = contaPedidos(registro);
    // Every procedure the client asked for reached the server once per round, never twice.
    ASSERT_EQ(pedidos.size(), size_t(45 + 2 + 1));
    for (const auto& [caminho, n] : pedidos)
        EXPECT_EQ(n, Rodadas) << caminho.toStdString();
    EXPECT_TRUE(seam.inesperadas.isEmpty());
}
