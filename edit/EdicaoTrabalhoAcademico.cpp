#include "edit/EdicaoTrabalhoAcademico.h"

#include "edit/Duplicados.h"
#include "edit/CopiasDeTrabalho.h"
#include "edit/Escolha.h"
#include "edit/Exclusao.h"
#include "edit/ItensFilhos.h"
#include "edit/TabelaAux.h"
#include "edit/ValidaDatas.h"
#include "edit/ValidaNumeros.h"

#include "store/Dados.h"

#include <QDate>

namespace edit {

namespace {

const QString Pagina1 = QStringLiteral("tsDadosGerais");
const QString PaginaAreas = QStringLiteral("tsAreaConhecimento");
const QString Tipo = QStringLiteral("dbcbTipoTRabalho");
const QString Titulo = QStringLiteral("dbeTituloTrab");
const QString Inicio = QStringLiteral("meAnoInicio");
const QString Fim = QStringLiteral("meAnoApresentacao");
const QString Grade = QStringLiteral("dbgAreas");
const QString Incluir = QStringLiteral("btIncluirArea");
const QString Excluir = QStringLiteral("btExcluirArea");

QDate dia(const QString& texto) { return QDate::fromString(texto, QStringLiteral("dd/MM/yyyy")); }

} // namespace

EdicaoTrabalhoAcademico::EdicaoTrabalhoAcademico(Formulario& form, QString campoDono, QString codigoDono)
    : EdicaoEntidade(form, store::DataAtividadesApoiadas().tbTrabalhoAcademico, QStringLiteral("Cod_Trab"))
    , m_trabalhos(store::DataAtividadesApoiadas().tbTrabalhoAcademico)
    , m_areas(store::DataAtividadesApoiadas().tbTrabalhoAreaConhec)
    , m_campoDono(std::move(campoDono))
    , m_codigoDono(std::move(codigoDono))
{
    defineTitulos(QStringLiteral("Inserir Trabalho Acadêmico"), QStringLiteral("Editar Trabalho Acadêmico"));
    definePrimeiraPagina(Pagina1);
    liga(Tipo, m_trabalhos, QStringLiteral("TipoTrab"), TipoControle::Lista, {},
         QStringLiteral("tipos_trabalho_academico.txt"));
    liga(Titulo, m_trabalhos, QStringLiteral("TituloTrab"));
    declaraMascara(Inicio, QStringLiteral("9999;_"));
    declaraMascara(Fim, QStringLiteral("9999;_"));
}

void EdicaoTrabalhoAcademico::aoMostrar()
{
    filtra(m_areas, QStringLiteral("Status <> 'D' and Status <> 'X' and Status <> 'Y' and Status <> 'Q' and "
                                   "(Cod_Trab =  '")
                        + codigo() + QStringLiteral("')"));
    if (!inserindo()) {
        copiaParaMascara(Inicio, QStringLiteral("AnoInicio"), false);
        copiaParaMascara(Fim, QStringLiteral("AnoApresentacao"), false);
    }
    habilitaAreas();
}

void EdicaoTrabalhoAcademico::habilitaAreas()
{
    form().habilita(Excluir, m_areas.recordCount() > 0);
}

void EdicaoTrabalhoAcademico::aoClicar(const QString& controle)
{
    if (controle == Incluir) {
        IncluiAreaConhec(m_trabalhos, m_areas, QStringLiteral("Cod_Trab"), modo());
        habilitaAreas();
    } else if (controle == Excluir) {
        ExcluiItemAninhado(m_areas, QStringLiteral("esta Área de Conhecimento?"));
        habilitaAreas();
    }
}

bool EdicaoTrabalhoAcademico::confereAno(const QString& controle)
{
    const bool inicio = controle == Inicio;
    CampoDoFormulario campo(form(), controle);
    if (!ValidaInteiro(campo, inicio ? QStringLiteral("Inicio") : QStringLiteral("Fim"))) {
        form().mostraPagina(Pagina1);
        form().foca(controle);
        return false;
    }
    const QString ano = campo.texto().trimmed();
    if (ano.isEmpty())
        return true;
    const int n = ano.toInt();
    if (inicio && (n < 1990 || n > 1997))
        return recusaInfo(QStringLiteral("Inicio precisa estar entre 1990 e 1997."), Pagina1, controle);
    if (!inicio && (n < 1990 || n > 2010))
        return recusaInfo(QStringLiteral("Fim precisa estar entre 1990 e 2010."), Pagina1, controle);
    if (!ValidaDataAssinatura(DataAssinaturaDoProjeto(), QStringLiteral("31/12/") + ano)) {
        form().mostraPagina(Pagina1);
        form().foca(controle);
        return false;
    }
    return true;
}

bool EdicaoTrabalhoAcademico::confereAnos() { return confereAno(Inicio) && confereAno(Fim); }

bool EdicaoTrabalhoAcademico::aoSair(const QString& controle)
{
    if (controle == Inicio || controle == Fim)
        return confereAno(controle);
    return true;
}

bool EdicaoTrabalhoAcademico::aoTrocarPagina(const QString& de, const QString&)
{
    return de != Pagina1 || confereAnos();
}

bool EdicaoTrabalhoAcademico::aoConfirmar()
{
    store::Table& t = m_trabalhos;
    if (!aux::emEdicao(t))
        t.edit();
    const QString inicio = textoDaMascara(Inicio);
    const QString fim = textoDaMascara(Fim);
    t.setValue(QStringLiteral("AnoInicio"), inicio);
    t.setValue(QStringLiteral("AnoApresentacao"), fim);
    t.setValue(m_campoDono, m_codigoDono);

    if (inicio.isEmpty() || fim.isEmpty())
        return recusaInfo(QStringLiteral("Data de Início e de Fim são obrigatórias."), Pagina1, Inicio);
    const QDate ultimoInicio = dia(QStringLiteral("31/12/") + inicio);
    const QDate ultimoFim = dia(QStringLiteral("31/12/") + fim);
    if (!ultimoInicio.isValid() || !ultimoFim.isValid())
        return recusa(QStringLiteral("Data inválida."), Pagina1, Inicio);
    if (ultimoFim < ultimoInicio)
        return recusaInfo(QStringLiteral("Fim precisa ser maior que Início."), Pagina1, Fim);
    const QString assinatura = DataAssinaturaDoProjeto();
    if (!ValidaDataAssinatura(assinatura, QStringLiteral("31/12/") + inicio)
        || !ValidaDataAssinatura(assinatura, QStringLiteral("31/12/") + fim)) {
        form().mostraPagina(Pagina1);
        form().foca(Inicio);
        return false;
    }
    const QDate primeiroInicio = dia(QStringLiteral("01/01/") + inicio);
    const QDate primeiroFim = dia(QStringLiteral("01/01/") + fim);
    if (primeiroInicio < QDate(1990, 1, 1) || primeiroInicio > QDate(1997, 12, 31))
        return recusaInfo(QStringLiteral("Início precisa estar entre 1990 e 1997."), Pagina1, Inicio);
    if (primeiroFim < QDate(1990, 1, 1) || primeiroFim > QDate(2010, 12, 31))
        return recusaInfo(QStringLiteral("Fim precisa estar entre 1990 e 2010."), Pagina1, Fim);

    const QStringList vazios = Vazios(t, {{QStringLiteral("TipoTrab"), QStringLiteral("Tipo")},
                                          {QStringLiteral("TituloTrab"), QStringLiteral("Título")},
                                          {QStringLiteral("AnoInicio"), QStringLiteral("Início")},
                                          {QStringLiteral("AnoApresentacao"), QStringLiteral("Fim")}});
    if (!vazios.isEmpty())
        return recusa(MensagemObrigatorios(vazios), Pagina1, Tipo);
    if (m_areas.recordCount() == 0)
        return recusa(QStringLiteral("Indique pelo menos uma Área do Conhecimento."), PaginaAreas, Incluir);
    const QString titulo = t.value(QStringLiteral("TituloTrab"));
    if (ContemAspas(titulo))
        return recusa(QStringLiteral("O título do trabalho não pode conter aspas!"), Pagina1, Titulo);
    if (ExisteDuplicado(t, m_campoDono, m_codigoDono, QStringLiteral("TipoTrab"), t.value(QStringLiteral("TipoTrab")),
                        QStringLiteral("TituloTrab"), titulo, QStringLiteral("Cod_Trab"), codigo())) {
        const bool membro = m_campoDono == QLatin1String("Cod_Membro");
        return recusa(membro ? QStringLiteral("Já existe Trabalho Acadêmico cadastrado com Título e Tipo indicados "
                                              "para este Membro!")
                             : QStringLiteral("Já existe Trabalho Acadêmico cadastrado com Título e Tipo indicados "
                                              "para esta Bolsa!"),
                      Pagina1, Titulo);
    }
    if (inserindo())
        t.setValue(aux::Status, QStringLiteral("E"));
    // The owner's dialog marks the project modified when it is confirmed.
    efetiva({&m_areas}, [this] { ConfirmaItensAninhados(m_trabalhos, m_areas, QStringLiteral("Cod_Trab")); }, false);
    return true;
}

void EdicaoTrabalhoAcademico::aoCancelar()
{
    CancelaItensAninhados(m_trabalhos, m_areas, QStringLiteral("Cod_Trab"), modo());
    if (!inserindo() && ExisteCopia(CopiaTrabalhosDaGrade)) {
        RestauraCopia(CopiaTrabalhosDaGrade, m_trabalhos);
        return;
    }
    devolveTabelas();
}

} // namespace edit
