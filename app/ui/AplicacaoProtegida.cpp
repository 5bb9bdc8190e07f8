#include "app/ui/AplicacaoProtegida.h"

#include "core/Interacao.h"
#include "core/ProgramState.h"
#include "store/CopiaDeRecuperacao.h"
#include "store/Dados.h"
#include "store/Table.h"

#include <QAbstractButton>
#include <QDialog>

namespace app::ui {

AplicacaoProtegida::AplicacaoProtegida(int& argc, char** argv) : QApplication(argc, argv) {}

QString AplicacaoProtegida::TextoDaFalha(const QString& detalhe)
{
    return QStringLiteral("Erro inesperado!\rConsulte suporte informando a seguinte mensagem:\r") + detalhe;
}

namespace {
// A window whose closing failed stays open: a close event is accepted until a handler says no, and
// the main window closing would end the program.
void recusaFechamento(QEvent* evento)
{
    if (evento->type() == QEvent::Close)
        evento->ignore();
}
} // namespace

bool AplicacaoProtegida::notify(QObject* destino, QEvent* evento)
{
    try {
        return QApplication::notify(destino, evento);
    } catch (const app::Abort&) {
        // The command told the user already; only what it left half done is put back.
        recusaFechamento(evento);
        falhou(nullptr);
    } catch (const std::exception& e) {
        recusaFechamento(evento);
        const QString detalhe = QString::fromUtf8(e.what());
        falhou(&detalhe);
    } catch (...) {
        recusaFechamento(evento);
        const QString detalhe = QStringLiteral("falha desconhecida");
        falhou(&detalhe);
    }
    return false;
}

void AplicacaoProtegida::falhou(const QString* detalhe)
{
    // A failure while the last one is being dealt with (in the message's own event loop) is put back
    // the same way, but said only once.
    ++m_tratando;
    try {
        const ProgramState& estado = Estado();
        if (m_tratando == 1 && detalhe && store::dadosCriados() && estado.ProjectOpen && estado.ProjectModified) {
            // Before anything else that could fail: the work since the last save is on disk.
            store::Recuperacao().espera();
            if (store::Recuperacao().grava())
                store::Recuperacao().espera();
        }
    } catch (const std::exception&) {
        // No copy this time; the project is still in memory and the user is told below.
    }
    try {
        desfaz();
    } catch (const std::exception&) {
        // Whatever could not be put back stays as it is; the user is told.
    }
    try {
        if (app::interacao().esperaAberta())
            app::FechaEspera();
        if (m_tratando == 1 && detalhe)
            app::Mensagem(TextoDaFalha(*detalhe), app::Icone::Erro);
    } catch (const std::exception&) {
    }
    --m_tratando;
}

void AplicacaoProtegida::desfaz()
{
    // A dialog's own Cancelar gives back every table it changed since it opened; one that does not
    // close by it is closed as the user would close it.
    for (int volta = 0; volta < 16; ++volta) {
        auto* dialogo = qobject_cast<QDialog*>(activeModalWidget());
        if (!dialogo || !dialogo->isVisible())
            break;
        if (auto* cancelar = dialogo->findChild<QAbstractButton*>(QStringLiteral("bmbtCancelar"));
            cancelar && cancelar->isEnabled()) {
            try {
                cancelar->click();
            } catch (const std::exception&) {
            }
        }
        if (dialogo->isVisible())
            dialogo->reject();
        if (dialogo->isVisible())
            dialogo->hide();
    }
    // An edit the failure interrupted is abandoned: the row keeps the values it had.
    if (store::dadosCriados())
        for (store::Table* t : store::dados().armazenadas())
            if (t->state() == store::Table::State::Edit || t->state() == store::Table::State::Insert)
                t->cancel();
    if (depoisDeDesfazer)
        depoisDeDesfazer();
}

} // namespace app::ui
