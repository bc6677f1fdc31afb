#include "program.h"

#include "dialogweiter.h"
#include "laufwerk_oeffnen.h"
#include "platform/folders.h"
#include "unit1.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QSettings>
#include <QTranslator>

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

} // namespace

int runProgram(int argc, char* argv[], const std::function<void(TForm1&)>& started) {
    keepNoSettings();
    // Qt's own options (-geometry, -qwindowtitle, -style, ...) are not honoured either.
    static char fallbackName[] = "filmarin";
    int qtArgc = 1;
    char* qtArgv[] = {argc > 0 && argv[0] ? argv[0] : fallbackName, nullptr};
    QApplication application(qtArgc, qtArgv);
    // The program speaks German, the toolkit's own dialogs and buttons too.
    QTranslator qtGerman;
    if (qtGerman.load(QStringLiteral("qtbase_de"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtGerman);
    QApplication::setQuitOnLastWindowClosed(false);

    TForm1 form1;
    TDialogWeiter_Form dialogWeiterForm(form1);
    form1.setPauseDialog(&dialogWeiterForm);
    SystemDrives drives;
    TDVD_CD_oeffnen dvdCdOeffnen(form1, drives);
    form1.setDiscBrowser(&dvdCdOeffnen);
    QObject::connect(&form1, &TForm1::closed, &application, &QApplication::quit);
    form1.show();
    if (started)
        started(form1);
    return QApplication::exec();
}

} // namespace filmarin
