#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace servidor {

// Faults that tests switch on while the server runs, per procedure and per request count.
enum class TipoFalha {
    Html,          // an HTML error page instead of data (the client's -3)
    Internal,      // a text starting "INTERNAL" (the client's -4)
    Corte,         // the reply breaks off halfway: headers announce the whole body, half of it comes
    Demora,        // the reply waits longer than the client's time-out
    Lixo,          // bytes that are no reply form at all
    LinhasAMenos,  // the reply's last line is left out (fewer answers than records)
    Fecha,         // the connection closes without any reply
    Pausa,         // the request, read whole, waits unapplied until the test lets it go (or drops it)
    Gateway,       // applied, then a proxy's "504 Gateway Time-out" page instead of the reply
};

std::optional<TipoFalha> TipoFalhaDeNome(const QString& nome);
QString NomeDaFalha(TipoFalha tipo);

struct Falha {
    QString procedimento;  // last part of the path, compared without regard to case; "*" for any
    TipoFalha tipo = TipoFalha::Html;
    int depois = 0;        // matching requests served normally first
    int vezes = 1;         // faulty replies after those; 0: every one
    int segundos = 0;      // Demora: how long; 0 takes the default
    int vistos = 0;
    int aplicadas = 0;
};

class Falhas {
public:
    void adiciona(Falha falha);
    void limpa();
    // Counts the request against every matching fault and returns the one to apply, if any.
    std::optional<Falha> consulta(const QString& procedimento);

private:
    std::vector<Falha> m_falhas;
};

} // namespace servidor
