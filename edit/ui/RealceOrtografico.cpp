#include "edit/ui/RealceOrtografico.h"

#include "core/ProgramState.h"
#include "edit/Ortografia.h"

#include <QMenu>
#include <QPlainTextEdit>
#include <QTextBlock>

namespace edit {

namespace {

const QString TextoIndisponivel = QStringLiteral("Verificação ortográfica indisponível: ");

void AvisaSeIndisponivel(Ortografia& o)
{
    if (o.avisaIndisponivel())
        app::SetStatusText(2, TextoIndisponivel + o.motivo());
}

// The misspelled word at a position of the memo's text, with its block; false when there is none.
bool PalavraErrada(QPlainTextEdit* memo, Ortografia& o, const QPoint& pos, QTextBlock& bloco, PalavraNoTexto& palavra)
{
    const QTextCursor c = memo->cursorForPosition(pos);
    bloco = c.block();
    const int onde = c.position() - bloco.position();
    const QString texto = bloco.text();
    for (const PalavraNoTexto& p : PalavrasDoTexto(texto))
        if (onde >= p.inicio && onde <= p.inicio + p.tamanho) {
            palavra = p;
            return !o.correta(texto.mid(p.inicio, p.tamanho));
        }
    return false;
}

} // namespace

RealceOrtografico::RealceOrtografico(QTextDocument* documento, Ortografia& ortografia)
    : QSyntaxHighlighter(documento), m_ortografia(ortografia)
{
    // What was shown before the dictionary was in, or before a word was added, is looked at again.
    connect(&m_ortografia, &Ortografia::pronta, this, &RealceOrtografico::revisaTudo);
    connect(&m_ortografia, &Ortografia::mudou, this, &RealceOrtografico::revisaTudo);
}

void RealceOrtografico::revisaTudo()
{
    if (!document())
        return;
    // The layout is told of the new underline directly, not through these signals: it still redraws.
    const QSignalBlocker silencio(document());
    rehighlight();
}

QTextCharFormat RealceOrtografico::Formato()
{
    QTextCharFormat f;
    // A wavy red line whatever the platform's style makes of "spell-check underline".
    f.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    f.setUnderlineColor(QColor(220, 0, 0));
    return f;
}

void RealceOrtografico::highlightBlock(const QString& texto)
{
    if (!m_ortografia.disponivel())
        return;
    static const QTextCharFormat formato = Formato();
    for (const PalavraNoTexto& p : PalavrasDoTexto(texto))
        if (!m_ortografia.correta(texto.mid(p.inicio, p.tamanho)))
            setFormat(p.inicio, p.tamanho, formato);
}

QMenu* MenuOrtografico(QPlainTextEdit* memo, const QPoint& pos)
{
    QMenu* menu = memo->createStandardContextMenu(pos);
    auto* realce = memo->document()->findChild<RealceOrtografico*>();
    if (!realce || memo->isReadOnly() || !realce->ortografia().disponivel())
        return menu;
    Ortografia& o = realce->ortografia();
    QTextBlock bloco;
    PalavraNoTexto p;
    if (!PalavraErrada(memo, o, pos, bloco, p))
        return menu;
    const QString palavra = bloco.text().mid(p.inicio, p.tamanho);
    QAction* antes = menu->actions().value(0);
    const QStringList sugestoes = o.sugestoes(palavra);
    const QPointer<QPlainTextEdit> alvo = memo;
    const int inicio = bloco.position() + p.inicio;
    for (const QString& s : sugestoes) {
        auto* a = new QAction(s, menu);
        QFont f = a->font();
        f.setBold(true);
        a->setFont(f);
        QObject::connect(a, &QAction::triggered, memo, [alvo, inicio, palavra, s] {
            if (!alvo)
                return;
            QTextCursor c(alvo->document());
            c.setPosition(inicio);
            c.setPosition(inicio + int(palavra.size()), QTextCursor::KeepAnchor);
            // Only the word as it was when the menu opened is replaced.
            if (c.selectedText() != palavra)
                return;
            c.insertText(s);
            alvo->setTextCursor(c);
        });
        menu->insertAction(antes, a);
    }
    if (sugestoes.isEmpty()) {
        auto* nada = new QAction(QStringLiteral("(sem sugestões)"), menu);
        nada->setEnabled(false);
        menu->insertAction(antes, nada);
    }
    auto* adiciona = new QAction(QStringLiteral("Adicionar ao dicionário"), menu);
    adiciona->setObjectName(QStringLiteral("acAdicionarAoDicionario"));
    QObject::connect(adiciona, &QAction::triggered, &o, [&o, palavra] { o.adiciona(palavra); });
    menu->insertAction(antes, adiciona);
    menu->insertSeparator(antes);
    return menu;
}

namespace {

// The dictionary takes a second of a processor to read: it is read when the user first enters a memo
// or asks for its menu, not for every memo a window makes.
class LeituraAoEntrar final : public QObject
{
public:
    LeituraAoEntrar(Ortografia& o, QObject* pai) : QObject(pai), m_ortografia(o) {}

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override
    {
        if (evento->type() == QEvent::FocusIn)
            m_ortografia.comecaLeitura();
        return QObject::eventFilter(objeto, evento);
    }

private:
    Ortografia& m_ortografia;
};

} // namespace

RealceOrtografico* InstalaOrtografia(QPlainTextEdit* memo, Ortografia* ortografia)
{
    if (!memo)
        return nullptr;
    Ortografia& o = ortografia ? *ortografia : Ortografia::DoPrograma();
    auto* realce = new RealceOrtografico(memo->document(), o);
    AvisaSeIndisponivel(o);
    QObject::connect(&o, &Ortografia::pronta, memo, [&o] { AvisaSeIndisponivel(o); });
    memo->setContextMenuPolicy(Qt::CustomContextMenu);
    memo->installEventFilter(new LeituraAoEntrar(o, memo));
    QObject::connect(memo, &QWidget::customContextMenuRequested, memo, [memo, &o](const QPoint& pos) {
        o.comecaLeitura();
        QMenu* menu = MenuOrtografico(memo, pos);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(memo->viewport()->mapToGlobal(pos));
    });
    return realce;
}

} // namespace edit
