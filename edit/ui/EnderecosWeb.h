#pragma once

#include <QString>

class QLabel;

namespace edit {

// The web addresses where researchers and institutions can be looked up are deployment values: they
// come from the settings file "rezozur.ini" (group "enderecos": biro, kesta), beside the program or in
// the user's configuration folder. A label whose address is not configured keeps its plain text.
QString EnderecoWeb(const QString& chave);
void MostraEndereco(QLabel* rotulo, const QString& chave);

} // namespace edit
