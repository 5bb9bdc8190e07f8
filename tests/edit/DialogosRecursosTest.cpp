// The training, information-material and equipment dialogs through their logic on a scripted form.
#include "tests/edit/ApoioDialogosAtividades.h"

#include "edit/EdicaoCapacit.h"
#include "edit/EdicaoCurso.h"
#include "edit/EdicaoEventos.h"
#include "edit/EdicaoProb.h"
#include "edit/EdicaoEquipamentos.h"
#include "edit/EdicaoMateriais.h"
#include "edit/GradeFilhos.h"
#include "edit/InclusaoParticipante.h"

#include "core/ProgramState.h"

namespace {

class Recursos : public DialogoAtividadeTest
{
protected:
    store::TDataAtividadesApoiadas& at() { return d().atividadesApoiadas(); }
    store::TDataRecursosAdquiridos& ra() { return d().recursosAdquiridos(); }

    int capacitacao(bool inserir, const std::function<void()>& r)
    {
        return abre(inserir, at().tbCapacit, QStringLiteral("Cod_Capacitacao"),
                    [this](edit::Formulario& f) {
                        auto l = std::make_unique<edit::EdicaoCapacit>(f, at().tbCapacit, at().tbCapacitMembro);
                        l->abreParticipantes = [this] {
                            if (participa)
                                participa();
                        };
                        return l;
                    },
                    r);
    }
    int material(bool inserir, const std::function<void()>& r)
    {
        return abre(inserir, ra().tbMaterialAdquirido, QStringLiteral("XXX"),
                    [this](edit::Formulario& f) {
                        return std::make_unique<edit::EdicaoMateriais>(f, ra().tbMaterialAdquirido,
                                                                       ra().tbMaterialAreaConhec);
                    },
                    r);
    }
    void membros()
    {
        store::Table& m = d().identificacao().tbMembro;
        linha(m, {{"Status", "N"}, {"Cod_Membro", "1"}, {"Nome", "ANA"}, {"EquipeOriginal", "S"},
                  {"DescricaoFuncao", "PESQUISADOR"}});
        linha(m, {{"Status", "N"}, {"Cod_Membro", "2"}, {"Nome", "BIA"}, {"EquipeOriginal", "S"},
                  {"DescricaoFuncao", "PESQUISADOR"}});
    }
    // Adds the member through the participants' grid and the inclusion dialog, as the user does;
    // `depois` runs on the grid before it closes.
    void incluiParticipante(const QString& nome, const std::function<void(edit::FormularioRoteirizado&)>& depois = {})
    {
        const QString codigo = at().tbCapacit.value(QStringLiteral("Cod_Capacitacao"));
        const int modo = form.modo();
        edit::FormularioRoteirizado fg;
        edit::GradeFilhos grade(fg, at().tbCapacitMembro, edit::GradeFilhos::FiltroParticipantes(codigo),
                                QStringLiteral("este  Participante da Capacitação ?"),
                                edit::GradeFilhos::NomesParticipantes(), [&] {
                                    edit::FormularioRoteirizado fi;
                                    edit::InclusaoParticipante inclusao(fi, at().tbCapacitMembro,
                                                                        d().identificacao().tbMembro, codigo, modo);
                                    fi.instala(inclusao);
                                    inclusao.mostra();
                                    EXPECT_EQ(fi.itens(edit::InclusaoParticipante::Membro), (QStringList{"ANA", "BIA"}));
                                    fi.clica(edit::EdicaoEntidade::Confirmar);  // no member chosen: nothing
                                    EXPECT_FALSE(fi.fechado());
                                    fi.digita(edit::InclusaoParticipante::Membro, nome);
                                    fi.clica(edit::EdicaoEntidade::Confirmar);
                                    EXPECT_TRUE(fi.fechado());
                                });
        fg.instala(grade);
        grade.mostra();
        fg.clica(QStringLiteral("btIncluirPart"));
        if (depois)
            depois(fg);
        fg.clica(edit::GradeFilhos::Fechar);
        EXPECT_TRUE(fg.fechado());
    }
    int marcas()
    {
        return conta(ra().tbMaterialAreaConhec, "TipoMaterial", QStringLiteral("TipoMaterialNovo"))
               + conta(ra().tbMaterialAreaConhec, "AnoAquisicao", QStringLiteral("AnoN"))
               + conta(ra().tbMaterialAdquirido, "Status", QStringLiteral("Z"));
    }
    void preencheMaterial(const char* tipo, const char* ano, const char* local)
    {
        form.digita(QStringLiteral("dbTipoMaterial"), QString::fromUtf8(tipo));
        form.digita(QStringLiteral("medAnoAquisicao"), QString::fromLatin1(ano));
        form.digita(QStringLiteral("medQtdAdquirida"), QStringLiteral("12"));
        form.digita(QStringLiteral("medValorAtual"), QStringLiteral("350.00"));
        form.digita(QStringLiteral("dbrgLocaldeGastos"), QString::fromLatin1(local));
    }

    std::function<void()> participa;
};

TEST_F(Recursos, TrainingTypePanelsAndTheFieldsOfTheOtherKindAreDropped)
{
    projeto();
    membros();
    const int r = capacitacao(true, [&] {
        EXPECT_FALSE(form.habilitado(edit::EdicaoCapacit::PainelEvento));
        EXPECT_FALSE(form.habilitado(edit::EdicaoCapacit::PainelInstituicao));
        form.digita(QStringLiteral("dbcTipoCapacit"), QStringLiteral("TREINAMENTO NO PAÍS"));
        EXPECT_TRUE(form.habilitado(edit::EdicaoCapacit::PainelInstituicao));
        form.digita(QStringLiteral("dbeNomeInstTreinam"), QStringLiteral("ESCOLA"));
        form.digita(QStringLiteral("medBIROInstTreinam"), QStringLiteral("123"));
        form.digita(QStringLiteral("dbcTipoCapacit"), QStringLiteral("PARTICIPAÇÃO EM EVENTO NO EXTERIOR"));
        EXPECT_TRUE(form.habilitado(edit::EdicaoCapacit::PainelEvento));
        EXPECT_FALSE(form.habilitado(edit::EdicaoCapacit::PainelInstituicao));
        EXPECT_EQ(form.valor(QStringLiteral("dbeNomeInstTreinam")), QString());

        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_EQ(mensagens(), QStringList{"Data de Início é obrigatória."});
        roteiro.mensagens.clear();
        form.digita(QStringLiteral("medDataInicio"), QStringLiteral("01/08/1996"));
        form.digita(QStringLiteral("medDataFim"), QStringLiteral("01/07/1996"));
        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_EQ(mensagens(), QStringList{"Data final precisa ser maior que data inicial."});
        roteiro.mensagens.clear();
        form.digita(QStringLiteral("medDataFim"), QStringLiteral("  /  /    "));
        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_EQ(mensagens(), QStringList{"Verifique se os seguintes campos estão preenchidos:\r\r           -  Tipo de Evento"});
        roteiro.mensagens.clear();
        form.digita(QStringLiteral("dbTipoEvento"), QStringLiteral("ITEM A"));

        participa = [&] { incluiParticipante(QStringLiteral("ANA")); };
        form.clica(QStringLiteral("btParticipantes"));
        participa = [&] { incluiParticipante(QStringLiteral("ANA")); };
        form.clica(QStringLiteral("btParticipantes"));
        EXPECT_EQ(mensagens(), QStringList{"Membro já é participante desta Capacitação!"});
        roteiro.mensagens.clear();
        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_TRUE(mensagens().isEmpty());
    });
    EXPECT_EQ(r, 1);
    ASSERT_TRUE(vaiPara(at().tbCapacit, "TipoEvento", QStringLiteral("ITEM A")));
    const QString codigo = at().tbCapacit.value(QStringLiteral("Cod_Capacitacao"));
    EXPECT_EQ(at().tbCapacit.value(QStringLiteral("DataFim")), QString());
    EXPECT_EQ(at().tbCapacit.value(QStringLiteral("BIROInstTreinam")), QString());
    EXPECT_EQ(linhas(at().tbCapacitMembro, {"Status", "Cod_Capacitacao", "Cod_Membro", "Nome"}),
              QStringList{"I|" + codigo + "|1|ANA"});
    EXPECT_TRUE(app::Estado().ProjectModified);
}

TEST_F(Recursos, TrainingEditCancelledGivesBackParticipants)
{
    membros();
    linha(at().tbCapacit, {{"Status", "N"}, {"Cod_Capacitacao", "9"}, {"TipodeCapacitacao", "TREINAMENTO NO PAÍS"},
                           {"NomeInstTreinam", "ESCOLA"}, {"BIROInstTreinam", "123"}, {"DataInicio", "01/01/1996"}});
    linha(at().tbCapacitMembro, {{"Status", "N"}, {"Cod_Capacitacao", "9"}, {"Cod_Membro", "1"}, {"Nome", "ANA"}});
    const QStringList antes = fotografia();
    ASSERT_TRUE(vaiPara(at().tbCapacit, "Cod_Capacitacao", QStringLiteral("9")));
    const int r = capacitacao(false, [&] {
        EXPECT_EQ(form.valor(QStringLiteral("medBIROInstTreinam")).trimmed(), QStringLiteral("123"));
        EXPECT_TRUE(form.habilitado(edit::EdicaoCapacit::PainelInstituicao));
        participa = [&] {
            incluiParticipante(QStringLiteral("BIA"), [&](edit::FormularioRoteirizado& fg) {
                EXPECT_EQ(at().tbCapacitMembro.recordCount(), 2);
                EXPECT_TRUE(fg.habilitado(QStringLiteral("btExcluirPart")));
                ASSERT_TRUE(vaiPara(at().tbCapacitMembro, "Nome", QStringLiteral("ANA")));
                roteiro.responde(app::Resposta::Sim);
                fg.clica(QStringLiteral("btExcluirPart"));
                EXPECT_EQ(at().tbCapacitMembro.recordCount(), 1);
            });
        };
        form.clica(QStringLiteral("btParticipantes"));
        form.clica(edit::EdicaoEntidade::Cancelar);
    });
    EXPECT_EQ(r, 2);
    EXPECT_EQ(fotografia(), antes);
}

TEST_F(Recursos, NewMaterialAreasTakeItsIdentityOnConfirm)
{
    projeto();
    linha(ra().tbMaterialAdquirido, {{"Status", "N"}, {"TipoMaterial", "LIVROS"}, {"AnoAquisicao", "1995"},
                                     {"LocaldeGastos", "P"}, {"QtdAdquirida", "3"}});
    const int r = material(true, [&] {
        EXPECT_EQ(form.titulo(), QStringLiteral("Inserir Material Informacional Adquirido"));
        // Leaving the first page asks for the identity first.
        EXPECT_FALSE(form.vaiParaPagina(QStringLiteral("tsAreas")));
        ASSERT_EQ(mensagens().size(), 1);
        EXPECT_TRUE(mensagens()[0].startsWith(QStringLiteral("Verifique primeiro se os seguintes campos estão preenchidos:\r\r")));
        roteiro.mensagens.clear();
        preencheMaterial("LIVROS", "1995", "P");
        form.digita(QStringLiteral("medAnoAquisicao"), QStringLiteral("1989"));
        EXPECT_FALSE(form.saiPara(QStringLiteral("medQtdAdquirida")));
        EXPECT_EQ(mensagens(), QStringList{"Aquisição precisa estar entre 1990 e 2010."});
        roteiro.mensagens.clear();
        form.digita(QStringLiteral("medAnoAquisicao"), QStringLiteral("1995"));
        EXPECT_FALSE(form.vaiParaPagina(QStringLiteral("tsAreas")));
        EXPECT_EQ(mensagens(), QStringList{"Já existe Material Informacional cadastrado com Tipo, Aquisição e Local de "
                                           "Gastos indicados!"});
        roteiro.mensagens.clear();
        EXPECT_EQ(marcas(), 0);
        form.digita(QStringLiteral("dbrgLocaldeGastos"), QStringLiteral("E"));
        EXPECT_TRUE(form.vaiParaPagina(QStringLiteral("tsAreas")));

        areasEscolhidas = {QStringLiteral("FÍSICA"), QStringLiteral("FÍSICA"), QStringLiteral("QUÍMICA")};
        form.clica(QStringLiteral("btIncluirArea"));
        form.clica(QStringLiteral("btIncluirArea"));
        EXPECT_EQ(mensagens(), QStringList{"Área de Conhecimento já cadastrada!"});
        roteiro.mensagens.clear();
        form.clica(QStringLiteral("btIncluirArea"));
        EXPECT_EQ(ra().tbMaterialAreaConhec.recordCount(), 2);
        EXPECT_EQ(conta(ra().tbMaterialAreaConhec, "TipoMaterial", QStringLiteral("TipoMaterialNovo")), 2);
        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_TRUE(mensagens().isEmpty());
    });
    EXPECT_EQ(r, 1);
    EXPECT_EQ(marcas(), 0);
    EXPECT_EQ(linhas(ra().tbMaterialAreaConhec, {"Status", "TipoMaterial", "AnoAquisicao", "LocaldeGastos",
                                                 "DescricaoAreaConhec"}),
              (QStringList{"I|LIVROS|1995|E|FÍSICA", "I|LIVROS|1995|E|QUÍMICA"}));
    EXPECT_EQ(linhas(ra().tbMaterialAdquirido, {"Status", "LocaldeGastos", "ValorAtual", "PaisExterior"}),
              (QStringList{"N|P||BRASIL", "I|E|350.00|EXTERIOR"}));
    // The index the store keeps on the areas is still there: the store clears and builds its indexes
    // again when a project is opened or downloaded.
    EXPECT_TRUE(ra().tbMaterialAreaConhec.hasIndex(QStringLiteral("Material")));
    EXPECT_NO_THROW(d().geral().ClearIndexes());
    EXPECT_NO_THROW(d().geral().CreateIndexes());
}

TEST_F(Recursos, MaterialCancelAtEveryStepLeavesNoMarker)
{
    linha(ra().tbMaterialAdquirido, {{"Status", "N"}, {"TipoMaterial", "LIVROS"}, {"AnoAquisicao", "1995"},
                                     {"LocaldeGastos", "P"}, {"QtdAdquirida", "3"}});
    linha(ra().tbMaterialAreaConhec, {{"Status", "N"}, {"TipoMaterial", "LIVROS"}, {"AnoAquisicao", "1995"},
                                      {"LocaldeGastos", "P"}, {"DescricaoAreaConhec", "FÍSICA"}});
    const QStringList antes = fotografia();
    for (int passo = 0; passo < 5; ++passo) {
        roteiro.mensagens.clear();
        const int r = material(true, [&] {
            if (passo >= 1) {
                preencheMaterial("REVISTAS", "1996", "P");
                areasEscolhidas = {QStringLiteral("FÍSICA")};
                EXPECT_TRUE(form.vaiParaPagina(QStringLiteral("tsAreas")));  // the duplicate test ran
                form.clica(QStringLiteral("btIncluirArea"));
            }
            if (passo >= 2) {
                // A refused Confirmar: the duplicate.
                form.digita(QStringLiteral("dbTipoMaterial"), QStringLiteral("LIVROS"));
                form.digita(QStringLiteral("medAnoAquisicao"), QStringLiteral("1995"));
                form.clica(edit::EdicaoEntidade::Confirmar);
                EXPECT_EQ(mensagens().size(), 1) << mensagens().join(QLatin1Char('\n')).toStdString();
                roteiro.mensagens.clear();
            }
            if (passo >= 3) {
                roteiro.responde(app::Resposta::Sim);
                ASSERT_TRUE(vaiPara(ra().tbMaterialAreaConhec, "TipoMaterial", QStringLiteral("TipoMaterialNovo")));
                form.clica(QStringLiteral("btExcluirArea"));
            }
            EXPECT_EQ(conta(ra().tbMaterialAdquirido, "Status", QStringLiteral("Z")), 0);
            if (passo == 4) {
                roteiro.responde(app::Resposta::Sim);
                form.fechaJanela();
                roteiro.mensagens.clear();
            } else {
                form.clica(edit::EdicaoEntidade::Cancelar);
            }
        });
        EXPECT_EQ(r, 2) << passo;
        EXPECT_EQ(marcas(), 0) << passo;
        EXPECT_EQ(fotografia(), antes) << passo;
    }
}

TEST_F(Recursos, KnownMaterialKeepsItsIdentityAndItsAreasFollowTheLetters)
{
    linha(ra().tbMaterialAdquirido, {{"Status", "N"}, {"TipoMaterial", "LIVROS"}, {"AnoAquisicao", "1995"},
                                     {"LocaldeGastos", "P"}, {"QtdAdquirida", "3"}, {"ValorAtual", "10.00"}});
    linha(ra().tbMaterialAreaConhec, {{"Status", "N"}, {"TipoMaterial", "LIVROS"}, {"AnoAquisicao", "1995"},
                                      {"LocaldeGastos", "P"}, {"DescricaoAreaConhec", "FÍSICA"}});
    ASSERT_TRUE(vaiPara(ra().tbMaterialAdquirido, "TipoMaterial", QStringLiteral("LIVROS")));
    const int r = material(false, [&] {
        for (const char* c : {"dbTipoMaterial", "medAnoAquisicao", "dbrgLocaldeGastos"})
            EXPECT_FALSE(form.habilitado(QString::fromLatin1(c))) << c;
        EXPECT_EQ(form.valor(QStringLiteral("medAnoAquisicao")), QStringLiteral("1995"));
        EXPECT_EQ(ra().tbMaterialAreaConhec.recordCount(), 1);
        areasEscolhidas = {QStringLiteral("QUÍMICA")};
        form.clica(QStringLiteral("btIncluirArea"));
        ASSERT_TRUE(vaiPara(ra().tbMaterialAreaConhec, "DescricaoAreaConhec", QStringLiteral("FÍSICA")));
        roteiro.responde(app::Resposta::Sim);
        form.clica(QStringLiteral("btExcluirArea"));
        roteiro.mensagens.clear();
        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_TRUE(mensagens().isEmpty()) << mensagens().join(QLatin1Char('\n')).toStdString();
    });
    EXPECT_EQ(r, 1);
    EXPECT_EQ(linhas(ra().tbMaterialAreaConhec, {"Status", "DescricaoAreaConhec", "AnoAquisicao"}),
              (QStringList{"D|FÍSICA|1995", "I|QUÍMICA|1995"}));
    EXPECT_EQ(linhas(ra().tbMaterialAdquirido, {"Status", "ValorAtual"}), QStringList{"A|10.00"});
}

TEST_F(Recursos, EquipmentYearAndValueChecks)
{
    store::Table& inst = d().identificacao().tbInstituicao;
    linha(inst, {{"Status", "N"}, {"Cod_Inst", "11"}, {"BIRO", "B11"}, {"Nome", "PARCEIRA"},
                 {"TipoEnvolvimento", "CO-EXECUTORA"}, {"TipoVinculacao", "V"}});
    store::Table& eq = ra().tbEquipamentos;
    linha(eq, {{"Status", "N"}, {"Cod_Equip", "4"}, {"TipoEquip", "ITEM A"}, {"Descr_Equip", "ESPECTRÔMETRO"},
               {"ValorAtual", "1500.00"}, {"InstLocaliz", "99"}, {"AnoFabricacao", "1994"}});
    ASSERT_TRUE(vaiPara(eq, "Cod_Equip", QStringLiteral("4")));
    const int r = abre(false, eq, QStringLiteral("Cod_Equip"),
                       [&](edit::Formulario& f) { return std::make_unique<edit::EdicaoEquipamentos>(f, eq, inst); },
                       [&] {
                           EXPECT_EQ(form.valor(QStringLiteral("medAnoFabricacao")), QStringLiteral("1994"));
                           EXPECT_EQ(form.valor(QStringLiteral("medValorAtual")).trimmed(), QStringLiteral("1500.00"));
                           // An institution the box does not list is not kept.
                           EXPECT_EQ(eq.value(QStringLiteral("InstLocaliz")), QString());
                           form.digita(QStringLiteral("medAnoFabricacao"), QStringLiteral("1899"));
                           EXPECT_FALSE(form.saiPara(QStringLiteral("medValorAtual")));
                           EXPECT_EQ(mensagens(), QStringList{"Ano de Fabricação precisa estar entre 1900 e 2010."});
                           roteiro.mensagens.clear();
                           form.digita(QStringLiteral("medAnoFabricacao"), QStringLiteral("    "));
                           form.digita(QStringLiteral("medValorAtual"), QStringLiteral("0.00"));
                           EXPECT_FALSE(form.saiPara(QStringLiteral("dbeModelo")));
                           EXPECT_EQ(mensagens(), QStringList{"Valor Atual precisa ser maior que zero."});
                           roteiro.mensagens.clear();
                           form.digita(QStringLiteral("medValorAtual"), QStringLiteral("             .  "));
                           form.clica(edit::EdicaoEntidade::Confirmar);
                           EXPECT_EQ(mensagens(),
                                     QStringList{"Verifique se os seguintes campos estão preenchidos:\r\r           -  Valor "
                                                 "Atual\r           -  Instituição em que se Localiza"});
                           EXPECT_EQ(form.foco(), QStringLiteral("medValorAtual"));
                           roteiro.mensagens.clear();
                           form.digita(QStringLiteral("medValorAtual"), QStringLiteral("1200.50"));
                           form.digita(QStringLiteral("dblcInstLocaliz"), QStringLiteral("PARCEIRA"));
                           form.clica(edit::EdicaoEntidade::Confirmar);
                           EXPECT_TRUE(mensagens().isEmpty());
                       });
    EXPECT_EQ(r, 1);
    EXPECT_EQ(linhas(eq, {"Status", "AnoFabricacao", "ValorAtual", "InstLocaliz"}), QStringList{"A||1200.50|11"});
}

// Cancelar of a new course, event, training activity and problem, after children were added and one
// of them deleted, gives every table of the store back as it was, the other records' children included.
TEST_F(Recursos, CancelOfANewRecordAfterAddingAndDeletingChildrenGivesTheWholeStoreBack)
{
    projeto();
    membros();
    store::Table& inst = d().identificacao().tbInstituicao;
    auto& an = d().analiseResultados();
    linha(at().tbNivel, {{"Descricao", "GRADUAÇÃO"}});
    linha(at().tbCursos, {{"Status", "N"}, {"Cod_Curso", "8"}, {"Nome", "C"}, {"Nivel", "N"}, {"SubNivel", "S"},
                          {"Frequencia", "F"}, {"Escolaridade", "E"}, {"TipoApoio", "T"}, {"QtdeMatriculados", "1"},
                          {"QtdeFormados", "1"}});
    linha(at().tbCursosAreaConhec, {{"Status", "N"}, {"Cod_Curso", "8"}, {"DescricaoAreaConhec", "BASE"}});
    linha(at().tbEventosApoiados, {{"Status", "N"}, {"Cod_Evento", "3"}, {"Nome", "E"}, {"Tipo", "T"}, {"Pais", "P"},
                                   {"Alcance", "A"}});
    linha(at().tbEventosAreaConhec, {{"Status", "N"}, {"Cod_Evento", "3"}, {"DescricaoAreaConhec", "BASE"}});
    linha(at().tbCapacit, {{"Status", "N"}, {"Cod_Capacitacao", "9"}, {"TipodeCapacitacao", "TREINAMENTO NO PAÍS"}});
    linha(at().tbCapacitMembro, {{"Status", "N"}, {"Cod_Capacitacao", "9"}, {"Cod_Membro", "1"}, {"Nome", "ANA"}});
    linha(an.tbProblemas, {{"Status", "N"}, {"Cod_Problema", "40"}, {"Categoria", "T"}, {"Repercussao", "R"}});
    linha(an.tbAcoesCorretivas, {{"Status", "N"}, {"Cod_Acao", "19"}, {"TipoAcao", "BASE"}, {"Cod_Problema", "40"}});
    const QStringList antes = fotografia();

    // Two areas chosen, the first deleted again, then Cancelar.
    auto areas = [this](store::Table& t) {
        return [this, &t] {
            areasEscolhidas = {QStringLiteral("FÍSICA"), QStringLiteral("QUÍMICA")};
            form.clica(QStringLiteral("btIncluirArea"));
            form.clica(QStringLiteral("btIncluirArea"));
            ASSERT_EQ(t.recordCount(), 2);
            ASSERT_TRUE(vaiPara(t, "DescricaoAreaConhec", QStringLiteral("FÍSICA")));
            roteiro.responde(app::Resposta::Sim);
            form.clica(QStringLiteral("btExcluirArea"));
            EXPECT_EQ(t.recordCount(), 1);
            form.clica(edit::EdicaoEntidade::Cancelar);
        };
    };
    EXPECT_EQ(abre(true, at().tbCursos, QStringLiteral("Cod_Curso"),
                   [&](edit::Formulario& f) {
                       return std::make_unique<edit::EdicaoCurso>(f, at().tbCursos, at().tbCursosAreaConhec, inst,
                                                                  at().tbNivel, at().tbSubNivel);
                   },
                   areas(at().tbCursosAreaConhec)),
              2);
    EXPECT_EQ(fotografia(), antes) << "course";
    EXPECT_EQ(abre(true, at().tbEventosApoiados, QStringLiteral("Cod_Evento"),
                   [&](edit::Formulario& f) {
                       return std::make_unique<edit::EdicaoEventos>(f, at().tbEventosApoiados, at().tbEventosAreaConhec);
                   },
                   areas(at().tbEventosAreaConhec)),
              2);
    EXPECT_EQ(fotografia(), antes) << "event";

    EXPECT_EQ(capacitacao(true, [&] {
                  participa = [&] { incluiParticipante(QStringLiteral("ANA")); };
                  form.clica(QStringLiteral("btParticipantes"));
                  participa = [&] {
                      incluiParticipante(QStringLiteral("BIA"), [&](edit::FormularioRoteirizado& fg) {
                          ASSERT_EQ(at().tbCapacitMembro.recordCount(), 2);
                          ASSERT_TRUE(vaiPara(at().tbCapacitMembro, "Cod_Membro", QStringLiteral("2")));
                          roteiro.responde(app::Resposta::Sim);
                          fg.clica(QStringLiteral("btExcluirPart"));
                          EXPECT_EQ(at().tbCapacitMembro.recordCount(), 1);
                      });
                  };
                  form.clica(QStringLiteral("btParticipantes"));
                  form.clica(edit::EdicaoEntidade::Cancelar);
              }),
              2);
    EXPECT_EQ(fotografia(), antes) << "training";

    EXPECT_EQ(abre(true, an.tbProblemas, QStringLiteral("Cod_Problema"),
                   [&](edit::Formulario& f) {
                       auto l = std::make_unique<edit::EdicaoProb>(f, an.tbProblemas, an.tbAcoesCorretivas);
                       l->abreAcoes = [&] {
                           const QString codigo = an.tbProblemas.value(QStringLiteral("Cod_Problema"));
                           edit::FormularioRoteirizado fg;
                           edit::GradeFilhos grade(fg, an.tbAcoesCorretivas, edit::GradeFilhos::FiltroAcoes(codigo),
                                                   QStringLiteral("esta Ação Corretiva?"), edit::GradeFilhos::NomesAcoes(),
                                                   [&] { edit::EscolheAcaoCorretiva(an.tbAcoesCorretivas, codigo, 1); });
                           fg.instala(grade);
                           grade.mostra();
                           acoesEscolhidas = {QStringLiteral("TREINAMENTO"), QStringLiteral("SUBSTITUIÇÃO")};
                           fg.clica(QStringLiteral("btInsAcaoCorretiva"));
                           fg.clica(QStringLiteral("btInsAcaoCorretiva"));
                           ASSERT_EQ(an.tbAcoesCorretivas.recordCount(), 2);
                           ASSERT_TRUE(vaiPara(an.tbAcoesCorretivas, "TipoAcao", QStringLiteral("TREINAMENTO")));
                           roteiro.responde(app::Resposta::Sim);
                           fg.clica(QStringLiteral("btExcAcaoCorretiva"));
                           EXPECT_EQ(an.tbAcoesCorretivas.recordCount(), 1);
                           fg.clica(edit::GradeFilhos::Fechar);
                       };
                       return l;
                   },
                   [&] {
                       form.clica(QStringLiteral("btAcoesCorretivas"));
                       form.clica(edit::EdicaoEntidade::Cancelar);
                   }),
              2);
    EXPECT_EQ(fotografia(), antes) << "problem";
}

} // namespace
