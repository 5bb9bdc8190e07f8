#include "net/EnviaDados.h"

#include "core/Interacao.h"
#include "core/ProgramState.h"
#include "net/DiarioDeEnvios.h"
#include "net/ModoDeEnvio.h"
#include "net/PropagaChave.h"
#include "net/Transporte.h"
#include "store/Catalogo.h"
#include "store/Dados.h"
#include "store/RegistroEnvios.h"

#include <QCryptographicHash>

namespace net {

namespace {

const QString FiltroEnvio = QStringLiteral("Status <> 'N' and Status <> 'F'");
const QString FiltroResposta = QStringLiteral("Status <> 'N' and Status <> 'F' and Status <> 'P'");
constexpr int TamanhoPedaco = 1900;

bool eh(const QString& a, const char* b)
{
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

bool slotValido(int tag)
{
    return tag >= 0 && tag < store::NumSlots && !store::SlotVazio(tag);
}

QString tituloDe(const store::Table& t)
{
    return slotValido(t.tag()) ? store::TableTitles[size_t(t.tag())] : t.name();
}

// Columns that the server fills itself or that exist only locally.
bool campoNaoEnviado(const QString& tabela, const QString& campo)
{
    if (eh(tabela, "tbProjeto"))
        return !(eh(campo, "DataAssinat") || eh(campo, "ValProposta") || eh(campo, "Objetivo")
                 || eh(campo, "Origem") || eh(campo, "NumProjOrigem") || eh(campo, "DataFim"));
    if (eh(tabela, "tbLocaisPesquisa"))
        return eh(campo, "BIRO_Inst") || eh(campo, "Nome_Inst");
    if (eh(tabela, "tbMaterialAdquirido"))
        return eh(campo, "Cod_Material") || eh(campo, "PaisExterior");
    if (eh(tabela, "tbBase"))
        return eh(campo, "TipoApoioTxt");
    if (eh(tabela, "tbCapacitMembro"))
        return eh(campo, "Nome");
    if (eh(tabela, "tbProblemas"))
        return eh(campo, "CategoriaTxt");
    if (eh(tabela, "tbQualidade"))
        return eh(campo, "BIRO_InstCliente") || eh(campo, "Nome_InstCliente");
    return false;
}

bool textoLongo(const QString& tabela, const QString& campo)
{
    return ((eh(tabela, "tbAnalisQualitativa") || eh(tabela, "tbComentariosGerais")) && eh(campo, "Descricao"))
           || (eh(tabela, "tbProjeto") && eh(campo, "Objetivo"));
}

// The next answer line, without its line feed and surrounding blanks; false when none is left.
bool proximaLinha(const QByteArray& resposta, qsizetype& pos, QString& linha)
{
    if (pos >= resposta.size())
        return false;
    qsizetype fim = resposta.indexOf('\n', pos);
    if (fim < 0)
        fim = resposta.size();
    linha = QString::fromLatin1(resposta.constData() + pos, fim - pos).trimmed();
    pos = fim + 1;
    return true;
}

QString textoDoEnvio(const QString& titulo)
{
    return QStringLiteral("Problemas para enviar ") + titulo + QStringLiteral(".\r")
           + QStringLiteral("As informações relacionadas com ") + titulo
           + QStringLiteral(" também deverão estar comprometidas.");
}

QString textoDaFalha(const QString& titulo, const QString& mensagem)
{
    return QStringLiteral("Problemas para enviar ") + titulo + QStringLiteral(" .\r")
           + QStringLiteral("As informações relacionadas com ") + titulo
           + QStringLiteral(" também deverão estar comprometidas.\r")
           + QStringLiteral("Repita a operação posteriormente.\r")
           + QStringLiteral("Caso o problema persista, contacte o suporte, indicando a seguinte mensagem:\r")
           + mensagem;
}

QString mensagemDe(const std::exception& e)
{
    if (auto te = dynamic_cast<const store::TableError*>(&e))
        return te->mensagem();
    return QString::fromUtf8(e.what());
}

void mostraRecusa(const store::Table& t, qlonglong valor, FlagsEnvio& flags)
{
    const QString titulo = tituloDe(t);
    flags.erroResposta = true;
    if (valor == -3) {
        if (eh(t.name(), "tbEventosApoiados"))
            app::Mensagem(QStringLiteral("País indicado em ") + titulo
                              + QStringLiteral(" não corresponde a Cidade indicada.\r")
                              + QStringLiteral("As informações relacionadas com ") + titulo
                              + QStringLiteral(" também deverão estar comprometidas.\r")
                              + QStringLiteral("Após concluído envio, é aconselhável carregar novamente o projeto "
                                               "e conferir as informações."),
                          app::Icone::Erro);
        else if (eh(t.name(), "tbLaboratorio"))
            app::Mensagem(QStringLiteral("Laboratório(s) não está(ão) sediado(s) na Instituição Sede indicada.\r"
                                         "Após concluído envio, é aconselhável carregar novamente o projeto e "
                                         "conferir as informações."),
                          app::Icone::Erro);
        return;
    }
    flags.erro = true;
    app::Mensagem(QStringLiteral("ERRO: ") + QString::number(valor) + QStringLiteral(". Informações de ") + titulo
                      + QStringLiteral(" não foram aceitas corretamente pelo servidor.\r")
                      + QStringLiteral("As informações relacionadas com ") + titulo
                      + QStringLiteral(" também deverão estar comprometidas.\r")
                      + QStringLiteral("Após concluído envio, é aconselhável carregar novamente o projeto e "
                                       "conferir as informações."),
                  app::Icone::Erro);
}

QString significadoDaRecusa(const store::Table& t, qlonglong valor)
{
    QString r = QStringLiteral("recusado: ") + QString::number(valor);
    if (valor == -3 && eh(t.name(), "tbEventosApoiados"))
        r += QStringLiteral(" (país não corresponde à cidade indicada)");
    else if (valor == -3 && eh(t.name(), "tbLaboratorio"))
        r += QStringLiteral(" (laboratório não sediado na instituição sede indicada)");
    return r;
}

const QString SemResposta = QStringLiteral("sem resposta");

// The pending rows in send order, less those the send holds back.
std::vector<store::Table::Bookmark> linhasPendentes(store::Table& t)
{
    std::vector<store::Table::Bookmark> r = t.visibleRows();
    const auto retidos = RetidosDoEnvio().find(&t);
    if (retidos != RetidosDoEnvio().end())
        std::erase_if(r, [&](store::Table::Bookmark b) { return retidos->second.count(b) > 0; });
    return r;
}

} // namespace

std::map<const store::Table*, std::set<store::Table::Bookmark>>& RetidosDoEnvio()
{
    static std::map<const store::Table*, std::set<store::Table::Bookmark>> r;
    return r;
}

QString ImpressaoDoRegistro(const store::Table& t, store::Table::Bookmark b)
{
    const int n = slotValido(t.tag()) ? std::min(store::TableFieldCounts[size_t(t.tag())], t.fieldCount()) : t.fieldCount();
    QByteArray valores;
    for (int i = 1; i < n; ++i) {
        if (campoNaoEnviado(t.name(), t.field(i).name))
            continue;
        valores += CodificaValor(t.rowValue(b, i).trimmed()).toLatin1();
        valores += '\x1f';
    }
    return QString::fromLatin1(QCryptographicHash::hash(valores, QCryptographicHash::Sha256).toHex().left(32));
}

std::vector<EntradaDoDiario> EntradasDoDiario(store::Table& t, const QString& pedido, const QDateTime& quando)
{
    ModoDeEnvio modo(t);
    modo.inicia(FiltroEnvio);
    std::vector<EntradaDoDiario> r;
    for (store::Table::Bookmark b : linhasPendentes(t)) {
        const QString status = t.rowValue(b, 0);
        EntradaDoDiario e;
        e.quando = quando;
        e.pedido = pedido;
        e.tabela = t.name();
        e.letra = status == QLatin1String("Z") ? QStringLiteral("D") : status;
        e.chave = store::ChaveDoRegistro(t, b);
        e.impressao = ImpressaoDoRegistro(t, b);
        e.nome = store::NomeDoRegistro(t, b);
        r.push_back(std::move(e));
    }
    return r;
}

QDateTime& InicioDoEnvio()
{
    static QDateTime inicio;
    return inicio;
}

std::vector<store::ItemEnviado> ItensPendentes(store::Table& t)
{
    ModoDeEnvio modo(t);
    modo.inicia(FiltroEnvio);
    std::vector<store::ItemEnviado> r;
    for (store::Table::Bookmark b : linhasPendentes(t)) {
        const QString status = t.rowValue(b, 0);
        r.push_back({status == QLatin1String("Z") ? QStringLiteral("D") : status, store::ChaveDoRegistro(t, b), {}, {},
                     SemResposta, store::NomeDoRegistro(t, b)});
    }
    return r;
}

bool StatusDeTrabalho(const QString& status)
{
    static const QStringList letras{QStringLiteral("E"), QStringLiteral("X"), QStringLiteral("Y"),
                                    QStringLiteral("P"), QStringLiteral("Q"), QStringLiteral("M"),
                                    QStringLiteral("Z")};
    return letras.contains(status);
}

QStringList TabelasComEdicaoPendente(store::Dados& dados)
{
    QStringList r;
    for (const LinhaDeEnvio& linha : TabelaDeEnvio) {
        store::Table* t = dados.tabela(QString::fromLatin1(linha.tabela));
        if (!t)
            continue;
        const bool filtrada = t->filtered();
        t->setFiltered(false);
        for (store::Table::Bookmark b : t->visibleRows())
            if (StatusDeTrabalho(t->rowValue(b, 0))) {
                r << tituloDe(*t);
                break;
            }
        t->setFiltered(filtrada);
    }
    return r;
}

QString preparaParamTabela(store::Table& t)
{
    ModoDeEnvio modo(t);
    modo.inicia(FiltroEnvio);
    const std::vector<store::Table::Bookmark> linhas = linhasPendentes(t);
    if (linhas.empty())
        return {};

    const QString tabela = t.name();
    const int n = slotValido(t.tag()) ? std::min(store::TableFieldCounts[size_t(t.tag())], t.fieldCount()) : 0;
    const bool ehMembro = eh(tabela, "tbMembro");
    const bool ehBolsa = eh(tabela, "tbBolsa");
    const bool ehCursos = eh(tabela, "tbCursos");
    const int colKesta = t.fieldIndex(QStringLiteral("KESTA"));
    const int colMotivo = t.fieldIndex(QStringLiteral("MotivoSaida"));

    QString corpo;
    for (int i = 0; i < n; ++i) {
        const QString campo = t.field(i).name;
        if (campoNaoEnviado(tabela, campo))
            continue;
        const QString chave = QStringLiteral("&") + campo + QStringLiteral("=");
        const bool longo = textoLongo(tabela, campo);
        for (store::Table::Bookmark b : linhas) {
            const QString status = t.rowValue(b, 0);
            const QString valor = t.rowValue(b, i);
            corpo += chave;
            if (i == 0 && status == QLatin1String("Z")) {
                corpo += QLatin1String("D");
            } else if (ehCursos && eh(campo, "ConceitoCapes")) {
                const QString c = CodificaValor(valor.trimmed());
                corpo += c;
                if (c.size() == 1)
                    corpo += QLatin1String("+");
            } else if (ehMembro) {
                if (eh(campo, "Cod_Membro") && status == QLatin1String("I") && colKesta >= 0)
                    corpo += CodificaValor(t.rowValue(b, colKesta).trimmed());
                else if (eh(campo, "TipInstAtivPosPro") && colMotivo >= 0 && t.rowValue(b, colMotivo).isEmpty()) {
                    // A member who has not left has no activity after leaving: the key goes out empty.
                } else
                    corpo += CodificaValor(valor.trimmed());
            } else if (ehBolsa && eh(campo, "Cod_Bolsa") && status == QLatin1String("I") && colKesta >= 0) {
                corpo += CodificaValor(t.rowValue(b, colKesta).trimmed());
            } else if (longo && (status == QLatin1String("I") || status == QLatin1String("A"))) {
                // The server's parameters take at most 1,900 characters: a long text goes out as the
                // same key repeated, piece after piece. An empty text still sends its one (empty)
                // value, so that every row keeps a value under every key.
                const QString texto = valor.trimmed();
                corpo += CodificaValor(texto.left(TamanhoPedaco));
                for (qsizetype p = TamanhoPedaco; p < texto.size(); p += TamanhoPedaco)
                    corpo += chave + CodificaValor(texto.mid(p, TamanhoPedaco));
            } else {
                corpo += CodificaValor(valor);
            }
        }
    }
    if (corpo.isEmpty())
        return {};
    return QStringLiteral("cod_proj=") + app::Estado().ProjectCode + corpo;
}

int TrataResposta(store::Dados& dados, store::Table& t, const QByteArray& resposta, FlagsEnvio& flags,
                  store::PedidoEnviado* registro)
{
    ModoDeEnvio modo(t);
    modo.inicia(FiltroResposta);
    const std::vector<store::Table::Bookmark> linhas = linhasPendentes(t);
    std::vector<store::ItemEnviado> itens;
    for (store::Table::Bookmark b : linhas) {
        const QString status = t.rowValue(b, 0);
        itens.push_back({status == QLatin1String("Z") ? QStringLiteral("D") : status, store::ChaveDoRegistro(t, b), {}, {},
                         SemResposta, store::NomeDoRegistro(t, b)});
    }
    // Whatever happens below, the log learns which rows got an answer and which did not.
    struct Registra {
        store::PedidoEnviado* registro;
        std::vector<store::ItemEnviado>& itens;
        ~Registra()
        {
            if (registro)
                registro->itens = std::move(itens);
        }
    } registra{registro, itens};

    const int tag = t.tag();
    const int colChave = slotValido(tag) && !store::TableKeyFields[size_t(tag)].isEmpty()
                             ? t.fieldIndex(store::TableKeyFields[size_t(tag)])
                             : -1;

    // One line per row, in the order the body listed them: each row takes its own line and the pass
    // moves on, whatever the line said, so rows and lines never drift apart.
    qsizetype pos = 0;
    int aplicadas = 0;
    for (store::Table::Bookmark b : linhas) {
        QString linha;
        if (!proximaLinha(resposta, pos, linha))
            throw store::TableError(
                QStringLiteral("A resposta do servidor terminou antes do fim: %1 de %2 registro(s) sem resposta.")
                    .arg(qsizetype(linhas.size()) - aplicadas)
                    .arg(linhas.size()));
        bool ok = false;
        const qlonglong valor = linha.toLongLong(&ok);
        if (!ok)
            throw store::TableError(QStringLiteral("Resposta do servidor não reconhecida: \"%1\".").arg(linha));
        if (!t.gotoBookmark(b))
            throw store::TableError(QStringLiteral("%1: registro pendente não encontrado.").arg(t.name()));

        const QString status = t.value(0);
        store::ItemEnviado& item = itens[size_t(aplicadas)];
        item.resposta = linha;
        if (status == QLatin1String("Z")) {
            if (valor < 0) {
                flags.exclusaoRecusada = true;
                item.significado = QStringLiteral("exclusão recusada: ") + QString::number(valor);
                item.chaveDepois = item.chaveAntes;
                modo.marcaRecusada();
            } else {
                item.significado = QStringLiteral("excluído");
                t.remove();
            }
        } else if (status == QLatin1String("I") || status == QLatin1String("A")) {
            if (valor >= 0) {
                item.significado = QStringLiteral("aceito");
                item.chaveDepois = colChave >= 0 ? linha : item.chaveAntes;
                t.edit();
                t.setValue(0, QStringLiteral("N"));
                QString velho;
                if (colChave >= 0) {
                    velho = t.value(colChave);
                    t.setValue(colChave, linha);
                }
                // Stored before the children follow: their posting rules may look the parent up.
                t.post();
                if (colChave >= 0)
                    PropagaChave(dados, tag, velho, linha);
            } else {
                item.significado = significadoDaRecusa(t, valor);
                item.chaveDepois = item.chaveAntes;
                mostraRecusa(t, valor, flags);  // the row keeps its letter and goes out again next time
            }
        } else {
            throw store::TableError(
                QStringLiteral("%1: registro em situação \"%2\" não pode ser enviado.").arg(t.name(), status));
        }
        ++aplicadas;
    }
    return aplicadas;
}

int EnviaTabela(store::Dados& dados, store::Table& t, const QString& caminho, bool& nadaEnviado,
                FlagsEnvio& flags)
{
    const QString titulo = tituloDe(t);
    app::TextoEspera(QStringLiteral("Enviando dados de ") + titulo);
    int resultado = 0;
    store::PedidoEnviado pedido;
    bool enviou = false;
    // What the journal learns once the request is over: it never got whole to the server, or its
    // reply was understood (for the rows it reached).
    struct Diario {
        DiarioDeEnvios* diario = nullptr;
        QString marca;
        bool naoChegou = false;
        bool respondido = false;
    } diario;
    // Every request that went out is in the send log, however it ended.
    struct Registra {
        store::PedidoEnviado& pedido;
        const bool& enviou;
        Diario& diario;
        ~Registra()
        {
            if (!enviou)
                return;
            if (diario.diario && diario.naoChegou) {
                diario.diario->registraNaoEnviado(diario.marca);
            } else if (diario.diario && diario.respondido) {
                std::vector<EntradaDoDiario> respostas(pedido.itens.size());
                std::vector<bool> recusado(pedido.itens.size());
                for (size_t i = 0; i < pedido.itens.size(); ++i) {
                    respostas[i].codigo = pedido.itens[i].resposta;
                    recusado[i] = pedido.itens[i].recusado();
                }
                // Not written: the rows stay in doubt, which only ever asks the user once too often.
                diario.diario->registraResposta(diario.marca, respostas, recusado);
            }
            if (pedido.possivelmenteAplicado) {
                // Only rows sent as insertions or changes could end up twice on the server.
                pedido.possivelmenteAplicado = false;
                for (const store::ItemEnviado& i : pedido.itens)
                    if (i.semResposta() && (i.status == QLatin1String("I") || i.status == QLatin1String("A")))
                        pedido.possivelmenteAplicado = true;
            }
            store::Envios().registra(std::move(pedido));
            app::SetModified(true);
        }
    } registra{pedido, enviou, diario};
    try {
        const QString corpo = preparaParamTabela(t);
        if (corpo.isEmpty()) {
            app::SetStatusText(2, QString());
            return 0;
        }
        pedido.quando = QDateTime::currentDateTime();
        pedido.envio = InicioDoEnvio().isValid() ? InicioDoEnvio() : pedido.quando;
        pedido.tabela = t.name();
        pedido.procedimento = caminho.mid(caminho.lastIndexOf(QLatin1Char('/')) + 1);
        pedido.itens = ItensPendentes(t);
        // On disk before the request goes: a process killed from here on leaves these rows in doubt.
        if (DiarioDeEnvios* d = DiarioAtivo()) {
            const QString marca = pedido.quando.toString(Qt::ISODateWithMs) + QLatin1Char(' ') + pedido.procedimento;
            if (!d->registraSaida(EntradasDoDiario(t, marca, pedido.quando))) {
                flags.erro = true;
                app::FechaEspera();
                app::Mensagem(QStringLiteral("Não foi possível gravar o diário de envios em:\r") + d->arquivo()
                                  + QStringLiteral("\r(") + d->erro()
                                  + QStringLiteral(")\rNada mais foi enviado, para que nenhum registro possa chegar duas "
                                                   "vezes ao servidor."),
                              app::Icone::Erro);
                return FalhaConexao;
            }
            diario.diario = d;
            diario.marca = marca;
        }
        enviou = true;
        resultado = ExecutaPedido(Config().host, Config().portaKesta, caminho, corpo);
        const UltimoPedido detalhe = DetalheDoUltimoPedido();
        // Only the protocol's own answer, one number a line under a success status, says what the
        // server did. A page of a proxy in front of it (a 504 after the server applied the request),
        // a cut or garbled reply, or an error status says nothing: those rows may be on the server.
        if (resultado >= 0 && detalhe.statusHttp != 0 && detalhe.statusHttp / 100 != 2)
            resultado = FalhaPaginaHtml;
        if (resultado < 0) {
            // Surely not applied only when the request never got whole to the server.
            const bool naoChegou =
                resultado == FalhaSeguranca || (resultado == FalhaConexao && !detalhe.podeTerChegado);
            pedido.situacao = QStringLiteral("falha: ") + QString::number(resultado)
                              + (naoChegou ? QStringLiteral(" (não enviado)") : QStringLiteral(" (resultado incerto)"));
            pedido.possivelmenteAplicado = !naoChegou;
            diario.naoChegou = naoChegou;
            if (naoChegou)
                for (store::ItemEnviado& i : pedido.itens)
                    i.significado = QStringLiteral("não enviado");
            app::FechaEspera();
            MostraFalha(resultado);
            flags.erro = true;
            app::Mensagem(textoDoEnvio(titulo), app::Icone::Erro);
            return resultado;
        }
        // The server has taken the rows: whatever happens while its answer is read, the project has
        // changed and must be offered for saving.
        nadaEnviado = false;
        app::SetModified(true);
        pedido.situacao = QStringLiteral("resposta incompleta");
        pedido.possivelmenteAplicado = true;
        diario.respondido = true;
        TrataResposta(dados, t, Resposta(), flags, &pedido);
        pedido.situacao = QStringLiteral("respondido");
        pedido.possivelmenteAplicado = false;
        try {
            t.setIndexName(QStringLiteral("Primary"));
        } catch (const std::exception&) {
        }
        app::ProgressoEspera(30, 500);
        app::SetStatusText(2, QString());
        return resultado;
    } catch (const app::Abort&) {
        throw;
    } catch (const std::exception& e) {
        flags.erro = true;
        app::Mensagem(textoDaFalha(titulo, mensagemDe(e)), app::Icone::Erro);
        app::SetStatusText(2, QString());
        return resultado;
    }
}

} // namespace net
