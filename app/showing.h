// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "playback/filmscreen.h"
#include "playback/playbackrun.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

class QAction;
class QActionGroup;
class QMenu;
class QScreen;

namespace filmarin {

// A borderless black window over a whole screen. It is owned by the main window, so that it
// stays above it, and never takes the keyboard: the pause dialog and the player come above
// it and keep the focus.
class Backdrop : public QWidget {
    Q_OBJECT
public:
    explicit Backdrop(QWidget* mainWindow);

    // Covers `screen`, raised above the program's other windows.
    void cover(QScreen* screen);
    void lift();
    bool covering() const { return isVisible(); }
    // Shown and painted on the screen since it last began to cover it.
    bool painted() const { return isVisible() && m_painted; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_painted = false;
};

// What the class sees during a run: black on the film's screen from the first OK to the
// run's end, and the film on a second screen where there is one. The screens menu lists the
// screens for this session and follows screens that come and go; nothing is kept.
class FilmShowing : public QObject, public Showing {
    Q_OBJECT
public:
    // `black` is the checkable menu entry that turns the backdrop on and off; the screen
    // entries are added to `screensMenu` after what it holds.
    FilmShowing(QWidget& mainWindow, QAction& black, QMenu& screensMenu);
    ~FilmShowing() override;

    void segmentChosen() override;
    void runEnded() override;
    std::optional<int> playerScreen() override;

    // B or "." in the pause dialog: lifts the backdrop, or brings it back, while a run is on.
    void toggleBlack();
    // The player may start: the backdrop, where it is wanted, has covered the screen.
    bool readyForPlayer() override;
    // Runs after the backdrop has come up, so that the pause dialog stays above it.
    void setAfterCover(std::function<void()> afterCover) { m_afterCover = std::move(afterCover); }

    Backdrop& backdrop() { return *m_backdrop; }
    // The screen the film plays on now, as the toolkit lists it; -1 without a screen.
    int filmScreenIndex() const;
    // The screen entries of the menu: "automatisch" first, then one per screen.
    QList<QAction*> screenEntries() const;

private:
    std::vector<ScreenFacts> screenFacts() const;
    int mainWindowScreen() const;
    void fillScreensMenu();
    void cover();

    QWidget& m_mainWindow;
    QAction& m_black;
    QMenu& m_screensMenu;
    QActionGroup* m_screenGroup = nullptr;
    QAction* m_automatic = nullptr;
    QList<QAction*> m_screenActions;
    QPointer<QScreen> m_chosen;
    QPointer<Backdrop> m_backdrop;
    std::function<void()> m_afterCover;
    bool m_running = false; // from the first OK of a run until its end
};

} // namespace filmarin
