#include "net/PropagaChave.h"

#include "store/Catalogo.h"
#include "store/Dados.h"

#include <initializer_list>

namespace net {

namespace {

// A field of a child table that holds a parent's code, with the index built on that field.
struct Vinculo {
    const char* tabela;
    const char* indice;
    const char* campo;
    bool marcaAlterado;  // an unchanged child ("N") becomes "A": the server must learn the new reference
};

void propagaVinculo(store::Dados& dados, const Vinculo& v, const QString& velho, const QString& novo)
{
    store::Table& filha = dados.tabelaOuErro(QString::fromLatin1(v.tabela));
    const int campo = filha.fieldIndexOrThrow(QString::fromLatin1(v.campo));
    const QString indice = QString::fromLatin1(v.indice);

    filha.setFiltered(false);
    filha.setIndexName(indice);
    // Each post takes the row out of the old code's place in the index, so the next look-up finds
    // the next row still holding it.
    const QStringList chave{velho};
    for (int resta = filha.totalRowCount(); resta > 0 && filha.findKey(chave); --resta) {
        filha.edit();
        filha.setValue(campo, novo);
        if (v.marcaAlterado && filha.value(0) == QLatin1String("N"))
            filha.setValue(0, QStringLiteral("A"));
        filha.post();
    }
    filha.setIndexName(QStringLiteral("Primary"));
    filha.setFiltered(true);
}

void propaga(store::Dados& dados, std::initializer_list<Vinculo> vinculos, const QString& velho,
             const QString& novo)
{
    // An empty code is no reference at all, and an unchanged one leaves nothing to do.
    if (velho.trimmed().isEmpty() || MesmoCodigo(velho, novo))
        return;
    for (const Vinculo& v : vinculos)
        propagaVinculo(dados, v, velho, novo);
}

} // namespace

void PropagateKeyInstituicao(store::Dados& d, const QString& velho, const QString& novo)
{
    propaga(d,
            {
                {"tbLocaisPesquisa", "Instituicao", "Cod_Inst", false},
                {"tbEstudo", "Instituicao", "Cod_Inst", false},
                {"tbSoftware", "Instituicao", "InstDesenv", false},
                {"tbServico", "Instituicao", "InstPrest", false},
                {"tbEquipamentos", "Instituicao", "InstLocaliz", false},
                {"tbLaboratorio", "Instituicao", "Cod_Inst", false},
                {"tbCursos", "Instituicao", "instFornec", false},
                {"tbQualidade", "InstCliente", "Cod_InstCliente", false},
                {"tbQualidade", "InstFornec", "Cod_InstFornec", false},
            },
            velho, novo);
}

void PropagateKeyMembro(store::Dados& d, const QString& velho, const QString& novo)
{
    propaga(d,
            {
                {"tbMembroBolsista", "Primary", "Cod_Membro", false},
                {"tbEstudo", "Membro", "Autor", true},
                {"tbObrasEditadas", "Membro", "Autor", true},
                {"tbPublicacao", "Membro", "Autor", true},
                {"tbPatente", "Membro", "Inventor", true},
                {"tbSoftware", "Membro", "Autor", true},
                {"tbCapacitMembro", "Membro", "Cod_Membro", false},
                {"tbTrabalhoAcademico", "Membro", "Cod_Membro", true},
            },
            velho, novo);
}

void PropagateKeyEstudo(store::Dados& d, const QString& velho, const QString& novo)
{
    propaga(d,
            {
                {"tbEstudosAreaConhec", "Estudo", "Cod_Estudo", false},
                {"tbEstudosSetores", "Estudo", "Cod_Estudo", false},
            },
            velho, novo);
}

void PropagateKeyPublicacao(store::Dados& d, const QString& velho, const QString& novo)
{
    propaga(d,
            {
                {"tbPublicPublicoAlvo", "Publicacao", "Cod_Publicacao", false},
                {"tbPublicAreaConhec", "Publicacao", "Cod_Publicacao", false},
                {"tbPublicEstudo", "Publicacao", "Cod_Publicacao", false},
            },
            velho, novo);
}

void PropagateKeyObras(store::Dados& d, const QString& velho, const QString& novo)
{
    propaga(d, {{"tbObraAreaConhec", "Obra", "Cod_Obra", false}}, velho, novo);
}

void PropagateKeyProd(store::Dados& d, const QString& velho, const QString& novo)
{
    propaga(d, {{"tbPatente", "ProdTec", "Cod_Prod", false}}, velho, novo);
}

void PropagateKeySoft(store::Dados& d, const QString& velho, const QString& novo)
{
    propaga(d, {{"tbSoftSetores", "Software", "Cod_Software", false}}, velho, novo);
}

void PropagateKeyServ(store::Dados& d, const QString& velho, const QString& novo)
{
    propaga(d,
            {
                {"tbServicoSetores", "Servico", "Cod_Servico", false},
                {"tbServicoAreaConhec", "Servico", "Cod_Servico", false},
            },
            velho, novo);
}

void PropagateKeyLaboratorio(store::Dados& d, const QString& velho, const QString& novo)
{
    propaga(d, {{"tbServico", "Laboratorio", "Laboratorio", false}}, velho, novo);
}

void PropagateKeyBolsa(store::Dados& d, const QString& velho, const QString& novo)
{
    propaga(d,
            {
                {"tbTrabalhoAcademico", "Bolsa", "Cod_Bolsa", true},
                {"tbBolsaAreaConhec", "Bolsa", "Cod_Bolsa", false},
            },
            velho, novo);
}

void PropagateKeyTrabalho(store::Dados& d, const QString& velho, const QString& novo)
{
    propaga(d, {{"tbTrabalhoAreaConhec", "Trabalho", "Cod_Trab", false}}, velho, novo);
}

void PropagateKeyCapacit(store::Dados& d, const QString& velho, const QString& novo)
{
    propaga(d, {{"tbCapacitMembro", "Capacitacao", "Cod_Capacitacao", false}}, velho, novo);
}

void PropagateKeyCurso(store::Dados& d, const QString& velho, const QString& novo)
{
    propaga(d, {{"tbCursosAreaConhec", "Curso", "Cod_Curso", false}}, velho, novo);
}

void PropagateKeyEvento(store::Dados& d, const QString& velho, const QString& novo)
{
    propaga(d, {{"tbEventosAreaConhec", "Evento", "Cod_Evento", false}}, velho, novo);
}

void PropagateKeyProblema(store::Dados& d, const QString& velho, const QString& novo)
{
    propaga(d, {{"tbAcoesCorretivas", "Problema", "Cod_Problema", false}}, velho, novo);
}

bool MesmoCodigo(const QString& a, const QString& b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

bool PropagaChave(store::Dados& d, int slot, const QString& velho, const QString& novo)
{
    if (slot < 0 || slot >= store::NumSlots || store::TableKeyFields[size_t(slot)].isEmpty())
        return false;
    if (MesmoCodigo(velho, novo))
        return false;

    using Operacao = void (*)(store::Dados&, const QString&, const QString&);
    Operacao op = nullptr;
    switch (slot) {
    case 2: op = PropagateKeyInstituicao; break;
    case 3: op = PropagateKeyMembro; break;
    case 9: op = PropagateKeyEstudo; break;
    case 12: op = PropagateKeyPublicacao; break;
    case 17: op = PropagateKeyObras; break;
    case 20: op = PropagateKeyProd; break;
    case 21: op = PropagateKeySoft; break;
    case 24: op = PropagateKeyServ; break;
    case 30: op = PropagateKeyLaboratorio; break;
    case 31: op = PropagateKeyBolsa; break;
    case 33: op = PropagateKeyTrabalho; break;
    case 35: op = PropagateKeyCapacit; break;
    case 37: op = PropagateKeyCurso; break;
    case 39: op = PropagateKeyEvento; break;
    case 44: op = PropagateKeyProblema; break;
    default: return false;
    }
    op(d, velho, novo);
    return true;
}

} // namespace net
