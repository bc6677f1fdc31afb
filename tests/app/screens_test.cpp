// SPDX-License-Identifier: GPL-3.0-or-later
// The windows on the screen the test runs on, at the scale the system asks for: run by
// screens_test.sh on Linux and screens_wine.sh under Wine, once per screen size and scale.
//   FILMARIN_SCREEN_REPORT  a file to which one line about the main window is added
//   FILMARIN_CARDS_DIR      a folder for the title cards, compared between scales
#include "../table/memorytable.h"
#include "app/screenfit.h"
#include "layoutchecks.h"
#include "playback/titlecards.h"
#include "windowfixture.h"

#include <QFile>
#include <QScreen>
#include <QtTest>

using namespace filmarin;
using namespace filmarin::testing;

namespace {

// Waits until the window manager has framed a shown window and the frame has stayed for a
// while: a window shown again may still carry the frame of its last showing until the window
// manager takes it up anew. (Some window managers draw no frame at all.)
void waitForFrame(QWidget& window) {
    int framedRounds = 0;
    // A window manager that draws no frame leaves the window as it is: no failure here.
    (void)QTest::qWaitFor(
        [&] {
            const QRect frame = window.frameGeometry();
            const QRect inside = window.geometry();
            // While the window manager takes a window up, the toolkit may see odd frames.
            const bool framed = frame != inside && frame.contains(inside) &&
                                frame.width() - inside.width() < 100 &&
                                frame.height() - inside.height() < 100;
            framedRounds = framed ? framedRounds + 1 : 0;
            QTest::qWait(20);
            return framedRounds >= 10;
        },
        5000);
}

QString describe(const QRect& r) {
    return QStringLiteral("%1x%2 at (%3,%4)").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y());
}

// A rectangle in the screen's own pixels.
QRect native(const QRect& r, qreal scale) {
    return {qRound(r.x() * scale), qRound(r.y() * scale), qRound(r.width() * scale),
            qRound(r.height() * scale)};
}

} // namespace

class ScreensTest : public QObject {
    Q_OBJECT

public:
    // `systemScale`: the scale the system asks for, before the program fitted its own.
    explicit ScreensTest(qreal systemScale) : m_systemScale(systemScale) {}

private slots:
    void initTestCase();
    void mainWindowFitsTheWorkArea();
    void ticksLineUpWithTheRows();
    void captionsFit();
    void everyExcerptFitsThePauseChoice();
    void pauseDialogIsCentredOnTheMainWindow();
    void titleCards();

private:
    qreal m_systemScale = 1;
    std::unique_ptr<WindowFixture> m_fixture;
    TForm1* m_window = nullptr;
};

void ScreensTest::initTestCase() {
    QVERIFY(QGuiApplication::primaryScreen());
    m_fixture = std::make_unique<WindowFixture>();
    m_window = &m_fixture->open();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    waitForFrame(*m_window);
}

void ScreensTest::mainWindowFitsTheWorkArea() {
    TForm1& w = *m_window;
    QScreen* screen = w.screen();
    const QRect work = screen->availableGeometry();
    const QRect frame = w.frameGeometry();
    const qreal scale = w.devicePixelRatioF();
    const QRect nativeWork = native(work, scale);
    const QRect nativeFrame = native(frame, scale);
    const QString report = QStringLiteral("system %1, work area %2: scale %3, window %4")
                               .arg(m_systemScale)
                               .arg(describe(nativeWork))
                               .arg(scale)
                               .arg(describe(nativeFrame));
    qInfo("%s", qPrintable(report));
    if (!qEnvironmentVariableIsEmpty("FILMARIN_SCREEN_REPORT")) {
        QFile file(qEnvironmentVariable("FILMARIN_SCREEN_REPORT"));
        QVERIFY(file.open(QIODevice::Append | QIODevice::Text));
        file.write(report.toUtf8() + '\n');
    }

    // Never larger than the system asks for, never smaller than the window's own size.
    // The program's factor reaches Qt as text in QT_SCALE_FACTOR and meets the system's scale
    // as Qt reads it there: the product may be off by some parts in 100000, which moves no
    // pixel of a window this size.
    constexpr qreal kTextualFactor = 1e-4;
    QVERIFY2(scale <= m_systemScale + kTextualFactor, qPrintable(report));
    QVERIFY2(scale >= std::min<qreal>(1, m_systemScale) - kTextualFactor, qPrintable(report));
    const QMargins frameMargins(
        w.geometry().left() - frame.left(), w.geometry().top() - frame.top(),
        frame.right() - w.geometry().right(), frame.bottom() - w.geometry().bottom());
    const QSize ownSize = w.size(); // pixels at 96 dpi
    const QSize frameAtOne = ownSize.grownBy(frameMargins * scale);
    if (frameAtOne.width() > nativeWork.width() || frameAtOne.height() > nativeWork.height()) {
        // Not even the window's own size fits: its title bar at the work area's top left.
        QVERIFY2(qAbs(scale - std::min<qreal>(1, m_systemScale)) <= kTextualFactor,
                 qPrintable(report));
        QCOMPARE(frame.topLeft(), work.topLeft());
        return;
    }
    QVERIFY2(work.contains(frame), qPrintable(report));
    // Where the system's scale leaves room to spare, the window takes it.
    // (Where the system cannot say before showing what frame a window gets, the program
    // leaves room for a large one: room to spare is counted beyond that.)
    const QMargins expected = expectedFrame(*screen) * m_systemScale;
    const auto larger = [scale](int seen, int left) {
        return std::max(qRound(seen * scale), left);
    };
    const QMargins room(larger(frameMargins.left(), expected.left()),
                        larger(frameMargins.top(), expected.top()),
                        larger(frameMargins.right(), expected.right()),
                        larger(frameMargins.bottom(), expected.bottom()));
    const QSize atSystem = (QSizeF(ownSize) * m_systemScale).toSize().grownBy(room);
    if (atSystem.width() + 60 <= nativeWork.width() &&
        atSystem.height() + 60 <= nativeWork.height())
        QCOMPARE(scale, m_systemScale);
}

void ScreensTest::ticksLineUpWithTheRows() {
    verifyTicksLineUp(*m_window);
}

void ScreensTest::captionsFit() {
    verifyCaptionsFit(*m_window, {m_window, m_fixture->pauseDialog, m_fixture->discBrowser});
}

void ScreensTest::everyExcerptFitsThePauseChoice() {
    verifyExcerptChoiceFits(*m_fixture->pauseDialog);
}

void ScreensTest::pauseDialogIsCentredOnTheMainWindow() {
    // A run of four excerpts with a pause before each, as in class: the dialog comes up
    // when the player has ended, each time centred on the main window.
    TForm1& w = *m_window;
    TDialogWeiter_Form& dialog = *m_fixture->pauseDialog;
    QTemporaryDir videos;
    QFile video(videos.filePath(QStringLiteral("Film.avi")));
    QVERIFY(video.open(QIODevice::WriteOnly));
    video.close();
    m_fixture->chosenFile = WindowFixture::native(video.fileName());
    w.Datei1->trigger();
    QTRY_VERIFY(w.playerChecked());
    constexpr int kExcerpts = 4;
    w.StringGrid2->setCell(0, 1, QStringLiteral("0"));
    for (int row = 1; row <= kExcerpts; ++row) {
        w.StringGrid1->setCell(2, row, QString::number(row * 10));
        w.StringGrid2->setCell(2, row, QString::number(row * 10 + 5));
    }
    w.allePausen1->trigger();
    w.Abspielen1->trigger();
    for (int shown = 1; shown <= kExcerpts; ++shown) {
        QTRY_VERIFY(dialog.isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        waitForFrame(dialog);
        // The same window manager frames both alike: centred frames, centred insides.
        const QPoint offset = dialog.geometry().center() - w.geometry().center();
        QVERIFY2(offset.manhattanLength() <= 4,
                 qPrintable(QStringLiteral("shown the %1. time at %2, the main window at %3")
                                .arg(shown)
                                .arg(describe(dialog.frameGeometry()))
                                .arg(describe(w.frameGeometry()))));
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
        QTRY_COMPARE(m_fixture->playerCalls().size(), shown);
    }
    // After the last excerpt the dialog comes once more; "Beenden" ends the run.
    QTRY_VERIFY(dialog.isVisible());
    QTest::mouseClick(dialog.Button2, Qt::LeftButton);
    QTRY_VERIFY(w.Panel1->isEnabled());
}

void ScreensTest::titleCards() {
    if (qEnvironmentVariableIsEmpty("FILMARIN_CARDS_DIR"))
        QSKIP("no folder for the title cards");
    const QString folder = qEnvironmentVariable("FILMARIN_CARDS_DIR");
    MemoryGrid headings(2, 21);
    const QStringList texts = {
        QStringLiteral("Ausschnitt 1"),
        QStringLiteral("Szene 2"),
        QStringLiteral("Die Verwandlung – Gregor erwacht als Käfer, Szene 3, ab Minute 12"),
        QStringLiteral("W"),
        QStringLiteral("Łódź, İstanbul, Москва"),
        QStringLiteral("ÄÖÜ äöü ß"),
        QStringLiteral("iiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiii"),
        QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"),
    };
    for (int row = 1; row <= kExcerptCount; ++row)
        headings.setCell(1, row,
                         row <= texts.size() ? texts[row - 1]
                                             : QStringLiteral("Ausschnitt %1").arg(row));
    QString imageFolder;
    const CardResult result = writeTitleCards(headings, folder, folder, imageFolder);
    QVERIFY2(result.ok, qPrintable(result.error));
    QVERIFY(QFile::exists(titleCardPath(imageFolder, 20)));
}

// The windows' scale is chosen as the program chooses it: a first application measures the
// main window on the screen, and the test runs in a second one at the scale that fits.
int main(int argc, char* argv[]) {
    qreal systemScale = 1;
    double factor = 1;
    {
        QApplication probe(argc, argv);
        if (QScreen* screen = QGuiApplication::primaryScreen())
            systemScale = screen->devicePixelRatio();
        WindowFixture fixture;
        factor = fittingFactor(fixture.open(false).size());
    }
    const std::unique_ptr<QApplication> application = makeApplication(factor, argc, argv);
    ScreensTest test(systemScale);
    return QTest::qExec(&test, argc, argv);
}
#include "screens_test.moc"
