// SPDX-License-Identifier: GPL-3.0-or-later
#include "screenfit.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace filmarin {

namespace {

// Room for the frames window managers draw (a title bar up to 38 pixels at 96 dpi), used
// where the system cannot say before a window is shown.
const QMargins kFrameRoom(4, 38, 4, 4);

} // namespace

std::optional<QMargins> systemFrame(QScreen& screen) {
    QWindow probe(&screen);
    probe.setFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    probe.setMinimumSize(QSize(100, 100));
    probe.setMaximumSize(QSize(100, 100));
    probe.resize(100, 100);
    probe.create();
    const QMargins frame = probe.frameMargins();
    probe.destroy();
    if (frame.isNull())
        return std::nullopt;
    return frame;
}

QMargins expectedFrame(QScreen& screen) {
    return systemFrame(screen).value_or(kFrameRoom);
}

double fittingScale(QSize size, const ScreenRoom& room) {
    const double system = room.systemScale > 0 ? room.systemScale : 1.0;
    if (size.isEmpty())
        return system;
    const double width = room.workArea.width() - room.frame.left() - room.frame.right();
    const double height = room.workArea.height() - room.frame.top() - room.frame.bottom();
    const double fit = std::min(width / size.width(), height / size.height());
    if (system <= fit + 1e-9)
        return system;
    const double stepped = std::floor(fit * 20 + 1e-9) / 20;
    return std::max(stepped, std::min(1.0, system));
}

QPoint framePlace(QSize frameSize, const QRect& workArea) {
    if (frameSize.width() > workArea.width() || frameSize.height() > workArea.height())
        return workArea.topLeft();
    return {workArea.x() + (workArea.width() - frameSize.width()) / 2,
            workArea.y() + (workArea.height() - frameSize.height()) / 2};
}

double fittingFactor(QSize size) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 1.0;
    const double system = screen->devicePixelRatio();
    ScreenRoom room;
    // The work area in the screen's own pixels.
    const QRect area = screen->availableGeometry();
    room.workArea =
        QRect(area.topLeft(), QSize(qRound(area.width() * system), qRound(area.height() * system)));
    room.systemScale = system;
    // A window manager's frame is drawn in the screen's pixels at the system's scale,
    // whatever scale the window's content gets.
    room.frame = expectedFrame(*screen) * system;
    const double scale = fittingScale(size, room);
    if (std::abs(scale - system) < 1e-6)
        return 1.0;
    return scale / system;
}

namespace {

const char kScaleVariable[] = "QT_SCALE_FACTOR";

} // namespace

std::unique_ptr<QApplication> makeApplication(double factor, int& argc, char** argv) {
    if (factor == 1.0)
        return std::make_unique<QApplication>(argc, argv);
    const bool hadOwn = qEnvironmentVariableIsSet(kScaleVariable);
    const QByteArray own = qgetenv(kScaleVariable);
    // On top of the factor the user set for Qt programs, if any.
    bool ok = false;
    const double ownFactor = hadOwn ? own.toDouble(&ok) : 1.0;
    const double base = ok && ownFactor > 0 ? ownFactor : 1.0;
    qputenv(kScaleVariable, QByteArray::number(base * factor, 'g', 10));
    auto application = std::make_unique<QApplication>(argc, argv);
    if (hadOwn)
        qputenv(kScaleVariable, own);
    else
        qunsetenv(kScaleVariable);
    return application;
}

QMargins frameOf(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect inside = window.geometry();
    const QMargins margins(inside.left() - frame.left(), inside.top() - frame.top(),
                           frame.right() - inside.right(), frame.bottom() - inside.bottom());
    // While a window manager takes a window up or changes its frame, the toolkit may read
    // frames that cannot be: those count as unknown.
    const auto plausible = [](int margin) { return margin >= 0 && margin < 100; };
    if (!plausible(margins.left()) || !plausible(margins.top()) || !plausible(margins.right()) ||
        !plausible(margins.bottom()))
        return {};
    return margins;
}

std::optional<QMargins> ownerFrame(QWidget& dialog) {
    const QWidget* owner = dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr;
    const QMargins frame = owner ? frameOf(*owner) : QMargins();
    if (!frame.isNull())
        return frame;
    return dialog.screen() ? systemFrame(*dialog.screen()) : std::nullopt;
}

void placeFrame(QWidget& window, const QRect& area, std::optional<QMargins> expected) {
    const QMargins own = frameOf(window);
    if (!own.isNull())
        expected = own;
    if (!expected && !window.testAttribute(Qt::WA_WState_Created)) {
        // Nobody can say what frame the window manager will draw: the window's frame is
        // placed, with room for a large one, and the window manager puts the corner of
        // whatever frame it draws there. (That works only before the window is made.)
        window.move(framePlace(window.size().grownBy(kFrameRoom), area));
        return;
    }
    // The frame is known: the window's inside goes where it leaves the frame at its place.
    const QMargins frame = expected.value_or(kFrameRoom);
    const QPoint place = framePlace(window.size().grownBy(frame), area);
    window.setGeometry(QRect(place + QPoint(frame.left(), frame.top()), window.size()));
}

void centreOnOwner(QWidget& dialog) {
    const QWidget* owner = dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr;
    if (!owner)
        return;
    // The same window manager frames both alike: the insides centred on each other centre
    // the frames. The inside of a shown window is always known, its frame not always.
    QRect inside(QPoint(), dialog.size());
    inside.moveCenter(owner->geometry().center());
    dialog.setGeometry(inside);
}

} // namespace filmarin
