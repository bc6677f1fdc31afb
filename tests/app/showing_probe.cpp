// SPDX-License-Identifier: GPL-3.0-or-later
// A showing as the class sees it, with the real player on a real display: two excerpts of a
// generated film with a pause between them, driven through the X server's keyboard as a
// presenter's remote would. Screenshots of the whole display say what the class sees: the
// film while it plays, black (on the film's screen) at the pause, the table when B lifts the
// black. It times OK to black, black to the player's start, and the player's exit to the
// pause dialog's focus. Run by showing_test.sh, which gives the display, the film, the player
// and the number of screens to expect.
#include "app/dialogweiter.h"
#include "app/showing.h"
#include "processexists.h"
#include "windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

using namespace filmarin;
using namespace filmarin::testing;

namespace {

int failures = 0;

void check(bool ok, const std::string& what) {
    std::fprintf(stderr, "%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
    if (!ok)
        ++failures;
}

QString env(const char* name) {
    return QString::fromLocal8Bit(qgetenv(name));
}

// The program's child processes, seen from a thread of their own every millisecond while the
// window's thread waits for the player in its 50 ms steps.
class ChildWatch {
public:
    explicit ChildWatch(const QElapsedTimer& clock) : m_clock(clock) {
        m_thread = std::thread([this] {
            std::set<pid_t> seen;
            while (!m_stop) {
                if (m_child != 0 && !processExists(m_child)) {
                    m_child = 0;
                    m_ended = m_clock.elapsed();
                }
                const pid_t child = m_child == 0 ? firstChild() : 0;
                if (child != 0 && seen.insert(child).second) {
                    std::ifstream cmdline("/proc/" + std::to_string(child) + "/cmdline");
                    std::string arguments((std::istreambuf_iterator<char>(cmdline)),
                                          std::istreambuf_iterator<char>());
                    {
                        const std::lock_guard<std::mutex> lock(m_mutex);
                        m_arguments = arguments;
                    }
                    m_child = child;
                    m_started = m_clock.elapsed();
                    ++m_starts;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
    }
    ~ChildWatch() {
        m_stop = true;
        m_thread.join();
    }
    pid_t child() const { return m_child; }
    qint64 started() const { return m_started; }
    qint64 ended() const { return m_ended; }
    int starts() const { return m_starts; }
    // The arguments of the last player started, each ended by a zero byte.
    std::string arguments() const {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_arguments;
    }

private:
    // The player: the launcher, or the vlc it has become; not the tools the probe runs
    // (xdotool, import), nor a child that has not yet become what it runs.
    static pid_t firstChild() {
        const QDir tasks(QStringLiteral("/proc/self/task"));
        for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            std::ifstream children(
                (tasks.filePath(task) + QStringLiteral("/children")).toStdString());
            pid_t pid = 0;
            while (children >> pid) {
                std::ifstream cmdline("/proc/" + std::to_string(pid) + "/cmdline");
                std::string program;
                std::getline(cmdline, program, '\0');
                const std::string name = program.substr(program.rfind('/') + 1);
                if (name == "vlc" || name == "VLCportable.exe")
                    return pid;
            }
        }
        return 0;
    }
    const QElapsedTimer& m_clock;
    mutable std::mutex m_mutex;
    std::string m_arguments;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<pid_t> m_child{0};
    std::atomic<qint64> m_started{-1};
    std::atomic<qint64> m_ended{-1};
    std::atomic<int> m_starts{0};
};

// The whole display ten times a second, from a thread with a connection of its own, while the
// window's thread waits for the player: what the class saw from OK until the film played.
class Recorder {
public:
    explicit Recorder(const QElapsedTimer& clock) : m_clock(clock) {}
    ~Recorder() { stop(); }
    void start() {
        m_thread = std::thread([this] {
            xcb_connection_t* c = xcb_connect(nullptr, nullptr);
            if (xcb_connection_has_error(c)) {
                xcb_disconnect(c);
                return;
            }
            const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
            while (!m_stop) {
                const qint64 at = m_clock.elapsed();
                xcb_get_image_reply_t* reply = xcb_get_image_reply(
                    c,
                    xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, 0, 0,
                                  screen->width_in_pixels, screen->height_in_pixels, ~0u),
                    nullptr);
                if (reply && reply->depth == 24) {
                    const QImage image(xcb_get_image_data(reply), screen->width_in_pixels,
                                       screen->height_in_pixels, QImage::Format_RGB32);
                    // A quarter of the size is enough to see a window.
                    const std::lock_guard<std::mutex> lock(m_mutex);
                    m_frames.push_back({at, image.scaled(image.size() / 4)});
                }
                std::free(reply);
                const qint64 next = at + 100 - m_clock.elapsed();
                if (next > 0)
                    std::this_thread::sleep_for(std::chrono::milliseconds(next));
            }
            xcb_disconnect(c);
        });
    }
    void stop() {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    struct Frame {
        qint64 at;
        QImage image;
    };
    std::vector<Frame> frames() {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_frames;
    }

private:
    const QElapsedTimer& m_clock;
    std::mutex m_mutex;
    std::vector<Frame> m_frames;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
};

// Records when a window was first painted, and when it last became active.
class Watch : public QObject {
public:
    Watch(const QElapsedTimer& clock) : m_clock(clock) {}
    qint64 painted = -1;
    qint64 activated = -1;
    qint64 shown = -1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && painted < 0)
            painted = m_clock.elapsed();
        if (event->type() == QEvent::WindowActivate)
            activated = m_clock.elapsed();
        if (event->type() == QEvent::Show) {
            shown = m_clock.elapsed();
            if (qgetenv("FILMARIN_TRACE") == "1")
                std::fprintf(stderr, "%lld ms: show\n", static_cast<long long>(shown));
        }
        if (event->type() == QEvent::Expose && qgetenv("FILMARIN_TRACE") == "1")
            std::fprintf(stderr, "%lld ms: expose\n", static_cast<long long>(m_clock.elapsed()));
        return QObject::eventFilter(watched, event);
    }

private:
    const QElapsedTimer& m_clock;
};

void key(const char* name) {
    QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QLatin1String(name)});
}

QString shotFile(const QString& name) {
    return env("FILMARIN_SHOTS") + QLatin1Char('/') + name + QStringLiteral(".png");
}

// The whole display, as the class would see it on its screens.
void takeScreenshot(const QString& name) {
    QProcess::execute(QStringLiteral("import"),
                      {QStringLiteral("-window"), QStringLiteral("root"), shotFile(name)});
}

QImage loadScreenshot(const QString& name) {
    QImage image(shotFile(name));
    check(!image.isNull(), "screenshot " + name.toStdString());
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage screenshot(const QString& name) {
    takeScreenshot(name);
    return loadScreenshot(name);
}

// Shares of pixels in `area`, leaving out `except`: black ones and strongly coloured ones.
struct Shares {
    double black = 0;
    double coloured = 0;
};

Shares shares(const QImage& image, QRect area, const QRect& except = QRect()) {
    area &= image.rect();
    qint64 all = 0, black = 0, coloured = 0;
    for (int y = area.top(); y <= area.bottom(); y += 2) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = area.left(); x <= area.right(); x += 2) {
            if (except.contains(x, y))
                continue;
            const QColor c(line[x]);
            ++all;
            if (c.red() < 12 && c.green() < 12 && c.blue() < 12)
                ++black;
            if (c.hsvSaturation() > 120 && c.value() > 100)
                ++coloured;
        }
    }
    if (all == 0)
        return {};
    return {double(black) / all, double(coloured) / all};
}

// Pixels as a window's menus, title bar and buttons or a panel draw them: grey or white.
// Black, the title card's yellow and the film's colours are none.
double windowShare(const QImage& image, QRect area) {
    area &= image.rect();
    qint64 all = 0, grey = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c(line[x]);
            ++all;
            if (c.hsvSaturation() < 60 && c.value() >= 40)
                ++grey;
        }
    }
    return all == 0 ? 0 : double(grey) / all;
}

// Every frame from OK until the film plays shows black, the title card or the film on the
// film's screen: never the player's own window with its menus.
void lookAtEveryFrame(const std::vector<Recorder::Frame>& frames, const QRect& filmScreen,
                      qint64 okAt, qint64 blackAt) {
    const QRect quarter(filmScreen.topLeft() / 4, filmScreen.size() / 4);
    double worst = 0;
    qint64 worstAt = -1;
    int index = 0;
    for (const Recorder::Frame& frame : frames) {
        // Up to the film's first frame: the film itself has white and grey in it.
        // From the moment the black was drawn (and the X server has shown it).
        const bool black = frame.at > blackAt + 50;
        if (black && shares(frame.image, quarter).coloured > 0.2)
            break;
        const double share = black ? windowShare(frame.image, quarter) : 0;
        if (share > worst) {
            worst = share;
            worstAt = frame.at - okAt;
        }
        frame.image.save(shotFile(QStringLiteral("0-frame-%1-%2ms")
                                      .arg(index++, 3, 10, QLatin1Char('0'))
                                      .arg(frame.at - okAt)));
    }
    std::fprintf(stderr,
                 "%d of %zu frames from OK to the film (10 a second): at most %.2f %% window "
                 "pixels on the film's screen (%lld ms after OK)\n",
                 index, frames.size(), worst * 100, static_cast<long long>(worstAt));
    check(index >= 15, "ten frames a second were taken up to the film");
    check(index < static_cast<int>(frames.size()), "the film came within the frames taken");
    check(worst < 0.003, "only black and the title card on the film's screen before the film");
}

// Waits, handling the window's events, until `condition` holds or `ms` have passed.
bool waitUntil(const std::function<bool()>& condition, int ms) {
    return QTest::qWaitFor(condition, ms);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const QString player = env("FILMARIN_PLAYER");
    const QString video = env("FILMARIN_VIDEO");
    const int expectedScreens = env("FILMARIN_SCREENS").toInt();
    QElapsedTimer clock;
    clock.start();

    WindowFixture f;
    QFile::remove(f.playerPath());
    check(QFile::copy(player, f.playerPath()), "the launcher is in the program folder");
    TForm1& w = f.open(false);
    f.chosenFile = video;
    w.Datei1->trigger();
    w.show();
    check(waitUntil([&] { return w.playerChecked(); }, 5000), "the player check ran");
    // Excerpt 1 from second 1 to 3, a pause, excerpt 2 from second 4 to 6.
    w.StringGrid2->setCell(0, 1, QStringLiteral("0"));
    w.StringGrid1->setCell(2, 1, QStringLiteral("1"));
    w.StringGrid2->setCell(2, 1, QStringLiteral("3"));
    w.StringGrid1->setCell(2, 2, QStringLiteral("4"));
    w.StringGrid2->setCell(2, 2, QStringLiteral("6"));
    w.CheckListBox1->setChecked(0, true);
    w.Button1->click();
    const QList<QScreen*> screens = QGuiApplication::screens();
    check(screens.size() == expectedScreens,
          "the program sees " + std::to_string(expectedScreens) + " screen(s)");
    const QRect mainScreen = w.screen()->geometry();
    FilmShowing& showing = f.program->showing();
    ShowingMenu& menu = *w.Vorfuehrung1;
    // A screen chosen in the menu: 1 is the laptop.
    if (!env("FILMARIN_FILM").isEmpty())
        menu.screenEntries().value(env("FILMARIN_FILM").toInt())->trigger();
    const int filmIndex = showing.filmScreenIndex();
    const QRect filmScreen = screens.value(filmIndex)->geometry();
    const bool filmOnTeachersScreen = filmScreen == mainScreen;
    if (expectedScreens > 1 && env("FILMARIN_FILM").isEmpty())
        check(!filmOnTeachersScreen, "the film goes on the screen without the main window");

    ChildWatch children(clock);
    Watch backdropWatch(clock), dialogWatch(clock);
    menu.backdrop().installEventFilter(&backdropWatch);
    f.pauseDialog->installEventFilter(&dialogWatch);
    f.pauseDialog->winId();
    f.pauseDialog->windowHandle()->installEventFilter(&dialogWatch);
    qint64 okAt = -1;
    QObject::connect(f.pauseDialog, &TDialogWeiter_Form::continueWith,
                     [&] { okAt = clock.elapsed(); });

    w.Abspielen1->trigger();
    check(waitUntil([&] { return f.pauseDialog->isActiveWindow(); }, 3000),
          "the pause dialog has the focus");
    // The player check after start-up ran the player too.
    check(waitUntil([&] { return children.child() == 0; }, 5000), "the player check has ended");
    const int before = children.starts();
    Recorder recorder(clock);
    recorder.start();
    // OK from the keyboard, as the remote's key.
    key("Next");
    // The window's thread waits for the player in the process runner's loop: the picture
    // during play is taken from a thread of its own, after the title card (2 s) and one
    // second of the film.
    std::thread shooter([&] {
        for (int i = 0; i < 5000 && children.starts() == before; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(3200));
        // A slow machine shows the title card longer: a few more looks while the film plays.
        for (int look = 0; look < 5; ++look) {
            takeScreenshot(QStringLiteral("1-playing"));
            const QImage shot(shotFile(QStringLiteral("1-playing")));
            if (shares(shot.convertToFormat(QImage::Format_RGB32), filmScreen).coloured > 0.4)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
        }
    });
    check(waitUntil([&] { return children.starts() == before + 1; }, 5000), "the player starts");
    check(okAt >= 0 && backdropWatch.painted >= 0 && backdropWatch.painted <= children.started(),
          "black covers the screen before the player starts");
    std::fprintf(stderr, "OK to black %lld ms, OK to the player's start %lld ms\n",
                 static_cast<long long>(backdropWatch.painted - okAt),
                 static_cast<long long>(children.started() - okAt));
    if (expectedScreens > 1) {
        check(children.arguments().find("--qt-fullscreen-screennumber=" +
                                        std::to_string(filmIndex)) != std::string::npos,
              "the player is told the film's screen");
    }

    shooter.join();
    recorder.stop();
    const QImage playing = loadScreenshot(QStringLiteral("1-playing"));
    const Shares film = shares(playing, filmScreen);
    std::fprintf(stderr, "while playing: %.0f %% coloured on the film's screen\n",
                 film.coloured * 100);
    check(film.coloured > 0.4, "the film plays on the film's screen");
    if (expectedScreens > 1) {
        const QRect other = screens.value(filmIndex == 0 ? 1 : 0)->geometry();
        std::fprintf(stderr, "while playing: %.0f %% coloured on the other screen\n",
                     shares(playing, other).coloured * 100);
        check(shares(playing, other).coloured < 0.1, "the film plays on no other screen");
    }

    check(waitUntil([&] { return f.pauseDialog->isVisible() && children.child() == 0; }, 8000),
          "the pause dialog is back after the first excerpt");
    // The title card and two seconds of the film, played by this player itself.
    std::fprintf(stderr, "the first segment played for %lld ms\n",
                 static_cast<long long>(children.ended() - children.started()));
    check(children.ended() - children.started() >= 3500, "the player played the segment itself");
    check(waitUntil([&] { return f.pauseDialog->isActiveWindow(); }, 1000),
          "the pause dialog has the focus again");
    std::fprintf(stderr, "ended at %lld, shown %lld, activated %lld\n",
                 static_cast<long long>(children.ended()),
                 static_cast<long long>(dialogWatch.shown),
                 static_cast<long long>(dialogWatch.activated));
    std::fprintf(stderr,
                 "player's exit to the pause dialog's focus: %lld ms (shown after %lld ms)\n",
                 static_cast<long long>(dialogWatch.activated - children.ended()),
                 static_cast<long long>(dialogWatch.shown - children.ended()));
    check(dialogWatch.activated - children.ended() <= 500,
          "the pause dialog has the focus promptly after the player's exit");
    // The frames are looked at once the pause dialog's focus has been measured: saving them
    // keeps the window's thread busy.
    lookAtEveryFrame(recorder.frames(), filmScreen, okAt, backdropWatch.painted);
    QTest::qWait(300);
    const QRect dialog = f.pauseDialog->frameGeometry().adjusted(-2, -2, 2, 2);
    const QImage paused = screenshot(QStringLiteral("2-pause"));
    const Shares pause = shares(paused, filmScreen, dialog);
    std::fprintf(stderr, "at the pause: %.2f %% black on the film's screen\n", pause.black * 100);
    check(pause.black > 0.999, "black at the pause, but for the pause dialog");
    if (expectedScreens > 1 && !filmOnTeachersScreen)
        check(shares(paused, mainScreen).black < 0.5, "the teacher's screen shows the table");

    key("b");
    QTest::qWait(400);
    const Shares lifted = shares(screenshot(QStringLiteral("3-lifted")), filmScreen, dialog);
    check(lifted.black < 0.5, "B lifts the black");
    key("period");
    QTest::qWait(400);
    const Shares back = shares(screenshot(QStringLiteral("4-black-again")), filmScreen, dialog);
    check(back.black > 0.999, "\".\" brings it back");
    check(f.pauseDialog->isActiveWindow(), "the pause dialog keeps the focus");
    if (expectedScreens > 1) {
        // The projector is switched off during the pause and on again: black on it again.
        QProcess::execute(
            QStringLiteral("xrandr"),
            {QStringLiteral("--output"), QStringLiteral("DUMMY1"), QStringLiteral("--off")});
        check(waitUntil([] { return QGuiApplication::screens().size() == 1; }, 5000),
              "the projector is switched off during the pause");
        QProcess::execute(QStringLiteral("xrandr"),
                          {QStringLiteral("--output"), QStringLiteral("DUMMY1"),
                           QStringLiteral("--mode"), QStringLiteral("1920x1080"),
                           QStringLiteral("--right-of"), QStringLiteral("DUMMY0")});
        check(waitUntil([] { return QGuiApplication::screens().size() == 2; }, 5000),
              "and on again");
        check(waitUntil(
                  [&] {
                      return menu.backdrop().covering() &&
                             menu.backdrop().screen() ==
                                 QGuiApplication::screens().value(showing.filmScreenIndex());
                  },
                  3000),
              "the black goes back on the film's screen");
        QTest::qWait(600);
        const Shares again =
            shares(screenshot(QStringLiteral("4b-projector-back")), filmScreen, dialog);
        std::fprintf(stderr, "the projector back at the pause: %.2f %% black\n", again.black * 100);
        check(again.black > 0.999, "black on the film's screen after the projector came back");
        check(f.pauseDialog->isVisible(), "the pause dialog is still there");
        f.pauseDialog->showChoice();
        check(waitUntil([&] { return f.pauseDialog->isActiveWindow(); }, 2000),
              "the pause dialog has the keyboard for the remote");
    }

    key("Next");
    check(waitUntil([&] { return children.starts() == before + 2; }, 5000),
          "the second excerpt starts");
    check(waitUntil([&] { return children.child() == 0 && w.Panel1->isEnabled(); }, 10000),
          "the run ends after the second excerpt");
    // The showing ended by itself: the main window has the keyboard, in the window manager's
    // eyes too, so that F5 and a remote's keys reach it.
    check(waitUntil([&] { return w.isActiveWindow(); }, 2000),
          "the main window has the focus after the showing");
    QProcess active;
    active.start(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")});
    active.waitForFinished(3000);
    check(active.readAllStandardOutput().trimmed().toULongLong() == w.winId(),
          "the window manager's active window is the main window");
    QTest::qWait(300);
    check(!menu.backdrop().covering(), "no black after the run");
    const Shares after = shares(screenshot(QStringLiteral("5-after")), mainScreen);
    check(after.black < 0.5, "the table is back");
    if (expectedScreens > 1) {
        // The projector is unplugged and plugged in again: the screens menu follows, and a
        // chosen screen that has gone leaves the choice to the rule.
        menu.screenEntries().last()->trigger();
        check(showing.playerScreen() == 1, "the projector is chosen");
        QProcess::execute(
            QStringLiteral("xrandr"),
            {QStringLiteral("--output"), QStringLiteral("DUMMY1"), QStringLiteral("--off")});
        check(waitUntil([] { return QGuiApplication::screens().size() == 1; }, 5000),
              "the projector is gone");
        QTest::qWait(100);
        check(menu.screenEntries().size() == 2, "the menu lists one screen");
        check(menu.screenEntries().first()->isChecked(), "the rule chooses again");
        check(showing.playerScreen() == std::nullopt, "one screen: the player is told none");
        QProcess::execute(QStringLiteral("xrandr"),
                          {QStringLiteral("--output"), QStringLiteral("DUMMY1"),
                           QStringLiteral("--mode"), QStringLiteral("1920x1080"),
                           QStringLiteral("--right-of"), QStringLiteral("DUMMY0")});
        check(waitUntil([] { return QGuiApplication::screens().size() == 2; }, 5000),
              "the projector is back");
        QTest::qWait(100);
        QStringList labels;
        for (QAction* entry : menu.screenEntries())
            labels << entry->text();
        std::fprintf(stderr, "screens menu: %s\n", qPrintable(labels.join(QStringLiteral(" | "))));
        check(
            labels ==
                QStringList{QStringLiteral("Bildschirm für den Film: automatisch"),
                            QStringLiteral("Bildschirm 1: %1, links (Hauptfenster)")
                                .arg(env("FILMARIN_LAPTOP").replace(QLatin1Char('x'), QChar(0xd7))),
                            QStringLiteral("Bildschirm 2: 1920×1080, rechts")},
            "the menu lists both screens again");
        check(showing.playerScreen() == 1, "the film goes on the projector again");
    }
    if (expectedScreens == 1) {
        // The preview: excerpt 3's start and stop taken from the player, moved through its
        // control channel, with the window usable all the while.
        w.StringGrid1->setCurrentCell(3, 0);
        w.Vorschau1->trigger();
        check(waitUntil([&] { return children.child() != 0; }, 5000), "the preview starts");
        check(waitUntil([&] { return w.preview().control() && w.preview().control()->listening(); },
                        10000),
              "the preview's player listens on its channel");
        QTest::qWait(1500);
        takeScreenshot(QStringLiteral("6-preview"));
        w.preview().control()->seek(5);
        QTest::qWait(400);
        w.Startzeituebernehmen1->trigger();
        check(waitUntil([&] { return w.StringGrid1->cell(2, 3) == QStringLiteral("5"); }, 2000),
              "the start is taken from the player: second 5");
        w.preview().control()->seek(12);
        QTest::qWait(400);
        w.Stoppzeituebernehmen1->trigger();
        check(waitUntil([&] { return w.StringGrid2->cell(2, 3) == QStringLiteral("12"); }, 2000),
              "the stop is taken from the player: second 12");
        std::fprintf(stderr, "excerpt 3: %s:%s:%s to %s:%s:%s, total %s\n",
                     qPrintable(w.StringGrid1->cell(0, 3)), qPrintable(w.StringGrid1->cell(1, 3)),
                     qPrintable(w.StringGrid1->cell(2, 3)), qPrintable(w.StringGrid2->cell(0, 3)),
                     qPrintable(w.StringGrid2->cell(1, 3)), qPrintable(w.StringGrid2->cell(2, 3)),
                     qPrintable(w.LabeledEdit1->text()));
        check(w.LabeledEdit1->text() == QStringLiteral("0h 0min 11sec"),
              "the total counts the taken excerpt");
        // "Abspielen" ends the preview before the showing.
        w.Abspielen1->trigger();
        check(waitUntil([&] { return children.child() == 0; }, 3000),
              "Abspielen ends the preview's player");
        check(f.pauseDialog->isVisible(), "the showing begins");
        f.pauseDialog->Button2->click();
        // Closing the window ends it too.
        w.Vorschau1->trigger();
        check(waitUntil([&] { return children.child() != 0; }, 5000), "the preview starts again");
        check(waitUntil([&] { return w.preview().control() && w.preview().control()->listening(); },
                        10000),
              "and listens");
        w.close();
        check(waitUntil([&] { return children.child() == 0; }, 3000),
              "closing the window ends the preview's player");
    }
    check(f.messages.shown.empty(), "no message was shown");
    std::fprintf(stderr, "%d failure(s)\n", failures);
    return failures == 0 ? 0 : 1;
}
