// SPDX-License-Identifier: GPL-3.0-or-later
// The scale and place of a window on a screen, without a screen.
#include "app/screenfit.h"
#include "windowtests.h"

#include <QtTest>

using namespace filmarin;

class ScreenFitTest : public QObject {
    Q_OBJECT

private slots:
    void scale_data();
    void scale();
    void place_data();
    void place();
};

// The main window: 873 x 636 pixels at 96 dpi without its frame.
void ScreenFitTest::scale_data() {
    QTest::addColumn<QRect>("workArea");
    QTest::addColumn<double>("system");
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<double>("expected");
    const QMargins windows125(10, 39, 10, 10);
    QTest::newRow("room to spare: the system's scale")
        << QRect(0, 0, 1920, 1040) << 1.25 << windows125 << 1.25;
    QTest::newRow("1366x768 laptop at 125 %: the largest fitting step")
        << QRect(0, 0, 1366, 718) << 1.25 << windows125 << 1.05;
    QTest::newRow("exactly fitting at the system's scale")
        << QRect(0, 0, 2000, 636 * 2 + 60) << 2.0 << QMargins(0, 50, 0, 10) << 2.0;
    QTest::newRow("one pixel short of the system's scale")
        << QRect(0, 0, 2000, 636 * 2 + 59) << 2.0 << QMargins(0, 50, 0, 10) << 1.95;
    QTest::newRow("1024x600 netbook: never below the window's own size")
        << QRect(0, 0, 1024, 560) << 1.0 << QMargins(4, 38, 4, 4) << 1.0;
    QTest::newRow("netbook at 150 %: back to the window's own size")
        << QRect(0, 0, 1024, 540) << 1.5 << QMargins(6, 57, 6, 6) << 1.0;
    QTest::newRow("a system scale below 100 % is kept")
        << QRect(0, 0, 800, 500) << 0.8 << QMargins() << 0.8;
    QTest::newRow("too narrow rather than too low")
        << QRect(0, 0, 1000, 2000) << 1.5 << QMargins(8, 31, 8, 8) << 1.1;
}

void ScreenFitTest::scale() {
    QFETCH(QRect, workArea);
    QFETCH(double, system);
    QFETCH(QMargins, frame);
    QFETCH(double, expected);
    const double scale = fittingScale(QSize(873, 636), ScreenRoom{workArea, system, frame});
    QVERIFY2(qAbs(scale - expected) < 1e-9, qPrintable(QString::number(scale)));
}

void ScreenFitTest::place_data() {
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QRect>("workArea");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("centred") << QSize(881, 678) << QRect(0, 0, 1366, 728) << QPoint(242, 25);
    QTest::newRow("centred in a work area below a top panel")
        << QSize(881, 678) << QRect(0, 27, 1366, 741) << QPoint(242, 58);
    QTest::newRow("on a second screen")
        << QSize(100, 100) << QRect(1920, 0, 1280, 1024) << QPoint(2510, 462);
    QTest::newRow("too high: the top left")
        << QSize(881, 678) << QRect(0, 0, 1024, 560) << QPoint(0, 0);
    QTest::newRow("too wide: the top left")
        << QSize(1100, 400) << QRect(10, 20, 1024, 748) << QPoint(10, 20);
    QTest::newRow("just fitting") << QSize(1024, 560) << QRect(0, 0, 1024, 560) << QPoint(0, 0);
}

void ScreenFitTest::place() {
    QFETCH(QSize, frame);
    QFETCH(QRect, workArea);
    QFETCH(QPoint, expected);
    QCOMPARE(framePlace(frame, workArea), expected);
}

FILMARIN_WINDOW_TEST(ScreenFitTest, "screenfit_tests")
#include "screenfit_test.moc"
