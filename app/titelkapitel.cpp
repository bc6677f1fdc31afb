// SPDX-License-Identifier: GPL-3.0-or-later
#include "titelkapitel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace filmarin {

namespace {

constexpr int kTitleRole = Qt::UserRole;
constexpr int kChapterRole = Qt::UserRole + 1;

void post(MessageSink& messages, const QString& text) {
    messages.postMessage(QStringLiteral("Information"), text, MessageIcon::Information);
}

} // namespace

TTitelKapitel::TTitelKapitel(QWidget* parent, MessageSink& messages)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_messages(messages) {
    setObjectName(QStringLiteral("TitelKapitel"));
    setWindowTitle(QStringLiteral("Titel und Kapitel"));
    // The table's font, large enough to read on a projector.
    if (auto* window = qobject_cast<QMainWindow*>(parent); window && window->centralWidget())
        setFont(window->centralWidget()->font());
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    TreeView1 = new QTreeWidget(this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setColumnCount(1);
    TreeView1->setHeaderHidden(true);
    TreeView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    TreeView1->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Button1 = new QPushButton(QStringLiteral("Übernehmen"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Jedes Kapitel als eigener Ausschnitt"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAutoDefault(false);
    Button3 = new QPushButton(QStringLiteral("Abbrechen"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addStretch(1);
    buttons->addWidget(Button3);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(TreeView1, 1);
    layout->addLayout(buttons);
    connect(Button1, &QPushButton::clicked, this, &TTitelKapitel::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TTitelKapitel::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &QDialog::reject);
    connect(TreeView1, &QTreeWidget::itemSelectionChanged, this, &TTitelKapitel::showChoice);
    // The deadline of the reading; the disc's answer, when it comes first, is posted as a call.
    m_deadline = new QTimer(this);
    m_deadline->setSingleShot(true);
    m_deadline->setTimerType(Qt::PreciseTimer);
    connect(m_deadline, &QTimer::timeout, this, &TTitelKapitel::checkAnswer);
}

TTitelKapitel::~TTitelKapitel() {
    forget();
}

void TTitelKapitel::start(const QString& drive, int row, const DiscTitlesRead& read) {
    forget();
    m_drive = drive;
    m_row = row;
    m_titles.clear();
    TreeView1->clear();
    Label1->setText(discReadingText());
    Button1->setEnabled(false);
    Button2->setEnabled(false);
    if (const QScreen* shownOn = parentWidget() ? parentWidget()->screen() : screen()) {
        const QRect area = shownOn->availableGeometry();
        resize(std::min(640, area.width() * 9 / 10), std::min(420, area.height() * 8 / 10));
    }
    open();
    TreeView1->setFocus();
    m_pending = read ? read(drive) : nullptr;
    if (!m_pending) {
        post(m_messages, discUnreadableMessage(m_drive));
        reject();
        return;
    }
    m_until = std::chrono::steady_clock::now() + m_deadlineLength;
    m_deadline->start(m_deadlineLength);
    m_pending->whenAnswered([this] {
        QMetaObject::invokeMethod(this, &TTitelKapitel::checkAnswer, Qt::QueuedConnection);
    });
}

void TTitelKapitel::checkAnswer() {
    if (!m_pending)
        return;
    const bool answered = m_pending->isAnswered();
    const auto now = std::chrono::steady_clock::now();
    if (!answered && now < m_until) {
        m_deadline->start(std::chrono::ceil<std::chrono::milliseconds>(m_until - now));
        return;
    }
    const std::shared_ptr<PendingAnswer<std::vector<DiscTitle>>> pending = m_pending;
    forget();
    QString failure;
    if (!answered) {
        failure = discNotAnsweringMessage(m_drive);
    } else if (pending->failed) {
        failure = discUnreadableMessage(m_drive);
    } else {
        {
            const std::lock_guard<std::mutex> lock(pending->mutex);
            m_titles = pending->value;
        }
        if (m_titles.empty())
            failure = discWithoutTitlesMessage(m_drive);
    }
    if (!failure.isEmpty()) {
        post(m_messages, failure);
        reject();
        return;
    }
    fill();
}

void TTitelKapitel::forget() {
    m_deadline->stop();
    if (m_pending) {
        m_pending->whenAnswered({});
        m_pending.reset();
    }
}

void TTitelKapitel::fill() {
    const int mainFilm = mainFilmIndex(m_titles);
    QTreeWidgetItem* mainItem = nullptr;
    for (std::size_t i = 0; i < m_titles.size(); ++i) {
        const DiscTitle& title = m_titles[i];
        const bool isMain = static_cast<int>(i) == mainFilm;
        auto* item = new QTreeWidgetItem(QStringList{titleText(title, isMain)});
        item->setData(0, kTitleRole, static_cast<int>(i));
        item->setData(0, kChapterRole, 0);
        for (std::size_t c = 0; c < title.chapters.size(); ++c) {
            const int chapter = static_cast<int>(c) + 1;
            auto* child = new QTreeWidgetItem(item, {chapterText(chapter, title.chapters[c])});
            child->setData(0, kTitleRole, static_cast<int>(i));
            child->setData(0, kChapterRole, chapter);
        }
        if (isMain) {
            QFont bold = item->font(0);
            bold.setBold(true);
            item->setFont(0, bold);
            mainItem = item;
        }
        TreeView1->addTopLevelItem(item);
    }
    if (mainItem) {
        TreeView1->setCurrentItem(mainItem);
        TreeView1->scrollToItem(mainItem);
    }
    showChoice();
}

std::optional<TitleChoice> TTitelKapitel::choice() const {
    std::vector<ListedItem> chosen;
    for (const QTreeWidgetItem* item : TreeView1->selectedItems())
        chosen.push_back({item->data(0, kTitleRole).toInt(), item->data(0, kChapterRole).toInt()});
    std::optional<TitleChoice> made = choiceOf(chosen);
    if (made && (made->titleIndex < 0 || made->titleIndex >= static_cast<int>(m_titles.size())))
        return std::nullopt;
    return made;
}

void TTitelKapitel::showChoice() {
    if (m_titles.empty())
        return;
    const std::optional<TitleChoice> made = choice();
    Button1->setEnabled(made.has_value());
    Button2->setEnabled(made.has_value());
    QString text = QStringLiteral("Laufwerk %1: %2 Titel. Wählen Sie einen Titel, ein Kapitel "
                                  "oder mehrere Kapitel eines Titels; \"Übernehmen\" trägt die "
                                  "Auswahl als Ausschnitt %3 ein.")
                       .arg(m_drive)
                       .arg(m_titles.size())
                       .arg(m_row);
    if (!made && !TreeView1->selectedItems().isEmpty())
        text += QStringLiteral(" Bitte wählen Sie Kapitel nur eines Titels.");
    Label1->setText(text);
}

void TTitelKapitel::take(bool eachChapter) {
    const std::optional<TitleChoice> made = choice();
    if (!made)
        return;
    const DiscTitle& title = m_titles[static_cast<std::size_t>(made->titleIndex)];
    std::vector<TitleExcerpt> excerpts;
    int chosenChapters = 0;
    if (eachChapter) {
        excerpts = chapterExcerpts(title, made->firstChapter, made->lastChapter, m_row);
        chosenChapters = made->firstChapter == 0 ? static_cast<int>(title.chapters.size())
                                                 : made->lastChapter - made->firstChapter + 1;
    } else {
        excerpts.push_back(titleExcerpt(title, made->firstChapter, made->lastChapter, m_row));
    }
    accept();
    emit excerptsChosen(excerpts, chosenChapters);
}

void TTitelKapitel::Button1Click() {
    take(false);
}

void TTitelKapitel::Button2Click() {
    take(true);
}

void TTitelKapitel::done(int result) {
    // Closed or cancelled: a reading still running changes nothing.
    forget();
    QDialog::done(result);
}

} // namespace filmarin
