#include "edit/ValidaDatas.h"

#include "core/InteracaoRoteirizada.h"
#include "store/Dados.h"

#include <gtest/gtest.h>

using app::Icone;

namespace {

const QString Info = QStringLiteral("info");
const QString Erro = QStringLiteral("erro");

const QString MsgAssinatura =
    QStringLiteral("Data de assinatura do contrato precisa estar entre 01/01/1990 e 31/12/1997.");
const QString MsgAntes = QStringLiteral("Data precisa ser maior que a Data de Assinatura do Projeto.");
const QString MsgFinais = QStringLiteral("Datas Finais precisam estar entre 01/01/1990 e 31/12/2010.");
const QString MsgInicio = QStringLiteral("Datas de início precisam estar entre 01/01/1990 e 31/12/1997.");

class Datas : public ::testing::Test
{
protected:
    void SetUp() override { store::criaDados(); }
    void TearDown() override { store::destroiDados(); }

    void assinatura(const QString& data)
    {
        store::Table& p = store::DataIdentificacao().tbProjeto;
        p.setFiltered(false);
        if (p.isEmpty()) {
            p.append();
            p.setValue(QStringLiteral("Status"), QStringLiteral("N"));
            p.setValue(QStringLiteral("Cod_Proj"), QStringLiteral("77"));
        } else {
            p.first();
            p.edit();
        }
        p.setValue(QStringLiteral("DataAssinat"), data);
        p.post();
    }

    // The messages shown since the last call, as "icon: text".
    QStringList vistas()
    {
        QStringList r;
        for (const auto& m : roteiro.mensagens) {
            EXPECT_EQ(m.titulo, QStringLiteral("REZOZUR Eva-Rudo 1.3.1"));
            r << (m.icone == Icone::Informacao ? Info : m.icone == Icone::Erro ? Erro : QStringLiteral("?"))
                     + QStringLiteral(": ") + m.texto;
        }
        roteiro.mensagens.clear();
        return r;
    }

    app::InteracaoRoteirizada roteiro;
};

QString info(const QString& t) { return Info + QStringLiteral(": ") + t; }
QString erro(const QString& t) { return Erro + QStringLiteral(": ") + t; }

} // namespace

TEST(CompletaAno, AnosCurtosNosAnos90)
{
    EXPECT_EQ(edit::CompletaAno(QStringLiteral("01/02/6")), QStringLiteral("01/02/1996"));
    EXPECT_EQ(edit::CompletaAno(QStringLiteral("01/02/96")), QStringLiteral("01/02/1996"));
    EXPECT_EQ(edit::CompletaAno(QStringLiteral("01/02/996")), QStringLiteral("01/02/1996"));
    EXPECT_EQ(edit::CompletaAno(QStringLiteral("01/02/2005")), QStringLiteral("01/02/2005"));
    EXPECT_EQ(edit::CompletaAno(QStringLiteral(" 01/02/96    ")), QStringLiteral("01/02/1996"));
    EXPECT_EQ(edit::CompletaAno(QStringLiteral("01/02/ 96 ")), QStringLiteral("01/02/1996"));
    EXPECT_EQ(edit::CompletaAno(QStringLiteral("  /  /    ")), QStringLiteral("  /  /    "));
    EXPECT_EQ(edit::CompletaAno(QString()), QString());
    EXPECT_EQ(edit::CompletaAnoMes(QStringLiteral("02/7")), QStringLiteral("02/1997"));
    EXPECT_EQ(edit::CompletaAnoMes(QStringLiteral("02/97  ")), QStringLiteral("02/1997"));
    EXPECT_EQ(edit::CompletaAnoMes(QStringLiteral("  /    ")), QStringLiteral("  /    "));
}

TEST(ContemAspas, Apostrofo)
{
    EXPECT_TRUE(edit::ContemAspas(QStringLiteral("D'ÁVILA")));
    EXPECT_FALSE(edit::ContemAspas(QStringLiteral("D\"AVILA")));
    EXPECT_FALSE(edit::ContemAspas(QString()));
}

TEST_F(Datas, DataAssinatura)
{
    using edit::ValidaDataAssinatura;
    const QString s = QStringLiteral("15/03/1995");
    EXPECT_TRUE(ValidaDataAssinatura(QStringLiteral("  /  /    "), QStringLiteral("01/01/1980")));
    EXPECT_TRUE(ValidaDataAssinatura(s, QStringLiteral("  /  /    ")));
    EXPECT_FALSE(ValidaDataAssinatura(QStringLiteral("31/12/1989"), QString()));
    EXPECT_EQ(vistas(), QStringList{info(MsgAssinatura)});
    EXPECT_TRUE(ValidaDataAssinatura(s, s));  // equal passes
    EXPECT_FALSE(ValidaDataAssinatura(s, QStringLiteral("14/03/1995")));
    EXPECT_EQ(vistas(), QStringList{info(MsgAntes)});
    EXPECT_FALSE(ValidaDataAssinatura(QStringLiteral("01/01/1998"), QStringLiteral("02/01/1998")));
    EXPECT_EQ(vistas(), QStringList{info(MsgAssinatura)});
    EXPECT_TRUE(ValidaDataAssinatura(s, QStringLiteral("31/12/2010")));
    EXPECT_FALSE(ValidaDataAssinatura(s, QStringLiteral("01/01/2011")));
    EXPECT_EQ(vistas(), QStringList{info(MsgFinais)});
    EXPECT_FALSE(ValidaDataAssinatura(s, QStringLiteral("31/02/1996")));
    EXPECT_EQ(vistas(), QStringList{erro(QStringLiteral("Data inválida."))});
    // A project with no signature date has nothing to compare with.
    EXPECT_TRUE(ValidaDataAssinatura(QString(), QStringLiteral("01/01/1996")));
    EXPECT_TRUE(vistas().isEmpty());
}

TEST_F(Datas, Intervalos)
{
    assinatura(QStringLiteral("10/01/1994"));
    QString d1 = QStringLiteral("  /  /    "), d2 = QStringLiteral("99/99/99");
    EXPECT_TRUE(edit::ValidaDatas(d1, d2));  // an empty start accepts any end
    EXPECT_EQ(d2, QStringLiteral("99/99/99"));

    d1 = QStringLiteral("01/02/95");
    d2 = QStringLiteral("01/02/95");
    EXPECT_TRUE(edit::ValidaDatas(d1, d2));
    EXPECT_EQ(d1, QStringLiteral("01/02/1995"));
    EXPECT_EQ(d2, QStringLiteral("01/02/1995"));

    d1 = QStringLiteral("01/02/95");
    d2 = QStringLiteral("31/01/95");
    EXPECT_FALSE(edit::ValidaDatas(d1, d2));
    EXPECT_EQ(vistas(), QStringList{erro(QStringLiteral("Data final precisa ser maior que data inicial."))});
    EXPECT_EQ(d2, QStringLiteral("31/01/1995"));  // completed even when refused

    d1 = QStringLiteral("01/02/1998");
    d2 = QStringLiteral("  /  /    ");
    EXPECT_FALSE(edit::ValidaDatas(d1, d2));
    EXPECT_EQ(vistas(), QStringList{info(MsgInicio)});

    d1 = QStringLiteral("01/02/1998");
    d2 = QStringLiteral("01/03/1998");
    EXPECT_FALSE(edit::ValidaDatas(d1, d2));
    EXPECT_EQ(vistas(), QStringList{info(MsgInicio)});

    d1 = QStringLiteral("01/02/1996");
    d2 = QStringLiteral("01/03/2011");
    EXPECT_FALSE(edit::ValidaDatas(d1, d2));
    EXPECT_EQ(vistas(), QStringList{info(MsgFinais)});

    d1 = QStringLiteral("09/01/1994");
    d2 = QStringLiteral("01/03/1996");
    EXPECT_FALSE(edit::ValidaDatas(d1, d2));
    EXPECT_EQ(vistas(), QStringList{info(MsgAntes)});

    d1 = QStringLiteral("1a/01/1994");
    d2 = QString();
    EXPECT_FALSE(edit::ValidaDatas(d1, d2));
    EXPECT_EQ(vistas(), QStringList{erro(QStringLiteral("Data inválida."))});
}

TEST_F(Datas, Periodos)
{
    assinatura(QStringLiteral("29/02/1996"));
    // 02/1996 is 29/02/1996: not before the signature.
    QString m1 = QStringLiteral("02/96"), m2 = QStringLiteral("  /    ");
    EXPECT_TRUE(edit::ValidaPeriodo(m1, m2));
    EXPECT_EQ(m1, QStringLiteral("02/1996"));
    EXPECT_TRUE(vistas().isEmpty());

    assinatura(QStringLiteral("01/03/1997"));
    // 02/1997 is 28/02/1997, before the signature.
    m1 = QStringLiteral("02/1997");
    m2 = QString();
    EXPECT_FALSE(edit::ValidaPeriodo(m1, m2));
    EXPECT_EQ(vistas(), QStringList{info(MsgAntes)});

    m1 = QStringLiteral("05/1997");
    m2 = QStringLiteral("04/97");
    EXPECT_FALSE(edit::ValidaPeriodo(m1, m2));
    EXPECT_EQ(vistas(), QStringList{erro(QStringLiteral("Data final não poder ser menor que data inicial."))});
    EXPECT_EQ(m2, QStringLiteral("04/1997"));

    m1 = QStringLiteral("05/1997");
    m2 = QStringLiteral("05/1997");
    EXPECT_TRUE(edit::ValidaPeriodo(m1, m2));

    m1 = QStringLiteral("05/1997");
    m2 = QStringLiteral("01/2011");
    EXPECT_FALSE(edit::ValidaPeriodo(m1, m2));
    EXPECT_EQ(vistas(), QStringList{info(MsgFinais)});

    m1 = QStringLiteral("13/1997");
    m2 = QString();
    EXPECT_FALSE(edit::ValidaPeriodo(m1, m2));
    EXPECT_EQ(vistas(), QStringList{erro(QStringLiteral("Alguma Data é inválida."))});

    m1 = QStringLiteral("  /    ");
    m2 = QStringLiteral("13/1997");
    EXPECT_TRUE(edit::ValidaPeriodo(m1, m2));
}
