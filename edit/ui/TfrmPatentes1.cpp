#include "edit/ui/TfrmPatentes1.h"

#include "ui_TfrmPatentes1.h"

#include "edit/ui/DialogoQt.h"
#include "edit/ui/TfrmPatentes.h"

#include "core/Interacao.h"
#include "store/Dados.h"

#include <QPushButton>

namespace edit {

TfrmPatentes1::TfrmPatentes1(const QString& codigoProducao, QWidget* parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::TfrmPatentes1>())
{
    m_ui->setupUi(this);
    GradeComBotoes* g = m_ui->gdPatentes;
    g->configura(QStringLiteral("dbgPatentes"),
                 {{QStringLiteral("Titulo"), QStringLiteral("Título")},
                  {QStringLiteral("Pais"), QStringLiteral("País")},
                  {QStringLiteral("TipoPatente"), QStringLiteral("Tipo de Patente")},
                  {QStringLiteral("DataDeposito"), QStringLiteral("Pedido de Depósito")}},
                 {{QStringLiteral("btIncluir"), QStringLiteral("&Incluir"), 1},
                  {QStringLiteral("btEditar"), QStringLiteral("&Editar"), 0},
                  {QStringLiteral("btExcluir"), QStringLiteral("E&xcluir"), 0}});
    g->setTabela(&store::DataResultadosGerados().tbPatente);
    m_painel = std::make_unique<PainelQt>(g->painel());
    m_logica = std::make_unique<GradePatentes>(
        codigoProducao,
        [this, codigoProducao] {
            return std::make_unique<DialogoQt>(std::make_unique<TfrmPatentes>(codigoProducao, this));
        },
        m_painel.get());

    // Every failure is reported, as the commands of the main window report theirs.
    const auto guarda = [](const std::function<void()>& f) {
        try {
            f();
        } catch (const app::Abort&) {
        } catch (const std::exception& e) {
            app::Mensagem(QStringLiteral("Erro inesperado ao confirmar operação!\rConsulte suporte informando a "
                                         "seguinte mensagem:\r")
                              + QString::fromUtf8(e.what()),
                          app::Icone::Erro);
        }
    };
    connect(g->botao(QStringLiteral("btIncluir")), &QPushButton::clicked, this,
            [this, guarda] { guarda([this] { m_logica->inclui(); }); });
    connect(g->botao(QStringLiteral("btEditar")), &QPushButton::clicked, this,
            [this, guarda] { guarda([this] { m_logica->edita(); }); });
    connect(g->grade(), &GradeTabela::duploClique, this, [this, guarda] { guarda([this] { m_logica->edita(); }); });
    connect(g->botao(QStringLiteral("btExcluir")), &QPushButton::clicked, this,
            [this, guarda] { guarda([this] { m_logica->exclui(); }); });
    connect(m_ui->btFechar, &QPushButton::clicked, this, &QDialog::accept);
}

TfrmPatentes1::~TfrmPatentes1() = default;

void TfrmPatentes1::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!m_mostrado) {
        m_mostrado = true;
        m_logica->mostra();
    }
}

void TfrmPatentes1::done(int r)
{
    m_logica->fecha();
    QDialog::done(r);
}

} // namespace edit
