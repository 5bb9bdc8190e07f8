#include "net/Verificacao.h"

#include "core/Interacao.h"
#include "core/ProgramState.h"
#include "net/JanelaNet.h"
#include "net/Transporte.h"
#include "store/Dados.h"

#include <functional>

namespace net {

ContadoresVerificacao& Contadores()
{
    static ContadoresVerificacao c;
    return c;
}

QuadrosValidacao& Validacao()
{
    static QuadrosValidacao q;
    return q;
}

namespace {

// Characters de..ate of the reply, both included, within its first n bytes.
QString trecho(const QByteArray& r, qsizetype n, qsizetype de, qsizetype ate)
{
    de = std::max<qsizetype>(de, 0);
    ate = std::min(ate, n - 1);
    if (ate < de)
        return {};
    return DeWindows1252(r.constData() + de, ate - de + 1);
}

qsizetype procura(const QByteArray& r, qsizetype n, char c, qsizetype de)
{
    for (qsizetype i = std::max<qsizetype>(de, 0); i < n; ++i)
        if (r.at(i) == c)
            return i;
    return -1;
}

} // namespace

InfoBIRO StripInfo(const QByteArray& resposta, int tamanho)
{
    InfoBIRO info;
    const qsizetype n = std::clamp<qsizetype>(tamanho, 0, resposta.size());
    const qsizetype p1 = procura(resposta, n, ';', 4);
    if (p1 < 0)
        return info;
    info.lida = true;
    info.codigo = trecho(resposta, n, 3, p1 - 1);
    const qsizetype inicioNome = p1 + 2;
    const qsizetype p2 = procura(resposta, n, ';', inicioNome);
    if (p2 < 0) {
        info.nome = trecho(resposta, n, inicioNome, n - 2);
        return info;
    }
    info.nome = trecho(resposta, n, inicioNome, p2 - 1);
    const qsizetype inicioEmail = p2 + 2;
    // The e-mail ends one character before its end mark, be it the next ";" or the reply's end.
    const qsizetype p3 = procura(resposta, n, ';', inicioEmail);
    info.email = trecho(resposta, n, inicioEmail, (p3 < 0 ? n : p3) - 2);
    return info;
}

InfoKESTA StripInfoKESTA(const QByteArray& resposta, int tamanho)
{
    InfoKESTA info;
    const qsizetype n = std::clamp<qsizetype>(tamanho, 0, resposta.size());
    const qsizetype b1 = procura(resposta, n, '|', 0);
    if (b1 < 0)
        return info;
    info.lida = true;
    info.codigo = trecho(resposta, n, 0, b1 - 1);
    const qsizetype b2 = procura(resposta, n, '|', b1 + 1);
    info.nome = b2 < 0 ? trecho(resposta, n, b1 + 1, n - 2) : trecho(resposta, n, b1 + 1, b2 - 1);
    return info;
}

namespace {

const QString CaminhoValidaId = QStringLiteral("/kesta_off/owa/pessoa.Valida_id");
const QString CaminhoValidaBiro = QStringLiteral("/kesta_off/owa/pessoa.Valida_biro");
const QString CaminhoValidaNome = QStringLiteral("/kesta_off/owa/pessoa.Valida_nome");
const QString CaminhoValidaPesq = QStringLiteral("/biro/owa/kesta_proc.ValidaPesq");
const QString CaminhoValidaInst = QStringLiteral("/biro/owa/kesta_proc.ValidaInst");

QString aspas(const QString& s) { return QLatin1Char('"') + s + QLatin1Char('"'); }

QString aviso(const QString& abertura, const QString& codigo, const QString& meio, const QString& nomeRegistro,
              const QString& nomeLocal)
{
    return abertura + aspas(codigo) + meio + aspas(nomeRegistro) + QStringLiteral(". O nome cadastrado localmente é ")
        + aspas(nomeLocal) + QLatin1Char('.');
}

bool nomesDiferem(const QString& a, const QString& b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) != 0;
}

QString enc(const QString& v) { return CodificaValor(v.trimmed()); }

bool g_pedidoFalhou = false;

// A look-up whose request failed: the user is told, the text joins the errors, the check ends.
void falhaDePedido(int resultado, QStringList& erros)
{
    g_pedidoFalhou = true;
    app::Mensagem(TextoFalha(resultado), app::Icone::Informacao);
    erros << TextoFalha(resultado);
}

void escreve(store::Table& t, const QString& coluna, const QString& valor)
{
    if (t.state() == store::Table::State::Browse)
        t.edit();
    t.setValue(coluna, valor);
}

void postaPendente(store::Table& t)
{
    if (t.state() == store::Table::State::Edit)
        t.post();
}

// Walks the rows visible under the table's filter, posting each row's edits before moving on, and
// returns to the row it started from. `porLinha` returns false to stop the walk.
bool percorre(store::Table& t, const std::function<bool()>& porLinha)
{
    const store::Table::Bookmark inicio = t.bookmark();
    t.disableControls();
    bool completo = true;
    try {
        for (t.first(); !t.eof(); t.next()) {
            const bool segue = porLinha();
            postaPendente(t);
            if (!segue) {
                completo = false;
                break;
            }
        }
    } catch (...) {
        if (t.state() != store::Table::State::Browse)
            t.cancel();
        if (inicio)
            t.gotoBookmark(inicio);
        t.enableControls();
        throw;
    }
    if (inicio)
        t.gotoBookmark(inicio);
    t.enableControls();
    return completo;
}

// The columns and texts of one kind of person.
struct Pessoas {
    store::Table& t;
    bool membro;
    QString colNome;
    QString colBiro;
};

std::vector<Pessoas> pessoas()
{
    store::Dados& d = store::dados();
    return {
        {d.identificacao().tbMembro, true, QStringLiteral("Nome"), QStringLiteral("BIRO")},
        {d.atividadesApoiadas().tbBolsa, false, QStringLiteral("NomeBolsista"), QStringLiteral("BIROBolsista")},
    };
}

QString nomeDoMembro(const Pessoas& p) { return p.t.value(p.colNome); }

} // namespace

bool VerificaAreaAtuacao(QStringList& erros)
{
    store::TDataGeral& g = store::DataGeral();
    if (g.tbAreaConhecAting.isEmpty() && g.tbSetorEconAting.isEmpty())
        erros << QStringLiteral("É obrigatório indicar pelo menos uma área de Atuação (Área do Conhecimento ou Setor Econômico).");
    return erros.isEmpty();
}

bool VerificaCoordenador(QStringList& erros)
{
    store::Table& m = store::DataIdentificacao().tbMembro;
    m.disableControls();
    const QString filtro = m.filter();
    try {
        m.setFilter(QStringLiteral(
            "(Status <> 'D') and DescricaoFuncao = 'COORDENADOR' and TipInstAtivPosPro = 'PARTICIPANTE ATIVO'"));
        m.setFiltered(true);
        if (m.isEmpty())
            erros << QStringLiteral("O projeto precisa ter pelo menos um COORDENADOR ativo.");
    } catch (...) {
        m.setFiltered(false);
        m.setFilter(filtro);
        m.setFiltered(true);
        m.enableControls();
        throw;
    }
    m.setFiltered(false);
    m.setFilter(filtro);
    m.setFiltered(true);
    m.enableControls();
    return erros.isEmpty();
}

bool VerificaPessoaKESTA(QStringList& erros, QStringList& avisos, bool quiet)
{
    erros.clear();
    avisos.clear();
    ContadoresVerificacao& c = Contadores();
    const Configuracao& cfg = Config();
    const QString modo = quiet ? QStringLiteral("1") : QStringLiteral("0");
    const QString kestaWarn = QStringLiteral("O código KESTA ");
    const QString meio = QStringLiteral(" corresponde ao pesquisador ");

    for (const Pessoas& p : pessoas()) {
        store::Table& t = p.t;
        bool falhou = false;
        // Sends one look-up; false when the request failed (the walk then stops).
        auto pede = [&](const QString& caminho, const QString& corpo, int& r) {
            r = ExecutaPedido(cfg.host, cfg.portaKesta, caminho, corpo);
            if (r < 0) {
                falhaDePedido(r, erros);
                falhou = true;
                return false;
            }
            return true;
        };
        auto naoLida = [&](const QString& oQue) {
            ++c.ErrosPessoas;
            erros << QStringLiteral("Resposta não reconhecida do KESTA para ") + oQue;
        };

        percorre(t, [&]() -> bool {
            const QString nome = nomeDoMembro(p);
            int r = 0;
            // 1. By programme code.
            const QString kesta = t.value(QStringLiteral("KESTA"));
            if (!kesta.isEmpty()) {
                if (!pede(CaminhoValidaId,
                          QStringLiteral("id_membro=") + enc(kesta) + QStringLiteral("&nome=") + enc(nome)
                              + QStringLiteral("&status=") + modo,
                          r))
                    return false;
                if (Resposta().startsWith('-')) {
                    if (quiet) {
                        ++c.ErrosPessoas;
                        erros << QStringLiteral("Não foi possível realizar a operação para o código KESTA ") + kesta;
                    } else {
                        ++c.DiferencasPessoas;
                        if (p.membro)
                            erros << QStringLiteral("Código KESTA do membro inexistente: ") + kesta;
                        else
                            avisos << QStringLiteral("Código KESTA do bolsista inexistente: ") + kesta;
                    }
                } else {
                    const InfoKESTA info = StripInfoKESTA(Resposta(), r);
                    if (!info.lida) {
                        naoLida(QStringLiteral("o código KESTA ") + kesta);
                    } else {
                        if (nomesDiferem(info.nome, nome)) {
                            ++c.DiferencasPessoas;
                            avisos << aviso(kestaWarn, info.codigo, meio, info.nome, nome);
                        }
                        escreve(t, QStringLiteral("Nome_KESTA"), info.nome);
                        escreve(t, QStringLiteral("KESTA"), info.codigo);
                    }
                }
            }
            // 2. By national-registry code, in the programme's register.
            const QString biro = t.value(p.colBiro);
            if (!biro.isEmpty()) {
                if (!pede(CaminhoValidaBiro,
                          QStringLiteral("biro=") + enc(biro) + QStringLiteral("&nome=") + enc(nome)
                              + QStringLiteral("&status=") + modo,
                          r))
                    return false;
                if (Resposta().startsWith('-')) {
                    if (quiet) {
                        ++c.ErrosPessoas;
                        erros << QStringLiteral("Não foi possível realizar a operação para o código BIRO ") + biro;
                    } else {
                        ++c.DiferencasPessoas;
                        avisos << (p.membro ? QStringLiteral("Código BIRO inexistente no KESTA: ")
                                            : QStringLiteral("Código BIRO do membro inexistente : "))
                                + biro;
                    }
                } else {
                    const InfoKESTA info = StripInfoKESTA(Resposta(), r);
                    if (!info.lida) {
                        naoLida(QStringLiteral("o código BIRO ") + biro);
                    } else {
                        if (nomesDiferem(info.nome, nome)) {
                            ++c.DiferencasPessoas;
                            if (t.value(QStringLiteral("Nome_BIRO")).isEmpty())
                                avisos << aviso(kestaWarn, info.codigo, meio, info.nome, nome);
                        }
                        escreve(t, QStringLiteral("Nome_KESTA"), info.nome);
                        escreve(t, QStringLiteral("KESTA"), info.codigo);
                    }
                }
            }
            // 3. By name, for a person with neither code.
            if (biro.trimmed().isEmpty() && t.value(QStringLiteral("KESTA")).trimmed().isEmpty()) {
                if (!pede(CaminhoValidaNome, QStringLiteral("nome=") + enc(nome) + QStringLiteral("&status=") + modo, r))
                    return false;
                if (Resposta().startsWith('-')) {
                    if (quiet) {
                        ++c.ErrosPessoas;
                        erros << (p.membro ? QStringLiteral("Não foi possível realizar a operação para o Membro ")
                                           : QStringLiteral("Não foi possível realizar a operação para o Bolsista "))
                                + nome;
                    } else {
                        ++c.DiferencasPessoas;
                        avisos << (p.membro ? QStringLiteral("Membro ") + nome + QStringLiteral(" não existe no KESTA.")
                                            : QStringLiteral("Registro para o Bolsista ") + nome
                                                  + QStringLiteral(" não existe no KESTA."));
                    }
                } else {
                    const InfoKESTA info = StripInfoKESTA(Resposta(), r);
                    if (!info.lida) {
                        naoLida((p.membro ? QStringLiteral("o Membro ") : QStringLiteral("o Bolsista ")) + nome);
                    } else {
                        escreve(t, QStringLiteral("Nome_KESTA"), info.nome);
                        escreve(t, QStringLiteral("KESTA"), info.codigo);
                    }
                }
            }
            return true;
        });
        if (falhou)
            return false;
    }
    return erros.isEmpty();
}

bool VerificaPessoaBIRO(QStringList& erros, QStringList& avisos, bool /*quiet*/)
{
    erros.clear();
    avisos.clear();
    ContadoresVerificacao& c = Contadores();
    const Configuracao& cfg = Config();
    for (const Pessoas& p : pessoas()) {
        store::Table& t = p.t;
        bool falhou = false;
        percorre(t, [&]() -> bool {
            const QString biro = t.value(p.colBiro);
            if (biro.isEmpty())
                return true;
            const int r = ExecutaPedido(cfg.host, cfg.portaBiro, CaminhoValidaPesq, QStringLiteral("login=") + enc(biro));
            if (r < 0) {
                falhaDePedido(r, erros);
                falhou = true;
                return false;
            }
            if (!Resposta().startsWith('0')) {
                ++c.ErrosPessoas;
                erros << QStringLiteral("Código BIRO do membro inválido : ") + biro;
                return true;
            }
            const InfoBIRO info = StripInfo(Resposta(), r);
            if (!info.lida) {
                ++c.ErrosPessoas;
                erros << QStringLiteral("Resposta não reconhecida do BIRO para o código ") + biro;
                return true;
            }
            const QString nomeRegistro = info.nome.toUpper();
            const QString nome = t.value(p.colNome);
            if (nomesDiferem(nomeRegistro, nome)) {
                ++c.DiferencasPessoas;
                avisos << aviso(QStringLiteral("O código BIRO "), info.codigo, QStringLiteral(" corresponde ao pesquisador "),
                                nomeRegistro, nome);
            }
            escreve(t, QStringLiteral("Nome_BIRO"), nomeRegistro);
            if (p.membro && t.value(QStringLiteral("DescricaoFuncao")) == QStringLiteral("COORDENADOR")
                && info.email.trimmed().isEmpty())
                erros << QStringLiteral("O Coordenador não possui e-mail cadastrado no BIRO");
            return true;
        });
        if (falhou)
            return false;
    }
    return erros.isEmpty();
}

bool VerificaInstituicao(QStringList& erros, QStringList& avisos)
{
    erros.clear();
    avisos.clear();
    ContadoresVerificacao& c = Contadores();
    const Configuracao& cfg = Config();
    store::Dados& d = store::dados();
    const QString instituicao = QStringLiteral(" corresponde à instituição ");
    const QString invalidoInst = QStringLiteral("Código da instituição inválido : ");
    struct Coluna {
        store::Table& t;
        QString codigo, nome, nomeRegistro, erro, meio;
        bool pulaVazio;
    };
    const std::vector<Coluna> tabelas = {
        {d.identificacao().tbInstituicao, QStringLiteral("BIRO"), QStringLiteral("Nome"), QStringLiteral("Nome_BIRO"),
         invalidoInst, instituicao, false},
        {d.identificacao().tbOutrasFontes, QStringLiteral("BIROInst"), QStringLiteral("NomeInst"), QStringLiteral("Nome_BIRO"),
         invalidoInst, instituicao, false},
        {d.atividadesApoiadas().tbLaboratorio, QStringLiteral("BIROLab"), QStringLiteral("NomeLab"),
         QStringLiteral("Nome_BIRO"), QStringLiteral("Código da laboratório inválido : "),
         QStringLiteral(" corresponde ao laboratório "), false},
        {d.atividadesApoiadas().tbBolsa, QStringLiteral("BIROInstDestino"), QStringLiteral("NomeInstDestino"),
         QStringLiteral("NomeInst_BIRO"), QStringLiteral("Código da instituição destin. da bolsainválido : "), instituicao,
         false},
        {d.atividadesApoiadas().tbCapacit, QStringLiteral("BIROInstTreinam"), QStringLiteral("NomeInstTreinam"),
         QStringLiteral("Nome_BIRO"), QStringLiteral("Código da instituição de treinamento inválido : "), instituicao, true},
    };
    for (const Coluna& col : tabelas) {
        store::Table& t = col.t;
        bool falhou = false;
        percorre(t, [&]() -> bool {
            const QString codigo = t.value(col.codigo);
            if (col.pulaVazio && codigo.isEmpty())
                return true;
            // The institution code travels exactly as stored.
            const int r = ExecutaPedido(cfg.host, cfg.portaBiro, CaminhoValidaInst, QStringLiteral("inst=") + codigo);
            if (r < 0) {
                falhaDePedido(r, erros);
                falhou = true;
                return false;
            }
            if (!Resposta().startsWith('0')) {
                ++c.ErrosInstituicoes;
                erros << col.erro + codigo;
                return true;
            }
            const InfoBIRO info = StripInfo(Resposta(), r);
            if (!info.lida) {
                ++c.ErrosInstituicoes;
                erros << QStringLiteral("Resposta não reconhecida do BIRO para o código ") + codigo;
                return true;
            }
            const QString nome = t.value(col.nome);
            if (nomesDiferem(info.nome, nome)) {
                ++c.DiferencasInstituicoes;
                avisos << aviso(QStringLiteral("O código BIRO "), info.codigo, col.meio, info.nome, nome);
                escreve(t, col.nomeRegistro, info.nome);
            }
            return true;
        });
        if (falhou)
            return false;
    }
    return erros.isEmpty();
}

namespace {

// Copies `origem` over `destino` in every row of the table where `origem` holds a name. A name that
// changes marks the project modified, so that closing it asks to save what the user accepted.
void copiaNomes(store::Table& t, const QString& destino, const QString& origem)
{
    bool mudou = false;
    t.disableControls();
    t.setFiltered(false);
    try {
        for (t.first(); !t.eof(); t.next()) {
            const QString nome = t.value(origem);
            if (nome.isEmpty())
                continue;
            mudou = mudou || t.value(destino) != nome;
            t.edit();
            t.setValue(destino, nome);
            t.post();
        }
    } catch (...) {
        if (t.state() != store::Table::State::Browse)
            t.cancel();
        t.setFiltered(true);
        t.enableControls();
        throw;
    }
    t.setFiltered(true);
    t.enableControls();
    if (mudou)
        app::SetModified(true);
}

} // namespace

void AjustaKESTA(store::Table& tabela)
{
    const bool membro = tabela.name() == QStringLiteral("tbMembro");
    const int origem = tabela.fieldIndexOrThrow(membro ? QStringLiteral("Cod_Membro") : QStringLiteral("Cod_Bolsa"));
    const int destino = tabela.fieldIndexOrThrow(QStringLiteral("KESTA"));
    tabela.disableControls();
    struct Religa {
        store::Table& t;
        ~Religa() { t.enableControls(); }
    } religa{tabela};
    tabela.setFiltered(false);
    for (tabela.first(); !tabela.eof(); tabela.next()) {
        tabela.edit();
        tabela.setValue(destino, tabela.value(origem));
        tabela.post();
    }
    tabela.setFiltered(true);
}

void AjustaNomeKESTA()
{
    store::Dados& d = store::dados();
    copiaNomes(d.identificacao().tbMembro, QStringLiteral("Nome"), QStringLiteral("Nome_KESTA"));
    copiaNomes(d.atividadesApoiadas().tbBolsa, QStringLiteral("NomeBolsista"), QStringLiteral("Nome_KESTA"));
}

void AjustaNomeBIRO()
{
    store::Dados& d = store::dados();
    copiaNomes(d.identificacao().tbMembro, QStringLiteral("Nome"), QStringLiteral("Nome_BIRO"));
    copiaNomes(d.atividadesApoiadas().tbBolsa, QStringLiteral("NomeBolsista"), QStringLiteral("Nome_BIRO"));
}

void AjustaNomeinstituicao()
{
    store::Dados& d = store::dados();
    copiaNomes(d.identificacao().tbInstituicao, QStringLiteral("Nome"), QStringLiteral("Nome_BIRO"));
    copiaNomes(d.identificacao().tbOutrasFontes, QStringLiteral("NomeInst"), QStringLiteral("Nome_BIRO"));
    copiaNomes(d.atividadesApoiadas().tbLaboratorio, QStringLiteral("NomeLab"), QStringLiteral("Nome_BIRO"));
    copiaNomes(d.atividadesApoiadas().tbBolsa, QStringLiteral("NomeInstDestino"), QStringLiteral("NomeInst_BIRO"));
    copiaNomes(d.atividadesApoiadas().tbCapacit, QStringLiteral("NomeInstTreinam"), QStringLiteral("Nome_BIRO"));
}

bool VerificaPendenciasLocais()
{
    QuadrosValidacao& q = Validacao();
    q.MemoErr.clear();
    q.MemoWarn.clear();
    app::AbreEspera(QStringLiteral("Verificando Pendências Locais"));
    Contadores().DiferencasPessoas = 0;
    Contadores().DiferencasInstituicoes = 0;
    QStringList erros;
    JanelaCursorOcupado(true);
    struct Fim {
        ~Fim()
        {
            app::FechaEspera();
            app::SetStatusText(2, QString());
            JanelaCursorOcupado(false);
        }
    } fim;
    if (!VerificaAreaAtuacao(erros))
        q.MemoErr << erros;
    erros.clear();
    if (!VerificaCoordenador(erros))
        q.MemoErr << erros;
    return q.MemoErr.isEmpty();
}

bool VerificaCadastros(bool quiet)
{
    QuadrosValidacao& q = Validacao();
    ContadoresVerificacao& c = Contadores();
    q.MemoErr.clear();
    q.MemoWarn.clear();
    if (!quiet) {
        app::AbreEspera(QStringLiteral("Verificando na Base do KESTA..."));
        app::MostraCancelar(false);
    }
    c.DiferencasPessoas = 0;
    c.DiferencasInstituicoes = 0;
    QStringList erros, avisos;
    JanelaCursorOcupado(true);
    app::SetStatusText(2, QStringLiteral("Conectando com o servidor (validando pessoas), aguarde..."));

    auto fim = [&](bool ok) {
        app::SetStatusText(2, QString());
        JanelaCursorOcupado(false);
        app::FechaEspera();
        if (ok)
            q.MemoErr << QStringLiteral("Nenhum erro encontrado.");
        return ok;
    };

    try {
        // A request that fails ends the stage: the next ones would only fail again.
        g_pedidoFalhou = false;
        bool ok = VerificaPessoaKESTA(erros, avisos, quiet);
        if (!ok)
            q.MemoErr << erros;
        q.MemoWarn << avisos;
        if (g_pedidoFalhou)
            return fim(false);
        if (!quiet) {
            ok = VerificaInstituicao(erros, avisos);
            if (!ok)
                q.MemoErr << erros;
            q.MemoWarn << avisos;
            if (g_pedidoFalhou)
                return fim(false);
        }
        app::FechaEspera();
        ok = erros.isEmpty();

        if (ok) {
            app::SetStatusText(2, QString());
            JanelaCursorOcupado(false);
            if (!quiet && (c.DiferencasPessoas > 0 || c.DiferencasInstituicoes > 0)) {
                const app::Resposta resposta = app::Mensagem(
                    QStringLiteral("Os dados do projeto foram analisados.\r\rAlgumas pessoas estão cadastrados no KESTA\r"
                                   "com nome diferente do informado em seu projeto.\rConfirma os dados?\r\r"
                                   "Respondendo afirmativamente, seu projeto será considerado\rcorreto e iremos prosseguir.\r"
                                   "Caso contrário, você terá a lista das diferenças encontradas."),
                    app::Icone::Informacao, app::Botoes::SimNao, QStringLiteral("Verificação no KESTA Concluída"));
                if (resposta != app::Resposta::Sim)
                    return fim(false);
                AjustaNomeKESTA();
                AjustaNomeinstituicao();
            }
        }
        if (ok) {
            if (!quiet) {
                app::AbreEspera(QStringLiteral("Verificando na Base do BIRO..."));
                app::MostraCancelar(false);
            }
            app::SetStatusText(2, QStringLiteral("Conectando com o servidor (validando instituições), aguarde..."));
        }
        if (!VerificaPessoaBIRO(erros, avisos, quiet))
            q.MemoErr << erros;
        q.MemoWarn << avisos;
        ok = q.MemoErr.isEmpty();
        app::FechaEspera();

        if (ok) {
            app::SetStatusText(2, QString());
            JanelaCursorOcupado(false);
            if (!quiet && (c.DiferencasPessoas > 0 || c.DiferencasInstituicoes > 0)) {
                const app::Resposta resposta = app::Mensagem(
                    QStringLiteral("Os dados do projeto foram analisados.\r\rAlgumas pessoas podem estar cadastradas no BIRO\r"
                                   "com nome diferente do informado em seu projeto.\rConfirma os dados?\r\r"
                                   "Respondendo afirmativamente, seu projeto será considerado\rcorreto e iremos prosseguir.\r"
                                   "Caso contrário, você terá a lista das diferenças encontradas."),
                    app::Icone::Informacao, app::Botoes::SimNao, QStringLiteral("Verificação no BIRO Concluída"));
                if (resposta != app::Resposta::Sim)
                    ok = false;
                else
                    AjustaNomeBIRO();
            }
        }
        return fim(ok);
    } catch (...) {
        fim(false);
        throw;
    }
}

void VerificarPendencia(bool quiet, const std::function<void()>& mostraPendencias)
{
    auto pendente = [&] {
        if (app::interacao().esperaAberta())
            app::FechaEspera();
        if (mostraPendencias)
            mostraPendencias();
        throw app::Abort();
    };
    if (!VerificaPendenciasLocais())
        pendente();
    if (!quiet)
        app::Mensagem(QStringLiteral("Os dados do projeto foram analisados localmente.\rNenhuma inconsistência LOCAL foi "
                                     "encontrada.\rO sistema irá proceder com a verificação de Pessoas, Instituições e "
                                     "Laboratórios."),
                      app::Icone::Informacao, app::Botoes::Ok, QStringLiteral("Verificação Local Concluída"));
    if (!VerificaCadastros(quiet))
        pendente();
    const ContadoresVerificacao& c = Contadores();
    if (!quiet && c.DiferencasPessoas == 0 && c.DiferencasInstituicoes == 0)
        app::Mensagem(QStringLiteral("As Pessoas, Instituições e laboratórios do projeto foram analisados.\rNenhum erro foi "
                                     "encontrado."),
                      app::Icone::Informacao, app::Botoes::Ok, QStringLiteral("Análise do Projeto Concluída"));
}

} // namespace net
