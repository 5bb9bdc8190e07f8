#include "net/ui/TfrmChooseProj.h"

#include "ui_TfrmChooseProj.h"

#include "core/ProgramState.h"
#include "store/Table.h"

#include <QHeaderView>

namespace net {

TfrmChooseProj::TfrmChooseProj(store::Table& tbProjetos, QWidget* pai)
    : QDialog(pai), m_ui(new Ui::TfrmChooseProj)
{
    m_ui->setupUi(this);
    m_modelo.setHorizontalHeaderLabels({QStringLiteral("Título"), QStringLiteral("Num. Contratação")});
    const int codigo = tbProjetos.fieldIndexOrThrow(QStringLiteral("Cod_Proj"));
    const int titulo = tbProjetos.fieldIndexOrThrow(QStringLiteral("Titulo"));
    const int contratacao = tbProjetos.fieldIndexOrThrow(QStringLiteral("Num_Contratacao"));
    const store::Table::Bookmark atual = tbProjetos.bookmark();
    int linhaAtual = 0;
    for (store::Table::Bookmark b : tbProjetos.visibleRows()) {
        if (b == atual)
            linhaAtual = int(m_codigos.size());
        m_codigos << tbProjetos.rowValue(b, codigo);
        m_modelo.appendRow({new QStandardItem(tbProjetos.rowValue(b, titulo)),
                            new QStandardItem(tbProjetos.rowValue(b, contratacao))});
    }
    m_ui->dbGridProjs->setModel(&m_modelo);
    m_ui->dbGridProjs->setColumnWidth(0, 395);
    if (!m_codigos.isEmpty())
        m_ui->dbGridProjs->selectRow(linhaAtual);

    connect(m_ui->btConfirmar, &QPushButton::clicked, this, &TfrmChooseProj::btConfirmarClick);
    connect(m_ui->btCancelar, &QPushButton::clicked, this, &TfrmChooseProj::btCancelarClick);
    connect(m_ui->dbGridProjs, &QAbstractItemView::doubleClicked, this, &TfrmChooseProj::btConfirmarClick);
}

TfrmChooseProj::~TfrmChooseProj() = default;

void TfrmChooseProj::btConfirmarClick()
{
    const QModelIndex atual = m_ui->dbGridProjs->currentIndex();
    const int linha = atual.isValid() ? atual.row() : -1;
    app::Estado().ProjectCode = linha >= 0 && linha < m_codigos.size() ? m_codigos.at(linha) : QString();
    accept();
}

void TfrmChooseProj::btCancelarClick()
{
    app::Estado().ProjectCode.clear();
    reject();
}

} // namespace net
