#pragma once

// The Qt children of bench_partida: the moments they reach are looked for from their event loop.
#include "ProntoParaMedir.h"

#include <QTimer>

#include <functional>

namespace partida {

// Looks from the event loop whether `mostrada` holds yet (the main window is shown), at every turn of
// the loop, then every millisecond whether `pronto` holds; says "janela ..." at the first and
// "pronto ..." at the second, and ends there. Both may hold on the same turn.
inline void EsperaPronto(std::function<bool()> mostrada, std::function<bool()> pronto)
{
    auto* relogio = new QTimer;
    relogio->setTimerType(Qt::PreciseTimer);
    relogio->setInterval(0);
    QObject::connect(relogio, &QTimer::timeout,
                     [relogio, mostrada = std::move(mostrada), pronto = std::move(pronto), visto = false]() mutable {
                         if (!visto && mostrada()) {
                             visto = true;
                             RelataMomento("janela");
                             relogio->setInterval(1);
                         }
                         if (visto && pronto())
                             RelataPronto();
                     });
    relogio->start();
}

} // namespace partida
