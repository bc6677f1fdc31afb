// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "playback/filmscreen.h"
#include "playback/filmshowing.h"

#include <QMenu>
#include <QPointer>
#include <QWidget>
#include <optional>
#include <vector>

class QAction;
class QActionGroup;
class QScreen;

namespace filmarin {

// A borderless black window in full screen on one screen, above panels and taskbars and
// listed in none. It is owned by the main window and never takes the keyboard: the pause
// dialog comes above it and keeps the focus, and the player comes above it once its film is
// in place.
class Backdrop : public QWidget {
    Q_OBJECT
public:
    explicit Backdrop(QWidget* mainWindow);

    // Covers `screen`, raised above the program's other windows.
    void cover(QScreen* screen);
    void lift();
    // Above every window but the program's own dialogs (while the player gets its film in
    // place), or not (so that the player's full-screen window comes above it).
    void setAbove(bool above);
    bool covering() const { return isVisible(); }
    // Shown and painted on the screen since it last began to cover it.
    bool painted() const { return isVisible() && m_painted; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_painted = false;
};

// The menu "Vorführung": black during a showing, and the screen for the film. It lists the
// screens for this session and follows screens that come and go; nothing is kept. It owns
// the black window, made when a showing first needs it.
class ShowingMenu : public QMenu, public ShowingScreens {
    Q_OBJECT
public:
    ShowingMenu(QWidget& mainWindow, QWidget* parent);

    // "Schwarzer Hintergrund beim Abspielen", checkable, ticked at every start.
    QAction* black() const { return m_black; }
    // The screen entries: "automatisch" first, then one per screen.
    QList<QAction*> screenEntries() const;
    Backdrop& backdrop();

    std::vector<ScreenFacts> screens() override;
    int mainWindowScreen() override;
    std::optional<int> chosenScreen() override;
    bool blackWanted() override;
    void cover(int screen) override;
    void lift() override;
    bool covering() override;
    bool painted() override;
    void setAbovePlayer(bool above) override;
    std::vector<platform::ProgramWindow>
    playerWindows(const platform::ProcessInformation& player) override;
    void putFullScreen(std::uint64_t window, const platform::Area& monitor) override;
    void focusMainWindow() override;

signals:
    // A screen came, went or changed, and the menu lists the screens as they are now.
    void screensChanged();

private:
    void fillScreens();

    QWidget& m_mainWindow;
    QAction* m_black = nullptr;
    QActionGroup* m_screenGroup = nullptr;
    QAction* m_automatic = nullptr;
    QList<QAction*> m_screenActions;
    QPointer<QScreen> m_chosen;
    QPointer<Backdrop> m_backdrop;
};

} // namespace filmarin
