#include "edit/EdicaoObras.h"

#include "edit/Duplicados.h"
#include "edit/ValidaDatas.h"
#include "edit/ValidaNumeros.h"

#include "core/Interacao.h"
#include "edit/ListasInstituicao.h"

#include "store/Dados.h"

#include <QDate>

namespace edit {

namespace {

const QString Geral = QStringLiteral("tsDadosGerais");
const QString Areas = QStringLiteral("tsAreas");
const QString Ano = QStringLiteral("meAnoEdicao");
const QString Titulo = QStringLiteral("dbeTitulo");
const QString AnoVazio = QStringLiteral("    ");
const QStringList SimNaoDesconhecido = {QStringLiteral("S"), QStringLiteral("N"), QStringLiteral("D")};
const QString Desconhecido = QStringLiteral("D");

QDate data(const QString& texto) { return QDate::fromString(texto.trimmed(), QStringLiteral("dd/MM/yyyy")); }

} // namespace

EdicaoObras::EdicaoObras(Formulario& form)
    : EdicaoComListas(form, store::DataResultadosGerados().tbObrasEditadas, QStringLiteral("Cod_Obra"))
{
    store::Table& t = tabela();
    liga(QStringLiteral("dbTipoObra"), t, QStringLiteral("TipoObra"), TipoControle::Lista, {},
         QStringLiteral("tipos_obra.txt"));
    liga(Titulo, t, QStringLiteral("Titulo"));
    declaraConsulta(QStringLiteral("dbcAutor"), store::DataIdentificacao().tbMembro, filtroinst::Membros, QStringLiteral("Nome"),
                    QStringLiteral("Cod_Membro"), QStringLiteral("Autor"));
    liga(QStringLiteral("dbeEditora"), t, QStringLiteral("Editora"));
    liga(QStringLiteral("dbmCoAutores"), t, QStringLiteral("Co_Autores"), TipoControle::Memo);
    liga(QStringLiteral("dbcTipodeMidia"), t, QStringLiteral("TipoMidia"), TipoControle::Lista, {},
         QStringLiteral("tipos_midia.txt"));
    liga(QStringLiteral("dbAlcance"), t, QStringLiteral("Alcance"), TipoControle::Lista, {},
         QStringLiteral("alcances_geograficos.txt"));
    declaraMascara(Ano, QStringLiteral("9999;_"));
    liga(QStringLiteral("dbrgComercializada"), t, QStringLiteral("Comercializada"), TipoControle::Opcoes,
         SimNaoDesconhecido);
    liga(QStringLiteral("dbrgCientifica"), t, QStringLiteral("Cientifica"), TipoControle::Opcoes, SimNaoDesconhecido);
    declaraListaFilha(TipoLista::Areas, store::DataResultadosGerados().tbObraAreaConhec, QStringLiteral("Cod_Obra"),
                      QStringLiteral("btIncluirArea"), QStringLiteral("btExcluirArea"), Areas);
    defineTitulos(QStringLiteral("Inserir Obra Editada"), QStringLiteral(" Editar Obra Editada"));
    definePrimeiraPagina(Geral);
}

void EdicaoObras::aoMostrar()
{
    filtraListas();
    mostraConsultas(false);
    // The unknown answer is stored as an empty field and shown as "Desconhecido".
    for (const char* f : {"Comercializada", "Cientifica"}) {
        const QString nome = QString::fromLatin1(f);
        if (inserindo() || campo(nome).isEmpty())
            defineCampo(nome, Desconhecido);
    }
    if (!inserindo())
        form().defineValor(Ano, tabela().value(QStringLiteral("AnoEdicao")));
    habilitaBotoesListas();
}

void EdicaoObras::aoMudar(const QString& controle) { mudouConsulta(controle); }

void EdicaoObras::aoApagar(const QString& controle) { apagouConsulta(controle); }

void EdicaoObras::aoClicar(const QString& controle) { clicouLista(controle); }

bool EdicaoObras::anoValido()
{
    CampoDoFormulario c(form(), Ano);
    bool valido = ValidaInteiro(c, QStringLiteral("Ano"));
    const QString ano = c.texto().trimmed();
    if (valido && !ano.isEmpty()) {
        const int n = ano.toInt();
        if (n < 1990 || n > 2010) {
            app::Mensagem(QStringLiteral("Ano precisa estar entre 1990 e 2010."), app::Icone::Informacao);
            valido = false;
        } else {
            valido = ValidaDataAssinatura(DataAssinaturaDoProjeto(), QStringLiteral("31/12/") + ano);
        }
    }
    if (!valido) {
        form().mostraPagina(Geral);
        form().foca(Ano);
    }
    return valido;
}

bool EdicaoObras::aoSair(const QString& controle) { return controle != Ano || anoValido(); }

bool EdicaoObras::aoTrocarPagina(const QString& de, const QString&) { return de != Geral || anoValido(); }

bool EdicaoObras::aoConfirmar()
{
    form().mostraPagina(Geral);
    const QString textoAno = form().valor(Ano);
    const QString ano = textoAno.trimmed();
    if (textoAno != AnoVazio && !ano.isEmpty()) {
        QString assinatura = DataAssinaturaDoProjeto();
        QString fimDoAno = QStringLiteral("31/12/") + ano;
        if (!ValidaDatas(assinatura, fimDoAno)) {
            form().foca(Ano);
            return false;
        }
        const QDate s = data(DataAssinaturaDoProjeto());
        if (s.isValid() && data(QStringLiteral("31/12/") + ano) < s)
            return recusaInfo(QStringLiteral("Ano de Edição não pode ser menor que data de Assinatura do Projeto."),
                              Geral, Ano);
        const QDate inicioDoAno = data(QStringLiteral("01/01/") + ano);
        if (!inicioDoAno.isValid() || inicioDoAno < QDate(1990, 1, 1) || inicioDoAno > QDate(2010, 12, 31))
            return recusaInfo(QStringLiteral("Ano de Edição precisa estar entre 1990 e 2010."), Geral, Ano);
    }
    defineCampo(QStringLiteral("AnoEdicao"), ano);
    if (faltaObrigatorio({{QStringLiteral("TipoObra"), QStringLiteral("Tipo"), QStringLiteral("dbTipoObra"), Geral},
                          {QStringLiteral("Titulo"), QStringLiteral("Título"), Titulo, Geral},
                          {QStringLiteral("Autor"), QStringLiteral("Autor"), QStringLiteral("dbcAutor"), Geral},
                          {QStringLiteral("TipoMidia"), QStringLiteral("Tipo de Mídia"),
                           QStringLiteral("dbcTipodeMidia"), Geral},
                          {QStringLiteral("Alcance"), QStringLiteral("Alcance Geográfico"), QStringLiteral("dbAlcance"),
                           Geral}}))
        return false;
    if (semAreas())
        return recusa(QStringLiteral("Indique pelo menos uma Área do Conhecimento."), Areas,
                      QStringLiteral("btIncluirArea"));
    store::Table& t = tabela();
    if (ContemAspas(t.value(QStringLiteral("Titulo"))))
        return recusa(QStringLiteral("O título da obra não pode conter aspas!"), Geral, Titulo);
    if (ExisteDuplicado(t, QStringLiteral("Titulo"), t.value(QStringLiteral("Titulo")), QStringLiteral("TipoObra"),
                        t.value(QStringLiteral("TipoObra")), {}, {}, QStringLiteral("Cod_Obra"), codigo()))
        return recusa(QStringLiteral("Já existe Obra Editada cadastrada com Tipo e Título indicados!"), Geral, Titulo);
    // The unknown answer is stored empty. Emptied only now, so that a refusal above leaves the
    // dialog showing the answer as the user left it.
    for (const char* f : {"Comercializada", "Cientifica"})
        if (campo(QString::fromLatin1(f)) == Desconhecido)
            defineCampo(QString::fromLatin1(f), QString());
    efetiva(tabelasFilhas(), [this] { confirmaListas(); });
    return true;
}

void EdicaoObras::aoCancelar()
{
    cancelaListas();
    devolveTabelas();
}

} // namespace edit
