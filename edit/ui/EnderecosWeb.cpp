#include "edit/ui/EnderecosWeb.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QSettings>
#include <QStandardPaths>

namespace edit {

QString EnderecoWeb(const QString& chave)
{
    QString arquivo = QCoreApplication::applicationDirPath() + QStringLiteral("/rezozur.ini");
    if (!QFileInfo::exists(arquivo))
        arquivo = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                  + QStringLiteral("/rezozur/rezozur.ini");
    if (!QFileInfo::exists(arquivo))
        return QString();
    QSettings s(arquivo, QSettings::IniFormat);
    return s.value(QStringLiteral("enderecos/") + chave).toString().trimmed();
}

void MostraEndereco(QLabel* rotulo, const QString& chave)
{
    if (!rotulo)
        return;
    const QString endereco = EnderecoWeb(chave);
    if (endereco.isEmpty())
        return;
    rotulo->setText(rotulo->text() + QStringLiteral(" <a href=\"%1\">%1</a>").arg(endereco.toHtmlEscaped()));
}

} // namespace edit
