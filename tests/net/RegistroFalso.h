#pragma once

#include "PeerHttp.h"
#include "net/Transporte.h"
#include "store/Table.h"

#include <QMap>

// Both registries on one loopback peer: the programme's register of people (by code, by national
// code, by name) and the national registry of researchers and institutions. The test fills the maps;
// every request is kept with its body decoded into fields.
class RegistroFalso
{
public:
    struct Pessoa {
        QString codigo, nome;
    };
    struct Pesquisador {
        QString nome, email;
        bool semEmail = false;
    };

    QMap<QString, Pessoa> porCodigo, porBiro, porNome;  // programme register; keys upper-cased
    QMap<QString, Pesquisador> pesquisadores;           // national registry, by code
    QMap<QString, QString> instituicoes;                // national registry, code -> name
    QMap<QString, QByteArray> respostasForcadas;        // path+"?"+raw body -> reply

    PeerHttp peer;
    net::Configuracao antes = net::Config();

    RegistroFalso()
    {
        net::Config().host = QStringLiteral("127.0.0.1");
        net::Config().portaKesta = peer.porta();
        net::Config().portaBiro = peer.porta();
        peer.responde = [this](const PeerHttp::Pedido& p) { return responde(p); };
    }
    ~RegistroFalso() { net::Config() = antes; }

    // "a=B&c=D%C3" -> {a: "B", c: "DÃ"}
    static QMap<QString, QString> campos(const QByteArray& corpo)
    {
        QMap<QString, QString> r;
        for (const QByteArray& par : corpo.split('&')) {
            const qsizetype igual = par.indexOf('=');
            QByteArray v = par.mid(igual + 1);
            v.replace('+', ' ');
            r.insert(QString::fromLatin1(par.left(igual)), net::DeWindows1252(QByteArray::fromPercentEncoding(v)));
        }
        return r;
    }

    QStringList caminhos() const
    {
        QStringList r;
        for (const auto& p : peer.pedidos)
            r << QString::fromLatin1(p.caminho);
        return r;
    }
    QList<QByteArray> corpos() const
    {
        QList<QByteArray> r;
        for (const auto& p : peer.pedidos)
            r << p.corpo;
        return r;
    }

private:
    QByteArray responde(const PeerHttp::Pedido& p)
    {
        const QString chave = QString::fromLatin1(p.caminho) + QLatin1Char('?') + QString::fromLatin1(p.corpo);
        if (respostasForcadas.contains(chave))
            return respostasForcadas.value(chave);
        const auto c = campos(p.corpo);
        auto pessoa = [](const Pessoa* x) {
            return x ? net::ParaWindows1252(x->codigo + QLatin1Char('|') + x->nome + QStringLiteral("|\n"))
                     : QByteArray("-1\n");
        };
        auto acha = [](const QMap<QString, Pessoa>& m, const QString& k) -> const Pessoa* {
            auto it = m.find(k.toUpper());
            return it == m.end() ? nullptr : &*it;
        };
        if (p.caminho.endsWith("pessoa.Valida_id"))
            return pessoa(acha(porCodigo, c.value(QStringLiteral("id_membro"))));
        if (p.caminho.endsWith("pessoa.Valida_biro"))
            return pessoa(acha(porBiro, c.value(QStringLiteral("biro"))));
        if (p.caminho.endsWith("pessoa.Valida_nome"))
            return pessoa(acha(porNome, c.value(QStringLiteral("nome"))));
        if (p.caminho.endsWith("kesta_proc.ValidaPesq")) {
            const QString k = c.value(QStringLiteral("login"));
            if (!pesquisadores.contains(k))
                return "-1\n";
            const Pesquisador& x = pesquisadores[k];
            QString r = QStringLiteral("0; ") + k + QStringLiteral("; ") + x.nome;
            if (!x.semEmail)
                r += QStringLiteral("; ") + x.email;
            return net::ParaWindows1252(r + QLatin1Char('\n'));
        }
        if (p.caminho.endsWith("kesta_proc.ValidaInst")) {
            const QString k = c.value(QStringLiteral("inst"));
            if (!instituicoes.contains(k))
                return "-1\n";
            return net::ParaWindows1252(QStringLiteral("0; ") + k + QStringLiteral("; ") + instituicoes[k] + QLatin1Char('\n'));
        }
        return "<html>desconhecido</html>";
    }
};

// Appends one row with the given columns and posts it.
inline void adiciona(store::Table& t, std::initializer_list<std::pair<const char*, QString>> valores)
{
    t.append();
    for (const auto& [coluna, valor] : valores)
        t.setValue(QString::fromLatin1(coluna), valor);
    t.post();
}
