#pragma once

#include "sources/mediasource.h"
#include "table/excerpttable.h"
#include "table/tableview.h"
#include "widgets.h"

#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QActionGroup;
class QFileDialog;
class QFrame;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class QTimer;

namespace filmarin {

// What the main window takes from its surroundings. The program uses the defaults; tests
// replace them so that nothing modal blocks and the player can be a stand-in.
struct WindowEnvironment {
    MessageSink* messages = nullptr; // default: message boxes
    // Shows a file dialog and gives the chosen path; default: exec() and its first file.
    std::function<std::optional<QString>(QFileDialog&)> runFileDialog;
    std::optional<QString> programFolder;   // default: the program file's folder
    std::optional<QString> documentsFolder; // default: the user's documents folder
};

// The main window: the excerpt table, the total play time and every command.
class TDialogWeiter_Form;
struct TimesFileContext;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(WindowEnvironment environment = {}, QWidget* parent = nullptr);
    ~TForm1() override;

    // Components, named as the program's commands and tests know them.
    StringGrid* StringGrid1;
    QMenuBar* MainMenu1;
    QMenu* Video1;
    QAction* DVD1;
    QAction* Datei1;
    QMenu* Ausschnitte1;
    QAction* ffnen1;
    QAction* speichern1;
    QAction* Abspielen1;
    StringGrid* StringGrid2;
    StaticText* StaticText1;
    StaticText* StaticText2;
    QFrame* Panel1;
    QAction* Info1;
    QAction* allel1;
    CheckListBox* CheckListBox1;
    StaticText* StaticText3;
    QFileDialog* OpenDialogVideo = nullptr; // made on first use
    CheckListBox* CheckListBox2;
    StaticText* StaticText4;
    QTimer* Timer1;
    QFileDialog* OpenDialogZeiten = nullptr; // made on first use
    QFileDialog* SaveDialogZeiten = nullptr; // made on first use
    QAction* Abspielenlschen1;
    QAction* Pausenlschen1;
    QAction* alleabspielen1;
    QAction* allePausen1;
    QFrame* Panel2;
    QPushButton* Button1;
    LabeledEdit* LabeledEdit1;
    QMenu* Sprache1;
    QAction* deutsch1;
    QAction* englisch1;
    QAction* franzsisch1;
    QAction* spanisch1;
    QAction* italienisch1;
    StringGrid* StringGrid3;
    StaticText* StaticText5;
    StringGrid* StringGrid4;
    StaticText* StaticText6;
    QAction* itelauf1setzen1;
    QAction* Bemerkungenlschen1;
    QTimer* Timer2;

    // The file dialogs, made when first asked for.
    QFileDialog& openDialogVideo();
    QFileDialog& openDialogZeiten();
    QFileDialog& saveDialogZeiten();

    // Program-wide values.
    ExcerptTable& table() { return m_table; }
    const ExcerptSpans& spans() const { return m_spans; }
    MediaSource& mediaSource() { return m_source; }
    TableView& view() { return *m_view; }
    MessageSink& messages() { return *m_messages; }
    const QString& documentsFolder() const { return m_documentsFolder; }
    const QString& programFolder() const { return m_programFolder; }
    const QString& playerPath() const { return m_playerPath; }
    std::int32_t timesFileVersion() const { return m_timesFileVersion; }
    bool closingFlag() const { return m_closingFlag; }

    // Window operations other parts of the program use.
    void LockControls();
    void UnlockControls();
    void LanguageCodeFromMenu();
    void MenuFromLanguageCode();
    void RefreshTotals();
    bool LocatePlayer();
    // The text the Info command shows.
    static QString infoText();

    // Hooks for the two dialogs, which are created after the main window.
    void setDiscBrowser(QWidget* browser) { m_discBrowser = browser; }
    void setPauseDialog(TDialogWeiter_Form* dialog) { m_pauseDialog = dialog; }

    // The playback run.
    const QString& imageFolder() const { return m_imageFolder; }
    std::int32_t nextExcerpt() const { return m_nextExcerpt; }
    void setNextExcerpt(std::int32_t n) { m_nextExcerpt = n; }
    bool runFailed() const { return m_runFailed; }
    void StartRun();
    bool RunContinues();
    void OfferNextSegment();
    void PlayNextSegment();
    bool RunPlayer(int priorityMode, const QString& programFile, const QString& parameters);
    void IsClosing(bool& terminate) const { terminate = m_closingFlag; }

signals:
    // The window has been closed; the program ends.
    void closed();

public slots:
    void DVD1Click();
    void Datei1Click();
    void ffnen1Click();
    void speichern1Click();
    void Abspielen1Click();
    void Info1Click();
    void allel1Click();
    void Abspielenlschen1Click();
    void alleabspielen1Click();
    void allePausen1Click();
    void Pausenlschen1Click();
    void itelauf1setzen1Click();
    void Bemerkungenlschen1Click();
    void Button1Click();
    void Timer1Timer();
    void Timer2Timer();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createComponents();
    void FormCreate();
    void FormClose();
    void ArrangeWindow();
    void SetColumnWidths();
    void ZeroAllTimes();
    void SetAllTitleNumbersToOne();
    void SetStandardHeadings();
    void PresetFirstStopHour();
    void TickAllPlay();
    void UntickAllPlay();
    void TickAllPauses();
    void UntickAllPauses();
    // The five menu items and both panels with everything on them.
    void setControlsEnabled(bool enabled);
    std::optional<QString> runFileDialog(QFileDialog& dialog);
    TimesFileContext timesFileContext();

    WindowEnvironment m_environment;
    std::unique_ptr<MessageSink> m_ownMessages;
    MessageSink* m_messages = nullptr;
    std::unique_ptr<TableView> m_view;
    QActionGroup* m_languages = nullptr;
    QWidget* m_discBrowser = nullptr;
    TDialogWeiter_Form* m_pauseDialog = nullptr;
    std::int32_t m_nextExcerpt = 1;
    bool m_runFailed = false;
    bool m_centred = false;

    ExcerptTable m_table;
    ExcerptSpans m_spans{};
    MediaSource m_source;
    QString m_documentsFolder;
    QString m_programFolder;
    QString m_playerPath;
    QString m_imageFolder;
    std::int32_t m_timesFileVersion = 0;
    bool m_closingFlag = false;
};

} // namespace filmarin
