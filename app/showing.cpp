// SPDX-License-Identifier: GPL-3.0-or-later
#include "showing.h"

#include <QAction>
#include <QActionGroup>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <cmath>

namespace filmarin {

// A tool window of the main window is listed in no taskbar; above others, it covers panels.
Backdrop::Backdrop(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                              Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("Backdrop"));
    setWindowTitle(QStringLiteral("Filmarin"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    // No pointer on the class's screen either.
    setCursor(Qt::BlankCursor);
}

void Backdrop::cover(QScreen* screen) {
    if (!screen)
        return;
    if (isVisible() && this->screen() == screen && geometry() == screen->geometry()) {
        raise();
        return;
    }
    if (isVisible())
        hide();
    m_painted = false;
    setScreen(screen);
    setGeometry(screen->geometry());
    // Full screen without taking the focus (showFullScreen would ask for it).
    setWindowState(Qt::WindowFullScreen);
    show();
    raise();
}

void Backdrop::lift() {
    hide();
    m_painted = false;
}

void Backdrop::setAbove(bool above) {
    QWindow* window = windowHandle();
    if (!window || bool(window->flags() & Qt::WindowStaysOnTopHint) == above)
        return;
    // On the shown window itself: the widget would be hidden and shown again.
    window->setFlag(Qt::WindowStaysOnTopHint, above);
    if (above)
        raise();
}

void Backdrop::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    m_painted = true;
    QWidget::paintEvent(event);
}

ShowingMenu::ShowingMenu(QWidget& mainWindow, QWidget* parent)
    : QMenu(QStringLiteral("Vorführung"), parent), m_mainWindow(mainWindow) {
    m_black = addAction(QStringLiteral("Schwarzer Hintergrund beim Abspielen"));
    m_black->setObjectName(QStringLiteral("SchwarzerHintergrund1"));
    m_black->setCheckable(true);
    m_black->setChecked(true);
    addSeparator();
    m_screenGroup = new QActionGroup(this);
    m_screenGroup->setExclusive(true);
    fillScreens();
    auto refill = [this] {
        fillScreens();
        emit screensChanged();
    };
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this, refill](QScreen* screen) {
        connect(screen, &QScreen::geometryChanged, this, refill);
        refill();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, refill, Qt::QueuedConnection);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, refill);
    for (QScreen* screen : QGuiApplication::screens())
        connect(screen, &QScreen::geometryChanged, this, refill);
    // Turned off during a pause: the class sees the desktop until it is turned on again.
    connect(m_black, &QAction::toggled, this, [this](bool on) {
        if (!on)
            lift();
    });
}

Backdrop& ShowingMenu::backdrop() {
    if (!m_backdrop)
        m_backdrop = new Backdrop(&m_mainWindow);
    return *m_backdrop;
}

std::vector<ScreenFacts> ShowingMenu::screens() {
    std::vector<ScreenFacts> facts;
    const std::vector<platform::Area> monitors = platform::monitors();
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect geometry = screen->geometry();
        facts.push_back({geometry, screenPixels(geometry, screen->devicePixelRatio(), monitors)});
    }
    return facts;
}

int ShowingMenu::mainWindowScreen() {
    return static_cast<int>(QGuiApplication::screens().indexOf(m_mainWindow.screen()));
}

std::optional<int> ShowingMenu::chosenScreen() {
    if (!m_chosen)
        return std::nullopt;
    return static_cast<int>(QGuiApplication::screens().indexOf(m_chosen.data()));
}

bool ShowingMenu::blackWanted() {
    return m_black->isChecked();
}

void ShowingMenu::cover(int screen) {
    const QList<QScreen*> all = QGuiApplication::screens();
    if (screen >= 0 && screen < all.size())
        backdrop().cover(all[screen]);
}

void ShowingMenu::lift() {
    if (m_backdrop)
        m_backdrop->lift();
}

bool ShowingMenu::covering() {
    return m_backdrop && m_backdrop->covering();
}

bool ShowingMenu::painted() {
    return m_backdrop && m_backdrop->painted();
}

void ShowingMenu::setAbovePlayer(bool above) {
    if (m_backdrop)
        m_backdrop->setAbove(above);
}

std::vector<platform::ProgramWindow>
ShowingMenu::playerWindows(const platform::ProcessInformation& player) {
    return platform::programWindows(player);
}

void ShowingMenu::putFullScreen(std::uint64_t window, const platform::Area& monitor) {
    platform::putFullScreen(window, monitor);
}

void ShowingMenu::focusMainWindow() {
    // The window manager may still point at the player that has gone.
    m_mainWindow.raise();
    m_mainWindow.activateWindow();
}

QList<QAction*> ShowingMenu::screenEntries() const {
    QList<QAction*> entries{m_automatic};
    entries += m_screenActions;
    return entries;
}

void ShowingMenu::fillScreens() {
    const QList<QScreen*> all = QGuiApplication::screens();
    // A chosen screen that has gone leaves the choice to the rule.
    if (m_chosen && !all.contains(m_chosen.data()))
        m_chosen = nullptr;
    if (!m_automatic) {
        m_automatic = addAction(QStringLiteral("Bildschirm für den Film: automatisch"));
        m_automatic->setObjectName(QStringLiteral("BildschirmAutomatisch1"));
        m_automatic->setCheckable(true);
        m_screenGroup->addAction(m_automatic);
        connect(m_automatic, &QAction::triggered, this, [this] { m_chosen = nullptr; });
    }
    for (QAction* action : std::as_const(m_screenActions)) {
        m_screenGroup->removeAction(action);
        removeAction(action);
        action->deleteLater();
    }
    m_screenActions.clear();
    const std::vector<ScreenFacts> facts = screens();
    const int mainScreen = mainWindowScreen();
    for (int i = 0; i < static_cast<int>(all.size()); ++i) {
        QAction* action = addAction(screenLabel(facts, i, mainScreen));
        action->setObjectName(QStringLiteral("Bildschirm%1").arg(i + 1));
        action->setCheckable(true);
        action->setChecked(m_chosen == all[i]);
        m_screenGroup->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, screen = QPointer<QScreen>(all[i])] { m_chosen = screen; });
        m_screenActions << action;
    }
    m_automatic->setChecked(!m_chosen);
}

} // namespace filmarin
