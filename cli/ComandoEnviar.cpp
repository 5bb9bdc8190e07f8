#include "cli/Comando.h"
#include "cli/InteracaoCli.h"

#include "core/Interacao.h"
#include "core/ProgramState.h"
#include "net/EnviaDados.h"
#include "net/Verificacao.h"
#include "store/Dados.h"
#include "store/Projeto.h"


namespace cli {

namespace {

struct Opcoes {
    QString arquivo;
    QString usuario;
    QString senha;
    QString saida;
    bool aceitarNomes = false;
    bool desfazerEdicoes = false;
    bool reenviar = false;
    bool simular = false;
};

// Where the window would show the pending-items window, the tool lists its two boxes.
void ListaPendencias()
{
    const net::QuadrosValidacao& v = net::Validacao();
    for (const QString& e : v.MemoErr)
        Imprime(QStringLiteral("pendência: ") + e);
    for (const QString& a : v.MemoWarn)
        Imprime(QStringLiteral("aviso: ") + a);
}

// The main window's pending-items check, without the window.
void VerificaPendencia(bool quiet)
{
    if (!net::VerificaPendenciasLocais()) {
        app::FechaEspera();
        ListaPendencias();
        throw app::Abort();
    }
    if (!quiet)
        app::Mensagem(QStringLiteral("Os dados do projeto foram analisados localmente.\r"
                                     "Nenhuma inconsistência LOCAL foi encontrada.\r"
                                     "O sistema irá proceder com a verificação de Pessoas, Instituições e "
                                     "Laboratórios."),
                      app::Icone::Informacao, app::Botoes::Ok, QStringLiteral("Verificação Local Concluída"));
    if (!net::VerificaCadastros(quiet)) {
        app::FechaEspera();
        ListaPendencias();
        throw app::Abort();
    }
    const net::ContadoresVerificacao& c = net::Contadores();
    if (!quiet && c.DiferencasPessoas == 0 && c.DiferencasInstituicoes == 0)
        app::Mensagem(QStringLiteral("As Pessoas, Instituições e laboratórios do projeto foram analisados.\r"
                                     "Nenhum erro foi encontrado."),
                      app::Icone::Informacao, app::Botoes::Ok, QStringLiteral("Análise do Projeto Concluída"));
}

QString Resumo(const net::ResultadoEnvio& r, bool gravado)
{
    switch (r.etapa) {
    case net::EtapaEnvio::Concluido:
        if (r.nadaEnviado)
            return QStringLiteral("nada a enviar");
        return QStringLiteral("%1; exclusões recusadas: %2; projeto %3%4")
            .arg(r.flags.erro || r.flags.erroResposta ? QStringLiteral("enviado com erros")
                                                      : QStringLiteral("enviado"),
                 r.flags.exclusaoRecusada ? QStringLiteral("sim") : QStringLiteral("não"),
                 gravado ? QStringLiteral("gravado") : QStringLiteral("NÃO gravado"),
                 r.retidos.empty() ? QString() : QStringLiteral("; %1 registro(s) retido(s)").arg(r.retidos.size()));
    case net::EtapaEnvio::SemRespostaAnterior:
        return r.retidos.empty() ? QStringLiteral("envio não feito")
                                 : QStringLiteral("envio não feito: %1 registro(s) retido(s)").arg(r.retidos.size());
    case net::EtapaEnvio::FalhaEnvio:
        return QStringLiteral("envio interrompido por falha de comunicação; projeto não gravado");
    case net::EtapaEnvio::Pendencias:
        return QStringLiteral("envio não feito: há pendências");
    default:
        return QStringLiteral("envio não feito");
    }
}

int Enviar(const Comando& comando, const QStringList& argumentos)
{
    Opcoes o;
    for (qsizetype i = 0; i < argumentos.size(); ++i) {
        const QString& a = argumentos[i];
        auto valor = [&](QString& destino) {
            if (i + 1 >= argumentos.size())
                return false;
            destino = argumentos[++i];
            return true;
        };
        if (a == QLatin1String("--usuario")) {
            if (!valor(o.usuario))
                return UsoErrado(comando, QStringLiteral("falta o valor de --usuario"));
        } else if (a == QLatin1String("--senha")) {
            if (!valor(o.senha))
                return UsoErrado(comando, QStringLiteral("falta o valor de --senha"));
        } else if (a == QLatin1String("--saida")) {
            if (!valor(o.saida))
                return UsoErrado(comando, QStringLiteral("falta o valor de --saida"));
        } else if (a == QLatin1String("--aceitar-nomes")) {
            o.aceitarNomes = true;
        } else if (a == QLatin1String("--simular")) {
            o.simular = true;
        } else if (a == QLatin1String("--desfazer-edicoes")) {
            o.desfazerEdicoes = true;
        } else if (a == QLatin1String("--reenviar-sem-resposta")) {
            o.reenviar = true;
        } else if (a.startsWith(QLatin1Char('-')) || !o.arquivo.isEmpty()) {
            return UsoErrado(comando, QStringLiteral("argumento inesperado: ") + a);
        } else {
            o.arquivo = a;
        }
    }
    if (o.arquivo.isEmpty())
        return UsoErrado(comando, QStringLiteral("falta o arquivo"));
    if (o.usuario.isEmpty() || o.senha.isEmpty())
        return UsoErrado(comando, QStringLiteral("informe --usuario e --senha"));
    if (!LeSenhaSePedida(o.senha))
        return UsoErrado(comando, QStringLiteral("--senha -: nenhuma senha na entrada padrão"));

    // The registry check asks whether to take the registries' names: the flag answers.
    if (auto* seam = dynamic_cast<InteracaoCli*>(&app::interacao()))
        seam->defineResposta(o.aceitarNomes ? app::Resposta::Sim : app::Resposta::Nao);

    PastaTemporaria pasta;
    if (!pasta.isValid())
        return FalhaDoComando(comando, QStringLiteral("não foi possível criar uma pasta temporária"));
    if (!AbreProjeto(o.arquivo, pasta))
        return Falha;

    const QString destino = o.saida.isEmpty() ? o.arquivo : o.saida;
    bool pediuGravacao = false;
    bool gravado = false;
    net::AcoesDoEnvio acoes;
    acoes.verificarPendencia = VerificaPendencia;
    acoes.salvarComo = [&] {
        pediuGravacao = true;
        gravado = store::GravaProjeto(destino);
        if (gravado) {
            app::Estado().ProjectFileName = destino;
            app::SetModified(false);
        }
        return gravado;
    };
    // The two questions that guard against sending something twice or unconfirmed have flags of
    // their own: the general answer to questions must not agree to them by accident.
    const auto responde = [](bool sim) {
        return [sim](const QString& texto) {
            app::Mensagem(texto, app::Icone::Aviso);
            Imprime(sim ? QStringLiteral("resposta: Sim") : QStringLiteral("resposta: Não"));
            return sim;
        };
    };
    acoes.desfazEdicoes = responde(o.desfazerEdicoes);
    acoes.reenviarSemResposta = responde(o.reenviar);
    // --simular: the preview is printed and the send stops there, before any table request.
    if (o.simular)
        acoes.confirmaPrevia = [](const std::vector<net::PreviaDaTabela>& previa) {
            for (const QString& linha : net::TextoDaPrevia(previa))
                Imprime(QStringLiteral("prévia: ") + linha);
            return false;
        };
    // A copy of the sent state, if it comes to that, goes beside the file being written.
    app::Estado().ProjectFileName = destino;

    net::ResultadoEnvio r;
    try {
        r = net::EnviaDados(store::dados(), o.usuario, o.senha, acoes);
    } catch (const app::Abort&) {
        return Falha;
    } catch (const std::exception& e) {
        return FalhaDoComando(comando, QString::fromUtf8(e.what()));
    }
    if (o.simular) {
        if (r.etapa == net::EtapaEnvio::PreviaCancelada || (r.etapa == net::EtapaEnvio::Concluido && r.nadaEnviado)) {
            Imprime(QStringLiteral("resultado: simulação; nada foi enviado"));
            return Sucesso;
        }
        Imprime(QStringLiteral("resultado: ") + Resumo(r, false));
        return Falha;
    }
    for (const QString& retido : r.retidos)
        Imprime(QStringLiteral("retido: ") + retido);
    Imprime(QStringLiteral("resultado: ") + Resumo(r, gravado));
    if (gravado)
        Imprime(QStringLiteral("gravado em: ") + destino);
    // A send cut short by a failed request is not saved over the file, but what the server already
    // took (new codes, rows whose reply was lost) must not be lost with the process.
    if (r.etapa == net::EtapaEnvio::FalhaEnvio
        && (!r.nadaEnviado || !net::RegistrosSemResposta(store::dados()).isEmpty())) {
        const QString copia = net::GuardaEstadoDoEnvio();
        if (!copia.isEmpty())
            Imprime(QStringLiteral("estado do envio gravado em: ") + copia);
    }

    if (r.etapa != net::EtapaEnvio::Concluido)
        return Falha;
    if (pediuGravacao && !gravado)
        return Falha;
    // Something the user asked to send did not go: a script must not take that for success.
    if (!r.retidos.empty())
        return Falha;
    return r.flags.erro || r.flags.erroResposta ? Falha : Sucesso;
}

} // namespace

Comando ComandoEnviar()
{
    Comando c{QStringLiteral("enviar"),
              QStringLiteral("ARQUIVO.prj --usuario U --senha S|- [--simular] [--aceitar-nomes] [--desfazer-edicoes] "
                             "[--reenviar-sem-resposta] [--saida NOVO.prj]"),
              QStringLiteral("envia as modificações do projeto ao servidor e grava o projeto (em NOVO, ou no "
                             "próprio arquivo, guardando a cópia .bak); --desfazer-edicoes desfaz edições não "
                             "concluídas antes do envio; --reenviar-sem-resposta envia também registros cujo envio "
                             "anterior ficou sem resposta (podem duplicar no servidor); --simular mostra por seção o que seria "
                             "incluído, alterado e excluído e para antes de enviar qualquer tabela"),
              {}};
    c.executa = [c](const QStringList& a) { return Enviar(c, a); };
    return c;
}

} // namespace cli
