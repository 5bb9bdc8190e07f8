// The laboratory, course, database and event dialogs through their logic on a scripted form.
#include "tests/edit/ApoioDialogosAtividades.h"

#include "edit/EdicaoBase.h"
#include "edit/FilhosBase.h"
#include "edit/EdicaoCurso.h"
#include "edit/EdicaoEventos.h"
#include "edit/EdicaoLaboratorio.h"

#include "core/ProgramState.h"

namespace {

const QString Obrigatorios = QStringLiteral("Verifique se os seguintes campos estão preenchidos:\r\r");

QString linhasObrigatorias(std::initializer_list<const char*> rotulos)
{
    QStringList l;
    for (const char* r : rotulos)
        l << QStringLiteral("           -  ") + QString::fromUtf8(r);
    return Obrigatorios + l.join(QLatin1Char('\r'));
}

class Apoios : public DialogoAtividadeTest
{
protected:
    store::TDataAtividadesApoiadas& at() { return d().atividadesApoiadas(); }

    void instituicoes()
    {
        store::Table& i = d().identificacao().tbInstituicao;
        linha(i, {{"Status", "N"}, {"Cod_Inst", "11"}, {"BIRO", "B11"}, {"Nome", "LABORATÓRIO PARCEIRO"},
                  {"TipoEnvolvimento", "CO-EXECUTORA"}, {"TipoVinculacao", "V"}});
        linha(i, {{"Status", "N"}, {"Cod_Inst", "12"}, {"BIRO", "B12"}, {"Nome", "CLIENTE SA"},
                  {"TipoEnvolvimento", "CLIENTE"}, {"TipoVinculacao", "V"}});
    }

    int laboratorio(bool inserir, const std::function<void()>& r)
    {
        return abre(inserir, at().tbLaboratorio, QStringLiteral("Cod_Laboratorio"),
                    [this](edit::Formulario& f) {
                        return std::make_unique<edit::EdicaoLaboratorio>(f, at().tbLaboratorio,
                                                                         d().identificacao().tbInstituicao);
                    },
                    r);
    }
};

TEST_F(Apoios, LaboratoryRefusalsInOrderThenConfirmed)
{
    projeto();
    instituicoes();
    linha(at().tbLaboratorio, {{"Status", "N"}, {"Cod_Laboratorio", "5"}, {"Cod_Inst", "11"}, {"BIROLab", "777"},
                               {"NomeLab", "LAB VELHO"}, {"TipoApoio", "ITEM A"}});
    const int r = laboratorio(true, [&] {
        EXPECT_EQ(form.titulo(), QStringLiteral("Inserir Laboratório"));
        // Only institutions of the laboratory filter are listed.
        EXPECT_EQ(form.itens(QStringLiteral("dblcInstituicao")), QStringList{"LABORATÓRIO PARCEIRO"});
        form.digita(QStringLiteral("medDataInicio"), QStringLiteral("01/01/1995"));
        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_EQ(mensagens(), QStringList{"Data precisa ser maior que a Data de Assinatura do Projeto."});
        EXPECT_EQ(form.foco(), QStringLiteral("medDataInicio"));

        roteiro.mensagens.clear();
        form.digita(QStringLiteral("medDataInicio"), QStringLiteral("01/06/1995"));
        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_EQ(mensagens(), QStringList{linhasObrigatorias({"Instituição Sede", "Código do BIRO", "Nome",
                                                               "Tipo de Apoio do KESTA"})});

        roteiro.mensagens.clear();
        form.digita(QStringLiteral("dblcInstituicao"), QStringLiteral("LABORATÓRIO PARCEIRO"));
        form.digita(QStringLiteral("dbeNomeLab"), QStringLiteral("LAB NOVO"));
        form.digita(QStringLiteral("dbTipoApoio"), QStringLiteral("ITEM B"));
        form.digita(QStringLiteral("medBIROLab"), QStringLiteral("777"));
        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_EQ(mensagens(), QStringList{"Já existe laboratório cadastrado com este BIRO!"});
        EXPECT_FALSE(form.fechado());

        roteiro.mensagens.clear();
        form.digita(QStringLiteral("medBIROLab"), QStringLiteral("778"));
        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_TRUE(mensagens().isEmpty());
    });
    EXPECT_EQ(r, 1);
    EXPECT_TRUE(app::Estado().ProjectModified);
    ASSERT_TRUE(vaiPara(at().tbLaboratorio, "NomeLab", QStringLiteral("LAB NOVO")));
    EXPECT_EQ(at().tbLaboratorio.value(QStringLiteral("Cod_Inst")), QStringLiteral("11"));
    EXPECT_EQ(at().tbLaboratorio.value(QStringLiteral("DataInicio")), QStringLiteral("01/06/1995"));
    EXPECT_EQ(at().tbLaboratorio.value(QStringLiteral("BIROLab")), QStringLiteral("778"));
    EXPECT_EQ(at().tbLaboratorio.value(QStringLiteral("Status")), QStringLiteral("I"));
}

TEST_F(Apoios, KnownLaboratoryKeepsItsIdentityAndCancelRestoresIt)
{
    instituicoes();
    linha(at().tbLaboratorio, {{"Status", "N"}, {"Cod_Laboratorio", "5"}, {"Cod_Inst", "11"}, {"BIROLab", "777"},
                               {"NomeLab", "LAB VELHO"}, {"TipoApoio", "ITEM A"}, {"DataInicio", "02/02/1996"}});
    const QStringList antes = fotografia();
    ASSERT_TRUE(vaiPara(at().tbLaboratorio, "Cod_Laboratorio", QStringLiteral("5")));
    const int r = laboratorio(false, [&] {
        EXPECT_EQ(form.titulo(), QStringLiteral("Editar Laboratório"));
        EXPECT_FALSE(form.habilitado(QStringLiteral("dblcInstituicao")));
        EXPECT_FALSE(form.habilitado(QStringLiteral("dbeNomeLab")));
        EXPECT_FALSE(form.habilitado(QStringLiteral("medBIROLab")));
        EXPECT_FALSE(form.motivoProtecao(QStringLiteral("dbeNomeLab")).isEmpty());
        EXPECT_EQ(form.valor(QStringLiteral("medDataInicio")), QStringLiteral("02/02/1996"));
        EXPECT_EQ(form.valor(QStringLiteral("dblcInstituicao")), QStringLiteral("LABORATÓRIO PARCEIRO"));
        form.digita(QStringLiteral("dbTipoApoio"), QStringLiteral("ITEM B"));
        form.clica(edit::EdicaoEntidade::Cancelar);
    });
    EXPECT_EQ(r, 2);
    EXPECT_EQ(fotografia(), antes);
}

class Cursos : public Apoios
{
protected:
    void SetUp() override
    {
        Apoios::SetUp();
        instituicoes();
        linha(at().tbNivel, {{"Descricao", "GRADUAÇÃO"}});
        linha(at().tbNivel, {{"Descricao", "PÓS-GRADUAÇÃO"}});
        linha(at().tbSubNivel, {{"Nivel", "GRADUAÇÃO"}, {"Descricao", "BACHARELADO"}});
        linha(at().tbSubNivel, {{"Nivel", "PÓS-GRADUAÇÃO"}, {"Descricao", "MESTRADO"}});
        linha(at().tbSubNivel, {{"Nivel", "PÓS-GRADUAÇÃO"}, {"Descricao", "DOUTORADO"}});
    }
    int curso(bool inserir, const std::function<void()>& r)
    {
        return abre(inserir, at().tbCursos, QStringLiteral("Cod_Curso"),
                    [this](edit::Formulario& f) {
                        return std::make_unique<edit::EdicaoCurso>(f, at().tbCursos, at().tbCursosAreaConhec,
                                                                   d().identificacao().tbInstituicao, at().tbNivel,
                                                                   at().tbSubNivel);
                    },
                    r);
    }
    void preencheCurso()
    {
        form.digita(QStringLiteral("dbeNome"), QStringLiteral("CURSO DE SENSORES"));
        form.digita(QStringLiteral("dblcInstFornec"), QStringLiteral("LABORATÓRIO PARCEIRO"));
        form.digita(QStringLiteral("dbTipoApoio"), QStringLiteral("ITEM A"));
        form.digita(QStringLiteral("dbFrequencia"), QStringLiteral("REGULAR"));
        form.digita(QStringLiteral("dbcEscolaridade"), QStringLiteral("ITEM B"));
        form.digita(QStringLiteral("medQtdeMatriculados"), QStringLiteral("30"));
        form.digita(QStringLiteral("medQtdeFormados"), QStringLiteral("25"));
    }
};

TEST_F(Cursos, LevelRuleListsSubLevelsAndKeepsCapesForGraduateCoursesOnly)
{
    const int r = curso(true, [&] {
        EXPECT_EQ(form.itens(QStringLiteral("dbcNivel")), (QStringList{"GRADUAÇÃO", "PÓS-GRADUAÇÃO"}));
        EXPECT_FALSE(form.habilitado(QStringLiteral("dbcConceitoCapes")));
        form.digita(QStringLiteral("dbcNivel"), QStringLiteral("PÓS-GRADUAÇÃO"));
        EXPECT_EQ(form.itens(QStringLiteral("dbcSubNivel")), (QStringList{"MESTRADO", "DOUTORADO"}));
        EXPECT_TRUE(form.habilitado(QStringLiteral("dbcConceitoCapes")));
        form.digita(QStringLiteral("dbcConceitoCapes"), QStringLiteral("ITEM A"));
        form.digita(QStringLiteral("dbcNivel"), QStringLiteral("GRADUAÇÃO"));
        EXPECT_EQ(form.valor(QStringLiteral("dbcConceitoCapes")), QString());
        EXPECT_FALSE(form.habilitado(QStringLiteral("dbcConceitoCapes")));
        EXPECT_EQ(form.itens(QStringLiteral("dbcSubNivel")), QStringList{"BACHARELADO"});
        form.digita(QStringLiteral("dbcSubNivel"), QStringLiteral("BACHARELADO"));
        preencheCurso();

        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_EQ(mensagens(), QStringList{"Indique pelo menos uma Área do Conhecimento."});
        EXPECT_EQ(form.pagina(), QStringLiteral("tsDescricao"));
        roteiro.mensagens.clear();
        areasEscolhidas = {QStringLiteral("FÍSICA")};
        form.clica(QStringLiteral("btIncluirArea"));
        EXPECT_TRUE(form.habilitado(QStringLiteral("btExcluirArea")));
        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_TRUE(mensagens().isEmpty());
    });
    EXPECT_EQ(r, 1);
    ASSERT_TRUE(vaiPara(at().tbCursos, "Nome", QStringLiteral("CURSO DE SENSORES")));
    EXPECT_EQ(at().tbCursos.value(QStringLiteral("SubNivel")), QStringLiteral("BACHARELADO"));
    EXPECT_EQ(at().tbCursos.value(QStringLiteral("instFornec")), QStringLiteral("11"));
    EXPECT_EQ(at().tbCursos.value(QStringLiteral("ConceitoCapes")), QString());
    EXPECT_EQ(at().tbCursos.value(QStringLiteral("QtdeMatriculados")), QStringLiteral("30"));
    const QString codigo = at().tbCursos.value(QStringLiteral("Cod_Curso"));
    EXPECT_EQ(linhas(at().tbCursosAreaConhec, {"Status", "Cod_Curso", "DescricaoAreaConhec"}),
              QStringList{"I|" + codigo + "|FÍSICA"});
}

TEST_F(Cursos, StoredCapesOfAnUndergraduateCourseIsDroppedAndRequiredFieldsAreNamed)
{
    linha(at().tbCursos, {{"Status", "N"}, {"Cod_Curso", "8"}, {"Nome", "C"}, {"Nivel", "GRADUAÇÃO"},
                          {"SubNivel", "BACHARELADO"}, {"Frequencia", "REGULAR"}, {"ConceitoCapes", "5"},
                          {"Escolaridade", "E"}, {"TipoApoio", "T"}, {"QtdeMatriculados", "1"}, {"QtdeFormados", "1"}});
    linha(at().tbCursosAreaConhec, {{"Status", "N"}, {"Cod_Curso", "8"}, {"DescricaoAreaConhec", "FÍSICA"}});
    ASSERT_TRUE(vaiPara(at().tbCursos, "Cod_Curso", QStringLiteral("8")));
    const int r = curso(false, [&] {
        EXPECT_EQ(form.valor(QStringLiteral("medQtdeMatriculados")).trimmed(), QStringLiteral("1"));
        EXPECT_EQ(form.valor(QStringLiteral("dbcConceitoCapes")), QString());
        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_EQ(mensagens(), QStringList{linhasObrigatorias({"Instituição Fornecedora"})});
        EXPECT_EQ(form.foco(), QStringLiteral("dblcInstFornec"));
        roteiro.mensagens.clear();
        form.digita(QStringLiteral("dblcInstFornec"), QStringLiteral("LABORATÓRIO PARCEIRO"));
        form.digita(QStringLiteral("medCargaHoraria"), QStringLiteral("+4"));
        EXPECT_FALSE(form.saiPara(QStringLiteral("dbeNome")));
        EXPECT_EQ(mensagens(), QStringList{"Carga Horária não é um número válido."});
        roteiro.mensagens.clear();
        form.digita(QStringLiteral("medCargaHoraria"), QStringLiteral("40"));
        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_TRUE(mensagens().isEmpty());
    });
    EXPECT_EQ(r, 1);
    ASSERT_TRUE(vaiPara(at().tbCursos, "Cod_Curso", QStringLiteral("8")));
    EXPECT_EQ(at().tbCursos.value(QStringLiteral("ConceitoCapes")), QString());
    EXPECT_EQ(at().tbCursos.value(QStringLiteral("CargaHoraria")), QStringLiteral("40"));
    EXPECT_EQ(at().tbCursos.value(QStringLiteral("Status")), QStringLiteral("A"));
}

class Bases : public Apoios
{
protected:
    int base(bool inserir, const std::function<void()>& r)
    {
        return abre(inserir, at().tbBase, QStringLiteral("XXX"),
                    [this](edit::Formulario& f) {
                        return std::make_unique<edit::EdicaoBase>(f, at().tbBase, at().tbBaseArea, at().tbBaseAcesso);
                    },
                    r);
    }
    void preencheBase(const char* nome)
    {
        form.digita(QStringLiteral("dbeIdentificacao"), QString::fromUtf8(nome));
        form.digita(QStringLiteral("dbrgTipoBase"), QStringLiteral("NUMERICA"));
        form.digita(QStringLiteral("dbrgTipoApoio"), QStringLiteral("C"));
        form.digita(QStringLiteral("dbmDescricao"), QStringLiteral("SÉRIES DE VAZÃO"));
        form.digita(QStringLiteral("medQtdeReg"), QStringLiteral("1200"));
    }
    int marcas() { return conta(at().tbBaseArea, "Identificacao", edit::MarcaBaseNova)
                          + conta(at().tbBaseAcesso, "Identificacao", edit::MarcaBaseNova); }
};

TEST_F(Bases, NewBaseChildrenTakeTheNameConfirmedAfterARename)
{
    linha(at().tbBase, {{"Status", "N"}, {"Identificacao", "HIDRODADOS"}, {"TipoBase", "NUMERICA"}, {"TipoApoio", "A"},
                        {"Disponivel", "S"}, {"QtdeReg", "10"}, {"Descricao", "D"}});
    const int r = base(true, [&] {
        EXPECT_EQ(form.valor(QStringLiteral("cbDisponivel")), QStringLiteral("N"));
        preencheBase("ACERVO");
        areasEscolhidas = {QStringLiteral("FÍSICA"), QStringLiteral("QUÍMICA")};
        acessosEscolhidos = {QStringLiteral("INTERNET")};
        form.clica(QStringLiteral("btIncluirArea"));
        form.clica(QStringLiteral("btIncluirArea"));
        form.clica(QStringLiteral("btIncluirAcesso"));
        EXPECT_EQ(at().tbBaseArea.recordCount(), 2);
        EXPECT_EQ(marcas(), 3);

        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_EQ(mensagens(), QStringList{"Para Tipo de Apoio do KESTA sendo CRIAÇÃO/AMPLIAÇÃO,\r\ré obrigatório "
                                           "indicar Fase de Desenvolvimento."});
        roteiro.mensagens.clear();
        form.digita(QStringLiteral("dbFaseDesenvolvimento"), QStringLiteral("ITEM A"));
        form.digita(QStringLiteral("dbrgTipoApoio"), QStringLiteral("A"));
        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_EQ(mensagens(), QStringList{"Para Tipo de Apoio do KESTA sendo AQUISIÇÃO,\r\rnão é permitido indicar "
                                           "Fase de Desenvolvimento."});
        roteiro.mensagens.clear();
        form.digita(QStringLiteral("dbrgTipoApoio"), QStringLiteral("C"));
        form.digita(QStringLiteral("dbeIdentificacao"), QStringLiteral("D'ÁGUA"));
        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_EQ(mensagens(), QStringList{"O nome da base não pode conter aspas!"});
        roteiro.mensagens.clear();
        form.digita(QStringLiteral("dbeIdentificacao"), QStringLiteral("HIDRODADOS"));
        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_EQ(mensagens(), QStringList{"Já existe Base de Dados cadastrada com Nome indicado!"});
        roteiro.mensagens.clear();
        form.digita(QStringLiteral("dbeIdentificacao"), QStringLiteral("ACERVO HÍDRICO"));
        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_TRUE(mensagens().isEmpty());
    });
    EXPECT_EQ(r, 1);
    EXPECT_EQ(marcas(), 0);
    EXPECT_EQ(linhas(at().tbBaseArea, {"Status", "Identificacao", "DescricaoAreaConhec"}),
              (QStringList{"I|ACERVO HÍDRICO|FÍSICA", "I|ACERVO HÍDRICO|QUÍMICA"}));
    EXPECT_EQ(linhas(at().tbBaseAcesso, {"Status", "Identificacao", "TipoAcesso"}),
              QStringList{"I|ACERVO HÍDRICO|INTERNET"});
    EXPECT_EQ(linhas(at().tbBase, {"Status", "Identificacao", "TipoApoioTxt"}),
              (QStringList{"N|HIDRODADOS|AQUISIÇÃO", "I|ACERVO HÍDRICO|CRIAÇÃO/MELHORIA"}));
}

TEST_F(Bases, CancelOfANewBaseLeavesNoChildAndNoMarkerAtAnyStep)
{
    linha(at().tbBase, {{"Status", "I"}, {"Identificacao", "ACERVO"}, {"TipoBase", "NUMERICA"}, {"TipoApoio", "A"},
                        {"Disponivel", "S"}, {"QtdeReg", "10"}, {"Descricao", "D"}});
    linha(at().tbBaseArea, {{"Status", "I"}, {"Identificacao", "ACERVO"}, {"DescricaoAreaConhec", "FÍSICA"}});
    const QStringList antes = fotografia();
    // Cancelar before anything, after children were added, after a refused Confirmar, and by closing.
    for (int passo = 0; passo < 4; ++passo) {
        const int r = base(true, [&] {
            if (passo >= 1) {
                // The typed name is that of another new base: its children are not this dialog's.
                preencheBase("ACERVO");
                areasEscolhidas = {QStringLiteral("FÍSICA")};
                acessosEscolhidos = {QStringLiteral("INTERNET")};
                form.clica(QStringLiteral("btIncluirArea"));
                form.clica(QStringLiteral("btIncluirAcesso"));
            }
            if (passo >= 2) {
                form.clica(edit::EdicaoEntidade::Confirmar);
                EXPECT_EQ(mensagens().size(), 1);
                roteiro.mensagens.clear();
            }
            if (passo == 3) {
                roteiro.responde(app::Resposta::Sim);
                form.fechaJanela();
                EXPECT_EQ(mensagens(), QStringList{"Deseja sair sem efetuar modificações?"});
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

TEST_F(Bases, OldNameWithApostropheOpensReadOnly)
{
    linha(at().tbBase, {{"Status", "N"}, {"Identificacao", "D'ÁGUA"}, {"TipoBase", "NUMERICA"}, {"TipoApoio", "A"},
                        {"Disponivel", "S"}, {"QtdeReg", "10"}, {"Descricao", "D"}});
    linha(at().tbBaseArea, {{"Status", "N"}, {"Identificacao", "D'ÁGUA"}, {"DescricaoAreaConhec", "FÍSICA"}});
    ASSERT_TRUE(vaiPara(at().tbBase, "Identificacao", QStringLiteral("D'ÁGUA")));
    const int r = base(false, [&] {
        ASSERT_EQ(mensagens().size(), 1);
        EXPECT_TRUE(mensagens()[0].startsWith(QStringLiteral("O nome da base não pode conter aspas!\rUtilize a "
                                                             "ferramenta on-line disponível em\r")));
        EXPECT_TRUE(mensagens()[0].endsWith(QStringLiteral("\rpara corrigir.")));
        EXPECT_EQ(roteiro.mensagens[0].icone, app::Icone::Erro);
        EXPECT_EQ(at().tbBaseArea.recordCount(), 1);
        for (const char* c : {"dbeIdentificacao", "btmbtConfirmar", "btIncluirArea", "btExcluirArea", "btIncluirAcesso",
                              "btExcluirAcesso"})
            EXPECT_FALSE(form.habilitado(QString::fromLatin1(c))) << c;
        form.clica(edit::EdicaoEntidade::Cancelar);
    });
    EXPECT_EQ(r, 2);
}

class Eventos : public Apoios
{
protected:
    int evento(bool inserir, const std::function<void()>& r)
    {
        return abre(inserir, at().tbEventosApoiados, QStringLiteral("Cod_Evento"),
                    [this](edit::Formulario& f) {
                        return std::make_unique<edit::EdicaoEventos>(f, at().tbEventosApoiados,
                                                                     at().tbEventosAreaConhec);
                    },
                    r);
    }
};

TEST_F(Eventos, EventAbroadKeepsNoStateOrCityAndChecksComeInOrder)
{
    projeto();
    linha(at().tbEventosApoiados, {{"Status", "N"}, {"Cod_Evento", "3"}, {"Nome", "SIMPÓSIO"}, {"Tipo", "ITEM A"},
                                   {"Pais", "BRASIL"}, {"Alcance", "ITEM A"}});
    const int r = evento(true, [&] {
        form.digita(QStringLiteral("dbeNome"), QStringLiteral("SIMPÓSIO"));
        form.digita(QStringLiteral("dbTipoEvento"), QStringLiteral("ITEM A"));
        form.digita(QStringLiteral("dbAlcance"), QStringLiteral("ITEM B"));
        form.digita(QStringLiteral("dbPais"), QStringLiteral("BRASIL"));
        EXPECT_TRUE(form.habilitado(QStringLiteral("dbUF")));
        form.digita(QStringLiteral("dbUF"), QStringLiteral("ITEM A"));
        form.digita(QStringLiteral("dbeCidade"), QStringLiteral("CAMPINAS"));
        form.digita(QStringLiteral("dbPais"), QStringLiteral("ARGENTINA"));
        EXPECT_FALSE(form.habilitado(QStringLiteral("dbUF")));
        EXPECT_FALSE(form.habilitado(QStringLiteral("dbeCidade")));
        EXPECT_EQ(form.valor(QStringLiteral("dbeCidade")), QString());

        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_EQ(mensagens(), QStringList{"Data de Início é obrigatória."});
        EXPECT_EQ(roteiro.mensagens[0].icone, app::Icone::Informacao);
        roteiro.mensagens.clear();
        form.digita(QStringLiteral("medDataInicio"), QStringLiteral("01/06/1996"));
        form.digita(QStringLiteral("medDataFim"), QStringLiteral("03/06/1996"));
        form.digita(QStringLiteral("medQtdPartic"), QStringLiteral("120"));
        form.digita(QStringLiteral("dbPais"), QStringLiteral("BRASIL"));
        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_EQ(mensagens(), QStringList{"Se País é BRASIL, é obrigatório indicar a UF e Cidade."});
        roteiro.mensagens.clear();
        // Either one alone is refused too, with the focus on the one missing.
        for (const auto& [uf, cidade, foco] : {std::tuple{"ITEM A", "", "dbeCidade"}, {"", "CAMPINAS", "dbUF"}}) {
            form.digita(QStringLiteral("dbUF"), QString::fromUtf8(uf));
            form.digita(QStringLiteral("dbeCidade"), QString::fromUtf8(cidade));
            form.clica(edit::EdicaoEntidade::Confirmar);
            EXPECT_EQ(mensagens(), QStringList{"Se País é BRASIL, é obrigatório indicar a UF e Cidade."}) << foco;
            EXPECT_EQ(form.foco(), QString::fromUtf8(foco));
            roteiro.mensagens.clear();
        }
        form.digita(QStringLiteral("dbPais"), QStringLiteral("ARGENTINA"));
        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_EQ(mensagens(), QStringList{linhasObrigatorias({"Descrição"})});
        EXPECT_EQ(form.pagina(), QStringLiteral("tsDescricao"));
        roteiro.mensagens.clear();
        form.digita(QStringLiteral("dbmDescricao"), QStringLiteral("ENCONTRO"));
        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_EQ(mensagens(), QStringList{"Indique pelo menos uma Área do Conhecimento."});
        roteiro.mensagens.clear();
        areasEscolhidas = {QStringLiteral("FÍSICA")};
        form.clica(QStringLiteral("btIncluirArea"));
        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_EQ(mensagens(), QStringList{"Já existe Evento cadastrado com Nome e Tipo indicados!"});
        roteiro.mensagens.clear();
        form.digita(QStringLiteral("dbTipoEvento"), QStringLiteral("ITEM B"));
        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_TRUE(mensagens().isEmpty());
    });
    EXPECT_EQ(r, 1);
    ASSERT_TRUE(vaiPara(at().tbEventosApoiados, "Tipo", QStringLiteral("ITEM B")));
    store::Table& e = at().tbEventosApoiados;
    EXPECT_EQ(e.value(QStringLiteral("UF")) + e.value(QStringLiteral("Cidade")), QString());
    EXPECT_EQ(e.value(QStringLiteral("DataInicio")) + QLatin1Char(' ') + e.value(QStringLiteral("DataFim")),
              QStringLiteral("01/06/1996 03/06/1996"));
    EXPECT_EQ(e.value(QStringLiteral("QtdPartic")), QStringLiteral("120"));
}

} // namespace
