// The lookup files shipped with the program, read where the build lays them out (bin/SYSTEM/tabelas).
#include "edit/TabelasInternas.h"

#include "core/ProgramState.h"
#include "server/Banco.h"
#include "server/Semente.h"
#include "server/Tabelas.h"
#include "store/Table.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace {

enum class Formato { Lista, Arvore, Texto };

// Every file the dialogs read, with its format.
const std::map<QString, Formato>& Arquivos()
{
    static const std::map<QString, Formato> a = {
        {QStringLiteral("acoes_corretivas.txt"), Formato::Arvore},
        {QStringLiteral("alcances_geograficos.txt"), Formato::Lista},
        {QStringLiteral("areas_conhecimento.txt"), Formato::Arvore},
        {QStringLiteral("conceitos_capes.txt"), Formato::Lista},
        {QStringLiteral("escolaridades.txt"), Formato::Lista},
        {QStringLiteral("estados_brasil.txt"), Formato::Lista},
        {QStringLiteral("fases_desenvolvimento.txt"), Formato::Lista},
        {QStringLiteral("fontes_bolsa.txt"), Formato::Lista},
        {QStringLiteral("formas_acesso.txt"), Formato::Arvore},
        {QStringLiteral("frequencias_curso.txt"), Formato::Lista},
        {QStringLiteral("funcoes_equipe.txt"), Formato::Lista},
        {QStringLiteral("Modalidades_bolsa.txt"), Formato::Lista},
        {QStringLiteral("modalidades_bolsa.txt"), Formato::Lista},
        {QStringLiteral("motivos_saida.txt"), Formato::Lista},
        {QStringLiteral("naturezas_probl_admin.txt"), Formato::Lista},
        {QStringLiteral("niveis_curso.txt"), Formato::Texto},
        {QStringLiteral("paises.txt"), Formato::Lista},
        {QStringLiteral("qualif_pub_proj.txt"), Formato::Lista},
        {QStringLiteral("repercussoes_problema.txt"), Formato::Lista},
        {QStringLiteral("setores_economicos.txt"), Formato::Arvore},
        {QStringLiteral("situacoes_prog_qualidade.txt"), Formato::Lista},
        {QStringLiteral("subniveis_curso.txt"), Formato::Texto},
        {QStringLiteral("tipos_apoio_kesta.txt"), Formato::Lista},
        {QStringLiteral("tipos_capacitacao_rh.txt"), Formato::Lista},
        {QStringLiteral("tipos_envolvimento.txt"), Formato::Lista},
        {QStringLiteral("tipos_equipamento.txt"), Formato::Lista},
        {QStringLiteral("tipos_estudo.txt"), Formato::Lista},
        {QStringLiteral("tipos_evento.txt"), Formato::Lista},
        {QStringLiteral("tipos_fonte_recursos.txt"), Formato::Lista},
        {QStringLiteral("tipos_instituicao.txt"), Formato::Lista},
        {QStringLiteral("tipos_material_infor.txt"), Formato::Lista},
        {QStringLiteral("tipos_midia.txt"), Formato::Lista},
        {QStringLiteral("tipos_obra.txt"), Formato::Lista},
        {QStringLiteral("tipos_patente.txt"), Formato::Lista},
        {QStringLiteral("tipos_prod_tecnologica.txt"), Formato::Lista},
        {QStringLiteral("tipos_publicacao_projeto.txt"), Formato::Lista},
        {QStringLiteral("tipos_servico.txt"), Formato::Lista},
        {QStringLiteral("tipos_trabalho_academico.txt"), Formato::Lista},
        {QStringLiteral("tipos_vinculacao.txt"), Formato::Lista},
        {QStringLiteral("titulacoes.txt"), Formato::Lista},
    };
    return a;
}

std::unique_ptr<store::Table> TabelaDeTexto(const QString& arquivo)
{
    std::vector<store::FieldDef> campos;
    if (arquivo.startsWith(QLatin1String("sub")))
        campos.push_back({QStringLiteral("Nivel"), store::FieldType::Text, 255});
    campos.push_back({QStringLiteral("Descricao"), store::FieldType::Text, 255});
    auto t = std::make_unique<store::Table>(QStringLiteral("t"), -99, campos);
    t->open();
    return t;
}

// The texts a file offers to choose from, whatever its format.
QStringList Valores(const QString& arquivo)
{
    QStringList r;
    switch (Arquivos().at(arquivo)) {
    case Formato::Lista:
        return edit::LeListaItens(arquivo);
    case Formato::Arvore:
        for (const auto& no : edit::LeArvore(arquivo))
            r << no.texto;
        return r;
    case Formato::Texto: {
        auto t = TabelaDeTexto(arquivo);
        edit::LeTextoTabela(arquivo, *t);
        for (const auto b : t->visibleRows())
            r << t->rowValue(b, t->fieldCount() - 1);
        return r;
    }
    }
    return r;
}

QStringList Raizes(const QString& arquivo, int nivel)
{
    QStringList r;
    for (const auto& no : edit::LeArvore(arquivo))
        if (no.nivel == nivel)
            r << no.texto;
    return r;
}

class ListasDistribuidas : public ::testing::Test
{
protected:
    void SetUp() override { app::InicializaEstado(QCoreApplication::applicationDirPath()); }
};

} // namespace

TEST_F(ListasDistribuidas, TodoArquivoCarregaEHaSoUmModalidadesBolsa)
{
    for (const auto& [arquivo, formato] : Arquivos()) {
        SCOPED_TRACE(arquivo.toStdString());
        QStringList v;
        ASSERT_NO_THROW(v = Valores(arquivo));
        EXPECT_GE(v.size(), 2);
        for (const QString& item : v) {
            // Chosen texts go into filter expressions between quotes, and into fields of 255 characters.
            EXPECT_FALSE(item.contains(QLatin1Char('\''))) << item.toStdString();
            EXPECT_LE(item.size(), 255);
            EXPECT_EQ(item, item.trimmed());
            EXPECT_EQ(item, item.toUpper()) << item.toStdString();
        }
        if (formato == Formato::Lista) {
            EXPECT_EQ(QSet<QString>(v.begin(), v.end()).size(), v.size()) << "item repetido";
        }
    }
    // The two spellings that the member and grant dialogs use are one file.
    EXPECT_EQ(edit::CaminhoTabela(QStringLiteral("Modalidades_bolsa.txt")),
              edit::CaminhoTabela(QStringLiteral("modalidades_bolsa.txt")));
}

TEST_F(ListasDistribuidas, ConteudosNomeados)
{
    const QStringList uf = Valores(QStringLiteral("estados_brasil.txt"));
    EXPECT_EQ(uf.size(), 27);
    for (const char* s : {"AC", "AL", "AM", "AP", "BA", "CE", "DF", "ES", "GO", "MA", "MG", "MS", "MT", "PA",
                          "PB", "PE", "PI", "PR", "RJ", "RN", "RO", "RR", "RS", "SC", "SE", "SP", "TO"})
        EXPECT_TRUE(uf.contains(QLatin1String(s))) << s;

    const QStringList paises = Valores(QStringLiteral("paises.txt"));
    EXPECT_GE(paises.size(), 190);
    for (const char* s : {"BRASIL", "ARGENTINA", "ESTADOS UNIDOS", "ALEMANHA", "JAPÃO", "ÁFRICA DO SUL", "REINO UNIDO"})
        EXPECT_TRUE(paises.contains(QString::fromUtf8(s))) << s;

    EXPECT_GE(Raizes(QStringLiteral("areas_conhecimento.txt"), 0).size(), 9);
    EXPECT_GE(Raizes(QStringLiteral("areas_conhecimento.txt"), 1).size(), 70);
    EXPECT_GE(Raizes(QStringLiteral("areas_conhecimento.txt"), 2).size(), 200);
    EXPECT_GE(Raizes(QStringLiteral("setores_economicos.txt"), 0).size(), 21);
    EXPECT_GE(Raizes(QStringLiteral("setores_economicos.txt"), 1).size(), 80);
    EXPECT_TRUE(Raizes(QStringLiteral("setores_economicos.txt"), 0).contains(QStringLiteral("INDÚSTRIAS DE TRANSFORMAÇÃO")));

    EXPECT_TRUE(Valores(QStringLiteral("niveis_curso.txt")).contains(QStringLiteral("PÓS-GRADUAÇÃO")));
    // Every sub-level belongs to a listed level.
    auto sub = TabelaDeTexto(QStringLiteral("subniveis_curso.txt"));
    edit::LeTextoTabela(QStringLiteral("subniveis_curso.txt"), *sub);
    const QStringList niveis = Valores(QStringLiteral("niveis_curso.txt"));
    for (const auto b : sub->visibleRows())
        EXPECT_TRUE(niveis.contains(sub->rowValue(b, 0))) << sub->rowValue(b, 0).toStdString();

    const QStringList envolvimento = Valores(QStringLiteral("tipos_envolvimento.txt"));
    for (const char* s : {"CO-EXECUTORA", "COORDENADORA", "CLIENTE", "FORNECEDORA DE PROGRAMAS DE QUALIDADE",
                          "CONTRATADA PARA EXECUÇÃO DE ESTUDOS", "CONTRATADA PARA DESENVOLVIMENTO DE SOFTWARE"})
        EXPECT_TRUE(envolvimento.contains(QString::fromUtf8(s))) << s;
    EXPECT_TRUE(Valores(QStringLiteral("funcoes_equipe.txt")).contains(QStringLiteral("COORDENADOR")));
    EXPECT_TRUE(Valores(QStringLiteral("tipos_instituicao.txt")).contains(QStringLiteral("PARTICIPANTE ATIVO")));

    // The training dialog tells event kinds from training kinds by their place in the sorted list.
    const QStringList capacitacao = edit::ItensOrdenados(Valores(QStringLiteral("tipos_capacitacao_rh.txt")));
    ASSERT_EQ(capacitacao.size(), 4);
    EXPECT_EQ(capacitacao[0], QStringLiteral("PARTICIPAÇÃO EM EVENTO NO EXTERIOR"));
    EXPECT_EQ(capacitacao[1], QStringLiteral("PARTICIPAÇÃO EM EVENTO NO PAÍS"));
    // The two radio groups hold the two kinds of link.
    EXPECT_EQ(Valores(QStringLiteral("tipos_vinculacao.txt")),
              (QStringList{QStringLiteral("CONTRATUAL"), QStringLiteral("INTERCÂMBIO CIENTÍFICO/TECNOLÓGICO")}));
}

// A project downloaded from the reference server's demo shows every coded value in its list.
TEST_F(ListasDistribuidas, ValoresDoProjetoDeDemonstracao)
{
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    servidor::Banco banco;
    QString erro;
    ASSERT_TRUE(banco.abre(pasta.filePath(QStringLiteral("demo.sqlite")), erro)) << erro.toStdString();
    ASSERT_TRUE(servidor::Semeia(banco, QStringLiteral("demo"), erro)) << erro.toStdString();

    struct Uso {
        const char* tabela;
        const char* campo;
        const char* arquivo;
    };
    const Uso usos[] = {
        {"tbMembro", "UF", "estados_brasil.txt"},
        {"tbMembro", "DescricaoFuncao", "funcoes_equipe.txt"},
        {"tbMembro", "MotivoSaida", "motivos_saida.txt"},
        {"tbMembro", "TipInstAtivPosPro", "tipos_instituicao.txt"},
        {"tbMembro", "TitulacaoAtual", "titulacoes.txt"},
        {"tbMembro", "AreaConhecTitulacao", "areas_conhecimento.txt"},
        {"tbMembro", "PaisTitulacao", "paises.txt"},
        {"tbMembroBolsista", "FontePagadora", "fontes_bolsa.txt"},
        {"tbMembroBolsista", "ModalidadeBolsa", "Modalidades_bolsa.txt"},
        {"tbInstituicao", "TipoEnvolvimento", "tipos_envolvimento.txt"},
        {"tbInstituicao", "TipoVinculacao", "tipos_vinculacao.txt"},
        {"tbOutrasFontes", "TipoFonte", "tipos_fonte_recursos.txt"},
        {"tbOutrasFontes", "TipoVincInst", "tipos_vinculacao.txt"},
        {"tbLocaisPesquisa", "UF", "estados_brasil.txt"},
        {"tbAreaConhecAting", "DescricaoAreaConhec", "areas_conhecimento.txt"},
        {"tbSetorEconAting", "DescrSetorEcon", "setores_economicos.txt"},
        {"tbEstudo", "TipoEstudo", "tipos_estudo.txt"},
        {"tbEstudosAreaConhec", "DescricaoAreaConhec", "areas_conhecimento.txt"},
        {"tbEstudosSetores", "DescricaoSetorEcon", "setores_economicos.txt"},
        {"tbPublicacao", "TipoPublicacao", "tipos_publicacao_projeto.txt"},
        {"tbPublicacao", "Qualificacao", "qualif_pub_proj.txt"},
        {"tbPublicacao", "PaisPublicacao", "paises.txt"},
        {"tbPublicAreaConhec", "DescricaoAreaConhec", "areas_conhecimento.txt"},
        {"tbObrasEditadas", "TipoObra", "tipos_obra.txt"},
        {"tbObrasEditadas", "TipoMidia", "tipos_midia.txt"},
        {"tbObrasEditadas", "Alcance", "alcances_geograficos.txt"},
        {"tbObraAreaConhec", "DescricaoAreaConhec", "areas_conhecimento.txt"},
        {"tbProdTec", "TipoProd", "tipos_prod_tecnologica.txt"},
        {"tbProdTec", "FaseDesenvolv", "fases_desenvolvimento.txt"},
        {"tbPatente", "TipoPatente", "tipos_patente.txt"},
        {"tbPatente", "Pais", "paises.txt"},
        {"tbSoftSetores", "DescrSetorEcon", "setores_economicos.txt"},
        {"tbLaboratorio", "TipoApoio", "tipos_apoio_kesta.txt"},
        {"tbServico", "TipoServico", "tipos_servico.txt"},
        {"tbServico", "TipoApoio", "tipos_apoio_kesta.txt"},
        {"tbServicoAreaConhec", "DescricaoAreaConhec", "areas_conhecimento.txt"},
        {"tbServicoSetores", "DescrSetorEcon", "setores_economicos.txt"},
        {"tbMaterialAdquirido", "TipoMaterial", "tipos_material_infor.txt"},
        {"tbMaterialAreaConhec", "DescricaoAreaConhec", "areas_conhecimento.txt"},
        {"tbEquipamentos", "TipoEquip", "tipos_equipamento.txt"},
        {"tbEquipamentos", "PaisFabricacao", "paises.txt"},
        {"tbEquipamentos", "OutraFonte", "tipos_fonte_recursos.txt"},
        {"tbBolsa", "Modalidade", "modalidades_bolsa.txt"},
        {"tbBolsaAreaConhec", "DescricaoAreaConhec", "areas_conhecimento.txt"},
        {"tbTrabalhoAcademico", "TipoTrab", "tipos_trabalho_academico.txt"},
        {"tbTrabalhoAreaConhec", "DescArea", "areas_conhecimento.txt"},
        {"tbCapacit", "TipodeCapacitacao", "tipos_capacitacao_rh.txt"},
        {"tbCapacit", "TipoEvento", "tipos_evento.txt"},
        {"tbCursos", "Nivel", "niveis_curso.txt"},
        {"tbCursos", "SubNivel", "subniveis_curso.txt"},
        {"tbCursos", "Frequencia", "frequencias_curso.txt"},
        {"tbCursos", "ConceitoCapes", "conceitos_capes.txt"},
        {"tbCursos", "Escolaridade", "escolaridades.txt"},
        {"tbCursos", "TipoApoio", "tipos_apoio_kesta.txt"},
        {"tbCursosAreaConhec", "DescricaoAreaConhec", "areas_conhecimento.txt"},
        {"tbEventosApoiados", "Tipo", "tipos_evento.txt"},
        {"tbEventosApoiados", "Pais", "paises.txt"},
        {"tbEventosApoiados", "UF", "estados_brasil.txt"},
        {"tbEventosApoiados", "Alcance", "alcances_geograficos.txt"},
        {"tbEventosAreaConhec", "DescricaoAreaConhec", "areas_conhecimento.txt"},
        {"tbBase", "FaseDesenv", "fases_desenvolvimento.txt"},
        {"tbBaseArea", "DescricaoAreaConhec", "areas_conhecimento.txt"},
        {"tbBaseAcesso", "TipoAcesso", "formas_acesso.txt"},
        {"tbProblemas", "NatProbAdm", "naturezas_probl_admin.txt"},
        {"tbProblemas", "Repercussao", "repercussoes_problema.txt"},
        {"tbAcoesCorretivas", "TipoAcao", "acoes_corretivas.txt"},
        {"tbQualidade", "Situacao", "situacoes_prog_qualidade.txt"},
    };
    int vistos = 0;
    for (const Uso& u : usos) {
        SCOPED_TRACE(std::string(u.tabela) + "." + u.campo);
        const servidor::TabelaServidor* t = servidor::TabelaPorNome(QString::fromUtf8(u.tabela));
        ASSERT_NE(t, nullptr);
        const int c = t->coluna(QString::fromUtf8(u.campo));
        ASSERT_GE(c, 0);
        const QStringList lista = Valores(QString::fromUtf8(u.arquivo));
        for (const char* projeto : {"1", "2"}) {
            for (const auto& linha : banco.linhas(*t, QString::fromUtf8(projeto))) {
                const QString v = linha.valores.value(c);
                if (v.isEmpty())
                    continue;
                ++vistos;
                EXPECT_TRUE(lista.contains(v)) << v.toStdString() << " falta em " << u.arquivo;
            }
        }
    }
    // The demo fills nearly every one of these fields.
    EXPECT_GE(vistos, 80);

    // A new user copies the demo's registry codes into the dialogs' 9-digit masks; and every
    // institution of the demo shows in some dialog's institution box, its involvement being one the
    // boxes' filters name.
    const QRegularExpression noveDigitos(QStringLiteral("^[0-9]{9}$"));
    const QStringList filtrados{QStringLiteral("CO-EXECUTORA"), QStringLiteral("COORDENADORA"), QStringLiteral("CLIENTE"),
                                QStringLiteral("FORNECEDORA DE PROGRAMAS DE QUALIDADE"),
                                QString::fromUtf8("CONTRATADA PARA EXECUÇÃO DE ESTUDOS"),
                                QStringLiteral("CONTRATADA PARA DESENVOLVIMENTO DE SOFTWARE")};
    int codigos = 0;
    for (const auto& [tabela, campo] : {std::pair{"tbInstituicao", "BIRO"}, {"tbLaboratorio", "BIROLab"},
                                        {"tbBolsa", "BIROInstDestino"}, {"tbCapacit", "BIROInstTreinam"},
                                        {"tbOutrasFontes", "BIROInst"}, {"tbInstituicao", "TipoEnvolvimento"}}) {
        const servidor::TabelaServidor* t = servidor::TabelaPorNome(QString::fromUtf8(tabela));
        ASSERT_NE(t, nullptr);
        const int c = t->coluna(QString::fromUtf8(campo));
        for (const char* projeto : {"1", "2"})
            for (const auto& linha : banco.linhas(*t, QString::fromUtf8(projeto))) {
                const QString v = linha.valores.value(c);
                if (QLatin1String(campo) == QLatin1String("TipoEnvolvimento")) {
                    EXPECT_TRUE(filtrados.contains(v)) << v.toStdString() << " não aparece em nenhuma caixa";
                } else if (!v.isEmpty()) {
                    ++codigos;
                    EXPECT_TRUE(noveDigitos.match(v).hasMatch()) << tabela << "." << campo << " = " << v.toStdString();
                }
            }
    }
    EXPECT_GE(codigos, 8);
    // No involvement of the list hides an institution from every box but those of parties that take no
    // part in the activities.
    for (const QString& v : Valores(QStringLiteral("tipos_envolvimento.txt")))
        EXPECT_TRUE(filtrados.contains(v) || v == QLatin1String("INTERVENIENTE") || v == QLatin1String("FINANCIADORA"))
            << v.toStdString();
}
