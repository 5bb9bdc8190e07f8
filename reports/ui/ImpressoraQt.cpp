// The module `rezozur_impressora`: Qt's printers, printer dialog and preview window, behind
// reports/Impressora.h.
#include "reports/Impressora.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace {

using reports::impressora::Impressora;

// Every printer the program has came from cria below, or from a preview of one of them.
QPrinter& comoImpressora(QPagedPaintDevice& dispositivo) { return static_cast<QPrinter&>(dispositivo); }

class ImpressoraQt final : public Impressora
{
public:
    std::unique_ptr<QPagedPaintDevice> cria(const QString& titulo, int copias) override
    {
        auto impressora = std::make_unique<QPrinter>(QPrinter::HighResolution);
        poeTrabalho(*impressora, titulo, copias);
        return impressora;
    }

    void poeTrabalho(QPagedPaintDevice& impressora, const QString& titulo, int copias) override
    {
        comoImpressora(impressora).setDocName(titulo);
        comoImpressora(impressora).setCopyCount(copias);
    }

    void poePaginaInteira(QPagedPaintDevice& impressora) override { comoImpressora(impressora).setFullPage(true); }

    bool escolhe(QPagedPaintDevice& impressora, bool imprimirEmArquivo, QWidget* dono) override
    {
        QPrintDialog dialogo(&comoImpressora(impressora), dono);
        dialogo.setOption(QAbstractPrintDialog::PrintToFile, imprimirEmArquivo);
        return dialogo.exec() == QDialog::Accepted;
    }

    void mostraPrevia(QPagedPaintDevice& impressora, const QString& titulo, const QSize& tamanho, QWidget* pai,
                      const std::function<bool(QPagedPaintDevice&)>& pinta) override
    {
        QPrintPreviewDialog previa(&comoImpressora(impressora), pai);
        previa.setWindowTitle(titulo);
        previa.resize(tamanho);
        QObject::connect(&previa, &QPrintPreviewDialog::paintRequested, &previa, [&](QPrinter* p) {
            if (!pinta(*p))
                QMetaObject::invokeMethod(&previa, &QDialog::reject, Qt::QueuedConnection);
        });
        previa.exec();
    }
};

} // namespace

extern "C" Q_DECL_EXPORT Impressora* rezozur_impressora()
{
    static ImpressoraQt impressora;
    return &impressora;
}
