#include "edit/CampoMascarado.h"
#include "edit/ValidaNumeros.h"

#include "core/InteracaoRoteirizada.h"

#include <gtest/gtest.h>

namespace {

struct Resultado {
    bool valido;
    QStringList mensagens;
};

template <typename F>
Resultado checa(F funcao, const QString& texto)
{
    app::InteracaoRoteirizada roteiro;
    const edit::CampoTexto campo(texto);
    Resultado r{funcao(campo, QStringLiteral("Carga Horária")), {}};
    for (const auto& m : roteiro.mensagens) {
        EXPECT_EQ(m.icone, app::Icone::Erro);
        EXPECT_EQ(m.titulo, QStringLiteral("REZOZUR Eva-Rudo 1.3.1"));
        r.mensagens << m.texto;
    }
    return r;
}

const QString Invalido = QStringLiteral("Carga Horária não é um número válido.");
const QString InvalidoSemPonto = QStringLiteral("Carga Horária não é um número válido");
const QString Zero = QStringLiteral("Carga Horária precisa ser maior que zero.");

} // namespace

TEST(ValidaInteiro, Mensagens)
{
    const auto f = [](const edit::CampoMascarado& c, const QString& l) { return edit::ValidaInteiro(c, l); };
    struct Caso {
        const char* texto;
        bool valido;
        QStringList mensagens;
    };
    const Caso casos[] = {
        {"   ", true, {}},
        {"", true, {}},
        {"  40", true, {}},
        {"1", true, {}},
        {"+0", false, {Invalido, Zero}},
        {"+5", false, {Invalido}},
        {"0", false, {Zero}},
        {"-3", false, {Zero}},
        {"4 0", false, {InvalidoSemPonto}},
        {"x", false, {InvalidoSemPonto}},
        {"99999999999", false, {InvalidoSemPonto}},
        {"2147483648", false, {InvalidoSemPonto}},
        {"000000000007", true, {}},
        {"000000000000", false, {Zero}},
    };
    for (const Caso& caso : casos) {
        const Resultado r = checa(f, QString::fromLatin1(caso.texto));
        EXPECT_EQ(r.valido, caso.valido) << caso.texto;
        EXPECT_EQ(r.mensagens, caso.mensagens) << caso.texto;
    }
}

TEST(ValidaValor, Mensagens)
{
    const auto f = [](const edit::CampoMascarado& c, const QString& l) { return edit::ValidaValor(c, l); };
    struct Caso {
        const char* texto;
        bool valido;
        QStringList mensagens;
    };
    const Caso casos[] = {
        {"             .  ", true, {}},
        {"0.01", true, {}},
        {"  1234.50", true, {}},
        {"00.00", true, {}},
        {"0.0", true, {}},
        {"0.00", false, {Zero}},
        {"        0.00", false, {Zero}},
        {"1 234.00", false, {Invalido}},
        {"+1.00", false, {Invalido}},
        {"-1.00", false, {Invalido}},
    };
    for (const Caso& caso : casos) {
        const Resultado r = checa(f, QString::fromLatin1(caso.texto));
        EXPECT_EQ(r.valido, caso.valido) << caso.texto;
        EXPECT_EQ(r.mensagens, caso.mensagens) << caso.texto;
    }
}

TEST(Alinha, NumeroEValor)
{
    edit::CampoTexto numero(QStringLiteral(" 12  "), 9);
    edit::AlinhaNumero(numero);
    EXPECT_EQ(numero.texto(), QStringLiteral("       12"));

    edit::CampoTexto cheio(QStringLiteral("123456789"), 9);
    edit::AlinhaNumero(cheio);
    EXPECT_EQ(cheio.texto(), QStringLiteral("123456789"));

    // Amount edits are 16 wide: 13 for the whole part, "." and two decimals.
    const std::pair<const char*, const char*> valores[] = {
        {"1234.5", "         1234.5 "},
        {"1234.", "         1234.00"},
        {"1234", "         1234.00"},
        {" .5", "            0.5 "},
        {"             .  ", "            0.00"},
        {"12.34", "           12.34"},
    };
    for (const auto& [de, para] : valores) {
        edit::CampoTexto valor(QString::fromLatin1(de), 16);
        edit::AlinhaValor(valor);
        EXPECT_EQ(valor.texto(), QString::fromLatin1(para)) << de;
    }
}
