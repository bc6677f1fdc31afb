// SPDX-License-Identifier: GPL-3.0-or-later
#include "program.h"

#include "dialogweiter.h"
#include "laufwerk_oeffnen.h"
#include "platform/endrequest.h"
#include "platform/folders.h"
#include "playback/playercheck.h"
#include "screenfit.h"
#include "showing.h"
#include "sources/drivequestions.h"
#include "sources/drives.h"
#include "sources/helperdrives.h"
#include "unit1.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QSessionManager>
#include <QSettings>
#include <QSocketNotifier>
#include <QTimer>
#include <QTranslator>
#include <memory>
#include <optional>

namespace filmarin {

namespace {

// Qt's file dialogs read their last folder and layout from the user's settings when they
// are made. The program keeps no settings, so settings files are looked for in a folder that
// cannot exist: nothing is read from them, and nothing could be written there. (The Windows
// registry is no file; the dialogs' writing is kept from it by TForm1.)
void keepNoSettings() {
    const QString nowhere = QString::fromStdString(platform::folderThatCannotExist());
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        for (const QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope})
            QSettings::setPath(format, scope, nowhere);
    }
}

// Hides every window of the program, then closes the main window, which ends a running
// player and the program.
void endAtOnce(TForm1& form1) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != &form1 && window->isVisible())
            window->hide();
    }
    form1.close();
}

} // namespace

Program::Program(WindowEnvironment environment, std::shared_ptr<DriveSystem> drives,
                 const std::function<void(TForm1&)>& mainWindowMade)
    : m_questions(
          DriveQuestions::create(drives ? std::move(drives) : std::make_shared<SystemDrives>())) {
    m_form1 = std::make_unique<TForm1>(m_values, std::move(environment));
    TForm1& form1 = *m_form1;
    // A path typed into a file dialog is looked up as the drives are asked: never on the
    // window's thread, one question at a time.
    form1.setPathLook([questions = std::weak_ptr<DriveQuestions>(m_questions)](
                          const QString& path) -> std::shared_ptr<PendingAnswer<PathKind>> {
        const std::shared_ptr<DriveQuestions> asked = questions.lock();
        if (!asked)
            return nullptr;
        return asked->ask<PathKind>(path, QStringLiteral("look"),
                                    [path](DriveSystem& drives) { return drives.pathKind(path); });
    });
    form1.setVersionLook([questions = std::weak_ptr<DriveQuestions>(m_questions)](
                             const QString& player) -> std::shared_ptr<PendingAnswer<QString>> {
        const std::shared_ptr<DriveQuestions> asked = questions.lock();
        if (!asked)
            return nullptr;
        // On the lane of the player's own folder.
        return asked->ask<QString>(QFileInfo(player).absolutePath(), QStringLiteral("version"),
                                   [player](DriveSystem&) { return fileVersionString(player); });
    });
    if (mainWindowMade)
        mainWindowMade(form1);
    m_pauseDialog = new TDialogWeiter_Form(&form1);
    m_discBrowser = new TDVD_CD_oeffnen(&form1, m_questions, form1.messages());
    // A video DVD's titles are read on the lane of the drive the browser chose, as every
    // question to it.
    form1.setTitlesRead(
        [questions = std::weak_ptr<DriveQuestions>(m_questions), browser = m_discBrowser](
            const QString& root) -> std::shared_ptr<PendingAnswer<std::vector<DiscTitle>>> {
            const std::shared_ptr<DriveQuestions> asked = questions.lock();
            if (!asked)
                return nullptr;
            const DiscBrowserState& chosen = browser->state();
            const QString lane =
                chosen.chosenDrive == root && !chosen.chosenKey.isEmpty() ? chosen.chosenKey : root;
            return asked->ask<std::vector<DiscTitle>>(
                lane, QStringLiteral("titles"),
                [root](DriveSystem& drives) { return drives.discTitles(root); });
        });
    m_run = std::make_unique<PlaybackRun>(RunValues{m_values.table, m_values.spans, form1.view(),
                                                    m_values.source, m_values.programFolder,
                                                    m_values.imageFolder, m_values.playerPath},
                                          *m_pauseDialog, form1, form1, form1.messages());
    form1.setPlaybackRun(m_run.get());
    // Black on the class's screen during a showing, the film on a second screen.
    m_showing = std::make_unique<FilmShowing>(*form1.Vorfuehrung1);
    m_run->setShowing(m_showing.get());
    m_showing->setAfterCover([dialog = m_pauseDialog] {
        if (dialog->isVisible())
            dialog->showChoice();
    });
    // A projector switched off or on during a pause: the black follows the film's screen.
    QObject::connect(
        form1.Vorfuehrung1, &ShowingMenu::screensChanged, &m_runConnections,
        [this] { m_showing->screensChanged(); }, Qt::QueuedConnection);
    QObject::connect(m_pauseDialog, &TDialogWeiter_Form::blackToggled, &m_runConnections,
                     [this] { m_showing->toggleBlack(); });
    form1.setDiscBrowser(m_discBrowser);

    // OK in the pause dialog: the run has its segment start from Timer1 once the dialog
    // has gone.
    QObject::connect(m_pauseDialog, &TDialogWeiter_Form::continueWith, &m_runConnections,
                     [this](std::int32_t excerpt) { m_run->continueWith(excerpt); });
    QObject::connect(m_pauseDialog, &TDialogWeiter_Form::ended, &m_runConnections,
                     [this] { m_run->endAtPause(); });
    QObject::connect(m_discBrowser, &TDVD_CD_oeffnen::discChosen, &form1, &TForm1::takeDisc);
    QObject::connect(m_discBrowser, &TDVD_CD_oeffnen::closed, &form1, &TForm1::UnlockControls);
}

Program::~Program() = default;

int runFilmarin(int argc, char* argv[], const std::function<void(TForm1&)>& started,
                std::shared_ptr<DriveSystem> drives) {
    // Before any thread is started: the helper that asks the drives.
    if (!drives)
        drives = startDriveHelper();
    const int endRequests = platform::watchEndRequests();
    keepNoSettings();
    // Qt's own options (-geometry, -qwindowtitle, -style, ...) are not honoured either.
    static char fallbackName[] = "filmarin";
    int qtArgc = 1;
    char* qtArgv[] = {argc > 0 && argv[0] ? argv[0] : fallbackName, nullptr};
    // The windows' scale lets the main window fit the screen. The toolkit fixes it when the
    // application is made: where the system's scale does not fit, the first application and
    // its windows, never shown, make way for a new one at a scale that fits.
    double factor = 1.0;
    for (;;) {
        const std::unique_ptr<QApplication> application = makeApplication(factor, qtArgc, qtArgv);
        // The program speaks German, the toolkit's own dialogs and buttons too.
        QTranslator qtGerman;
        if (qtGerman.load(QStringLiteral("qtbase_de"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QApplication::installTranslator(&qtGerman);
        QApplication::setQuitOnLastWindowClosed(false);

        // The main window is shown as soon as it is made: the window manager maps it while
        // the dialogs, which nothing shows at start, are being made.
        bool refit = false;
        Program program(WindowEnvironment{}, drives, [&factor, &refit](TForm1& made) {
            if (factor == 1.0) {
                factor = fittingFactor(made.size());
                refit = factor != 1.0;
            }
            if (!refit)
                made.show();
        });
        if (refit)
            continue;
        TForm1& form1 = program.mainWindow();
        QObject::connect(&form1, &TForm1::closed, application.get(), &QApplication::quit);
        // Asked by the system to end: as when the window is closed, with every window gone
        // at once.
        std::unique_ptr<QSocketNotifier> endRequested;
        if (endRequests >= 0) {
            endRequested = std::make_unique<QSocketNotifier>(endRequests, QSocketNotifier::Read);
            QObject::connect(endRequested.get(), &QSocketNotifier::activated, &form1,
                             [&form1, endRequests] {
                                 platform::takeEndRequests(endRequests);
                                 endAtOnce(form1);
                             });
        }
        QObject::connect(application.get(), &QGuiApplication::commitDataRequest, &form1,
                         [&form1](QSessionManager&) { endAtOnce(form1); });
        if (started)
            started(form1);
        return QApplication::exec();
    }
}

} // namespace filmarin
