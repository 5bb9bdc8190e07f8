// What the client's own rules expect of the server's replies and of the demo project it serves: codes
// looked up whatever their case, padding of one-letter values removed, and demo rows that the client's
// dialogs and checks can take as they are.
#include "server/Tabelas.h"
#include "tests/support/ServidorDeTeste.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

const QString Owa = QStringLiteral("/kesta_off/owa/");

// Rows of a framed reply keyed by column name (the server's exchanged columns, in order).
std::vector<std::map<QString, QString>> Linhas(const ServidorDeTeste& s, const QString& tabela, const QByteArray& projeto = "1")
{
    const servidor::TabelaServidor* t = servidor::TabelaPorNome(tabela);
    std::vector<std::map<QString, QString>> linhas;
    if (!t)
        return linhas;
    const QString texto =
        s.kesta(Owa + QStringLiteral("carga_tabelas_off.") + t->carga, "cod_projeto=" + projeto).texto();
    const qsizetype inicio = texto.indexOf(QStringLiteral("<InitTab>\n"));
    const qsizetype fim = texto.indexOf(QStringLiteral("<FimTab>"));
    if (inicio < 0 || fim < 0)
        return linhas;
    for (const QString& l : texto.mid(inicio + 10, fim - inicio - 10).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList campos = l.split(QLatin1Char('|'));
        std::map<QString, QString> linha;
        for (size_t c = 0; c < t->colunas.size(); ++c)
            linha[t->colunas[c].name] = campos.value(qsizetype(c));
        linhas.push_back(std::move(linha));
    }
    return linhas;
}

class Conformidade : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(s.iniciado()) << s.erro().toStdString(); }
    ServidorDeTeste s;
};

TEST_F(Conformidade, CodigosDosRegistrosValemEmQualquerCaixa)
{
    // Institution codes travel exactly as the user typed them; a code cut short finds nothing.
    EXPECT_EQ(s.biro(QStringLiteral("/biro/owa/kesta_proc.ValidaInst"), "inst=000004521").texto(),
              QStringLiteral("0; 000004521; UNIV. FEDERAL DE SÃO JOÃO DAS ÁGUAS\n"));
    EXPECT_EQ(s.biro(QStringLiteral("/biro/owa/kesta_proc.ValidaInst"), "inst=000004415").texto(),
              QStringLiteral("0; 000004415; LABORATÓRIO DE QUALIDADE DA ÁGUA\n"));
    EXPECT_EQ(s.biro(QStringLiteral("/biro/owa/kesta_proc.ValidaInst"), "inst=0000045").texto(), QStringLiteral("-1\n"));
}

TEST_F(Conformidade, ConceitoCapesDeUmaLetraVoltaSemOEnchimento)
{
    const QString inst = Linhas(s, QStringLiteral("tbInstituicao")).at(0).at(QStringLiteral("Cod_Inst"));
    auto curso = [&](const QByteArray& conceito) -> QByteArray {
        return "cod_proj=1&Status=I&Cod_Curso=%2D3&Nome=MESTRADO+EM+HIDROLOGIA&Nivel=P%D3S%2DGRADUA%C7%C3O"
               "&SubNivel=MESTRADO&instFornec="
               + inst.toLatin1()
               + "&Frequencia=REGULAR&ConceitoCapes=" + conceito
               + "&Escolaridade=SUPERIOR+COMPLETO&TipoApoio=BOLSAS&CargaHoraria=720&QtdeMatriculados=12"
                 "&QtdeFormados=0&QtdeTrabAcademicos=0&Observacao=";
    };
    const QString um = s.kesta(Owa + QStringLiteral("curso.atualiza_curso"), curso("A+")).texto().trimmed();
    const QString dois = s.kesta(Owa + QStringLiteral("curso.atualiza_curso"), curso("5")).texto().trimmed();
    ASSERT_GT(um.toLongLong(), 0);
    ASSERT_GT(dois.toLongLong(), 0);
    std::map<QString, QString> conceitos;
    for (const auto& l : Linhas(s, QStringLiteral("tbCursos")))
        conceitos[l.at(QStringLiteral("Cod_Curso"))] = l.at(QStringLiteral("ConceitoCapes"));
    EXPECT_EQ(conceitos[um], QStringLiteral("A"));
    EXPECT_EQ(conceitos[dois], QStringLiteral("5"));
}

TEST_F(Conformidade, ReferenciasDoProjetoDemoApontamParaRegistrosDoProjeto)
{
    // Every link of a demo row names a record the project has, through one of the fields the client
    // looks it up by (the quality programme's client by registry code, its supplier by code).
    std::map<std::pair<QString, QString>, std::vector<std::pair<QString, QString>>> alvos;
    for (const servidor::Referencia& r : servidor::Referencias())
        alvos[{r.filha, r.campoFilha}].push_back({r.pai, r.campoPai});
    for (const servidor::Dependencia& d : servidor::Dependencias()) {
        if (d.camposFilha.size() == 1)
            alvos[{d.filha, d.camposFilha.at(0)}].push_back({d.pai, d.camposPai.at(0)});
    }
    int conferidas = 0;
    for (const auto& [filha, pais] : alvos) {
        for (const auto& linha : Linhas(s, filha.first)) {
            const QString valor = linha.at(filha.second).trimmed();
            if (valor.isEmpty())
                continue;  // an academic work belongs to a member or to a grant, not both
            bool achou = false;
            for (const auto& [pai, campo] : pais) {
                for (const auto& l : Linhas(s, pai))
                    achou = achou || l.at(campo) == valor;
            }
            EXPECT_TRUE(achou) << filha.first.toStdString() << "." << filha.second.toStdString() << " = "
                               << valor.toStdString();
            ++conferidas;
        }
    }
    EXPECT_GE(conferidas, 30);

    const auto qualidade = Linhas(s, QStringLiteral("tbQualidade"));
    ASSERT_EQ(qualidade.size(), 1u);
    std::map<QString, QString> funcaoPorBiro, funcaoPorCodigo;
    for (const auto& l : Linhas(s, QStringLiteral("tbInstituicao"))) {
        funcaoPorBiro[l.at(QStringLiteral("BIRO"))] = l.at(QStringLiteral("TipoEnvolvimento"));
        funcaoPorCodigo[l.at(QStringLiteral("Cod_Inst"))] = l.at(QStringLiteral("TipoEnvolvimento"));
    }
    const std::set<QString> clientes{QStringLiteral("CLIENTE"), QStringLiteral("CO-EXECUTORA"), QStringLiteral("COORDENADORA")};
    EXPECT_TRUE(clientes.count(funcaoPorBiro[qualidade[0].at(QStringLiteral("Cod_InstCliente"))]));
    EXPECT_EQ(funcaoPorCodigo[qualidade[0].at(QStringLiteral("Cod_InstFornec"))],
              QStringLiteral("FORNECEDORA DE PROGRAMAS DE QUALIDADE"));
}

TEST_F(Conformidade, ValoresCodificadosDoProjetoDemoSaoOsDosDialogos)
{
    auto confere = [&](const char* tabela, const char* coluna, const QStringList& aceitos) {
        const auto linhas = Linhas(s, QString::fromLatin1(tabela));
        EXPECT_FALSE(linhas.empty()) << tabela;
        for (const auto& l : linhas)
            EXPECT_TRUE(aceitos.contains(l.at(QString::fromLatin1(coluna))))
                << tabela << "." << coluna << " = " << l.at(QString::fromLatin1(coluna)).toStdString();
    };
    const QStringList vinculacoes{QStringLiteral("CONTRATUAL"), QStringLiteral("INTERCÂMBIO CIENTÍFICO/TECNOLÓGICO")};
    confere("tbInstituicao", "TipoVinculacao", vinculacoes);
    confere("tbOutrasFontes", "TipoVincInst", vinculacoes);
    confere("tbOutrasFontes", "Caracteristica", {QStringLiteral("CP"), QStringLiteral("OF")});
    confere("tbCursos", "Frequencia", {QStringLiteral("REGULAR"), QStringLiteral("EVENTUAL")});
    confere("tbBase", "TipoBase",
            {QStringLiteral("FACTUAL"), QStringLiteral("NUMERICA"), QStringLiteral("BIBLIOGRÁFICA"), QStringLiteral("CADASTRAL")});
    confere("tbBase", "TipoApoio", {QStringLiteral("C"), QStringLiteral("A")});
    confere("tbProblemas", "Categoria", {QStringLiteral("T"), QStringLiteral("A")});
    confere("tbMaterialAdquirido", "LocaldeGastos", {QStringLiteral("P"), QStringLiteral("E")});
    confere("tbObrasEditadas", "Comercializada", {QStringLiteral("S"), QStringLiteral("N"), QString()});
    confere("tbServico", "Comerc", {QStringLiteral("S"), QStringLiteral("N")});

    // A certified client or one on the way has a relation with the programme; one without any
    // certification effort has none (stored empty).
    for (const auto& q : Linhas(s, QStringLiteral("tbQualidade"))) {
        const QString certific = q.at(QStringLiteral("Certific")), rel = q.at(QStringLiteral("RelGQT"));
        if (certific == QLatin1String("N"))
            EXPECT_TRUE(rel.isEmpty());
        else
            EXPECT_TRUE(QStringList({QStringLiteral("G"), QStringLiteral("C"), QStringLiteral("P"), QStringLiteral("N")}).contains(rel))
                << certific.toStdString() << "/" << rel.toStdString();
    }

    // Studies and software are dated by month; everything else by day.
    const QRegularExpression mes(QStringLiteral("^\\d\\d/\\d{4}$")), dia(QStringLiteral("^\\d\\d/\\d\\d/\\d{4}$"));
    for (const auto& e : Linhas(s, QStringLiteral("tbEstudo"))) {
        EXPECT_TRUE(mes.match(e.at(QStringLiteral("DataInicio"))).hasMatch()) << e.at(QStringLiteral("DataInicio")).toStdString();
        EXPECT_TRUE(mes.match(e.at(QStringLiteral("DataFim"))).hasMatch()) << e.at(QStringLiteral("DataFim")).toStdString();
    }
    for (const auto& sw : Linhas(s, QStringLiteral("tbSoftware")))
        EXPECT_TRUE(mes.match(sw.at(QStringLiteral("DataConclusao"))).hasMatch());
    for (const auto& e : Linhas(s, QStringLiteral("tbEventosApoiados")))
        EXPECT_TRUE(dia.match(e.at(QStringLiteral("DataInicio"))).hasMatch());

    // Every downloaded member carries a programme code that the register knows.
    for (const auto& m : Linhas(s, QStringLiteral("tbMembro"))) {
        const QString r = s.kesta(Owa + QStringLiteral("pessoa.Valida_id"),
                                  "id_membro=" + m.at(QStringLiteral("KESTA")).toLatin1() + "&nome=X&status=0")
                              .texto();
        EXPECT_TRUE(r.startsWith(m.at(QStringLiteral("Cod_Membro")) + QLatin1Char('|'))) << r.toStdString();
    }
}

} // namespace
