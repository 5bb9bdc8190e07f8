#include "net/CargaProjeto.h"


#include "core/Interacao.h"
#include "core/ProgramState.h"
#include "net/DiarioDeEnvios.h"
#include "net/JanelaNet.h"
#include "net/TextoTabela.h"
#include "net/Transporte.h"
#include "net/Verificacao.h"
#include "store/Dados.h"

namespace net {

const std::array<TabelaDaCarga, 45> TabelasDaCarga = {{
    {"areasConhecimento", "tbAreaConhecAting", 10},
    {"setoresEconomicos", "tbSetorEconAting", 20},
    {"Consulta_proj", "tbProjeto", 10},
    {"instEnvolvidas", "tbInstituicao", 30},
    {"membros", "tbMembro", 40},
    {"membrosBolsas", "tbMembroBolsista", 50},
    {"fontesRecursos", "tbOutrasFontes", 70},
    {"locaisPesquisa", "tbLocaisPesquisa", 80},
    {"PlanoAplicacao", "tbPlanoAplic", 80},
    {"estudosRealizados", "tbEstudo", 90},
    {"areasEstudos", "tbEstudosAreaConhec", 100},
    {"setoresEstudos", "tbEstudosSetores", 100},
    {"publicacoes", "tbPublicacao", 120},
    {"areasPublicacoes", "tbPublicAreaConhec", 130},
    {"obrasEditadas", "tbObrasEditadas", 170},
    {"areasObras", "tbObraAreaConhec", 180},
    {"producaoTecnologica", "tbProdTec", 200},
    {"patentes", "tbPatente", 200},
    {"softwares", "tbSoftware", 210},
    {"setoresSoftwares", "tbSoftSetores", 220},
    {"servicos", "tbServico", 240},
    {"areasServicos", "tbServicoAreaConhec", 250},
    {"setoresServicos", "tbServicoSetores", 260},
    {"materialInfo", "tbMaterialAdquirido", 270},
    {"areasMaterialInfo", "tbMaterialAreaConhec", 280},
    {"equiptosAdquiridos", "tbEquipamentos", 290},
    {"laboratorios", "tbLaboratorio", 300},
    {"bolsas", "tbBolsa", 310},
    {"areasBolsas", "tbBolsaAreaConhec", 320},
    {"trabalhosAcademicos", "tbTrabalhoAcademico", 330},
    {"areasTrabalhos", "tbTrabalhoAreaConhec", 340},
    {"outrasCapacitacoes", "tbCapacit", 350},
    {"membrosCapacitacoes", "tbCapacitMembro", 360},
    {"cursosApoiados", "tbCursos", 370},
    {"areasCursos", "tbCursosAreaConhec", 380},
    {"eventosApoiados", "tbEventosApoiados", 390},
    {"areasEventos", "tbEventosAreaConhec", 400},
    {"basesDados", "tbBase", 410},
    {"areasBases", "tbBaseArea", 420},
    {"acessoBases", "tbBaseAcesso", 430},
    {"problemasOcorridos", "tbProblemas", 440},
    {"problemasAcaoCorr", "tbAcoesCorretivas", 450},
    {"progQualidade", "tbQualidade", 460},
    {"analiseQualitativa", "tbAnalisQualitativa", 470},
    {"comentarios", "tbComentariosGerais", 480},
}};

namespace {

const QString TextoAguarde = QStringLiteral("Aguarde enquanto a conexão é estabelecida...");
const QString TextoInformeUsuario = QStringLiteral("Informe o Usuário e sua senha.");
const QString TextoFalhaCarga = QStringLiteral("Não foi possivel carregar todos os dados.");
const QString TextoFalhaOpcoes = QStringLiteral("Não foi possivel carregar opções de projeto.");
const QString FiltroInstituicao =
    QStringLiteral("Status <> 'D' and Status <> 'F' and TipoVinculacao <> 'DESCONHECIDO'");

void erro(const QString& texto) { app::Mensagem(texto, app::Icone::Erro); }

QString corpoLogin(const QString& usuario, const QString& senha)
{
    return QStringLiteral("login=") + CodificaValor(usuario.trimmed()) + QStringLiteral("&senha=")
        + CodificaValor(senha.trimmed());
}

// Every table the download fills, the catalogued ones and tbEstudosSetores, which has no file of its
// own and so is not among the tables the whole-store operations empty.
void esvaziaTabelasDaCarga(store::Dados& d)
{
    d.geral().ClearTables();
    for (const TabelaDaCarga& c : TabelasDaCarga)
        d.tabelaOuErro(QString::fromLatin1(c.tabela)).emptyTable();
}

std::vector<store::IndexDef> definicoes(const store::Table& t)
{
    std::vector<store::IndexDef> r;
    for (const QString& nome : t.indexNames())
        r.push_back(t.indexDef(nome));
    return r;
}

void recria(store::Table& t, const std::vector<store::IndexDef>& indices)
{
    for (const store::IndexDef& i : indices)
        t.addIndex(i.name, i.fields, i.options);
}

// Appends the framed rows of the last reply to tbProjetos: code, title, contract number.
void carregaProjetos(store::Table& tb)
{
    tb.emptyTable();
    LeitorQuadro leitor(Resposta(), false);
    while (leitor.proximaLinha()) {
        try {
            tb.append();
            for (int i = 0; i < 3; ++i)
                tb.setValue(i, leitor.campo());
            tb.post();
        } catch (const app::Abort&) {
            throw;
        } catch (const std::exception&) {
            if (tb.state() == store::Table::State::Insert)
                tb.cancel();
            erro(TextoFalhaOpcoes);
        }
    }
    tb.first();
}

} // namespace

QString& ServerProjectCode()
{
    static QString codigo;
    return codigo;
}

bool ConfereRespostaLogin(int resultado)
{
    QString texto;
    if (resultado < 0) {
        texto = TextoFalha(resultado);
    } else {
        const QByteArray& r = Resposta();
        if (resultado == 0 || r.startsWith("-1"))
            texto = QStringLiteral("Usuário não autorizado ou incorreto.");
        else if (r.startsWith("-2"))
            texto = QStringLiteral("Não há projetos para usuários");
        else if (r.startsWith("-9"))
            texto = QStringLiteral("Erro geral!\rConsulte suporte.");
    }
    if (texto.isEmpty())
        return true;
    erro(texto);
    app::SetStatusText(2, QString());
    return false;
}

bool RecebeProjeto(const QString& usuario, const QString& senha, const EscolheProjeto& escolhe)
{
    app::SetTrocaCancelada(false);
    SetErroNaTroca(false);
    const int r = ExecutaPedido(Config().host, Config().portaKesta, QStringLiteral("/kesta_off/owa/login.Confere_login"),
                                corpoLogin(usuario, senha));
    if (!ConfereRespostaLogin(r))
        return false;

    store::Dados& d = store::dados();
    store::Table& projetos = d.geral().tbProjetos;
    carregaProjetos(projetos);

    // A chooser closed without either button counts as a cancel.
    app::Estado().ProjectCode.clear();
    if (escolhe)
        escolhe(projetos);
    if (app::Estado().ProjectCode.isEmpty()) {
        erro(QStringLiteral("Operação cancelada!"));
        app::SetStatusText(2, QString());
        return false;
    }

    app::AbreEspera(QStringLiteral("Recebendo os dados do Projeto"));
    app::MostraCancelar(true);
    bool semIndices = false;
    try {
        // The download only appends: start from empty tables, whatever an earlier run left.
        esvaziaTabelasDaCarga(d);
        // Rows go in faster without indexes to keep up: each table gets its indexes once it is
        // filled (while the next table's request is under way), CreateIndexes builds the rest at the
        // end (every one after a failure). The posting rules look institutions and members up by
        // key meanwhile, so those two tables keep theirs; the end also indexes them again, and the
        // laboratories, whose placeholder is made anew then.
        store::Table& inst = d.identificacao().tbInstituicao;
        store::Table& membro = d.identificacao().tbMembro;
        const store::Table& laboratorio = d.atividadesApoiadas().tbLaboratorio;
        std::vector<const store::Table*> indexadas;
        const std::vector<store::IndexDef> indicesInst = definicoes(inst);
        const std::vector<store::IndexDef> indicesMembro = definicoes(membro);
        d.geral().ClearIndexes();
        semIndices = true;
        recria(inst, indicesInst);
        recria(membro, indicesMembro);
        // Each table's request goes out before the table before it is loaded: the server prepares
        // the next reply, and the network thread reads it, while this thread decodes and fills.
        // Requests still go one at a time, in the same order, and none is sent after a failure.
        const auto pede = [&d](std::size_t i) {
            const TabelaDaCarga& c = TabelasDaCarga[i];
            return PedeTabela(d.tabelaOuErro(QString::fromLatin1(c.tabela)),
                              QString::fromLatin1(PrefixoCarga) + QString::fromLatin1(c.procedimento));
        };
        std::unique_ptr<PedidoEmCurso> pedido = pede(0);
        for (std::size_t i = 0; i < TabelasDaCarga.size(); ++i) {
            const TabelaDaCarga& c = TabelasDaCarga[i];
            store::Table& tabela = d.tabelaOuErro(QString::fromLatin1(c.tabela));
            const int resultado = pedido ? ConcluiTabela(*pedido) : TrocaCancelada;
            pedido.reset();
            bool proximoCancelado = false;
            if (resultado >= 0) {
                // The reply's bytes stay shared with this copy when the next request empties the buffer.
                const QByteArray resposta = Resposta();
                if (i + 1 < TabelasDaCarga.size()) {
                    pedido = pede(i + 1);
                    proximoCancelado = !pedido;
                }
                CarregaTabela(tabela, resposta);
            }
            app::ProgressoEspera(c.progresso, 500);
            if (resultado < 0) {
                esvaziaTabelasDaCarga(d);
                d.geral().CreateIndexes();
                app::FechaEspera();
                return false;
            }
            const QString nome = tabela.name();
            if (nome == QStringLiteral("tbInstituicao")) {
                tabela.setFilter(FiltroInstituicao);
                tabela.setFiltered(true);
            } else if (nome == QStringLiteral("tbMembro") || nome == QStringLiteral("tbBolsa")) {
                AjustaKESTA(tabela);
            } else if (nome == QStringLiteral("tbBaseArea")) {
                d.atividadesApoiadas().tbBaseAcesso.emptyTable();
            }
            if (proximoCancelado) {
                esvaziaTabelasDaCarga(d);
                d.geral().CreateIndexes();
                app::FechaEspera();
                return false;
            }
            if (&tabela != &inst && &tabela != &membro && &tabela != &laboratorio) {
                d.geral().CreateIndexes(tabela);
                indexadas.push_back(&tabela);
            }
        }
        d.geral().EmptyRecord();
        d.geral().CreateIndexesExcept(indexadas);
    } catch (...) {
        // No partial project: whatever failed, the tables end empty, with their indexes.
        esvaziaTabelasDaCarga(d);
        if (semIndices)
            d.geral().CreateIndexes();
        app::FechaEspera();
        throw;
    }
    app::FechaEspera();
    app::SetTrocaCancelada(false);
    // What the server holds is now in the tables: nothing of this project is in doubt any more. A
    // send of the project under way elsewhere keeps its journal; the next download settles it.
    DiarioDeEnvios diario(ServidorDoDiario(), usuario, app::Estado().ProjectCode);
    if (diario.trava()) {
        diario.le();
        diario.assenta();
    }
    return true;
}

bool ConfereProjeto(const QString& usuario, const QString& senha)
{
    app::SetTrocaCancelada(false);
    store::Table& projeto = store::DataIdentificacao().tbProjeto;
    QString contrato;
    if (!projeto.isEmpty()) {
        projeto.first();
        contrato = projeto.value(QStringLiteral("NUMRELCONTRATACAO")).trimmed();
    }
    const QString corpo = corpoLogin(usuario, senha) + QStringLiteral("&relat_contratacao=") + CodificaValor(contrato);
    const int r = ExecutaPedido(Config().host, Config().portaKesta, QStringLiteral("/kesta_off/owa/login.fix_projeto"), corpo);
    // A failed or empty repair leaves no code behind from an earlier one.
    ServerProjectCode().clear();
    if (!ConfereRespostaLogin(r))
        return false;

    LeitorQuadro leitor(Resposta(), false);
    while (leitor.proximaLinha())
        ServerProjectCode() = leitor.campo();
    if (ServerProjectCode().trimmed().isEmpty()) {
        // A reply without a code must not give the file an empty one.
        ServerProjectCode().clear();
        erro(TextoFalhaOpcoes);
        app::SetStatusText(2, QString());
        return false;
    }
    if (app::Estado().ProjectCode == ServerProjectCode()) {
        erro(QStringLiteral("Este arquivo não está danificado!"));
        app::SetStatusText(2, QString());
        return false;
    }
    app::SetTrocaCancelada(false);
    return true;
}

ResultadoLogin CarregaProjeto(const QString& usuario, const QString& senha, const EscolheProjeto& escolhe)
{
    if (senha.isEmpty() || usuario.isEmpty()) {
        app::Mensagem(TextoInformeUsuario, app::Icone::Informacao);
        return ResultadoLogin::CamposVazios;
    }
    app::ProgramState& estado = app::Estado();
    if (estado.ProjectOpen && !JanelaFechaProjeto())
        return ResultadoLogin::ProjetoMantido;

    JanelaCursorOcupado(true);
    estado.ProjectOpen = true;
    estado.ProjectFileName.clear();
    app::SetModified(false);
    JanelaApagaArquivosTabelas();
    app::SetStatusText(2, TextoAguarde);

    bool ok = false;
    try {
        ok = RecebeProjeto(usuario, senha, escolhe);
    } catch (const app::Abort&) {
        ok = false;
    } catch (const std::exception& e) {
        app::Mensagem(QString::fromUtf8(e.what()), app::Icone::Erro);
        ok = false;
    }

    if (ok) {
        app::SetStatusText(2, QString());
        JanelaCursorOcupado(false);
        JanelaCreateWindows();
        JanelaSetMenuAndButtons();
        app::SetModified(false);
        return ResultadoLogin::Sucesso;
    }
    JanelaCursorOcupado(false);
    estado.ProjectOpen = false;
    erro(TextoFalhaCarga);
    app::SetStatusText(2, QString());
    return ResultadoLogin::Falha;
}

ResultadoLogin ReparaProjeto(const QString& usuario, const QString& senha)
{
    if (senha.isEmpty() || usuario.isEmpty()) {
        app::Mensagem(TextoInformeUsuario, app::Icone::Informacao);
        return ResultadoLogin::CamposVazios;
    }
    JanelaCursorOcupado(true);
    app::SetModified(false);
    app::SetStatusText(2, TextoAguarde);
    bool ok = false;
    try {
        ok = ConfereProjeto(usuario, senha);
    } catch (const app::Abort&) {
        ok = false;
    } catch (const std::exception& e) {
        app::Mensagem(QString::fromUtf8(e.what()), app::Icone::Erro);
        ok = false;
    }
    JanelaCursorOcupado(false);
    if (ok) {
        app::SetStatusText(2, QString());
        app::SetModified(true);
        return ResultadoLogin::Sucesso;
    }
    if (app::Estado().ProjectCode != ServerProjectCode())
        erro(TextoFalhaCarga);
    app::SetStatusText(2, QString());
    return ResultadoLogin::Falha;
}

} // namespace net
