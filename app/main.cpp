#include "dialogweiter.h"
#include "laufwerk_oeffnen.h"
#include "unit1.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // The program speaks German, the toolkit's own dialogs and buttons too.
    QTranslator qtGerman;
    if (qtGerman.load(QStringLiteral("qtbase_de"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtGerman);
    QApplication::setQuitOnLastWindowClosed(false);

    filmarin::TForm1 form1;
    filmarin::TDialogWeiter_Form dialogWeiterForm(form1);
    form1.setPauseDialog(&dialogWeiterForm);
    filmarin::SystemDrives drives;
    filmarin::TDVD_CD_oeffnen dvdCdOeffnen(form1, drives);
    form1.setDiscBrowser(&dvdCdOeffnen);
    QObject::connect(&form1, &filmarin::TForm1::closed, &application, &QApplication::quit);
    form1.show();
    return QApplication::exec();
}
