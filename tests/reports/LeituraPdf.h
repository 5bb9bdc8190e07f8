#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

// What a reader of a PDF sees: the text of each page as `pdftotext -layout` lays it out, and the page
// count that `pdfinfo` gives.
struct LeituraPdf {
    QStringList paginas;
    int paginasInfo = -1;
    QString titulo;

    static LeituraPdf de(const QString& arquivo)
    {
        LeituraPdf l;
        QProcess texto;
        texto.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                                  arquivo, QStringLiteral("-")});
        texto.waitForFinished(120000);
        QString tudo = QString::fromUtf8(texto.readAllStandardOutput());
        l.paginas = tudo.split(QLatin1Char('\f'));
        if (!l.paginas.isEmpty() && l.paginas.back().trimmed().isEmpty())
            l.paginas.removeLast();
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {arquivo});
        info.waitForFinished(60000);
        for (const QString& linha : QString::fromUtf8(info.readAllStandardOutput()).split(QLatin1Char('\n'))) {
            if (linha.startsWith(QLatin1String("Pages:")))
                l.paginasInfo = linha.mid(6).trimmed().toInt();
            if (linha.startsWith(QLatin1String("Title:")))
                l.titulo = linha.mid(6).trimmed();
        }
        return l;
    }

    QString tudo() const { return paginas.join(QLatin1Char('\n')); }
    // Pages (counted from 1) whose text contains `texto`.
    QList<int> paginasCom(const QString& texto) const
    {
        QList<int> r;
        for (int i = 0; i < paginas.size(); ++i)
            if (paginas[i].contains(texto))
                r << i + 1;
        return r;
    }
    // The words of the text with the line breaks and the blanks of the layout taken out.
    QString semEspacos() const
    {
        QString s = tudo();
        s.remove(QRegularExpression(QStringLiteral("\\s+")));
        return s;
    }
};
