// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "playback/playbackrun.h"
#include "table/excerpttable.h"

#include <QDialog>
#include <array>
#include <cstdint>
#include <optional>

class QComboBox;
class QLabel;
class QPushButton;

namespace filmarin {

// The "Pause" dialog between two segments of a playback run: where to go on. It is
// centred on its parent, the main window, and stays above the black of a showing.
class TDialogWeiter_Form : public QDialog, public PauseChoice {
    Q_OBJECT
public:
    explicit TDialogWeiter_Form(QWidget* mainWindow);

    QLabel* Label1;
    QComboBox* ComboBox1;
    QPushButton* Button1;
    QPushButton* Button2;

    // Lists "Ausschnitt N" for every selected excerpt and selects the first entry.
    void FillExcerptChoice(const ExcerptSpans& spans) override;
    // Selects the entry of the first listed excerpt at or after n; none when no listed
    // excerpt follows.
    void PreselectExcerpt(std::int32_t n) override;
    // Shows the dialog without waiting for it.
    void showChoice() override;
    // The excerpt of the chosen entry; empty when the typed text names no entry.
    std::optional<std::int32_t> ChosenExcerpt() const;

signals:
    // OK: the run goes on with this excerpt.
    void continueWith(std::int32_t excerpt);
    // The dialog was closed without OK ("Beenden", the close box, Escape): the run ends.
    void ended();
    // B or "." (a presenter's remote's "black" key): black on the class's screen, or not.
    void blackToggled();

public slots:
    void Button1Click();
    void Button2Click();
    void reject() override;
    void setVisible(bool visible) override;

    // Chooses the entry before the selected one; with none selected, the last entry.
    void choosePreviousEntry();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void arrange();
    // A presenter's remote: PageDown, Right, Space and Return continue, PageUp and Left go
    // back one entry, B and "." toggle black. Keys that edit the typed text stay with it.
    bool remoteKey(const QKeyEvent& key);
    int choiceWidth() const;

    std::array<std::int32_t, kExcerptCount> m_comboToExcerpt{};
    std::array<std::int32_t, kExcerptCount + 1> m_excerptToCombo{};
    bool m_continueChosen = false;
};

} // namespace filmarin
