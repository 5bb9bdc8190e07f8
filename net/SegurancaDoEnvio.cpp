// What keeps a send from giving the server something twice or something never confirmed: rows left
// in an edit dialog's working letter, rows whose earlier send lost its reply, and the sent state of
// a project whose save did not happen.

#include "net/EnviaDados.h"

#include "core/Interacao.h"
#include "core/ProgramState.h"
#include "net/DiarioDeEnvios.h"
#include "store/Catalogo.h"
#include "store/Dados.h"
#include "store/Projeto.h"
#include "store/RegistroEnvios.h"

#include <QDir>

#include <set>
#include <QFileInfo>

namespace net {

namespace {

bool slotValido(int tag) { return tag >= 0 && tag < store::NumSlots && !store::SlotVazio(tag); }

QString tituloDe(const store::Table& t)
{
    return slotValido(t.tag()) ? store::TableTitles[size_t(t.tag())] : t.name();
}

QString descricao(const store::Table& t, const QString& chave, const QString& status)
{
    return QStringLiteral("%1: %2 (%3)").arg(tituloDe(t), chave.isEmpty() ? QStringLiteral("sem código") : chave, status);
}

// Every row of the table whatever its filter shows; the filter switch is put back afterwards.
template <typename F>
void paraCadaLinha(store::Table& t, F&& f)
{
    const bool filtrada = t.filtered();
    t.setFiltered(false);
    struct Religa {
        store::Table& t;
        bool f;
        ~Religa() { t.setFiltered(f); }
    } religa{t, filtrada};
    for (store::Table::Bookmark b : t.visibleRows())
        f(b);
}

bool temCodigoDoServidor(const store::Table& t, store::Table::Bookmark b)
{
    if (!slotValido(t.tag()) || store::TableKeyFields[size_t(t.tag())].isEmpty())
        return false;
    const int col = t.fieldIndex(store::TableKeyFields[size_t(t.tag())]);
    if (col < 0)
        return false;
    bool ok = false;
    const qlonglong codigo = t.rowValue(b, col).trimmed().toLongLong(&ok);
    // A provisional code is negative; a row without any number has none from the server either.
    return ok && codigo >= 0;
}

} // namespace

QStringList RegistrosEmEdicao(store::Dados& dados)
{
    QStringList r;
    for (const LinhaDeEnvio& linha : TabelaDeEnvio) {
        store::Table* t = dados.tabela(QString::fromLatin1(linha.tabela));
        if (!t)
            continue;
        paraCadaLinha(*t, [&](store::Table::Bookmark b) {
            const QString status = t->rowValue(b, 0);
            if (StatusDeTrabalho(status))
                r << descricao(*t, store::ChaveDoRegistro(*t, b), status);
        });
    }
    return r;
}

int DesfazEdicoesPendentes(store::Dados& dados)
{
    int tocadas = 0;
    for (const LinhaDeEnvio& linha : TabelaDeEnvio) {
        store::Table* t = dados.tabela(QString::fromLatin1(linha.tabela));
        if (!t)
            continue;
        std::vector<store::Table::Bookmark> remover;
        std::vector<std::pair<store::Table::Bookmark, QString>> trocar;
        paraCadaLinha(*t, [&](store::Table::Bookmark b) {
            const QString s = t->rowValue(b, 0);
            if (s == QLatin1String("E") || s == QLatin1String("P") || s == QLatin1String("Q"))
                remover.push_back(b);
            else if (s == QLatin1String("Y"))
                trocar.emplace_back(b, QStringLiteral("I"));
            else if (s == QLatin1String("X"))
                trocar.emplace_back(b, QStringLiteral("A"));
            else if (s == QLatin1String("M") || s == QLatin1String("Z"))
                trocar.emplace_back(b, temCodigoDoServidor(*t, b) ? QStringLiteral("A") : QStringLiteral("I"));
        });
        if (remover.empty() && trocar.empty())
            continue;
        const bool filtrada = t->filtered();
        t->setFiltered(false);
        for (const auto& [b, letra] : trocar) {
            t->gotoBookmark(b);
            t->edit();
            t->setValue(0, letra);
            t->post();
        }
        for (store::Table::Bookmark b : remover) {
            if (t->bookmarkValid(b) && t->gotoBookmark(b))
                t->remove();
        }
        t->setFiltered(filtrada);
        tocadas += int(remover.size() + trocar.size());
    }
    return tocadas;
}

QStringList RegistrosSemResposta(store::Dados& dados)
{
    QStringList r;
    for (const store::PedidoEnviado& p : store::Envios().pedidos) {
        if (!p.possivelmenteAplicado || p.liberado)
            continue;
        store::Table* t = dados.tabela(p.tabela);
        if (!t)
            continue;
        for (const store::ItemEnviado& i : p.itens) {
            if (!i.semResposta() || (i.status != QLatin1String("I") && i.status != QLatin1String("A")))
                continue;
            // Only a row that would go out again matters: one sent since, or removed, cannot be
            // duplicated.
            bool pendente = false;
            paraCadaLinha(*t, [&](store::Table::Bookmark b) {
                const QString s = t->rowValue(b, 0);
                if (!pendente && (s == QLatin1String("I") || s == QLatin1String("A")) && store::ChaveDoRegistro(*t, b) == i.chaveAntes)
                    pendente = true;
            });
            if (pendente)
                r << descricao(*t, i.chaveAntes, i.status);
        }
    }
    r.removeDuplicates();
    return r;
}

std::vector<RegistroRetido> RegistrosRetidos(store::Dados& dados, const DiarioDeEnvios* diario)
{
    // The rows the send log of this very file marks as possibly applied.
    std::set<std::pair<QString, QString>> doArquivo;
    for (const store::PedidoEnviado& p : store::Envios().pedidos) {
        if (!p.possivelmenteAplicado || p.liberado)
            continue;
        for (const store::ItemEnviado& i : p.itens)
            if (i.semResposta() && (i.status == QLatin1String("I") || i.status == QLatin1String("A")))
                doArquivo.insert({p.tabela, i.chaveAntes});
    }
    std::vector<RegistroRetido> r;
    for (const LinhaDeEnvio& linha : TabelaDeEnvio) {
        store::Table* t = dados.tabela(QString::fromLatin1(linha.tabela));
        if (!t)
            continue;
        paraCadaLinha(*t, [&](store::Table::Bookmark b) {
            const QString letra = t->rowValue(b, 0);
            if (letra != QLatin1String("I") && letra != QLatin1String("A") && letra != QLatin1String("D"))
                return;
            const QString chave = store::ChaveDoRegistro(*t, b);
            const EntradaDoDiario* entrada = nullptr;
            const DiarioDeEnvios::Situacao s = diario ? diario->consulta(t->name(), letra, chave, ImpressaoDoRegistro(*t, b), &entrada)
                                                      : DiarioDeEnvios::Situacao::Livre;
            RegistroRetido retido{t, b, letra, chave, store::NomeDoRegistro(*t, b), true, {}};
            if (s == DiarioDeEnvios::Situacao::SemResposta) {
                retido.motivo = QStringLiteral("enviado em %1 sem resposta entendida do servidor")
                                    .arg(entrada->quando.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")));
            } else if (s == DiarioDeEnvios::Situacao::JaRecebido) {
                retido.semResposta = false;
                retido.motivo = entrada->estado == EntradaDoDiario::Estado::Assentado
                                    ? QStringLiteral("enviado em %1; o projeto foi carregado do servidor depois disso")
                                          .arg(entrada->quando.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")))
                                    : QStringLiteral("já recebido pelo servidor em %1 (resposta: %2)")
                                          .arg(entrada->quando.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")),
                                               entrada->codigo);
            } else if (doArquivo.count({t->name(), chave}) && letra != QLatin1String("D")) {
                retido.motivo = QStringLiteral("a resposta a um envio anterior deste arquivo não chegou");
            } else {
                return;
            }
            r.push_back(std::move(retido));
        });
    }
    return r;
}

namespace {

const QString Desfeita = QStringLiteral(" (exclusão desfeita)");

store::Table::Bookmark excluida(store::Dados& dados, const store::PedidoEnviado& pedido, const store::ItemEnviado& item)
{
    store::Table* t = dados.tabela(pedido.tabela);
    if (!t || !item.exclusaoRecusada() || item.significado.endsWith(Desfeita))
        return 0;
    store::Table::Bookmark achada = 0;
    paraCadaLinha(*t, [&](store::Table::Bookmark b) {
        if (!achada && t->rowValue(b, 0) == QLatin1String("D") && store::ChaveDoRegistro(*t, b) == item.chaveAntes)
            achada = b;
    });
    return achada;
}

} // namespace

bool ExclusaoDesfazivel(store::Dados& dados, const store::PedidoEnviado& pedido, const store::ItemEnviado& item)
{
    return excluida(dados, pedido, item) != 0;
}

bool DesfazExclusaoRecusada(store::Dados& dados, const store::PedidoEnviado& pedido, store::ItemEnviado& item)
{
    const store::Table::Bookmark b = excluida(dados, pedido, item);
    if (!b)
        return false;
    store::Table& t = dados.tabelaOuErro(pedido.tabela);
    const bool filtrada = t.filtered();
    t.setFiltered(false);
    t.gotoBookmark(b);
    t.edit();
    t.setValue(0, QStringLiteral("A"));
    t.post();
    t.setFiltered(filtrada);
    if (t.rowMatchesFilter(b))
        t.gotoBookmark(b);
    item.significado += Desfeita;
    store::Envios().toca();
    app::SetModified(true);
    return true;
}

QString RegistroRetido::texto() const
{
    const QString tipo = letra == QLatin1String("I")   ? QStringLiteral("inclusão")
                         : letra == QLatin1String("A") ? QStringLiteral("alteração")
                                                       : QStringLiteral("exclusão");
    return QStringLiteral("%1: %2 (%3, código %4): %5")
        .arg(tituloDe(*tabela), nome, tipo, chave.isEmpty() ? QStringLiteral("-") : chave, motivo);
}

void LiberaRegistrosSemResposta()
{
    for (store::PedidoEnviado& p : store::Envios().pedidos)
        if (p.possivelmenteAplicado)
            p.liberado = true;
}

QString GuardaEstadoDoEnvio()
{
    const app::ProgramState& e = app::Estado();
    QStringList candidatos;
    if (!e.ProjectFileName.isEmpty()) {
        QString base = e.ProjectFileName;
        if (base.endsWith(QLatin1String(".prj"), Qt::CaseInsensitive))
            base.chop(4);
        candidatos << base + QStringLiteral(".enviado.prj");
    }
    const QString pasta = store::PastaDeTrabalhoDoUsuario() + QStringLiteral("recuperacao/");
    QDir().mkpath(pasta);
    const QString codigo = e.ProjectCode.trimmed().isEmpty() ? QStringLiteral("sem-codigo") : e.ProjectCode.trimmed();
    candidatos << pasta + QStringLiteral("projeto-") + codigo + QStringLiteral(".enviado.prj");

    for (const QString& c : candidatos) {
        if (QFileInfo(c).absoluteDir().exists() && store::GravaProjeto(c)) {
            app::Mensagem(QStringLiteral("O projeto não foi gravado depois do envio.\r"
                                         "O estado do projeto após o envio foi guardado em:\r")
                              + QDir::toNativeSeparators(c)
                              + QStringLiteral("\rContinue a partir deste arquivo: o arquivo anterior não mostra o que "
                                               "o servidor já recebeu, e enviá-lo de novo pode duplicar registros."),
                          app::Icone::Aviso);
            return c;
        }
    }
    app::Mensagem(QStringLiteral("O projeto não foi gravado depois do envio, e não foi possível guardar uma cópia.\r"
                                 "Grave o projeto antes de fechá-lo: o arquivo anterior não mostra o que o servidor "
                                 "já recebeu, e enviá-lo de novo pode duplicar registros."),
                  app::Icone::Erro);
    return {};
}

} // namespace net
