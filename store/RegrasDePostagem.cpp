#include "store/Dados.h"

// Rules that fill derived columns just before a row is stored, whoever posts it.

namespace store {

namespace {

const QString Primary = QStringLiteral("Primary");

QString PaisDoLocal(const QString& local)
{
    return local == QLatin1String("P") ? QStringLiteral("BRASIL") : QStringLiteral("EXTERIOR");
}

// Copies two columns of the institution found by key into the row being posted. The institutions'
// filter is off during the look-up so hidden rows are found too, and on again afterwards.
void CopiaInstituicao(Table& inst, const QString& indice, Table& row, const QString& chave, const QString& biro,
                      const QString& nome)
{
    inst.setFiltered(false);
    inst.setIndexName(indice);
    if (inst.findKey({row.value(chave)})) {
        row.setValue(biro, inst.value(QStringLiteral("BIRO")));
        row.setValue(nome, inst.value(QStringLiteral("Nome")));
    }
    inst.setFiltered(true);
}

} // namespace

void InstalaRegrasDePostagem(Dados& d)
{
    TDataIdentificacao& id = d.identificacao();
    Table& inst = id.tbInstituicao;
    Table& membro = id.tbMembro;

    membro.beforePost = [](Table& t) {
        const QString motivo = t.value(QStringLiteral("MotivoSaida")).trimmed();
        if (motivo.isEmpty())
            t.setValue(QStringLiteral("TipInstAtivPosPro"), QStringLiteral("PARTICIPANTE ATIVO"));
        t.setValue(QStringLiteral("MotivoSaida"), motivo);
        t.setValue(QStringLiteral("DescAtivPosPro"), t.value(QStringLiteral("DescAtivPosPro")).trimmed());
    };

    id.tbLocaisPesquisa.beforePost = [&inst](Table& t) {
        CopiaInstituicao(inst, Primary, t, QStringLiteral("Cod_Inst"), QStringLiteral("BIRO_Inst"),
                         QStringLiteral("Nome_Inst"));
    };

    id.tbPlanoAplic.beforePost = [](Table& t) {
        t.setValue(QStringLiteral("PaisExterior"), PaisDoLocal(t.value(QStringLiteral("Local"))));
        for (const char* coluna : {"VlContratado", "VlDesembolsado", "VlExecutado"})
            if (t.value(QString::fromLatin1(coluna)).isEmpty())
                t.setValue(QString::fromLatin1(coluna), QStringLiteral("0.00"));
    };

    d.recursosAdquiridos().tbMaterialAdquirido.beforePost = [](Table& t) {
        t.setValue(QStringLiteral("PaisExterior"), PaisDoLocal(t.value(QStringLiteral("LocaldeGastos"))));
    };

    // The members' filter stays as it is, so a member marked D lends no name.
    d.atividadesApoiadas().tbCapacitMembro.beforePost = [&membro](Table& t) {
        membro.setIndexName(Primary);
        if (membro.findKey({t.value(QStringLiteral("Cod_Membro"))}))
            t.setValue(QStringLiteral("Nome"), membro.value(QStringLiteral("Nome")));
    };

    d.atividadesApoiadas().tbBase.beforePost = [](Table& t) {
        t.setValue(QStringLiteral("TipoApoioTxt"), t.value(QStringLiteral("TipoApoio")) == QLatin1String("A")
                                                       ? QStringLiteral("AQUISIÇÃO")
                                                       : QStringLiteral("CRIAÇÃO/MELHORIA"));
    };

    d.analiseResultados().tbProblemas.beforePost = [](Table& t) {
        t.setValue(QStringLiteral("CategoriaTxt"), t.value(QStringLiteral("Categoria")) == QLatin1String("T")
                                                       ? QStringLiteral("TECNICO")
                                                       : QStringLiteral("ADMINISTRATIVO"));
    };

    // The client institution is named by its registry code, so the look-up goes by "BIRO", which
    // stays the institutions' current index afterwards.
    d.analiseResultados().tbQualidade.beforePost = [&inst](Table& t) {
        CopiaInstituicao(inst, QStringLiteral("BIRO"), t, QStringLiteral("Cod_InstCliente"),
                         QStringLiteral("BIRO_InstCliente"), QStringLiteral("Nome_InstCliente"));
    };
}

QString TDataIdentificacao::CampoDoCoordenador(const QString& coluna)
{
    QString resultado;
    const QString filtro = tbMembro.filter();
    const bool ligado = tbMembro.filtered();
    tbMembro.setFiltered(false);
    tbMembro.setFilter(QStringLiteral("DescricaoFuncao = 'COORDENADOR'"));
    tbMembro.setFiltered(true);
    if (!tbMembro.isEmpty())
        resultado = tbMembro.value(coluna);
    tbMembro.setFiltered(false);
    tbMembro.setFilter(filtro);
    tbMembro.setFiltered(ligado);
    return resultado;
}

} // namespace store
