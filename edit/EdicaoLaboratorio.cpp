#include "edit/EdicaoLaboratorio.h"

#include "edit/ApoioDialogos.h"
#include "edit/Duplicados.h"
#include "edit/ValidaDatas.h"
#include "edit/ValidaNumeros.h"

#include "store/Table.h"

namespace edit {

namespace {
const QString Data = QStringLiteral("medDataInicio");
const QString Biro = QStringLiteral("medBIROLab");
const QString Nome = QStringLiteral("dbeNomeLab");
} // namespace

EdicaoLaboratorio::EdicaoLaboratorio(Formulario& form, store::Table& laboratorios, store::Table& instituicoes)
    : EdicaoEntidade(form, laboratorios, QStringLiteral("Cod_Laboratorio"))
    , m_instituicoes(instituicoes)
{
    defineTitulos(QStringLiteral("Inserir Laboratório"), QStringLiteral("Editar Laboratório"));
    liga(Nome, laboratorios, QStringLiteral("NomeLab"));
    liga(QStringLiteral("dbTipoApoio"), laboratorios, QStringLiteral("TipoApoio"), TipoControle::Lista, {},
         QStringLiteral("tipos_apoio_kesta.txt"));
    declaraMascara(Data, QStringLiteral("99/99/9999;_"));
    declaraMascara(Biro, QStringLiteral("#########;_"));
}

void EdicaoLaboratorio::aoMostrar()
{
    m_instituicao.carrega(form(), ItensFiltrados(m_instituicoes, filtroinst::Laboratorio, QStringLiteral("Cod_Inst"),
                                                 QStringLiteral("Nome")));
    m_instituicao.mostra(form(), tabela().value(QStringLiteral("Cod_Inst")));
    if (inserindo())
        return;
    copiaParaMascara(Data, QStringLiteral("DataInicio"), false);
    copiaParaMascara(Biro, QStringLiteral("BIROLab"));
    // The code stays open while it is still empty, so that it can be given.
    QStringList protegidos{m_instituicao.controle(), Nome};
    if (!tabela().value(QStringLiteral("BIROLab")).trimmed().isEmpty())
        protegidos << Biro;
    protegeIdentidade(protegidos, QString());
}

void EdicaoLaboratorio::aoMudar(const QString& controle)
{
    if (controle == m_instituicao.controle())
        tabela().setValue(QStringLiteral("Cod_Inst"), m_instituicao.chaveEscolhida(form()));
}

bool EdicaoLaboratorio::aoSair(const QString& controle)
{
    if (controle != Biro)
        return true;
    CampoDoFormulario campo(form(), Biro);
    if (ValidaInteiro(campo, QStringLiteral("Código BIRO")))
        return true;
    form().foca(Biro);
    return false;
}

bool EdicaoLaboratorio::aoConfirmar()
{
    store::Table& t = tabela();
    QString inicio = DataAssinaturaDoProjeto();
    QString fim = form().valor(Data);
    // The completed year is shown even when the date is refused, so the user sees what was checked.
    const bool valida = ValidaDatas(inicio, fim);
    form().defineValor(Data, fim);
    if (!valida) {
        form().foca(Data);
        return false;
    }
    t.setValue(QStringLiteral("DataInicio"), DataParaRegistro(fim));
    t.setValue(QStringLiteral("BIROLab"), textoDaMascara(Biro));

    if (faltaObrigatorio({{QStringLiteral("Cod_Inst"), QStringLiteral("Instituição Sede"), m_instituicao.controle(), {}}, {QStringLiteral("BIROLab"), QStringLiteral("Código do BIRO"), Biro, {}}, {QStringLiteral("NomeLab"), QStringLiteral("Nome"), Nome, {}}, {QStringLiteral("TipoApoio"), QStringLiteral("Tipo de Apoio do KESTA"), QStringLiteral("dbTipoApoio"), {}}}))
        return false;
    if (ExisteDuplicado(t, QStringLiteral("BIROLab"), t.value(QStringLiteral("BIROLab")), {}, {}, {}, {},
                        QStringLiteral("Cod_Laboratorio"), codigo()))
        return recusa(QStringLiteral("Já existe laboratório cadastrado com este BIRO!"), {},
                      primeiroHabilitado({Biro, Nome, QStringLiteral("dbTipoApoio")}));
    efetiva({}, [] {});
    return true;
}

void EdicaoLaboratorio::aoCancelar() { devolveTabelas(); }

} // namespace edit
