#pragma once

#include <QDialog>
#include <QScopedPointer>
#include <QStandardItemModel>
#include <QStringList>

namespace Ui {
class TfrmChooseProj;
}
namespace store {
class Table;
}

namespace net {

// The user's projects (tbProjetos); OK sets ProjectCode to the chosen one, Cancelar empties it.
class TfrmChooseProj final : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmChooseProj(store::Table& tbProjetos, QWidget* pai = nullptr);
    ~TfrmChooseProj() override;

    void btConfirmarClick();
    void btCancelarClick();

private:
    const QScopedPointer<Ui::TfrmChooseProj> m_ui;
    QStandardItemModel m_modelo;
    QStringList m_codigos;  // Cod_Proj of each grid row
};

} // namespace net
