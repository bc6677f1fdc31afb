#pragma once

#include "table/excerpttable.h"

#include <QDialog>
#include <array>
#include <cstdint>
#include <optional>

class QComboBox;
class QLabel;
class QPushButton;

namespace filmarin {

class TForm1;

// The "Pause" dialog between two segments of a playback run: where to go on.
class TDialogWeiter_Form : public QDialog {
    Q_OBJECT
public:
    explicit TDialogWeiter_Form(TForm1& mainWindow);

    QLabel* Label1;
    QComboBox* ComboBox1;
    QPushButton* Button1;
    QPushButton* Button2;

    // Lists "Ausschnitt N" for every selected excerpt and selects the first entry.
    void FillExcerptChoice(const ExcerptSpans& spans);
    // Selects the entry of the first listed excerpt at or after n; none when no listed
    // excerpt follows.
    void PreselectExcerpt(std::int32_t n);
    // The excerpt of the chosen entry; empty when the typed text names no entry.
    std::optional<std::int32_t> ChosenExcerpt() const;
    bool continueChosen() const { return m_continueChosen; }

public slots:
    void Button1Click();
    void Button2Click();
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void arrange();

    TForm1& m_main;
    std::array<std::int32_t, kExcerptCount> m_comboToExcerpt{};
    std::array<std::int32_t, kExcerptCount + 1> m_excerptToCombo{};
    bool m_continueChosen = false;
};

} // namespace filmarin
