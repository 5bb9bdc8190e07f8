#include "edit/AreasMaterial.h"

#include "edit/Duplicados.h"
#include "edit/TabelaAux.h"

#include "store/Table.h"

namespace edit {

namespace {

const QString Tipo = QStringLiteral("TipoMaterial");
const QString Ano = QStringLiteral("AnoAquisicao");
const QString Local = QStringLiteral("LocaldeGastos");
const QString IndiceMaterial = QStringLiteral("Material");
const QString MarcaZ = QStringLiteral("Z");

bool mesmaIdentidade(const store::Table& t, const IdentidadeMaterial& id)
{
    return t.value(Tipo) == id.tipo && t.value(Ano) == id.ano && t.value(Local) == id.local;
}

// Runs `f` with the areas' filter off and the "Material" index current, and puts both back after.
// The store keeps that index on the table for good: it is used as it is, and only made (and dropped
// after) when it is missing, so that the store still finds every index it owns when it clears them.
template <typename F>
void semFiltroPorMaterial(store::Table& areas, F f)
{
    aux::modoNavegacao(areas);
    const QString indiceAnterior = areas.indexName();
    const bool filtrada = areas.filtered();
    const QString campos = Tipo + QLatin1Char(';') + Ano + QLatin1Char(';') + Local + QStringLiteral(";Status");
    const bool existente = areas.hasIndex(IndiceMaterial)
                           && areas.indexDef(IndiceMaterial).fields.compare(campos, Qt::CaseInsensitive) == 0
                           && (areas.indexDef(IndiceMaterial).options & store::ixDescending) == 0;
    areas.setFiltered(false);
    auto restaura = [&] {
        if (aux::emEdicao(areas))
            areas.cancel();
        if (!existente)
            aux::removeIndice(areas, IndiceMaterial);
        aux::selecionaIndice(areas, indiceAnterior);
        areas.setFiltered(filtrada);
    };
    try {
        if (existente)
            areas.setIndexName(IndiceMaterial);
        else
            aux::criaIndice(areas, IndiceMaterial, campos);
        f();
    } catch (...) {
        restaura();
        throw;
    }
    restaura();
}

} // namespace

IdentidadeMaterial IdentidadeMaterial::marcas()
{
    return {QStringLiteral("TipoMaterialNovo"), QStringLiteral("AnoN"), QStringLiteral("N")};
}

IdentidadeMaterial IdentidadeMaterial::doRegistro(const store::Table& material)
{
    return {material.value(Tipo), material.value(Ano), material.value(Local)};
}

QString FiltroAreasMaterial(const IdentidadeMaterial& id)
{
    return QStringLiteral("Status <> 'D' and Status <> 'X' and Status <> 'Y' and (TipoMaterial = '") + id.tipo
           + QStringLiteral("' and AnoAquisicao = '") + id.ano + QStringLiteral("' and LocaldeGastos = '") + id.local
           + QStringLiteral("')");
}

void MudaAreasMaterial(store::Table& areas, const IdentidadeMaterial& id,
                       std::initializer_list<std::pair<const char*, const char*>> passos)
{
    semFiltroPorMaterial(areas, [&] {
        for (const auto& [de, para] : passos) {
            const QStringList chave{id.tipo, id.ano, id.local, QString::fromLatin1(de)};
            // Each step takes the row out of the key (new letter or removed), so the search ends.
            while (areas.findKey(chave)) {
                if (para && *para)
                    aux::mudaStatus(areas, QString::fromLatin1(para));
                else
                    areas.remove();
            }
        }
    });
}

void RemoveAreasMarcadas(store::Table& areas)
{
    const IdentidadeMaterial marcas = IdentidadeMaterial::marcas();
    semFiltroPorMaterial(areas, [&] {
        while (areas.findKey({marcas.tipo, marcas.ano, marcas.local}))
            areas.remove();
    });
}

void IdentificaAreasNovas(store::Table& areas, const IdentidadeMaterial& id)
{
    const IdentidadeMaterial marcas = IdentidadeMaterial::marcas();
    semFiltroPorMaterial(areas, [&] {
        const QStringList chave{marcas.tipo, marcas.ano, marcas.local};
        while (areas.findKey(chave)) {
            areas.edit();
            areas.setValue(Tipo, id.tipo);
            areas.setValue(Ano, id.ano);
            areas.setValue(Local, id.local);
            areas.post();
        }
    });
}

bool MaterialDuplicado(store::Table& material)
{
    const IdentidadeMaterial id = IdentidadeMaterial::doRegistro(material);
    const QString anterior = aux::status(material);
    aux::mudaStatus(material, MarcaZ);

    // The record is found again by a walk that ends with the table. Whatever happens, it must not keep
    // the marker: when the walk misses it (a filter that hides it), it gets its letter back in a walk
    // over every row, and the miss is reported.
    auto acha = [&]() -> bool {
        for (material.first(); !material.eof(); material.next())
            if (aux::status(material) == MarcaZ && mesmaIdentidade(material, id))
                return true;
        return false;
    };
    auto devolve = [&]() -> bool {
        if (acha()) {
            // Stored at once, so that not even the stored row keeps the marker while the dialog is open.
            aux::mudaStatus(material, anterior);
            material.edit();
            return true;
        }
        const bool filtrada = material.filtered();
        material.setFiltered(false);
        store::Table::Bookmark marcada = 0;
        if (acha()) {
            marcada = material.bookmark();
            aux::mudaStatus(material, anterior);
        }
        material.setFiltered(filtrada);
        // Back in edit state, as the dialog holds it, so that its Cancelar still finds it.
        if (marcada && material.gotoBookmark(marcada))
            material.edit();
        return false;
    };

    bool duplicado = false;
    try {
        duplicado = ExisteDuplicado(material, Tipo, id.tipo, Ano, id.ano, Local, id.local,
                                    Tipo + QLatin1Char(';') + Ano + QLatin1Char(';') + Local, QString());
    } catch (...) {
        if (aux::emEdicao(material))
            material.cancel();
        devolve();
        throw;
    }
    if (!devolve())
        throw store::TableError(QStringLiteral("O Material Informacional em edição não foi encontrado novamente."));
    return duplicado;
}

} // namespace edit
