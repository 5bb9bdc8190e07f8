#pragma once

#include <QIcon>

namespace app::ui {

// The program's own pictures, drawn at start-up: toolbar buttons and the program icon.
enum class Figura { Carregar, Enviar, Abrir, Salvar, Fechar, Verificar, Imprimir, Programa };

QIcon IconeFigura(Figura figura);
QPixmap Desenho(Figura figura, int lado);

} // namespace app::ui
