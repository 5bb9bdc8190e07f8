#include "edit/EdicaoCurso.h"

#include "edit/ApoioDialogos.h"
#include "edit/EscolhasAtividades.h"
#include "edit/Exclusao.h"
#include "edit/ItensFilhos.h"
#include "edit/TabelasInternas.h"
#include "edit/ValidaNumeros.h"

#include "store/Table.h"

namespace edit {

namespace {
const QString Geral = QStringLiteral("tsDadosGerais");
const QString Descricao = QStringLiteral("tsDescricao");
const QString Nivel = QStringLiteral("dbcNivel");
const QString SubNivel = QStringLiteral("dbcSubNivel");
const QString Capes = QStringLiteral("dbcConceitoCapes");
const QString Ligacao_ = QStringLiteral("Cod_Curso");

struct Contagem {
    const char* controle;
    const char* campo;
    const char* rotulo;
};
const Contagem Contagens[] = {
    {"medCargaHoraria", "CargaHoraria", "Carga Horária"},
    {"medQtdeMatriculados", "QtdeMatriculados", "Qtd. Alunos Matriculados"},
    {"medQtdeFormados", "QtdeFormados", "Qtd. Alunos Formados"},
    {"medQtdeTrabAcademicos", "QtdeTrabAcademicos", "Qtd. Trabalhos Acadêmicos"},
};

QStringList descricoes(store::Table& t)
{
    QStringList r;
    if (!t.active())
        return r;
    const int c = t.fieldIndexOrThrow(QStringLiteral("Descricao"));
    for (const auto b : t.visibleRows())
        r << t.rowValue(b, c);
    return r;
}
} // namespace

EdicaoCurso::EdicaoCurso(Formulario& form, store::Table& cursos, store::Table& areas, store::Table& instituicoes,
                         store::Table& niveis, store::Table& subNiveis)
    : EdicaoEntidade(form, cursos, Ligacao_)
    , m_areas(areas)
    , m_instituicoes(instituicoes)
    , m_niveis(niveis)
    , m_subNiveis(subNiveis)
{
    defineTitulos(QStringLiteral("Inserir Curso Apoiado"), QStringLiteral("Editar Curso Apoiado"));
    definePrimeiraPagina(Geral);
    liga(QStringLiteral("dbeNome"), cursos, QStringLiteral("Nome"));
    liga(QStringLiteral("dbTipoApoio"), cursos, QStringLiteral("TipoApoio"), TipoControle::Lista, {},
         QStringLiteral("tipos_apoio_kesta.txt"));
    liga(Nivel, cursos, QStringLiteral("Nivel"), TipoControle::Lista);
    liga(QStringLiteral("dbFrequencia"), cursos, QStringLiteral("Frequencia"), TipoControle::Opcoes,
         {QStringLiteral("REGULAR"), QStringLiteral("EVENTUAL")}, QStringLiteral("frequencias_curso.txt"));
    liga(Capes, cursos, QStringLiteral("ConceitoCapes"), TipoControle::Lista, {}, QStringLiteral("conceitos_capes.txt"));
    liga(QStringLiteral("dbcEscolaridade"), cursos, QStringLiteral("Escolaridade"), TipoControle::Lista, {},
         QStringLiteral("escolaridades.txt"));
    liga(QStringLiteral("dbmObservacao"), cursos, QStringLiteral("Observacao"), TipoControle::Memo);
    for (const Contagem& c : Contagens)
        declaraMascara(QString::fromLatin1(c.controle), QStringLiteral("#####;_"));
}

void EdicaoCurso::aoFalharListas()
{
    form().habilita(QStringLiteral("btIncluirArea"), false);
    form().habilita(QStringLiteral("btExcluirArea"), false);
}

void EdicaoCurso::aoMostrar()
{
    // The level tables are read once per run, the first time a course is edited.
    try {
        CarregaNiveisCurso(m_niveis, m_subNiveis);
    } catch (const FalhaTabelaInterna&) {
        // One failure, one message: the lists' failure was told at creation already.
        if (listasCarregadas())
            AvisaFalhaTabelaInterna();
        m_semNiveis = true;
        form().habilita(Confirmar, false);
        aoFalharListas();
    }
    form().defineItens(Nivel, descricoes(m_niveis));
    m_fornecedora.carrega(form(), ItensFiltrados(m_instituicoes, filtroinst::Curso, QStringLiteral("Cod_Inst"),
                                                 QStringLiteral("Nome")));
    m_fornecedora.mostra(form(), tabela().value(QStringLiteral("instFornec")));
    filtra(m_areas, QStringLiteral("Status <> 'D' and Status <> 'X' and Status <> 'Y' and (Cod_Curso =  '") + codigo()
                        + QStringLiteral("')"));
    if (!inserindo())
        for (const Contagem& c : Contagens)
            copiaParaMascara(QString::fromLatin1(c.controle), QString::fromLatin1(c.campo));
    regraDoNivel();
    if (!m_semNiveis)
        habilitaAreas();
}

void EdicaoCurso::habilitaAreas() { HabilitaBotoesDaLista(form(), m_areas, {QStringLiteral("btExcluirArea")}); }

// The sub-levels of the chosen level; the CAPES grade only for graduate courses.
void EdicaoCurso::regraDoNivel()
{
    const QString nivel = tabela().value(QStringLiteral("Nivel"));
    QString valor = nivel;
    valor.replace(QLatin1Char('\''), QStringLiteral("''"));
    filtra(m_subNiveis, QStringLiteral("Nivel = '") + valor + QStringLiteral("'"));
    form().defineItens(SubNivel, descricoes(m_subNiveis));
    form().defineValor(SubNivel, tabela().value(QStringLiteral("SubNivel")));
    const bool pos = nivel == PosGraduacao;
    if (!pos && !tabela().value(QStringLiteral("ConceitoCapes")).isEmpty()) {
        tabela().setValue(QStringLiteral("ConceitoCapes"), QString());
        form().mostraRegistro();
    }
    form().habilita(Capes, pos);
}

void EdicaoCurso::aoMudar(const QString& controle)
{
    if (controle == Nivel)
        regraDoNivel();
    else if (controle == SubNivel)
        tabela().setValue(QStringLiteral("SubNivel"), form().valor(SubNivel));
    else if (controle == m_fornecedora.controle())
        tabela().setValue(QStringLiteral("instFornec"), m_fornecedora.chaveEscolhida(form()));
}

void EdicaoCurso::aoApagar(const QString& controle)
{
    if (controle == Capes) {
        tabela().setValue(QStringLiteral("ConceitoCapes"), QString());
        form().mostraRegistro();
    }
}

void EdicaoCurso::aoClicar(const QString& controle)
{
    if (controle == QLatin1String("btIncluirArea")) {
        EscolheAreaConhec(tabela(), m_areas, Ligacao_, modo(), codigo());
        habilitaAreas();
    } else if (controle == QLatin1String("btExcluirArea")) {
        ExcluiItem(m_areas, QStringLiteral("esta Área de Conhecimento?"));
        habilitaAreas();
    }
}

bool EdicaoCurso::aoSair(const QString& controle)
{
    if (controle == Nivel) {
        regraDoNivel();
        return true;
    }
    for (const Contagem& c : Contagens)
        if (controle == QLatin1String(c.controle)) {
            CampoDoFormulario campo(form(), controle);
            if (ValidaInteiro(campo, QString::fromUtf8(c.rotulo)))
                return true;
            form().mostraPagina(Geral);
            form().foca(controle);
            return false;
        }
    return true;
}

bool EdicaoCurso::validaContagens()
{
    for (const Contagem& c : Contagens)
        if (!aoSair(QString::fromLatin1(c.controle)))
            return false;
    return true;
}

bool EdicaoCurso::aoTrocarPagina(const QString& de, const QString&) { return de != Geral || validaContagens(); }

bool EdicaoCurso::aoConfirmar()
{
    store::Table& t = tabela();
    if (t.value(QStringLiteral("Nivel")) != PosGraduacao && !t.value(QStringLiteral("ConceitoCapes")).isEmpty())
        return recusa(QStringLiteral("Conceito CAPES so pode ser informado para Curso em Nivel de Pos-Graduação."), Geral,
                      Nivel);
    for (const Contagem& c : Contagens)
        t.setValue(QString::fromLatin1(c.campo), textoDaMascara(QString::fromLatin1(c.controle)));
    t.setValue(QStringLiteral("SubNivel"), form().valor(SubNivel));
    if (faltaObrigatorio({{QStringLiteral("Nome"), QStringLiteral("Nome"), QStringLiteral("dbeNome"), Geral}, {QStringLiteral("Nivel"), QStringLiteral("Nível"), Nivel, Geral}, {QStringLiteral("SubNivel"), QStringLiteral("Sub-nível"), SubNivel, Geral}, {QStringLiteral("instFornec"), QStringLiteral("Instituição Fornecedora"), m_fornecedora.controle(), Geral}, {QStringLiteral("TipoApoio"), QStringLiteral("Tipo de Apoio"), QStringLiteral("dbTipoApoio"), Geral}, {QStringLiteral("Frequencia"), QStringLiteral("Frequencia"), QStringLiteral("dbFrequencia"), Geral}, {QStringLiteral("Escolaridade"), QStringLiteral("Escolaridade"), QStringLiteral("dbcEscolaridade"), Geral}, {QStringLiteral("QtdeMatriculados"), QStringLiteral("Qtd. Alunos Matriculados"), QStringLiteral("medQtdeMatriculados"), Geral}, {QStringLiteral("QtdeFormados"), QStringLiteral("Qtd. Alunos Formados"), QStringLiteral("medQtdeFormados"), Geral}}))
        return false;
    if (m_areas.recordCount() == 0)
        return recusa(QStringLiteral("Indique pelo menos uma Área do Conhecimento."), Descricao,
                      QStringLiteral("btIncluirArea"));
    efetiva({&m_areas}, [this] { ConfirmaItens(tabela(), m_areas, Ligacao_); });
    return true;
}

void EdicaoCurso::aoCancelar()
{
    CancelaItens(tabela(), m_areas, Ligacao_, modo());
    // The changes are abandoned; no working copy is reloaded.
    if (tabela().state() == store::Table::State::Edit || tabela().state() == store::Table::State::Insert)
        tabela().cancel();
}

} // namespace edit
