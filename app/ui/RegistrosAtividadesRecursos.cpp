#include "app/ui/Registros.h"

#include "edit/EdicaoProgQualid.h"
#include "edit/ui/TfrmBase.h"
#include "edit/ui/TfrmCapacit.h"
#include "edit/ui/TfrmCurso.h"
#include "edit/ui/TfrmEquipamentos.h"
#include "edit/ui/TfrmEventos.h"
#include "edit/ui/TfrmLaboratorio.h"
#include "edit/ui/TfrmMateriais.h"
#include "edit/ui/TfrmProb.h"
#include "edit/ui/TfrmProgQualid.h"
#include "store/Dados.h"

#include <QDialog>

namespace app::ui {

namespace {

template <typename T>
FabricaDialogo fabrica()
{
    return [] { return std::unique_ptr<QDialog>(std::make_unique<T>()); };
}

} // namespace

// Pages of supported activities, acquired resources and analysis: each page gets its dialog with
// LigaDialogo.
void LigaRegistrosAtividadesRecursos(TfrmMenu1& janela)
{
    LigaDialogo(janela, QStringLiteral("tbLaboratorio"), QStringLiteral("Cod_Laboratorio"), fabrica<edit::TfrmLaboratorio>());
    LigaDialogo(janela, QStringLiteral("tbCursos"), QStringLiteral("Cod_Curso"), fabrica<edit::TfrmCurso>());
    LigaDialogo(janela, QStringLiteral("tbBase"), QStringLiteral("XXX"), fabrica<edit::TfrmBase>());
    LigaDialogo(janela, QStringLiteral("tbEventosApoiados"), QStringLiteral("Cod_Evento"), fabrica<edit::TfrmEventos>());
    LigaDialogo(janela, QStringLiteral("tbCapacit"), QStringLiteral("Cod_Capacitacao"), fabrica<edit::TfrmCapacit>());
    LigaDialogo(janela, QStringLiteral("tbMaterialAdquirido"), QStringLiteral("XXX"), fabrica<edit::TfrmMateriais>());
    LigaDialogo(janela, QStringLiteral("tbEquipamentos"), QStringLiteral("Cod_Equip"), fabrica<edit::TfrmEquipamentos>());
    LigaDialogo(janela, QStringLiteral("tbProblemas"), QStringLiteral("Cod_Problema"), fabrica<edit::TfrmProb>());
    // Before an edit the two hour boxes get the record's hours, trimmed.
    LigaDialogo(janela, QStringLiteral("tbQualidade"), QStringLiteral("Cod_Qualidade"), fabrica<edit::TfrmProgQualid>(),
                [](QDialog& dialogo, bool inserir) {
                    if (inserir)
                        return;
                    store::Table& q = store::dados().analiseResultados().tbQualidade;
                    auto& f = static_cast<edit::TfrmProgQualid&>(dialogo);
                    f.defineValor(edit::EdicaoProgQualid::HorasDiagnostico,
                                  q.value(QStringLiteral("HorasDiagnostico")).trimmed());
                    f.defineValor(edit::EdicaoProgQualid::HorasImplementacao,
                                  q.value(QStringLiteral("HorasImplem")).trimmed());
                });
}

} // namespace app::ui
