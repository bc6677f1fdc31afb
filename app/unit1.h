// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "checklistbox.h"
#include "labelededit.h"
#include "playback/playbackrun.h"
#include "playback/preview.h"
#include "playback/previewsession.h"
#include "programvalues.h"
#include "showing.h"
#include "sources/drives.h"
#include "sources/ownthread.h"
#include "statictext.h"
#include "stringgrid.h"
#include "table/tableview.h"
#include "titelkapitel.h"

#include <QMainWindow>
#include <QPointer>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QActionGroup;
class QFileDialog;
class QFrame;
class QMenu;
class QMenuBar;
class QMessageBox;
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

struct TimesFileContext;

// The main window: the excerpt table, the total play time and every command. It locks its
// controls for a playback run and starts the player for it.
// Where no other sink is given, it shows the program's messages itself, as boxes modal to the
// program with one OK button.
class TForm1 : public QMainWindow, public ControlLock, public PlayerStarter, public MessageSink {
    Q_OBJECT
public:
    TForm1(ProgramValues& values, WindowEnvironment environment = {}, QWidget* parent = nullptr);
    ~TForm1() override;

    // Components, named as the program's commands and tests know them; the comment gives
    // what the user sees.
    QMenuBar* MainMenu1;
    QMenu* Video1;                  // menu "Video"
    QAction* DVD1;                  //   "Video-DVD/CD öffnen"
    QAction* Datei1;                //   "Video-Datei öffnen"
    QAction* Vorschau1;             //   "Vorschau" (F5)
    QAction* Startzeituebernehmen1; //   "Startzeit übernehmen" (F6)
    QAction* Stoppzeituebernehmen1; //   "Stoppzeit übernehmen" (F7)
    QAction* TitelundKapitel1;      //   "Titel und Kapitel…" (F8)
    QMenu* Ausschnitte1;            // menu "Zeiten"
    QAction* ffnen1;                //   "öffnen"
    QAction* speichern1;            //   "speichern"
    QAction* allel1;                //   "alle Zeiten löschen"
    QAction* Abspielenlschen1;      //   "alle Einträge "Abspielen" löschen"
    QAction* alleabspielen1;        //   "Alle Einträge "Abspielen" markieren"
    QAction* allePausen1;           //   "alle Pausen markieren"
    QAction* Pausenlschen1;         //   "alle Pausen löschen"
    QAction* itelauf1setzen1;       //   "alle Titelnummern auf 1 setzen"
    QAction* Bemerkungenlschen1;    //   "Standardüberschriften"
    QAction* Wiedergabeliste1;      //   "Als Wiedergabeliste speichern…"
    QMenu* Sprache1;                // menu "Sprache"
    QAction* deutsch1;              //   "deutsch"
    QAction* englisch1;             //   "englisch"
    QAction* franzsisch1;           //   "französisch"
    QAction* spanisch1;             //   "spanisch"
    QAction* italienisch1;          //   "italienisch"
    ShowingMenu* Vorfuehrung1;      // menu "Vorführung"
    QAction* SchwarzerHintergrund1; //   "Schwarzer Hintergrund beim Abspielen"
                                    //   then the screens for the film
    QAction* Abspielen1;            // menu command "Abspielen"
    QAction* Info1;                 // menu command "Info"

    QFrame* Panel1;              // the table
    StaticText* StaticText6;     //   "Überschrift"
    StringGrid* StringGrid4;     //   excerpt numbers and headings
    StaticText* StaticText5;     //   "Titel Nr."
    StringGrid* StringGrid3;     //   DVD title or CD track numbers
    StaticText* StaticText1;     //   "Startzeiten"
    StringGrid* StringGrid1;     //   start times: "Std.", "Min.", "Sek."
    StaticText* StaticText2;     //   "Stoppzeiten"
    StringGrid* StringGrid2;     //   stop times
    StaticText* StaticText4;     //   "Abspielen"
    CheckListBox* CheckListBox2; //   play ticks "1" ... "20"
    StaticText* StaticText3;     //   "Pausen"
    CheckListBox* CheckListBox1; //   pause ticks "1-2" ... "19-20"
    QFrame* Panel2;              // the total
    LabeledEdit* LabeledEdit1;   //   "Ausgewählte Gesamtspielzeit:"
    QPushButton* Button1;        //   "Anzeige Gesamtspielzeit aktualisieren"

    QTimer* Timer1; // 10 ms, one shot: plays the next segment once the pause dialog is gone
    QTimer* Timer2; // 50 ms, one shot: the player check after start-up
    QFileDialog* OpenDialogVideo = nullptr;  // made on first use
    QFileDialog* OpenDialogZeiten = nullptr; // made on first use
    QFileDialog* SaveDialogZeiten = nullptr; // made on first use

    // The file dialogs, made when first asked for.
    // How the file dialogs look up a typed path away from the window's thread; without one
    // they look on their own.
    void setPathLook(std::function<std::shared_ptr<PendingAnswer<PathKind>>(const QString&)> look) {
        m_pathLook = std::move(look);
    }
    // How the player's version is read away from the window's thread, for the check after
    // start-up; without one it is read on the window's own.
    void
    setVersionLook(std::function<std::shared_ptr<PendingAnswer<QString>>(const QString&)> look) {
        m_versionLook = std::move(look);
    }
    // How a video DVD's titles are read away from the window's thread; without one,
    // "Titel und Kapitel…" stays disabled.
    void setTitlesRead(DiscTitlesRead read);
    QFileDialog& openDialogVideo();
    QFileDialog& openDialogZeiten();
    QFileDialog& saveDialogZeiten();

    // The program-wide values, as this window shows them.
    ExcerptTable& table() { return m_values.table; }
    MediaSource& mediaSource() { return m_values.source; }
    const QString& documentsFolder() const { return m_values.documentsFolder; }
    const QString& programFolder() const { return m_values.programFolder; }
    const QString& playerPath() const { return m_values.playerPath; }
    TableView& view() { return *m_view; }
    MessageSink& messages() { return *m_messages; }
    bool closingFlag() const { return m_closingFlag; }
    // The player check after start-up has run and its answer has come.
    bool playerChecked() const;
    // The preview's player, while one runs.
    PreviewSession& preview() { return *m_preview; }
    // The excerpt row the preview's commands are for.
    int tableRow() const { return m_tableRow; }
    QFileDialog& saveDialogPlaylist();
    // The dialog "Titel und Kapitel", made when first asked for.
    TTitelKapitel& titlesDialog();

    // Window operations other parts of the program use.
    void LockControls() override;
    void UnlockControls() override;
    void LanguageCodeFromMenu();
    void MenuFromLanguageCode();
    void RefreshTotals();
    bool LocatePlayer();
    // A disc was chosen in the disc browser: it is the source, and "Abspielen" is enabled.
    void takeDisc(const QString& drive, SourceKind kind);
    // The text the Info command shows.
    static QString infoText();

    // Set once by the program, which creates them after the main window.
    void setDiscBrowser(QWidget* browser) { m_discBrowser = browser; }
    void setPlaybackRun(PlaybackRun* run) { m_run = run; }
    // Asked before each start of the player; while it answers false the start waits a tick,
    // at most a few tenths of a second.

    // The playback run's steps on this window.
    void StartRun();
    void PlayNextSegment();
    PlayerOutcome RunPlayer(platform::Priority priority, const QString& programFile,
                            const QString& parameters, const PlayerWatch& watch) override;
    void scheduleSegment() override;

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
    void Vorschau1Click();
    void Startzeituebernehmen1Click();
    void Stoppzeituebernehmen1Click();
    void Wiedergabeliste1Click();
    void TitelundKapitel1Click();

public:
    void setVisible(bool visible) override;
    // The message boxes. A shown one waits for the user; a posted one is as modal but runs no
    // loop of its own, and posted ones follow one another.
    void showMessage(const QString& caption, const QString& text, MessageIcon icon) override;
    void postMessage(const QString& caption, const QString& text, MessageIcon icon) override;
    void afterPosted(std::function<void()> then) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Layout (unit1_layout.cpp).
    void createComponents();
    void connectComponents();
    void ArrangeWindow();
    void SetColumnWidths();

    void FormCreate();
    void FormClose();
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
    QFileDialog* makeFileDialog(const char* name);
    std::function<std::shared_ptr<PendingAnswer<PathKind>>(const QString&)> m_pathLook;
    std::function<std::shared_ptr<PendingAnswer<QString>>(const QString&)> m_versionLook;
    std::shared_ptr<PendingAnswer<QString>> m_versionCheck;
    void playerVersionRead();
    TimesFileContext timesFileContext();
    void takeFromPreview(TakenTime which);
    // "Titel und Kapitel…" is enabled for a video DVD, while the window is not locked.
    void enableDiscCommands();
    void takeTitleExcerpts(const std::vector<TitleExcerpt>& excerpts, int chosenChapters);
    void previewEnded();

    ProgramValues& m_values;
    WindowEnvironment m_environment;
    MessageSink* m_messages = nullptr;
    struct PostedMessage {
        QString caption;
        QString text;
        MessageIcon icon;
    };
    QMessageBox* makeMessageBox(const PostedMessage& message);
    void showNextPosted();
    std::deque<PostedMessage> m_posted;
    std::vector<std::function<void()>> m_afterPosted;
    QPointer<QMessageBox> m_postedBox;
    std::unique_ptr<TableView> m_view;
    QActionGroup* m_languages = nullptr;
    QWidget* m_discBrowser = nullptr;
    PlaybackRun* m_run = nullptr;
    PreviewSession* m_preview = nullptr;
    int m_tableRow = 1;
    QFileDialog* m_saveDialogPlaylist = nullptr;
    DiscTitlesRead m_titlesRead;
    TTitelKapitel* m_titlesDialog = nullptr; // made on first use
    bool m_unlocked = true;
    bool m_centred = false;
    bool m_closingFlag = false;
};

} // namespace filmarin
