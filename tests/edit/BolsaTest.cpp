// The grant dialog's rules through its logic and a scripted form.
#include "tests/edit/Apoio.h"

#include "edit/Edicao.h"
#include "edit/EdicaoBolsa.h"
#include "edit/Escolha.h"
#include "edit/FonteDeItens.h"
#include "edit/FormularioRoteirizado.h"

#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "store/Dados.h"

#include <gtest/gtest.h>

namespace {

using B = edit::EdicaoBolsa;

void linha(store::Table& t, std::initializer_list<std::pair<const char*, const char*>> valores)
{
    t.append();
    for (const auto& [campo, valor] : valores)
        t.setValue(QString::fromUtf8(campo), QString::fromUtf8(valor));
    t.post();
}

class Bolsa : public ::testing::Test
{
protected:
    struct Criados {
        Criados() { store::criaDados(); }
    } m_criados;
    store::Table& bolsas = store::DataAtividadesApoiadas().tbBolsa;
    store::Table& areas = store::DataAtividadesApoiadas().tbBolsaAreaConhec;
    store::Table& trab = store::DataAtividadesApoiadas().tbTrabalhoAcademico;
    store::Table& areasTrab = store::DataAtividadesApoiadas().tbTrabalhoAreaConhec;
    app::InteracaoRoteirizada roteiro;
    edit::LeitorDeItens m_leitor;
    edit::AbridorEscolha m_abridor;

    void SetUp() override
    {
        app::Estado().ProjectModified = false;
        m_leitor = edit::TrocaLeitorDeItens([](const QString&) { return QStringList{QStringLiteral("MESTRADO")}; });
        // The area choice leaves its row as the choice dialog does: linked, in I (insert) or E (edit).
        m_abridor = edit::InstalaAbridorEscolha([](edit::TipoEscolha, const edit::ContextoEscolha& c) {
            if (c.filho) {
                c.filho->setValue(QStringLiteral("DescricaoAreaConhec"), QStringLiteral("ECOLOGIA"));
                c.filho->setValue(c.campoLigacao, c.codigoPai);
                c.filho->setValue(QStringLiteral("Status"), c.modo == 1 ? QStringLiteral("I") : QStringLiteral("E"));
                c.filho->post();
            }
            return edit::ResultadoEscolha{true, QStringLiteral("ECOLOGIA")};
        });
        // A grant known to the server with neither registry nor programme code, one with both.
        linha(bolsas, {{"Status", "N"}, {"Cod_Bolsa", "5"}, {"NomeBolsista", "RUI"}, {"BIROInstDestino", "INST1"},
                       {"NomeInstDestino", "UNIVERSIDADE"}, {"Modalidade", "MESTRADO"}, {"DataInicio", "01/02/1996"}});
        linha(bolsas, {{"Status", "N"}, {"Cod_Bolsa", "6"}, {"NomeBolsista", "EVA"}, {"BIROBolsista", "B6"},
                       {"KESTA", "66"}, {"BIROInstDestino", "INST1"}, {"NomeInstDestino", "UNIVERSIDADE"},
                       {"Modalidade", "MESTRADO"}, {"DataInicio", "01/03/1996"}, {"DataConclusao", "28/02/1998"}});
        linha(areas, {{"Status", "N"}, {"Cod_Bolsa", "5"}, {"DescricaoAreaConhec", "FÍSICA"}});
        linha(areas, {{"Status", "A"}, {"Cod_Bolsa", "6"}, {"DescricaoAreaConhec", "QUÍMICA"}});
        linha(trab, {{"Status", "N"}, {"Cod_Trab", "70"}, {"Cod_Bolsa", "6"}, {"TipoTrab", "TESE"}, {"TituloTrab", "T"}});
        linha(areasTrab, {{"Status", "N"}, {"Cod_Trab", "70"}, {"DescArea", "AGRONOMIA"}});
    }
    void TearDown() override
    {
        EXPECT_TRUE(roteiro.inesperadas.isEmpty()) << roteiro.inesperadas.join(QLatin1Char('\n')).toStdString();
        edit::InstalaAbridorEscolha(m_abridor);
        edit::TrocaLeitorDeItens(m_leitor);
        store::destroiDados();
    }

    edit::Resultado abre(bool inserir, const std::function<void(edit::FormularioRoteirizado&)>& passos)
    {
        edit::FormularioRoteirizado form;
        // The works grid adds a work with one area, as the nested dialogs leave them (E and P).
        B logica(form, [this](const QString& campo, const QString& codigo) {
            linha(trab, {{"Status", "E"}, {"Cod_Trab", "-9"}, {"TipoTrab", "TESE"}, {"TituloTrab", "NOVA"}});
            VaiPara(trab, QStringLiteral("-9"), 1);
            trab.edit();
            trab.setValue(campo, codigo);
            trab.post();
            linha(areasTrab, {{"Status", "P"}, {"Cod_Trab", "-9"}, {"DescArea", "ZOOLOGIA"}});
        });
        form.instala(logica);
        edit::AbreEdicao(inserir, form.dialogo([&] { passos(form); }), bolsas, nullptr, QStringLiteral("Cod_Bolsa"));
        return form.resultadoFinal();
    }

    void preencheNova(edit::FormularioRoteirizado& f, const QString& nome)
    {
        f.digita(B::Nome, nome);
        f.digita(B::Modalidade, QStringLiteral("MESTRADO"));
        f.digita(B::NomeInstituicao, QStringLiteral("UNIVERSIDADE"));
        f.digita(B::BiroInstituicao, QStringLiteral("123"));
        f.digita(B::Inicio, QStringLiteral("01/04/1996"));
        f.clica(B::IncluirArea);
    }
};

TEST_F(Bolsa, NomeRepetidoSoRecusadoComCodigoKesta)
{
    // Without a programme code the name is not compared: a second "RUI" is taken.
    EXPECT_EQ(abre(true, [&](edit::FormularioRoteirizado& f) {
                  preencheNova(f, QStringLiteral("RUI"));
                  f.clica(B::Confirmar);
                  EXPECT_TRUE(f.fechado()) << roteiro.textos().join(QLatin1Char('|')).toStdString();
              }),
              edit::Resultado::Ok);
    EXPECT_TRUE(roteiro.mensagens.isEmpty());
    EXPECT_EQ(Letras(bolsas, 1).size(), 3);

    // With one, the same name is a duplicate, and so is a programme code another grant holds.
    EXPECT_EQ(abre(true, [&](edit::FormularioRoteirizado& f) {
                  preencheNova(f, QStringLiteral("EVA"));
                  f.digita(B::Kesta, QStringLiteral("66"));
                  f.clica(B::Confirmar);
                  EXPECT_EQ(roteiro.textos(), QStringList{QStringLiteral("Já existe Bolsa cadastrada para este KESTA!")});
                  roteiro.mensagens.clear();
                  f.digita(B::Kesta, QStringLiteral("67"));
                  f.clica(B::Confirmar);
                  EXPECT_EQ(roteiro.textos(), QStringList{QStringLiteral("Já existe Bolsa cadastrada para este Nome!")});
                  EXPECT_FALSE(f.fechado());
                  f.clica(B::Cancelar);
              }),
              edit::Resultado::Cancelar);
    EXPECT_EQ(Letras(bolsas, 1).size(), 3);
    // The look-ups left no index of their own on the grants.
    EXPECT_FALSE(bolsas.hasIndex(QStringLiteral("Partners")));
}

TEST_F(Bolsa, CancelarDepoisDeAreasETrabalhosDevolveAsTabelasExatamente)
{
    ASSERT_TRUE(VaiPara(bolsas, QStringLiteral("6"), 1));
    const QString antes[] = {Despejo(bolsas), Despejo(areas), Despejo(trab), Despejo(areasTrab)};
    EXPECT_EQ(abre(false, [&](edit::FormularioRoteirizado& f) {
                  EXPECT_EQ(f.titulo(), QStringLiteral("Editar Bolsa de Estudo Concedida"));
                  EXPECT_FALSE(f.habilitado(B::Nome));
                  f.digita(B::Fim, QStringLiteral("30/11/1998"));
                  f.digita(B::Modalidade, QStringLiteral("DOUTORADO"));
                  f.clica(B::IncluirArea);
                  f.clica(B::Trabalhos);
                  EXPECT_EQ(areas.recordCount(), 2);
                  EXPECT_EQ(Letras(trab, 1).value(QStringLiteral("-9")), QStringLiteral("E"));
                  f.clica(B::Cancelar);
              }),
              edit::Resultado::Cancelar);
    EXPECT_EQ(Despejo(bolsas).toStdString(), antes[0].toStdString());
    EXPECT_EQ(Despejo(areas).toStdString(), antes[1].toStdString());
    EXPECT_EQ(Despejo(trab).toStdString(), antes[2].toStdString());
    EXPECT_EQ(Despejo(areasTrab).toStdString(), antes[3].toStdString());
    EXPECT_FALSE(app::Estado().ProjectModified);
}

} // namespace
