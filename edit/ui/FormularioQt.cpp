#include "edit/ui/FormularioQt.h"
#include "edit/ui/RealceOrtografico.h"

#include "edit/ui/CampoLineEdit.h"
#include "edit/ui/DialogoQt.h"
#include "edit/ui/EditMascarado.h"

#include "store/Table.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextEdit>

#include "edit/ui/GradeComBotoes.h"
#include "edit/ui/GradeTabela.h"

#include <QShortcut>
#include <QTabBar>

namespace edit {

namespace {

QList<QRadioButton*> opcoesDo(QWidget* grupo)
{
    return grupo ? grupo->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly) : QList<QRadioButton*>{};
}

// The name of a widget as the logic knows it: the nearest named ancestor inside the dialog (a combo
// box's inner line edit reports its box).
QString nomeDe(QWidget* w, const QWidget* dialogo)
{
    for (; w && w != dialogo; w = w->parentWidget())
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")))
            return w->objectName();
    return QString();
}

// The last widget that takes the focus before `grupo` in the dialog's focus chain, or null when none
// does. Widgets created at run time join the chain at its end; the group's own place in the chain
// (where the .ui file put it) tells where its buttons belong.
QWidget* focoAntesDe(QWidget* grupo)
{
    for (QWidget* w = grupo->previousInFocusChain(); w && w != grupo && w != grupo->window();
         w = w->previousInFocusChain())
        if (w->focusPolicy() != Qt::NoFocus && !grupo->isAncestorOf(w))
            return w;
    return nullptr;
}

// Whether Tab stops at `w` now: a field the user can reach on what is shown of the dialog.
bool ParadaDeTab(QWidget* w, QWidget* dentroDe)
{
    return (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && w->isEnabled() && w->isVisibleTo(dentroDe)
           && !qobject_cast<QTabBar*>(w) && !w->focusProxy();
}

} // namespace

FormularioQt::FormularioQt(QWidget* parent) : QDialog(parent) {}

FormularioQt::~FormularioQt()
{
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

QWidget* FormularioQt::controle(const QString& nome) const
{
    if (nome.isEmpty())
        return nullptr;
    return findChild<QWidget*>(nome);
}

int FormularioQt::indicePagina(const QString& nome) const
{
    if (!m_paginas)
        return -1;
    for (int i = 0; i < m_paginas->count(); ++i)
        if (m_paginas->widget(i)->objectName() == nome)
            return i;
    return -1;
}

void FormularioQt::instala(EdicaoEntidade& logica)
{
    m_logica = &logica;
    m_paginas = findChild<QTabWidget*>();
    if (m_paginas) {
        m_paginaAtual = m_paginas->currentIndex();
        connect(m_paginas, &QTabWidget::currentChanged, this, &FormularioQt::paginaMudou);
    }

    for (const Mascara& m : logica.mascaras())
        if (auto* e = qobject_cast<QLineEdit*>(controle(m.controle))) {
            e->setInputMask(m.mascara);
            PreparaTeclado(e);
        }

    for (const Ligacao& l : logica.ligacoes()) {
        QWidget* w = controle(l.controle);
        if (!w)
            continue;
        const QString nome = l.controle;
        if (auto* e = qobject_cast<QLineEdit*>(w)) {
            const int coluna = l.tabela->fieldIndex(l.campo);
            if (coluna >= 0 && l.tabela->field(coluna).type == store::FieldType::Text)
                e->setMaxLength(l.tabela->field(coluna).size);
            connect(e, &QLineEdit::textEdited, this, [this, nome] { usuarioMudou(nome); });
        } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
            // Long texts are spell-checked; co-author lists are names, which no dictionary holds.
            if (l.tipo == TipoControle::Memo && !l.campo.contains(QLatin1String("autores"), Qt::CaseInsensitive))
                InstalaOrtografia(p);
            connect(p, &QPlainTextEdit::textChanged, this, [this, nome] {
                if (!m_carregando)
                    usuarioMudou(nome);
            });
        } else if (auto* t = qobject_cast<QTextEdit*>(w)) {
            connect(t, &QTextEdit::textChanged, this, [this, nome] {
                if (!m_carregando)
                    usuarioMudou(nome);
            });
        } else if (auto* c = qobject_cast<QCheckBox*>(w)) {
            connect(c, &QCheckBox::clicked, this, [this, nome] { usuarioMudou(nome); });
        }
    }
    // Every list box, check box and radio button reports the user's choices, bound or not.
    for (QComboBox* c : findChildren<QComboBox*>()) {
        const QString nome = c->objectName();
        connect(c, &QComboBox::activated, this, [this, nome] { usuarioMudou(nome); });
        c->installEventFilter(this);
    }
    for (QCheckBox* c : findChildren<QCheckBox*>()) {
        if (logica.ligacao(c->objectName()))
            continue;
        const QString nome = c->objectName();
        connect(c, &QCheckBox::clicked, this, [this, nome] { usuarioMudou(nome); });
    }
    for (QPushButton* b : findChildren<QPushButton*>()) {
        b->setAutoDefault(false);
        b->setDefault(false);
        const QString nome = b->objectName();
        connect(b, &QPushButton::clicked, this, [this, nome] {
            if (m_logica)
                m_logica->clicou(nome);
        });
    }
    for (GradeTabela* g : findChildren<GradeTabela*>()) {
        const QString nome = g->objectName();
        connect(g, &GradeTabela::duploClique, this, [this, nome] {
            if (m_logica)
                m_logica->clicou(nome);
        });
    }
    connect(qApp, &QApplication::focusChanged, this, &FormularioQt::focoMudou);

    // Child lists are made after the form, so they joined the focus chain at its end, after
    // Confirmar and Cancelar; Tab reaches them where they sit.
    for (GradeComBotoes* g : findChildren<GradeComBotoes*>()) {
        QWidget* anterior = focoAntesDe(g);
        QList<QWidget*> partes{g->grade()};
        if (g->painel())
            for (QPushButton* b : g->painel()->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
                partes << b;
        for (QWidget* w : partes) {
            if (!w)
                continue;
            if (anterior)
                QWidget::setTabOrder(anterior, w);
            anterior = w;
        }
    }
    for (QRadioButton* r : findChildren<QRadioButton*>())
        r->installEventFilter(this);
    if (m_paginas) {
        // The page keys of every tab widget, wherever the focus is in the dialog (a memo or a grid
        // would keep Ctrl+Tab and Ctrl+PgDn for itself).
        const auto atalho = [this](QKeyCombination tecla, int passo) {
            auto* a = new QShortcut(QKeySequence(tecla), this);
            connect(a, &QShortcut::activated, this, [this, passo] { andaPaginas(passo); });
        };
        atalho(Qt::CTRL | Qt::Key_Tab, 1);
        atalho(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab, -1);
        atalho(Qt::CTRL | Qt::Key_PageDown, 1);
        atalho(Qt::CTRL | Qt::Key_PageUp, -1);
    }

    logica.cria();
    // Radio groups get their buttons after the lists are in (a file may replace them).
    for (const Ligacao& l : logica.ligacoes())
        if (l.tipo == TipoControle::Opcoes)
            for (QRadioButton* r : opcoesDo(controle(l.controle))) {
                const QString nome = l.controle;
                connect(r, &QRadioButton::clicked, this, [this, nome] { usuarioMudou(nome); });
            }
}

void FormularioQt::alinhaRotulos(const QList<QGridLayout*>& grades)
{
    int largura = 0;
    for (QGridLayout* g : grades)
        for (int r = 0; r < g->rowCount(); ++r)
            if (QLayoutItem* i = g->itemAtPosition(r, 0); i && qobject_cast<QLabel*>(i->widget()))
                largura = qMax(largura, i->sizeHint().width());
    for (QGridLayout* g : grades)
        g->setColumnMinimumWidth(0, largura);
}

void FormularioQt::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!m_mostrado && m_logica) {
        m_mostrado = true;
        m_logica->mostra();
        // The first keys the user types go into a field, not to the tab bar (drawn without a mark).
        focaPrimeiroCampo(false);
    }
}

void FormularioQt::focaPrimeiroCampo(bool sempre)
{
    QWidget* raiz = m_paginas && m_paginas->currentWidget() ? m_paginas->currentWidget() : this;
    QWidget* atual = focusWidget();
    if (!sempre && atual && atual != raiz && raiz->isAncestorOf(atual) && ParadaDeTab(atual, this))
        return;  // the logic put it somewhere already
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain())
        if (raiz->isAncestorOf(w) && ParadaDeTab(w, this)) {
            m_verificando = true;
            w->setFocus(Qt::TabFocusReason);
            m_verificando = false;
            return;
        }
}

void FormularioQt::andaPaginas(int passo)
{
    const int n = m_paginas->count();
    int i = m_paginas->currentIndex();
    for (int k = 1; k < n; ++k) {
        const int j = ((i + passo * k) % n + n) % n;
        if (m_paginas->isTabEnabled(j) && m_paginas->isTabVisible(j)) {
            m_paginas->setCurrentIndex(j);
            if (m_paginas->currentIndex() == j)  // the logic may keep the user where he is
                focaPrimeiroCampo(true);
            return;
        }
    }
}

// Arrow keys move the choice within a radio group, in its items' order, as in any desktop program;
// Qt alone moves only the focus while nothing is chosen yet.
bool FormularioQt::moveOpcao(QRadioButton* r, int tecla)
{
    const QList<QRadioButton*> opcoes = opcoesDo(r->parentWidget());
    const int passo = (tecla == Qt::Key_Up || tecla == Qt::Key_Left) ? -1 : 1;
    for (int j = int(opcoes.indexOf(r)) + passo; j >= 0 && j < opcoes.size(); j += passo)
        if (opcoes[j]->isEnabled() && opcoes[j]->isVisibleTo(this)) {
            opcoes[j]->setFocus(passo < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
            if (!opcoes[j]->isChecked())
                opcoes[j]->click();
            return true;
        }
    return true;  // at either end the choice stays
}

void FormularioQt::reject()
{
    if (m_fechandoPorLogica || !m_logica) {
        QDialog::reject();
        return;
    }
    if (m_logica->fechando())
        QDialog::reject();
}

void FormularioQt::fecha(Resultado resultado)
{
    m_fechandoPorLogica = true;
    done(resultado == Resultado::Ok ? QDialog::Accepted : QDialog::Rejected);
    m_fechandoPorLogica = false;
}

bool FormularioQt::eventFilter(QObject* objeto, QEvent* evento)
{
    if (evento->type() == QEvent::KeyPress)
        if (auto* r = qobject_cast<QRadioButton*>(objeto); r && r->autoExclusive() && !r->group()) {
            const auto* k = static_cast<QKeyEvent*>(evento);
            const int t = k->key();
            if ((t == Qt::Key_Up || t == Qt::Key_Down || t == Qt::Key_Left || t == Qt::Key_Right)
                && k->modifiers() == Qt::NoModifier)
                return moveOpcao(r, t);
        }
    if (evento->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(evento)->key() == Qt::Key_Backspace)
        if (auto* c = qobject_cast<QComboBox*>(objeto); c && m_logica) {
            m_logica->apagou(c->objectName());
            return true;
        }
    return QDialog::eventFilter(objeto, evento);
}

void FormularioQt::usuarioMudou(const QString& nome)
{
    if (m_carregando || !m_logica)
        return;
    if (const Ligacao* l = m_logica->ligacao(nome))
        escreve(*l);
    m_logica->mudou(nome);
}

void FormularioQt::focoMudou(QWidget* antigo, QWidget* novo)
{
    // Only moves inside this dialog count as exits: a message box or another window taking the focus
    // is not the user leaving the field.
    if (!m_logica || m_verificando || !isVisible() || !antigo || !novo || novo->window() != this
        || antigo->window() != this)
        return;
    const QString de = nomeDe(antigo, this);
    const QString para = nomeDe(novo, this);
    if (de.isEmpty() || de == para)
        return;
    m_verificando = true;
    m_logica->saiu(de, para);
    m_verificando = false;
}

void FormularioQt::paginaMudou(int indice)
{
    if (m_trocandoPorPrograma || !m_logica) {
        m_paginaAtual = indice;
        return;
    }
    const QString de = m_paginas->widget(m_paginaAtual) ? m_paginas->widget(m_paginaAtual)->objectName() : QString();
    const QString para = m_paginas->widget(indice)->objectName();
    const int anterior = m_paginaAtual;
    m_paginaAtual = indice;
    if (!m_logica->trocandoPagina(de, para) && m_paginaAtual == indice) {
        m_trocandoPorPrograma = true;
        m_paginas->setCurrentIndex(anterior);
        m_paginaAtual = anterior;
        m_trocandoPorPrograma = false;
    }
}

// ---- bound controls ----

void FormularioQt::carrega(const Ligacao& l)
{
    QWidget* w = controle(l.controle);
    if (!w)
        return;
    const QString v = l.tabela->value(l.campo);
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        if (e->text() != v) {
            e->setText(v);
            // A value longer than its box is read from its start (a field being typed in keeps its cursor).
            if (!e->hasFocus())
                e->setCursorPosition(0);
        }
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
        if (p->toPlainText() != v)
            p->setPlainText(v);
    } else if (auto* t = qobject_cast<QTextEdit*>(w)) {
        if (t->toPlainText() != v)
            t->setPlainText(v);
    } else if (auto* c = qobject_cast<QComboBox*>(w)) {
        int i = c->findText(v);
        // A value from the server that the list does not hold is still shown rather than hidden.
        if (i < 0 && !v.isEmpty()) {
            c->addItem(v);
            i = c->findText(v);
        }
        c->setCurrentIndex(i);
    } else if (auto* k = qobject_cast<QCheckBox*>(w)) {
        k->setChecked(!l.valores.isEmpty() && v == l.valores.at(0));
    } else if (l.tipo == TipoControle::Opcoes) {
        const QList<QRadioButton*> opcoes = opcoesDo(w);
        const int i = int(l.valores.indexOf(v));
        for (int j = 0; j < opcoes.size(); ++j) {
            opcoes[j]->setAutoExclusive(false);
            opcoes[j]->setChecked(j == i);
            opcoes[j]->setAutoExclusive(true);
        }
    }
}

void FormularioQt::escreve(const Ligacao& l)
{
    QWidget* w = controle(l.controle);
    if (!w)
        return;
    QString v;
    if (auto* e = qobject_cast<QLineEdit*>(w))
        v = e->text();
    else if (auto* p = qobject_cast<QPlainTextEdit*>(w))
        v = p->toPlainText();
    else if (auto* te = qobject_cast<QTextEdit*>(w))
        v = te->toPlainText();
    else if (auto* c = qobject_cast<QComboBox*>(w))
        v = c->currentText();
    else if (auto* k = qobject_cast<QCheckBox*>(w))
        v = l.valores.value(k->isChecked() ? 0 : 1);
    else if (l.tipo == TipoControle::Opcoes) {
        const QList<QRadioButton*> opcoes = opcoesDo(w);
        for (int j = 0; j < opcoes.size(); ++j)
            if (opcoes[j]->isChecked())
                v = l.valores.value(j);
    }
    if (!m_logica->usuarioEscreveu(l, v)) {
        m_carregando = true;
        carrega(l);
        m_carregando = false;
    }
}

void FormularioQt::mostraRegistro()
{
    if (!m_logica)
        return;
    m_carregando = true;
    for (const Ligacao& l : m_logica->ligacoes())
        carrega(l);
    m_carregando = false;
}

// ---- Formulario ----

int FormularioQt::modo() const { return TagDoDialogo(this); }

QString FormularioQt::valor(const QString& nome) const
{
    if (m_logica)
        if (const Ligacao* l = m_logica->ligacao(nome))
            return l->tabela->value(l->campo);
    QWidget* w = controle(nome);
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return CampoLineEdit(e).texto();
    if (auto* p = qobject_cast<QPlainTextEdit*>(w))
        return p->toPlainText();
    if (auto* c = qobject_cast<QComboBox*>(w))
        return c->currentText();
    if (auto* k = qobject_cast<QCheckBox*>(w))
        return k->isChecked() ? QStringLiteral("S") : QStringLiteral("N");
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return b->text();
    if (auto* lb = qobject_cast<QLabel*>(w))
        return lb->text();
    return QString();
}

void FormularioQt::defineValor(const QString& nome, const QString& v)
{
    if (m_logica)
        if (const Ligacao* l = m_logica->ligacao(nome)) {
            l->tabela->setValue(l->campo, v);
            m_carregando = true;
            carrega(*l);
            m_carregando = false;
            return;
        }
    QWidget* w = controle(nome);
    m_carregando = true;
    if (auto* e = qobject_cast<QLineEdit*>(w))
        CampoLineEdit(e).defineTexto(v);
    else if (auto* p = qobject_cast<QPlainTextEdit*>(w))
        p->setPlainText(v);
    else if (auto* c = qobject_cast<QComboBox*>(w))
        c->setCurrentIndex(c->findText(v));
    else if (auto* b = qobject_cast<QAbstractButton*>(w))
        b->setText(v);
    else if (auto* lb = qobject_cast<QLabel*>(w))
        lb->setText(v);
    m_carregando = false;
}

int FormularioQt::tamanhoMaximo(const QString& nome) const
{
    if (auto* e = qobject_cast<QLineEdit*>(controle(nome)))
        return CampoLineEdit(e).tamanhoMaximo();
    return 32767;
}

bool FormularioQt::marcado(const QString& nome) const
{
    auto* b = qobject_cast<QAbstractButton*>(controle(nome));
    return b && b->isChecked();
}

void FormularioQt::marca(const QString& nome, bool sim)
{
    if (auto* b = qobject_cast<QAbstractButton*>(controle(nome))) {
        m_carregando = true;
        b->setChecked(sim);
        m_carregando = false;
    }
}

bool FormularioQt::habilitado(const QString& nome) const
{
    const int i = indicePagina(nome);
    if (i >= 0)
        return m_paginas->isTabEnabled(i);
    QWidget* w = controle(nome);
    return w && w->isEnabled();
}

void FormularioQt::habilita(const QString& nome, bool sim)
{
    const int i = indicePagina(nome);
    if (i >= 0) {
        m_paginas->setTabEnabled(i, sim);
        return;
    }
    if (QWidget* w = controle(nome))
        w->setEnabled(sim);
}

void FormularioQt::protege(const QString& nome, const QString& motivo)
{
    QWidget* w = controle(nome);
    if (!w)
        return;
    w->setEnabled(false);
    w->setToolTip(motivo);
    // Greyed as the button face, so the protection reads at a glance.
    w->setStyleSheet(QStringLiteral("background-color: palette(button); color: gray;"));
    if (auto* nota = findChild<QLabel*>(QStringLiteral("lbProtecao"))) {
        nota->setText(motivo);
        nota->setVisible(true);
    }
}

QString FormularioQt::foco() const
{
    QWidget* w = QApplication::focusWidget();
    return w && w->window() == this ? nomeDe(w, this) : QString();
}

void FormularioQt::foca(const QString& nome)
{
    if (QWidget* w = controle(nome)) {
        const int i = m_paginas ? [&] {
            for (int p = 0; p < m_paginas->count(); ++p)
                if (m_paginas->widget(p)->isAncestorOf(w))
                    return p;
            return -1;
        }()
                                : -1;
        if (i >= 0 && i != m_paginas->currentIndex()) {
            m_trocandoPorPrograma = true;
            m_paginas->setCurrentIndex(i);
            m_trocandoPorPrograma = false;
        }
        m_verificando = true;  // moving the focus by program is not the user leaving a field
        w->setFocus(Qt::OtherFocusReason);
        m_verificando = false;
    }
}

QString FormularioQt::pagina() const
{
    return m_paginas && m_paginas->currentWidget() ? m_paginas->currentWidget()->objectName() : QString();
}

void FormularioQt::mostraPagina(const QString& nome)
{
    const int i = indicePagina(nome);
    if (i < 0)
        return;
    m_trocandoPorPrograma = true;
    m_paginas->setCurrentIndex(i);
    m_paginaAtual = i;
    m_trocandoPorPrograma = false;
}

QStringList FormularioQt::itens(const QString& nome) const
{
    QStringList r;
    QWidget* w = controle(nome);
    if (auto* c = qobject_cast<QComboBox*>(w)) {
        for (int i = 0; i < c->count(); ++i)
            r << c->itemText(i);
    } else {
        for (QRadioButton* o : opcoesDo(w))
            r << o->text();
    }
    return r;
}

void FormularioQt::defineItens(const QString& nome, const QStringList& itens)
{
    QWidget* w = controle(nome);
    m_carregando = true;
    if (auto* c = qobject_cast<QComboBox*>(w)) {
        c->clear();
        c->addItems(itens);
        c->setCurrentIndex(-1);
    } else if (w) {
        // A radio group: its buttons are replaced by one per item.
        const QList<QRadioButton*> velhas = opcoesDo(w);
        for (QRadioButton* r : velhas)
            delete r;
        // Tab reaches the new buttons where the group sits, not after the dialog's buttons.
        QWidget* anterior = focoAntesDe(w);
        for (int i = 0; i < itens.size(); ++i) {
            auto* r = new QRadioButton(itens.at(i), w);
            r->setObjectName(nome + QString::number(i));
            r->installEventFilter(this);
            if (w->layout())
                w->layout()->addWidget(r);
            if (anterior)
                QWidget::setTabOrder(anterior, r);
            anterior = r;
        }
    }
    m_carregando = false;
}

void FormularioQt::defineTitulo(const QString& titulo) { setWindowTitle(titulo); }

} // namespace edit
