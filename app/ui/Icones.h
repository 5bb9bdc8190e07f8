#pragma once

#include <QIcon>

namespace app::ui {

// The program's own pictures: toolbar buttons and the program icon, each size drawn when first shown.
enum class Figura { Carregar, Enviar, Abrir, Salvar, Fechar, Verificar, Imprimir, Programa };

QIcon IconeFigura(Figura figura);
QPixmap Desenho(Figura figura, int lado);

} // namespace app::ui
