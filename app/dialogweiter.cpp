// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogweiter.h"

#include "dialogtemplate.h"
#include "screenfit.h"
#include "table/textops.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTimer>
#include <cmath>

namespace filmarin {

namespace {
// The margin a text field keeps on each side of its text.
constexpr int kTextMargin = 2;
} // namespace

TDialogWeiter_Form::TDialogWeiter_Form(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("DialogWeiter_Form"));
    setWindowTitle(QStringLiteral("Pause"));
    setModal(false);
    // Set before the children are made, which take it on as they are made.
    setFont(designFont(*this));
    Label1 = new QLabel(QStringLiteral("Weiter mit:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setEditText(QStringLiteral("ComboBox1"));
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    Button2 = new QPushButton(QStringLiteral("Beenden"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &TDialogWeiter_Form::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TDialogWeiter_Form::Button2Click);
    for (QObject* watched :
         {static_cast<QObject*>(ComboBox1), static_cast<QObject*>(ComboBox1->lineEdit()),
          static_cast<QObject*>(Button1), static_cast<QObject*>(Button2)})
        watched->installEventFilter(this);
    arrange();
}

void TDialogWeiter_Form::arrange() {
    const auto s = designScale(*this);
    setFont(designFont(*this));
    setFixedSize(s(584), s(296));
    Label1->setGeometry(s(183), s(39), s(224), s(41));
    ComboBox1->setGeometry(s(183), s(92), std::max(s(238), choiceWidth()), s(44));
    Button1->setGeometry(s(79), s(183), s(184), s(67));
    Button2->setGeometry(s(301), s(183), s(185), s(67));
}

// The width at which the field shows every entry whole, up to "Ausschnitt 20": the design
// width is too narrow for it where glyphs come out wider than on the screen it was laid out
// for.
int TDialogWeiter_Form::choiceWidth() const {
    const QFontMetrics metrics(ComboBox1->font());
    int widest = 0;
    for (int n = 1; n <= kExcerptCount; ++n)
        widest = std::max(
            widest, metrics.horizontalAdvance(QStringLiteral("Ausschnitt ") + QString::number(n)));
    QStyleOptionComboBox option;
    option.initFrom(ComboBox1);
    option.editable = true;
    // The text field's own margins and the cursor behind the last letter.
    const QSize text(widest + 2 * kTextMargin + 2, metrics.height());
    return ComboBox1->style()
        ->sizeFromContents(QStyle::CT_ComboBox, &option, text, ComboBox1)
        .width();
}

void TDialogWeiter_Form::FillExcerptChoice(const ExcerptSpans& spans) {
    ComboBox1->clear();
    int i = 0;
    for (int n = 1; n <= kExcerptCount; ++n) {
        if (!spans[static_cast<std::size_t>(n - 1)].selected)
            continue;
        ComboBox1->addItem(QStringLiteral("Ausschnitt ") + QString::number(n));
        m_comboToExcerpt[static_cast<std::size_t>(i)] = n;
        m_excerptToCombo[static_cast<std::size_t>(n)] = i;
        ++i;
    }
    if (ComboBox1->count() > 0)
        ComboBox1->setCurrentIndex(0);
}

void TDialogWeiter_Form::showChoice() {
    show();
    raise();
    activateWindow();
    // Every time it appears, a remote's keys reach it without the mouse.
    Button1->setFocus(Qt::ActiveWindowFocusReason);
}

void TDialogWeiter_Form::choosePreviousEntry() {
    const int current = ComboBox1->currentIndex();
    if (current > 0)
        ComboBox1->setCurrentIndex(current - 1);
    else if (current < 0 && ComboBox1->count() > 0)
        ComboBox1->setCurrentIndex(ComboBox1->count() - 1);
}

bool TDialogWeiter_Form::remoteKey(const QKeyEvent& key) {
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    QWidget* focused = focusWidget();
    const bool inText = focused == ComboBox1->lineEdit() || focused == ComboBox1;
    const bool onButton = focused == Button1 || focused == Button2;
    switch (key.key()) {
    case Qt::Key_PageDown:
        Button1Click();
        return true;
    case Qt::Key_PageUp:
        choosePreviousEntry();
        return true;
    case Qt::Key_Right:
        if (inText)
            return false;
        Button1Click();
        return true;
    case Qt::Key_Left:
        if (inText)
            return false;
        choosePreviousEntry();
        return true;
    case Qt::Key_Space:
        // A focused button takes Space as a click, whichever it is.
        if (inText || onButton)
            return false;
        Button1Click();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A focused button is pressed; from the text, as from anywhere else, OK.
        if (onButton)
            return false;
        Button1Click();
        return true;
    case Qt::Key_B:
    case Qt::Key_Period:
        if (inText)
            return false;
        emit blackToggled();
        return true;
    default:
        return false;
    }
}

bool TDialogWeiter_Form::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && isVisible() &&
        remoteKey(*static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

void TDialogWeiter_Form::PreselectExcerpt(std::int32_t n) {
    // The first listed excerpt at or after n: after a pause that unticked excerpts follow,
    // the run goes on with the next ticked one. When none follows, every excerpt up to the
    // last one listed has been played: no entry is preselected, and OK then ends the run
    // instead of starting the showing over.
    int entry = -1;
    for (int i = 0; i < ComboBox1->count() && i < kExcerptCount; ++i) {
        if (m_comboToExcerpt[static_cast<std::size_t>(i)] >= n) {
            entry = i;
            break;
        }
    }
    ComboBox1->setCurrentIndex(entry);
}

std::optional<std::int32_t> TDialogWeiter_Form::ChosenExcerpt() const {
    // The text can be edited: it must still name an entry.
    QString typed = ComboBox1->currentText();
    trimBlanks(typed);
    int index = -1;
    for (int i = 0; i < ComboBox1->count(); ++i) {
        if (equalsIgnoreCase(typed, ComboBox1->itemText(i))) {
            index = i;
            break;
        }
    }
    if (index < 0 || index >= kExcerptCount)
        return std::nullopt;
    return m_comboToExcerpt[static_cast<std::size_t>(index)];
}

void TDialogWeiter_Form::Button1Click() {
    const std::optional<std::int32_t> chosen = ChosenExcerpt();
    if (!chosen && ComboBox1->currentIndex() < 0) {
        // Nothing is left to play and no excerpt was chosen: the showing is over.
        Button2Click();
        return;
    }
    if (!chosen) {
        // A typed text that names no excerpt: show the selected entry again and wait.
        if (ComboBox1->currentIndex() >= 0)
            ComboBox1->setEditText(ComboBox1->itemText(ComboBox1->currentIndex()));
        ComboBox1->setFocus();
        return;
    }
    emit continueWith(*chosen);
    // Set once the run has been told: the black it brings up raises this dialog, and a
    // toolkit may count that as showing it again (Qt 6.8 does), which clears the flag.
    m_continueChosen = true;
    close();
}

void TDialogWeiter_Form::Button2Click() {
    m_continueChosen = false;
    close();
}

void TDialogWeiter_Form::setVisible(bool visible) {
    // Centred on the main window, placed before it is shown: moved once shown, the window
    // manager may already have put it elsewhere.
    if (visible)
        centreOnOwner(*this);
    QDialog::setVisible(visible);
}

void TDialogWeiter_Form::showEvent(QShowEvent* event) {
    m_continueChosen = false;
    QDialog::showEvent(event);
}

void TDialogWeiter_Form::closeEvent(QCloseEvent* event) {
    event->accept();
    if (!m_continueChosen)
        emit ended();
}

void TDialogWeiter_Form::keyPressEvent(QKeyEvent* event) {
    if (pressFocusedButton(*this, *event) || remoteKey(*event))
        return;
    QDialog::keyPressEvent(event);
}

void TDialogWeiter_Form::reject() {
    // Escape closes the dialog like its close box.
    close();
}

} // namespace filmarin
