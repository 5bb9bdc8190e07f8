#pragma once

// The Qt children of bench_partida: the moment they are ready is looked for from their event loop.
#include "ProntoParaMedir.h"

#include <QTimer>

#include <functional>

namespace partida {

// Looks every millisecond, from the event loop, whether `pronto` holds yet.
inline void EsperaPronto(std::function<bool()> pronto)
{
    auto* relogio = new QTimer;
    relogio->setTimerType(Qt::PreciseTimer);
    relogio->setInterval(1);
    QObject::connect(relogio, &QTimer::timeout, [pronto = std::move(pronto)] {
        if (pronto())
            RelataPronto();
    });
    relogio->start();
}

} // namespace partida
