#pragma once

#include "reports/Relatorio.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class QPagedPaintDevice;

namespace store {
class Dados;
}

namespace reports {

// The folders ("Pastas") of the project that the user ticks, in the order of the check boxes.
enum class Pasta { DadosGerais, Instituicoes, Equipe, Resultados, Apoios, RecursosAdquiridos, Orcamento, Avaliacao };

QList<Pasta> TodasAsPastas();
// The command-line names: "dados-gerais", "instituicoes", "equipe", "resultados", "apoios",
// "recursos-adquiridos", "orcamento", "avaliacao".
QString NomeDaPasta(Pasta pasta);
// Reads a comma-separated list of those names; false (with the unknown name) on a name it does not know.
bool LePastas(const QString& lista, QList<Pasta>& pastas, QString& desconhecida);

// The report definitions of a folder, in document order.
QStringList RelatoriosDaPasta(Pasta pasta);

// Several reports printed one after another as one document under one print job.
class Composto
{
public:
    QString titulo = QStringLiteral("VURAROZ Iva-Vora");
    int copias = 1;
    std::vector<std::unique_ptr<Relatorio>> relatorios;
    // Sees every text printed, in order, with its page.
    std::function<void(const QString& texto, int pagina)> aoImprimirTexto;

    // Prints every report onto the device (a QPrinter, a QPdfWriter or the preview's printer);
    // returns the number of pages. The project's tables, their filters, orders and current rows and
    // the modified flag are as they were afterwards, also after a failure.
    int imprime(QPagedPaintDevice& dispositivo);
};

// The reports of the cover and of the ticked folders, in document order (cover, general data,
// institutions, team, results, supports, acquired resources, budget, evaluation), each with the
// page length of 279.4 mm. Reports with nothing to add leave themselves out.
std::vector<std::unique_ptr<Relatorio>> CriaRelatorios(const QList<Pasta>& marcadas, store::Dados& dados);

// The file name, without folder, of the open project: the title of the print job.
QString TituloDoTrabalho();

// Writes the document of the ticked folders to a PDF file; returns the number of pages. Throws on failure.
int GravaPdf(const QString& arquivo, const QList<Pasta>& pastas, store::Dados& dados);

} // namespace reports
