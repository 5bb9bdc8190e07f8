#include "net/EnviaDados.h"

#include "core/Interacao.h"
#include "core/ProgramState.h"
#include "net/DiarioDeEnvios.h"
#include "net/Transporte.h"
#include "store/Catalogo.h"
#include "store/Dados.h"
#include "store/Projeto.h"
#include "store/RegistroEnvios.h"

#include <QDir>
#include <QFileInfo>

namespace net {

// Parents before their children, so that the children carry the permanent codes by the time they go.
const std::array<LinhaDeEnvio, 44> TabelaDeEnvio{{
    {"areas.atualiza_areaconhec", "tbAreaConhecAting", 10},
    {"setores.atualiza_setorecon", "tbSetorEconAting", 20},
    {"projeto.atualiza_projeto", "tbProjeto", 30},
    {"instituicao_envolvida.atualiza_instituicao", "tbInstituicao", 30},
    {"membro_equipe.atualiza_membro", "tbMembro", 40},
    {"membro_equipe.atualiza_membrobolsista", "tbMembroBolsista", 50},
    {"outras_fontes.atualiza_outrasfontes", "tbOutrasFontes", 70},
    {"locais_pesq_campo.atualiza_locaispesquisa", "tbLocaisPesquisa", 80},
    {"estudo.atualiza_estudo", "tbEstudo", 90},
    {"estudo.atualiza_estudoareaconhec", "tbEstudosAreaConhec", 100},
    {"estudo.atualiza_estudosetorecon", "tbEstudosSetores", 100},
    {"publicacaoProj.atualiza_publicacao", "tbPublicacao", 120},
    {"publicacaoProj.atualiza_publicacaoareaconhec", "tbPublicAreaConhec", 130},
    {"obra.atualiza_obras", "tbObrasEditadas", 170},
    {"obra.atualiza_obraareaconhec", "tbObraAreaConhec", 180},
    {"prodTecnologica.atualiza_prodtec", "tbProdTec", 200},
    {"patente.atualiza_patente", "tbPatente", 200},
    {"software.atualiza_software", "tbSoftware", 210},
    {"software.atualiza_softwaresetores", "tbSoftSetores", 220},
    {"materialInfo.atualiza_materialadquirido", "tbMaterialAdquirido", 270},
    {"materialInfo.atualiza_materialareaconhec", "tbMaterialAreaConhec", 280},
    {"equipamento.atualiza_equipamento", "tbEquipamentos", 290},
    {"laboratorio.atualiza_laboratorio", "tbLaboratorio", 300},
    {"bolsas.atualiza_bolsa", "tbBolsa", 310},
    {"bolsas.atualiza_bolsaareaconhec", "tbBolsaAreaConhec", 320},
    {"trabAcademico.atualiza_trabalho", "tbTrabalhoAcademico", 330},
    {"trabAcademico.atualiza_trabalhoareaconhec", "tbTrabalhoAreaConhec", 340},
    {"capacitacao.atualiza_capacitacao", "tbCapacit", 350},
    {"capacitacao.atualiza_partcapac", "tbCapacitMembro", 360},
    {"curso.atualiza_curso", "tbCursos", 370},
    {"curso.atualiza_cursoareaconhec", "tbCursosAreaConhec", 380},
    {"evento.atualiza_evento", "tbEventosApoiados", 390},
    {"evento.atualiza_eventoareaconhec", "tbEventosAreaConhec", 400},
    {"base_dados.atualiza_base", "tbBase", 410},
    {"base_dados.atualiza_baseareaconhec", "tbBaseArea", 420},
    {"base_dados.atualiza_baseacesso", "tbBaseAcesso", 430},
    {"servico.atualiza_servico", "tbServico", 240},
    {"servico.atualiza_servicoareaconhec", "tbServicoAreaConhec", 250},
    {"servico.atualiza_servicosetores", "tbServicoSetores", 260},
    {"problema.atualiza_problema", "tbProblemas", 440},
    {"problema.atualiza_problemaacaoCorret", "tbAcoesCorretivas", 450},
    {"qualidade.atualiza_qualidade", "tbQualidade", 460},
    {"analise_comentarioS.atualiza_analise", "tbAnalisQualitativa", 470},
    {"analise_comentarioS.atualiza_comentario", "tbComentariosGerais", 480},
}};

namespace {

const QString CaminhoPermissao = QStringLiteral("/kesta_off/owa/login.confere_permissao");

const QString TextoGravacao = QStringLiteral(
    "\r\rSerá agora efetuado a gravação local dos dados do projeto.\r"
    "Caso deseje, cancele a operação.\r"
    "Lembrando que, caso cancele, a atualização no servidor não será cancelada e\r"
    "sua versão gravada na máquina local pode estar diferente.");

bool soDigitos(const QString& texto)
{
    for (QChar c : texto)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

QString numProjOrigem(store::Dados& dados)
{
    store::Table& projeto = dados.identificacao().tbProjeto;
    projeto.first();
    return projeto.isEmpty() ? QString() : projeto.value(QStringLiteral("NumProjOrigem"));
}

// Steps before any table goes: the permission, the origin number, both pending-items checks. Returns
// the stage that stopped the send, or Concluido when it may go on.
EtapaEnvio confere(store::Dados& dados, const QString& usuario, const QString& senha, const AcoesDoEnvio& acoes)
{
    app::AbreEspera(QStringLiteral("Verificando Permissão"));
    app::MostraCancelar(false);

    const QString corpo = QStringLiteral("login=") + CodificaValor(usuario.trimmed()) + QStringLiteral("&senha=")
                          + CodificaValor(senha.trimmed()) + QStringLiteral("&cod_proj=")
                          + app::Estado().ProjectCode;
    const int r = ExecutaPedido(Config().host, Config().portaKesta, CaminhoPermissao, corpo);
    app::ProgressoEspera(50, 100);
    if (r < 0) {
        app::FechaEspera();
        MostraFalha(r);
        return EtapaEnvio::FalhaPermissao;
    }

    const QString resposta = RespostaTexto();
    if (!resposta.startsWith(QLatin1Char('0'))) {
        bool ok = false;
        const int codigo = resposta.left(2).trimmed().toInt(&ok);
        if (!ok) {
            // Anything but a number is no permission: say so rather than guess.
            app::FechaEspera();
            app::Mensagem(QStringLiteral("Resposta inesperada do servidor ao verificar a permissão para o projeto.\r"
                                         "Repita a operação posteriormente."),
                          app::Icone::Erro);
            app::SetStatusText(2, QString());
            return EtapaEnvio::FalhaPermissao;
        }
        if (codigo == -2 || codigo == -1) {
            app::FechaEspera();
            app::Mensagem(codigo == -2 ? QStringLiteral("Projeto inexistente")
                                       : QStringLiteral("Usuário sem permissão para projeto."),
                          app::Icone::Erro);
            app::SetStatusText(2, QString());
            return EtapaEnvio::SemPermissao;
        }
    }

    if (!soDigitos(numProjOrigem(dados))) {
        app::FechaEspera();
        app::Mensagem(QStringLiteral("Nr. Projeto de Origem inválido!\rSó é permitido números neste campo."),
                      app::Icone::Erro);
        return EtapaEnvio::OrigemInvalida;
    }

    app::FechaEspera();
    try {
        if (acoes.verificarPendencia) {
            acoes.verificarPendencia(false);
            acoes.verificarPendencia(true);
        }
    } catch (const app::Abort&) {
        app::FechaEspera();
        return EtapaEnvio::Pendencias;
    }
    return EtapaEnvio::Concluido;
}

void mostraResumo(const ResultadoEnvio& r, const AcoesDoEnvio& acoes)
{
    if (r.flags.erro)
        app::Mensagem(QStringLiteral("Alguns dados podem não ter sido atualizados no Servidor.\r"
                                     "Repita a operação posteriormente..."),
                      app::Icone::Erro);
    if (r.flags.exclusaoRecusada)
        app::Mensagem(QStringLiteral("Atenção:\rNão foi possível excluir alguns dos registros especificados."),
                      app::Icone::Informacao);
    if (r.nadaEnviado) {
        app::Mensagem(QStringLiteral("Nenhuma modificação foi detectada/efetuada no servidor."),
                      app::Icone::Informacao);
        return;
    }
    if (r.flags.erroResposta || r.flags.erro)
        app::Mensagem(QStringLiteral("ATENÇÃO: Dados atualizados no servidor COM OCORRÊNCIA DE ERRO.") + TextoGravacao,
                      app::Icone::Informacao);
    else
        app::Mensagem(QStringLiteral("SUCESSO!! Dados atualizados no servidor.") + TextoGravacao,
                      app::Icone::Informacao);
    if (acoes.salvarComo && !acoes.salvarComo())
        GuardaEstadoDoEnvio();
}

bool pergunta(const std::function<bool(const QString&)>& resposta, const QString& texto)
{
    if (resposta)
        return resposta(texto);
    return app::Mensagem(texto, app::Icone::Aviso, app::Botoes::SimNao) == app::Resposta::Sim;
}

QString lista(const QStringList& linhas)
{
    constexpr int Maximo = 30;
    QStringList r = linhas.mid(0, Maximo);
    if (linhas.size() > Maximo)
        r << QStringLiteral("... e mais %1 registro(s)").arg(linhas.size() - Maximo);
    return r.join(app::CR);
}

} // namespace

std::vector<PreviaDaTabela> PreviaDoEnvio(store::Dados& dados)
{
    std::vector<PreviaDaTabela> r;
    for (const LinhaDeEnvio& linha : TabelaDeEnvio) {
        store::Table* t = dados.tabela(QString::fromLatin1(linha.tabela));
        if (!t)
            continue;
        PreviaDaTabela p;
        p.tabela = t->name();
        p.titulo = t->tag() >= 0 && t->tag() < store::NumSlots ? store::TableTitles[size_t(t->tag())] : t->name();
        // Every row whatever the table's filter shows (deleted rows are hidden from lists); the
        // filter and the current row are put back.
        const bool filtrada = t->filtered();
        const store::Table::Bookmark atual = t->active() && !t->isEmpty() ? t->bookmark() : 0;
        t->setFiltered(false);
        const std::vector<store::Table::Bookmark> linhas = t->visibleRows();
        t->setFiltered(filtrada);
        if (atual && t->bookmarkValid(atual) && t->rowMatchesFilter(atual))
            t->gotoBookmark(atual);
        const auto retidos = RetidosDoEnvio().find(t);
        for (store::Table::Bookmark b : linhas) {
            if (retidos != RetidosDoEnvio().end() && retidos->second.count(b))
                continue;  // held back: it does not go
            const QString s = t->rowValue(b, 0);
            if (s == QLatin1String("I"))
                ++p.inclusoes;
            else if (s == QLatin1String("A"))
                ++p.alteracoes;
            else if (s == QLatin1String("D"))
                ++p.exclusoes;
        }
        if (p.total() > 0)
            r.push_back(p);
    }
    return r;
}

QStringList TextoDaPrevia(const std::vector<PreviaDaTabela>& previa)
{
    QStringList r;
    for (const PreviaDaTabela& p : previa)
        r << QStringLiteral("%1: %2 inclusão(ões), %3 alteração(ões), %4 exclusão(ões)")
                 .arg(p.titulo)
                 .arg(p.inclusoes)
                 .arg(p.alteracoes)
                 .arg(p.exclusoes);
    return r;
}

ResultadoEnvio EnviaDados(store::Dados& dados, const QString& usuario, const QString& senha,
                          const AcoesDoEnvio& acoes)
{
    ResultadoEnvio r;
    if (senha.isEmpty()) {
        app::Mensagem(QStringLiteral("Informe sua senha."), app::Icone::Informacao);
        return r;
    }

    // A row still in an edit dialog's working letter would reach the server as a change the user
    // never confirmed. Nothing in the program would ever clear it, so the send offers to end those
    // edits as the dialog's Cancelar would have, and sends nothing unless the user agrees.
    const QStringList emEdicao = RegistrosEmEdicao(dados);
    if (!emEdicao.isEmpty()) {
        const QString texto =
            QStringLiteral("Há registros com edição não concluída em:\r") + lista(emEdicao)
            + QStringLiteral("\r\rEssas edições podem ser desfeitas como o Cancelar do diálogo faria: "
                             "inclusões não confirmadas são removidas e exclusões não confirmadas, desfeitas.\r"
                             "Desfazer essas edições e continuar o envio?");
        if (!pergunta(acoes.desfazEdicoes, texto)) {
            app::Mensagem(QStringLiteral("Nenhum dado foi enviado."), app::Icone::Informacao);
            r.etapa = EtapaEnvio::EdicaoPendente;
            return r;
        }
        DesfazEdicoesPendentes(dados);
        app::SetModified(true);
    }

    // The send journal of this project on this server for this user, whatever file it is sent from.
    DiarioDeEnvios diario(ServidorDoDiario(), usuario, app::Estado().ProjectCode);
    if (!diario.trava()) {
        app::Mensagem(diario.ocupado()
                          ? QStringLiteral("Outro envio deste projeto está em andamento neste computador.\r"
                                           "Aguarde o fim dele e repita a operação.")
                          : QStringLiteral("Não foi possível usar o diário de envios em:\r") + diario.arquivo()
                                + QStringLiteral("\r(") + diario.erro()
                                + QStringLiteral(")\rNada foi enviado, para que nenhum registro possa chegar duas vezes "
                                                 "ao servidor."),
                      app::Icone::Erro);
        r.etapa = EtapaEnvio::OutroEnvio;
        return r;
    }
    if (diario.le() == DiarioDeEnvios::Leitura::Danificado)
        app::Mensagem(QStringLiteral("O diário de envios deste projeto estava danificado e foi posto de lado em:\r")
                          + QDir::toNativeSeparators(diario.postoDeLado())
                          + QStringLiteral("\rEle não mostra mais quais registros o servidor já recebeu."),
                      app::Icone::Aviso);
    if (diario.suspeito()) {
        const QString texto =
            QStringLiteral("Não se sabe se algum registro deste projeto já foi recebido pelo servidor num envio "
                           "anterior: o diário de envios foi danificado.\r"
                           "Recomenda-se carregar novamente o projeto do servidor e conferir as informações.\r"
                           "Enviar assim mesmo?");
        if (!pergunta(acoes.reenviarSemResposta, texto)) {
            app::Mensagem(QStringLiteral("Nenhum dado foi enviado."), app::Icone::Informacao);
            r.etapa = EtapaEnvio::SemRespostaAnterior;
            return r;
        }
        diario.confiaDeNovo();
    }

    // Rows an earlier request may already have given the server, from this file or another copy of
    // the project: those whose reply was never understood go again only when the user chooses so;
    // those the server took never go again. The rest of the send goes on.
    std::vector<RegistroRetido> retidos = RegistrosRetidos(dados, &diario);
    QStringList semResposta, jaRecebidos;
    for (const RegistroRetido& x : retidos)
        (x.semResposta ? semResposta : jaRecebidos) << x.texto();
    if (!jaRecebidos.isEmpty())
        app::Mensagem(QStringLiteral("Os registros abaixo já foram enviados ao servidor a partir de outro arquivo ou de "
                                     "uma cópia deste projeto e não serão enviados de novo:\r")
                          + lista(jaRecebidos)
                          + QStringLiteral("\r\rContinue a partir do arquivo mais recente, ou carregue novamente o "
                                           "projeto do servidor."),
                      app::Icone::Informacao);
    if (!semResposta.isEmpty()) {
        const QString texto =
            QStringLiteral("A resposta do servidor a um envio anterior não chegou ou não foi entendida. Os registros "
                           "abaixo podem já ter sido gravados no servidor, e enviá-los de novo pode duplicá-los:\r")
            + lista(semResposta)
            + QStringLiteral("\r\rRecomenda-se carregar novamente o projeto do servidor e conferir as informações.\r"
                             "Respondendo Não, esses registros ficam retidos e o restante do envio prossegue.\r"
                             "Enviar esses registros assim mesmo?");
        if (pergunta(acoes.reenviarSemResposta, texto)) {
            std::erase_if(retidos, [](const RegistroRetido& x) { return x.semResposta; });
            LiberaRegistrosSemResposta();
            app::SetModified(true);
        }
    }
    for (const RegistroRetido& x : retidos)
        r.retidos.push_back(x.texto());
    RetidosDoEnvio().clear();
    for (const RegistroRetido& x : retidos)
        RetidosDoEnvio()[x.tabela].insert(x.linha);
    struct Solta {
        ~Solta()
        {
            RetidosDoEnvio().clear();
            DiarioAtivo() = nullptr;
        }
    } solta;
    if (!retidos.empty() && PreviaDoEnvio(dados).empty()) {
        app::Mensagem(QStringLiteral("Nenhum dado foi enviado: todas as modificações pendentes estão retidas."),
                      app::Icone::Informacao);
        r.etapa = EtapaEnvio::SemRespostaAnterior;
        return r;
    }
    DiarioAtivo() = &diario;

    r.etapa = confere(dados, usuario, senha, acoes);
    if (r.etapa != EtapaEnvio::Concluido)
        return r;

    if (acoes.confirmaPrevia) {
        const std::vector<PreviaDaTabela> previa = PreviaDoEnvio(dados);
        if (previa.empty()) {
            app::Mensagem(QStringLiteral("Nenhuma modificação foi detectada/efetuada no servidor."),
                          app::Icone::Informacao);
            app::SetStatusText(2, QString());
            return r;
        }
        if (!acoes.confirmaPrevia(previa)) {
            app::SetStatusText(2, QString());
            r.etapa = EtapaEnvio::PreviaCancelada;
            return r;
        }
    }

    InicioDoEnvio() = QDateTime::currentDateTime();
    struct Fim {
        ~Fim() { InicioDoEnvio() = QDateTime(); }
    } fim;
    app::AbreEspera(QStringLiteral("Enviando os Dados..."));
    app::MostraCancelar(false);
    app::ProgressoEspera(90, 100);
    for (const LinhaDeEnvio& linha : TabelaDeEnvio) {
        store::Table& tabela = dados.tabelaOuErro(QString::fromLatin1(linha.tabela));
        const int resultado = EnviaTabela(dados, tabela,
                                          QStringLiteral("/kesta_off/owa/") + QString::fromLatin1(linha.procedimento),
                                          r.nadaEnviado, r.flags);
        if (resultado < 0) {
            app::FechaEspera();
            app::SetStatusText(2, QString());
            r.etapa = EtapaEnvio::FalhaEnvio;
            return r;
        }
        app::ProgressoEspera(linha.progresso, 500);
    }
    app::FechaEspera();

    mostraResumo(r, acoes);
    app::SetStatusText(2, QString());
    return r;
}

} // namespace net
