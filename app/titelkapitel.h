// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sources/disctitles.h"
#include "sources/ownthread.h"
#include "views/views.h"

#include <QDialog>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QPushButton;
class QTimer;
class QTreeWidget;

namespace filmarin {

// Reads the titles of the disc in a drive away from the window's thread.
using DiscTitlesRead =
    std::function<std::shared_ptr<PendingAnswer<std::vector<DiscTitle>>>(const QString& drive)>;

// "Titel und Kapitel": the titles of the video DVD with their chapters, read while the dialog
// stays usable, and the choice among them for the table. A disc that does not answer in time,
// or whose navigation files cannot be read, is named in a posted message, and the dialog
// closes without a choice.
class TTitelKapitel : public QDialog {
    Q_OBJECT
public:
    TTitelKapitel(QWidget* parent, MessageSink& messages);
    ~TTitelKapitel() override;

    QLabel* Label1;         // what the dialog does, and where the choice goes
    QTreeWidget* TreeView1; // the titles, each with its chapters
    QPushButton* Button1;   // "Übernehmen"
    QPushButton* Button2;   // "Jedes Kapitel als eigener Ausschnitt"
    QPushButton* Button3;   // "Abbrechen"

    // Opens the dialog (modal to its window, without a loop of its own) and reads the disc in
    // `drive` with `read`; the choice goes to excerpt `row` on.
    void start(const QString& drive, int row, const DiscTitlesRead& read);
    // How long the disc has to answer: 10 s.
    void setDeadline(std::chrono::milliseconds deadline) { m_deadlineLength = deadline; }
    // The disc is being read.
    bool reading() const { return static_cast<bool>(m_pending); }
    const std::vector<DiscTitle>& titles() const { return m_titles; }

signals:
    // The user took a choice: the excerpts for the table, and for "Jedes Kapitel als eigener
    // Ausschnitt" the number of chapters chosen (0 otherwise). The dialog has closed.
    void excerptsChosen(const std::vector<TitleExcerpt>& excerpts, int chosenChapters);

public slots:
    void Button1Click();
    void Button2Click();
    void done(int result) override;

private:
    void checkAnswer();
    void forget();
    void fill();
    void showChoice();
    std::optional<TitleChoice> choice() const;
    void take(bool eachChapter);

    MessageSink& m_messages;
    QTimer* m_deadline;
    std::chrono::milliseconds m_deadlineLength{std::chrono::seconds(10)};
    std::shared_ptr<PendingAnswer<std::vector<DiscTitle>>> m_pending;
    std::chrono::steady_clock::time_point m_until;
    QString m_drive;
    int m_row = 1;
    std::vector<DiscTitle> m_titles;
};

} // namespace filmarin
