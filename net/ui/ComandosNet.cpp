#include "net/ui/ComandosNet.h"

#include "net/CargaProjeto.h"
#include "net/Verificacao.h"
#include "net/ui/TWinValidate.h"
#include "net/ui/TfrmLoginReceber.h"
#include "store/ComandosProjeto.h"

#include <QPointer>

namespace net {

void CarregarClick(QWidget* pai)
{
    TfrmLoginReceber login(pai);
    login.exec();
}

QString ReparaComLogin(QWidget* pai)
{
    ServerProjectCode().clear();
    TfrmLoginReceber login(pai);
    login.usaReparo();
    login.exec();
    return ServerProjectCode();
}

void InstalaReparoComLogin(QWidget* pai)
{
    QPointer<QWidget> janela(pai);
    store::InstalaReparoDoProjeto([janela] { return ReparaComLogin(janela.data()); });
}

void MostraPendencias(QWidget* pai)
{
    TWinValidate janela(pai);
    janela.carrega(Validacao());
    janela.exec();
}

void VerificarPendenciaNaJanela(bool quiet, QWidget* pai)
{
    QPointer<QWidget> janela(pai);
    VerificarPendencia(quiet, [janela] { MostraPendencias(janela.data()); });
}

} // namespace net
