// SPDX-License-Identifier: GPL-3.0-or-later
#include "showing.h"

#include <QAction>
#include <QActionGroup>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <cmath>

namespace filmarin {

Backdrop::Backdrop(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
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

void Backdrop::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    m_painted = true;
    QWidget::paintEvent(event);
}

FilmShowing::FilmShowing(QWidget& mainWindow, QAction& black, QMenu& screensMenu)
    : m_mainWindow(mainWindow), m_black(black), m_screensMenu(screensMenu),
      m_backdrop(new Backdrop(&mainWindow)) {
    m_screenGroup = new QActionGroup(this);
    m_screenGroup->setExclusive(true);
    fillScreensMenu();
    auto refill = [this] { fillScreensMenu(); };
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this, refill](QScreen* screen) {
        connect(screen, &QScreen::geometryChanged, this, refill);
        refill();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, refill, Qt::QueuedConnection);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, refill);
    for (QScreen* screen : QGuiApplication::screens())
        connect(screen, &QScreen::geometryChanged, this, refill);
    // Turned off during a pause: the class sees the desktop until it is turned on again.
    connect(&m_black, &QAction::toggled, this, [this](bool on) {
        if (!on)
            m_backdrop->lift();
    });
}

FilmShowing::~FilmShowing() = default;

std::vector<ScreenFacts> FilmShowing::screenFacts() const {
    std::vector<ScreenFacts> facts;
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect geometry = screen->geometry();
        const qreal ratio = screen->devicePixelRatio();
        facts.push_back({geometry, QSize(int(std::lround(geometry.width() * ratio)),
                                         int(std::lround(geometry.height() * ratio)))});
    }
    return facts;
}

int FilmShowing::mainWindowScreen() const {
    return static_cast<int>(QGuiApplication::screens().indexOf(m_mainWindow.screen()));
}

int FilmShowing::filmScreenIndex() const {
    std::optional<int> chosen;
    if (m_chosen)
        chosen = static_cast<int>(QGuiApplication::screens().indexOf(m_chosen.data()));
    return filmScreen(screenFacts(), mainWindowScreen(), chosen);
}

QList<QAction*> FilmShowing::screenEntries() const {
    QList<QAction*> entries{m_automatic};
    entries += m_screenActions;
    return entries;
}

void FilmShowing::fillScreensMenu() {
    const QList<QScreen*> screens = QGuiApplication::screens();
    // A chosen screen that has gone leaves the choice to the rule.
    if (m_chosen && !screens.contains(m_chosen.data()))
        m_chosen = nullptr;
    if (!m_automatic) {
        m_automatic =
            m_screensMenu.addAction(QStringLiteral("Bildschirm für den Film: automatisch"));
        m_automatic->setObjectName(QStringLiteral("BildschirmAutomatisch1"));
        m_automatic->setCheckable(true);
        m_screenGroup->addAction(m_automatic);
        connect(m_automatic, &QAction::triggered, this, [this] { m_chosen = nullptr; });
    }
    for (QAction* action : std::as_const(m_screenActions)) {
        m_screenGroup->removeAction(action);
        m_screensMenu.removeAction(action);
        action->deleteLater();
    }
    m_screenActions.clear();
    const std::vector<ScreenFacts> facts = screenFacts();
    const int mainScreen = mainWindowScreen();
    for (int i = 0; i < static_cast<int>(screens.size()); ++i) {
        QAction* action = m_screensMenu.addAction(screenLabel(facts, i, mainScreen));
        action->setObjectName(QStringLiteral("Bildschirm%1").arg(i + 1));
        action->setCheckable(true);
        action->setChecked(m_chosen == screens[i]);
        m_screenGroup->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, screen = QPointer<QScreen>(screens[i])] { m_chosen = screen; });
        m_screenActions << action;
    }
    m_automatic->setChecked(!m_chosen);
}

void FilmShowing::cover() {
    const int index = filmScreenIndex();
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (index < 0 || index >= screens.size())
        return;
    m_backdrop->cover(screens[index]);
    if (m_afterCover)
        m_afterCover();
}

void FilmShowing::segmentChosen() {
    m_running = true;
    if (m_black.isChecked())
        cover();
}

void FilmShowing::runEnded() {
    m_running = false;
    m_backdrop->lift();
}

std::optional<int> FilmShowing::playerScreen() {
    return playerScreenNumber(screenFacts(), filmScreenIndex());
}

void FilmShowing::toggleBlack() {
    if (!m_running || !m_black.isChecked())
        return;
    if (m_backdrop->covering())
        m_backdrop->lift();
    else
        cover();
}

bool FilmShowing::readyForPlayer() {
    return !m_backdrop->covering() || m_backdrop->painted();
}

} // namespace filmarin
