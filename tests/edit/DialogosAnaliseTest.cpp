// The problem and total-quality programme dialogs through their logic on a scripted form.
#include "tests/edit/ApoioDialogosAtividades.h"

#include "edit/EdicaoProb.h"
#include "edit/EdicaoProgQualid.h"
#include "edit/GradeFilhos.h"

namespace {

class Analise : public DialogoAtividadeTest
{
protected:
    store::TDataAnaliseResultados& an() { return d().analiseResultados(); }

    int problema(bool inserir, const std::function<void()>& r)
    {
        return abre(inserir, an().tbProblemas, QStringLiteral("Cod_Problema"),
                    [this](edit::Formulario& f) {
                        auto l = std::make_unique<edit::EdicaoProb>(f, an().tbProblemas, an().tbAcoesCorretivas);
                        l->abreAcoes = [this] {
                            if (nasAcoes)
                                nasAcoes();
                        };
                        return l;
                    },
                    r);
    }
    int qualidade(bool inserir, const std::function<void()>& r)
    {
        return abre(inserir, an().tbQualidade, QStringLiteral("Cod_Qualidade"),
                    [this](edit::Formulario& f) {
                        return std::make_unique<edit::EdicaoProgQualid>(f, an().tbQualidade,
                                                                        d().identificacao().tbInstituicao);
                    },
                    r);
    }
    // The corrective actions' grid as the user works it: each description chosen in turn; `depois`
    // runs on the grid before it closes.
    void escolheAcoes(QStringList tipos, const std::function<void(edit::FormularioRoteirizado&)>& depois = {})
    {
        const QString codigo = an().tbProblemas.value(QStringLiteral("Cod_Problema"));
        const int modo = form.modo();
        edit::FormularioRoteirizado fg;
        edit::GradeFilhos grade(fg, an().tbAcoesCorretivas, edit::GradeFilhos::FiltroAcoes(codigo),
                                QStringLiteral("esta Ação Corretiva?"), edit::GradeFilhos::NomesAcoes(),
                                [&] { edit::EscolheAcaoCorretiva(an().tbAcoesCorretivas, codigo, modo); });
        fg.instala(grade);
        grade.mostra();
        for (const QString& t : tipos) {
            acoesEscolhidas = {t};
            fg.clica(QStringLiteral("btInsAcaoCorretiva"));
        }
        if (depois)
            depois(fg);
        fg.clica(edit::GradeFilhos::Fechar);
    }

    std::function<void()> nasAcoes;
};

TEST_F(Analise, ProblemCategoryPanelsChecksAndTwoActions)
{
    projeto();
    const int r = problema(true, [&] {
        EXPECT_EQ(form.valor(QStringLiteral("dbrgCategoria")), QStringLiteral("A"));
        EXPECT_TRUE(form.habilitado(edit::EdicaoProb::PainelAdministrativo));
        EXPECT_FALSE(form.habilitado(edit::EdicaoProb::PainelTecnico));
        form.digita(QStringLiteral("dbrgCategoria"), QStringLiteral("T"));
        EXPECT_TRUE(form.habilitado(edit::EdicaoProb::PainelTecnico));
        form.digita(QStringLiteral("dbmDescrProbTec"), QStringLiteral("QUEIMA DO SENSOR"));
        form.digita(QStringLiteral("dbrgCategoria"), QStringLiteral("A"));
        form.digita(QStringLiteral("medDataOcorrenc"), QStringLiteral("01/01/1995"));
        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_EQ(mensagens(), QStringList{"Data precisa ser maior que a Data de Assinatura do Projeto."});
        roteiro.mensagens.clear();
        form.digita(QStringLiteral("medDataOcorrenc"), QStringLiteral("01/01/1996"));
        form.clica(edit::EdicaoEntidade::Confirmar);
        // Only the field still missing is named.
        EXPECT_EQ(mensagens(), QStringList{"Verifique se os seguintes campos estão preenchidos:\r\r           -  Repercussão"});
        EXPECT_EQ(form.foco(), QStringLiteral("dbRepercussao"));
        roteiro.mensagens.clear();
        form.digita(QStringLiteral("dbRepercussao"), QStringLiteral("ITEM A"));
        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_EQ(mensagens(), QStringList{"Para problema de Categoria ADMINISTRATIVO,\r\ré obrigatório indicar a "
                                           "Natureza do Problema Administrativo"});
        roteiro.mensagens.clear();
        form.digita(QStringLiteral("dbNatProbAdm"), QStringLiteral("ITEM B"));
        nasAcoes = [&] { escolheAcoes({QStringLiteral("TREINAMENTO"), QStringLiteral("SUBSTITUIÇÃO")}); };
        form.clica(QStringLiteral("btAcoesCorretivas"));
        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_TRUE(mensagens().isEmpty());
    });
    EXPECT_EQ(r, 1);
    ASSERT_TRUE(vaiPara(an().tbProblemas, "NatProbAdm", QStringLiteral("ITEM B")));
    const QString codigo = an().tbProblemas.value(QStringLiteral("Cod_Problema"));
    // The technical description went with the category.
    EXPECT_EQ(linhas(an().tbProblemas, {"Categoria", "DescrProbTec", "DataOcorrenc", "CategoriaTxt"}),
              QStringList{"A||01/01/1996|ADMINISTRATIVO"});
    EXPECT_EQ(linhas(an().tbAcoesCorretivas, {"Status", "Cod_Problema", "TipoAcao"}),
              (QStringList{"I|" + codigo + "|TREINAMENTO", "I|" + codigo + "|SUBSTITUIÇÃO"}));
}

TEST_F(Analise, ClosingTheProblemDialogWithYesDiscardsTheChanges)
{
    linha(an().tbProblemas, {{"Status", "N"}, {"Cod_Problema", "40"}, {"Categoria", "T"}, {"DescrProbTec", "X"},
                             {"Repercussao", "ITEM A"}, {"DataOcorrenc", "02/02/1996"}});
    linha(an().tbAcoesCorretivas, {{"Status", "N"}, {"Cod_Acao", "19"}, {"TipoAcao", "TREINAMENTO"},
                                   {"Cod_Problema", "40"}});
    const QStringList antes = fotografia();
    ASSERT_TRUE(vaiPara(an().tbProblemas, "Cod_Problema", QStringLiteral("40")));
    const int r = problema(false, [&] {
        EXPECT_EQ(form.valor(QStringLiteral("medDataOcorrenc")), QStringLiteral("02/02/1996"));
        EXPECT_TRUE(form.habilitado(edit::EdicaoProb::PainelTecnico));
        form.digita(QStringLiteral("dbmDescrProbTec"), QStringLiteral("OUTRA"));
        nasAcoes = [&] {
            escolheAcoes({QStringLiteral("SUBSTITUIÇÃO")}, [&](edit::FormularioRoteirizado& fg) {
                ASSERT_TRUE(vaiPara(an().tbAcoesCorretivas, "TipoAcao", QStringLiteral("TREINAMENTO")));
                roteiro.responde(app::Resposta::Sim);
                fg.clica(QStringLiteral("btExcAcaoCorretiva"));
                EXPECT_EQ(an().tbAcoesCorretivas.recordCount(), 1);
            });
        };
        form.clica(QStringLiteral("btAcoesCorretivas"));
        roteiro.mensagens.clear();
        roteiro.responde(app::Resposta::Nao);
        form.fechaJanela();
        EXPECT_FALSE(form.fechado());
        roteiro.responde(app::Resposta::Sim);
        form.fechaJanela();
        EXPECT_EQ(mensagens(), (QStringList{"Deseja sair sem efetuar modificações?", "Deseja sair sem efetuar modificações?"}));
    });
    EXPECT_EQ(r, 2);
    EXPECT_EQ(fotografia(), antes);
}

TEST_F(Analise, QualityCertificationNeedsAMatchingRelation)
{
    store::Table& inst = d().identificacao().tbInstituicao;
    linha(inst, {{"Status", "N"}, {"Cod_Inst", "11"}, {"BIRO", "B11"}, {"Nome", "CLIENTE SA"},
                 {"TipoEnvolvimento", "CLIENTE"}, {"TipoVinculacao", "V"}});
    linha(inst, {{"Status", "N"}, {"Cod_Inst", "12"}, {"BIRO", "B12"}, {"Nome", "CONSULTORIA Q"},
                 {"TipoEnvolvimento", "FORNECEDORA DE PROGRAMAS DE QUALIDADE"}, {"TipoVinculacao", "V"}});
    const int r = qualidade(true, [&] {
        EXPECT_EQ(form.itens(QStringLiteral("dblcInstCliente")), QStringList{"CLIENTE SA"});
        EXPECT_EQ(form.itens(QStringLiteral("dblcInstFornec")), QStringList{"CONSULTORIA Q"});
        EXPECT_EQ(form.valor(QStringLiteral("dbrgRelGQT")), QStringLiteral("W"));
        form.digita(QStringLiteral("dblcInstCliente"), QStringLiteral("CLIENTE SA"));
        form.digita(QStringLiteral("dblcInstFornec"), QStringLiteral("CONSULTORIA Q"));
        form.digita(QStringLiteral("dbSituacao"), QStringLiteral("ITEM A"));
        form.digita(QStringLiteral("dbrgCertific"), QStringLiteral("C"));
        form.digita(QStringLiteral("medHDiagQualid"), QStringLiteral("40"));
        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_EQ(mensagens(), QStringList{"Se o cliente é Certificado ou\restá em processo de Certificação,\rRelação com "
                                           "GQT não pode ser DESCONHECIDO/INEXISTENTE"});
        EXPECT_EQ(form.valor(QStringLiteral("dbrgRelGQT")), QStringLiteral("W"));
        roteiro.mensagens.clear();
        form.digita(QStringLiteral("dbrgRelGQT"), QStringLiteral("G"));
        form.digita(QStringLiteral("dbrgCertific"), QStringLiteral("N"));
        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_EQ(mensagens(), QStringList{"Se o cliente não está desenvolvendo esforço de Certificação,\rRelação com GQT "
                                           "precisa ser DESCONHECIDO/INEXISTENTE"});
        roteiro.mensagens.clear();
        form.digita(QStringLiteral("dbrgRelGQT"), QStringLiteral("W"));
        form.clica(edit::EdicaoEntidade::Confirmar);
        EXPECT_TRUE(mensagens().isEmpty());
    });
    EXPECT_EQ(r, 1);
    EXPECT_EQ(linhas(an().tbQualidade, {"Cod_InstCliente", "Cod_InstFornec", "Certific", "RelGQT", "HorasDiagnostico",
                                        "Nome_InstCliente"}),
              QStringList{"B11|12|N||40|CLIENTE SA"});
}

} // namespace
