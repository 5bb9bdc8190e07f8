#pragma once

#include <QString>

#include <functional>
#include <memory>

class QPagedPaintDevice;
class QPaintDevice;
class QSize;
class QWidget;

// The seam between the reports and Qt's print support. What needs a printer (making one, the
// system's printer dialog, the preview window) lives in a module of its own, loaded the first time
// the user prints or previews, so that a run that never prints never maps Qt's print support library.
// The module links Qt and nothing of ours: it knows only what this header declares. A printer goes
// through the program as the paged paint device it is (a QPrinter is one).
namespace reports::impressora {

class Impressora
{
public:
    // A new printer at high resolution for the job `titulo`, of `copias` copies.
    virtual std::unique_ptr<QPagedPaintDevice> cria(const QString& titulo, int copias) = 0;
    // On a printer (EhImpressora): the job's name and copies; the paper's whole area to draw on.
    virtual void poeTrabalho(QPagedPaintDevice& impressora, const QString& titulo, int copias) = 0;
    virtual void poePaginaInteira(QPagedPaintDevice& impressora) = 0;
    // The system's printer dialog on `impressora`, owned by `dono`; true when the user chose to print.
    virtual bool escolhe(QPagedPaintDevice& impressora, bool imprimirEmArquivo, QWidget* dono) = 0;
    // The preview window of `impressora`, titled `titulo` and `tamanho` large, until the user closes it.
    // It paints the document through `pinta` whenever its settings change; when `pinta` returns false
    // the preview closes.
    virtual void mostraPrevia(QPagedPaintDevice& impressora, const QString& titulo, const QSize& tamanho,
                              QWidget* pai, const std::function<bool(QPagedPaintDevice&)>& pinta) = 0;

protected:
    ~Impressora() = default;
};

// The module's one exported symbol: a function without arguments that returns its printer support,
// which lives as long as the process.
inline constexpr char NomeDaEntrada[] = "rezozur_impressora";
using Entrada = Impressora* (*)();

// Whether a paint device is a printer, asked without Qt's print support.
bool EhImpressora(const QPaintDevice& dispositivo);

// The printer support, the module loaded on the first call (once). When the module cannot be
// loaded this throws std::runtime_error saying why, which the print commands report as any failure.
Impressora& Carregada();

} // namespace reports::impressora
