// SPDX-License-Identifier: GPL-3.0-or-later
#include "filmscreen.h"

#include <cmath>

namespace filmarin {

namespace {

qint64 area(const ScreenFacts& screen) {
    return qint64(screen.pixels.width()) * screen.pixels.height();
}

int count(const std::vector<ScreenFacts>& screens) {
    return static_cast<int>(screens.size());
}

// Where the screen stands beside the others: left of all of them, right of them, above or
// below them; empty when it is none of these, as the middle one of three in a row.
QString position(const std::vector<ScreenFacts>& screens, int index) {
    const QRect here = screens[static_cast<std::size_t>(index)].geometry;
    bool left = true, right = true, above = true, below = true;
    for (int i = 0; i < count(screens); ++i) {
        if (i == index)
            continue;
        const QRect other = screens[static_cast<std::size_t>(i)].geometry;
        left = left && here.x() + here.width() <= other.x();
        right = right && here.x() >= other.x() + other.width();
        above = above && here.y() + here.height() <= other.y();
        below = below && here.y() >= other.y() + other.height();
    }
    if (left)
        return QStringLiteral("links");
    if (right)
        return QStringLiteral("rechts");
    if (above)
        return QStringLiteral("oben");
    if (below)
        return QStringLiteral("unten");
    return QString();
}

} // namespace

QSize screenPixels(const QRect& geometry, double ratio,
                   const std::vector<platform::Area>& monitors) {
    for (const platform::Area& monitor : monitors) {
        if (monitor.x == geometry.x() && monitor.y == geometry.y())
            return QSize(monitor.width, monitor.height);
    }
    return QSize(int(std::lround(geometry.width() * ratio)),
                 int(std::lround(geometry.height() * ratio)));
}

platform::Area deviceArea(const ScreenFacts& screen) {
    // The toolkit keeps a screen's corner where the system has it and scales only its size.
    return {screen.geometry.x(), screen.geometry.y(), screen.pixels.width(),
            screen.pixels.height()};
}

int filmScreen(const std::vector<ScreenFacts>& screens, int mainWindowScreen,
               std::optional<int> chosen) {
    if (chosen && *chosen >= 0 && *chosen < count(screens))
        return *chosen;
    if (screens.empty())
        return -1;
    if (screens.size() == 1)
        return 0;
    int best = -1;
    for (int i = 0; i < count(screens); ++i) {
        if (i == mainWindowScreen)
            continue;
        if (best < 0 || area(screens[static_cast<std::size_t>(i)]) >
                            area(screens[static_cast<std::size_t>(best)]))
            best = i;
    }
    return best;
}

std::optional<int> playerScreenNumber(const std::vector<ScreenFacts>& screens, int index) {
    if (screens.size() < 2 || index < 0 || index >= count(screens))
        return std::nullopt;
    return index;
}

QString screenLabel(const std::vector<ScreenFacts>& screens, int index, int mainWindowScreen) {
    if (index < 0 || index >= count(screens))
        return QString();
    const ScreenFacts& screen = screens[static_cast<std::size_t>(index)];
    QString label = QStringLiteral("Bildschirm %1: %2×%3")
                        .arg(index + 1)
                        .arg(screen.pixels.width())
                        .arg(screen.pixels.height());
    const QString where = screens.size() > 1 ? position(screens, index) : QString();
    if (!where.isEmpty())
        label += QStringLiteral(", ") + where;
    if (index == mainWindowScreen && screens.size() > 1)
        label += QStringLiteral(" (Hauptfenster)");
    return label;
}

} // namespace filmarin
