// SPDX-License-Identifier: GPL-3.0-or-later
#include "laufwerk_oeffnen.h"

#include "dialogtemplate.h"
#include "screenfit.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHeaderView>
#include <QHideEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QTreeWidget>
#include <cmath>

namespace filmarin {

namespace {

constexpr int kKeyRole = Qt::UserRole;
constexpr int kKindRole = Qt::UserRole + 1;
constexpr int kCaptionRole = Qt::UserRole + 2;
constexpr int kReadyRole = Qt::UserRole + 3;
// How long OK waits for a drive to tell what disc it holds.
constexpr std::chrono::seconds kContentDeadline{10};

} // namespace

TDVD_CD_oeffnen::TDVD_CD_oeffnen(QWidget* mainWindow, std::shared_ptr<DriveQuestions> questions,
                                 MessageSink& messages)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_messages(messages), m_questions(std::move(questions)) {
    setObjectName(QStringLiteral("DVD_CD_oeffnen"));
    setWindowTitle(QStringLiteral("Video-DVD/CD öffnen"));
    setModal(false);
    // Set before the children are made, which take it on as they are made.
    setFont(designFont(*this));
    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setColumnCount(4);
    ListView1->setHeaderLabels({QStringLiteral("Laufwerk"), QStringLiteral("Typ"),
                                QStringLiteral("Titel"), QStringLiteral("Status")});
    ListView1->setRootIsDecorated(false);
    ListView1->setItemsExpandable(false);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setSortingEnabled(false);
    ListView1->setAllColumnsShowFocus(true);
    // The selection stays visible when the list loses the focus.
    QPalette palette = ListView1->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    ListView1->setPalette(palette);
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Button1 = new QPushButton(QStringLiteral("OK"), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(250);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(250);
    connect(Timer1, &QTimer::timeout, this, &TDVD_CD_oeffnen::Timer1Timer);
    connect(Timer2, &QTimer::timeout, this, &TDVD_CD_oeffnen::Timer2Timer);
    connect(Button1, &QPushButton::clicked, this, &TDVD_CD_oeffnen::Button1Click);
    // The deadline of OK's look into a drive; the drive's answer, when it comes first, is
    // posted as a call.
    m_checkTimer = new QTimer(this);
    m_checkTimer->setSingleShot(true);
    m_checkTimer->setTimerType(Qt::PreciseTimer);
    connect(m_checkTimer, &QTimer::timeout, this, &TDVD_CD_oeffnen::checkContent);
    // The row whose selection changed last, selected or not.
    connect(ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected, const QItemSelection& deselected) {
                for (const QItemSelection* change : {&deselected, &selected}) {
                    for (const QModelIndex& index : change->indexes()) {
                        if (index.column() == 0)
                            m_state.currentRow = index.row();
                    }
                }
            });
    // Each survey is handed to the window's thread, which brings the rows in line with it.
    m_watcher = std::make_unique<DriveWatcher>(m_questions, [this](const DriveSurvey& s) {
        QMetaObject::invokeMethod(
            this, [this, s] { takeSurvey(s); }, Qt::QueuedConnection);
    });
    arrange();
    FormCreate();
}

TDVD_CD_oeffnen::~TDVD_CD_oeffnen() {
    // No survey or answer may arrive while the window is being taken apart.
    m_watcher.reset();
    cancelCheck();
}

void TDVD_CD_oeffnen::arrange() {
    const auto s = designScale(*this);
    setFont(designFont(*this));
    ListView1->setGeometry(0, 0, s(1324), s(656));
    ListView1->setColumnWidth(0, s(164));
    ListView1->setColumnWidth(1, s(327));
    ListView1->setColumnWidth(2, s(573));
    ListView1->setColumnWidth(3, s(245));
    Panel1->setGeometry(0, s(655), s(1324), s(145));
    Button1->setGeometry(s(537), s(26), s(289), s(107));
    // The window fits its contents.
    setFixedSize(s(1324), s(655) + s(145));
}

void TDVD_CD_oeffnen::FormCreate() {
    m_state.chosenDrive.clear();
    m_state.chosenKind = SourceKind::None;
    Timer1->stop();
    Timer2->stop();
    // Start-up does not wait for the drives: the rows come with the first survey, and the
    // first disc drive is preselected then.
    m_watcher->request();
    Timer1->start();
}

void TDVD_CD_oeffnen::takeSurvey(const DriveSurvey& survey) {
    applyDriveSurvey(*this, survey, m_state);
    if (!m_preselected) {
        m_preselected = true;
        autoSelectDisc(*this, m_state);
    }
}

void TDVD_CD_oeffnen::Timer1Timer() {
    Timer1->stop();
    m_watcher->request();
    Timer2->start();
}

void TDVD_CD_oeffnen::Timer2Timer() {
    Timer2->stop();
    Timer1->start();
}

void TDVD_CD_oeffnen::Button1Click() {
    if (m_check)
        return; // OK is already looking into a drive
    m_state.chosenDrive.clear();
    m_state.chosenKey.clear();
    m_state.chosenKind = SourceKind::None;
    Timer1->stop();
    Timer2->stop();
    if (checkDriveReady(*this, m_state, m_messages)) {
        // The drive is looked into on its own thread; the window goes on meanwhile, and the
        // answer is awaited without a loop of its own. A disc that is spinning up has time.
        m_check = startContentCheck(*m_questions, *this, m_state, kContentDeadline);
        if (m_check) {
            Button1->setEnabled(false);
            m_checkTimer->start(kContentDeadline);
            m_check->answer->whenAnswered([this] {
                QMetaObject::invokeMethod(this, &TDVD_CD_oeffnen::checkContent,
                                          Qt::QueuedConnection);
            });
            return;
        }
    }
    Timer1->start();
}

void TDVD_CD_oeffnen::checkContent() {
    if (!m_check)
        return;
    const ContentCheck check = *m_check;
    // A message below is posted, modal to the program: no second OK starts while it shows.
    const auto now = std::chrono::steady_clock::now();
    const std::optional<SourceKind> kind = finishContentCheck(check, m_messages, now);
    if (!kind) {
        m_checkTimer->start(std::chrono::ceil<std::chrono::milliseconds>(check.until - now));
        return;
    }
    cancelCheck();
    if (*kind == SourceKind::None) {
        // The refresh cycle runs again once the user has read why.
        m_messages.afterPosted([self = QPointer<TDVD_CD_oeffnen>(this)] {
            if (self && self->isVisible())
                self->Timer1->start();
        });
        return;
    }
    m_state.chosenKind = *kind;
    m_state.chosenDrive = check.drive;
    m_state.chosenKey = check.key;
    emit discChosen(m_state.chosenDrive, m_state.chosenKind);
    close();
}

void TDVD_CD_oeffnen::cancelCheck() {
    m_checkTimer->stop();
    if (m_check) {
        m_check->answer->whenAnswered({});
        m_check.reset();
    }
    Button1->setEnabled(true);
}

void TDVD_CD_oeffnen::closeEvent(QCloseEvent* event) {
    cancelCheck();
    Timer1->stop();
    Timer2->stop();
    event->accept();
    emit closed();
}

void TDVD_CD_oeffnen::showEvent(QShowEvent* event) {
    // The rows are current whenever they can be seen.
    if (!Timer1->isActive() && !Timer2->isActive() && !m_check) {
        m_watcher->request();
        Timer1->start();
    }
    QDialog::showEvent(event);
}

void TDVD_CD_oeffnen::hideEvent(QHideEvent* event) {
    // However the program hides the browser, a look into a drive still running changes
    // nothing. (The system hides it with a minimised main window; that is no end.)
    if (!event->spontaneous())
        cancelCheck();
    QDialog::hideEvent(event);
}

void TDVD_CD_oeffnen::keyPressEvent(QKeyEvent* event) {
    if (!pressFocusedButton(*this, *event))
        QDialog::keyPressEvent(event);
}

void TDVD_CD_oeffnen::reject() {
    close();
}

void TDVD_CD_oeffnen::setVisible(bool visible) {
    // Centred on the screen, placed before it is shown.
    if (visible && screen())
        placeFrame(*this, screen()->availableGeometry(), ownerFrame(*this));
    QDialog::setVisible(visible);
}

int TDVD_CD_oeffnen::rowCount() const {
    return ListView1->topLevelItemCount();
}

QString TDVD_CD_oeffnen::key(int row) const {
    return ListView1->topLevelItem(row)->data(0, kKeyRole).toString();
}

QString TDVD_CD_oeffnen::caption(int row) const {
    return ListView1->topLevelItem(row)->data(0, kCaptionRole).toString();
}

void TDVD_CD_oeffnen::setCaption(int row, const QString& text) {
    ListView1->topLevelItem(row)->setData(0, kCaptionRole, text);
    showDriveNames();
}

// A long mount point does not fit the "Laufwerk" column: the column shows a short name
// and the tooltip the whole caption.
void TDVD_CD_oeffnen::showDriveNames() {
    QStringList captions;
    for (int row = 0; row < rowCount(); ++row)
        captions << caption(row);
    const QStringList shown = shownDriveNames(captions);
    for (int row = 0; row < rowCount(); ++row) {
        QTreeWidgetItem* item = ListView1->topLevelItem(row);
        if (item->text(0) != shown[row])
            item->setText(0, shown[row]);
        item->setToolTip(0, captions[row]);
    }
}

DriveKind TDVD_CD_oeffnen::kind(int row) const {
    return static_cast<DriveKind>(ListView1->topLevelItem(row)->data(0, kKindRole).toInt());
}

bool TDVD_CD_oeffnen::ready(int row) const {
    return ListView1->topLevelItem(row)->data(0, kReadyRole).toBool();
}

void TDVD_CD_oeffnen::setFacts(int row, DriveKind driveKind, bool driveReady) {
    QTreeWidgetItem* item = ListView1->topLevelItem(row);
    item->setData(0, kKindRole, static_cast<int>(driveKind));
    item->setData(0, kReadyRole, driveReady);
}

QString TDVD_CD_oeffnen::cell(int row, int subItem) const {
    return ListView1->topLevelItem(row)->text(subItem + 1);
}

void TDVD_CD_oeffnen::setCell(int row, int subItem, const QString& text) {
    ListView1->topLevelItem(row)->setText(subItem + 1, text);
}

void TDVD_CD_oeffnen::appendRow(const SurveyedDrive& drive) {
    auto* item =
        new QTreeWidgetItem(QStringList{drive.caption, drive.typeText, drive.label, drive.status});
    item->setData(0, kKeyRole, drive.key);
    item->setData(0, kCaptionRole, drive.caption);
    ListView1->addTopLevelItem(item);
    setFacts(ListView1->topLevelItemCount() - 1, drive.kind, drive.ready);
    showDriveNames();
}

void TDVD_CD_oeffnen::removeRow(int row) {
    delete ListView1->takeTopLevelItem(row);
    showDriveNames();
}

void TDVD_CD_oeffnen::selectRow(int row) {
    if (QTreeWidgetItem* item = ListView1->topLevelItem(row)) {
        ListView1->setCurrentItem(item);
        item->setSelected(true);
    }
}

} // namespace filmarin
