// SPDX-License-Identifier: GPL-3.0-or-later
// On X11 the windows are asked of the X server and the window manager (EWMH): a window's
// process is its _NET_WM_PID, and full screen is its _NET_WM_STATE.
#include "programwindows.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <sys/types.h>
#include <unistd.h>
#include <xcb/randr.h>
#include <xcb/xcb.h>

namespace filmarin::platform {

namespace {

template <typename T> struct Freed {
    void operator()(T* reply) const { std::free(reply); }
};
template <typename T> using Reply = std::unique_ptr<T, Freed<T>>;

// One connection of the program's own to the display, made when first needed; none where
// there is no X display.
class Display {
public:
    static Display& instance() {
        static Display display;
        return display;
    }
    xcb_connection_t* connection() const { return m_connection; }
    xcb_window_t root() const { return m_root; }
    xcb_atom_t atom(const char* name) {
        if (!m_connection)
            return XCB_ATOM_NONE;
        const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
            m_connection,
            xcb_intern_atom(m_connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
            nullptr));
        return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }

private:
    Display() {
        const char* name = std::getenv("DISPLAY");
        if (!name || !*name)
            return;
        int screen = 0;
        xcb_connection_t* connection = xcb_connect(name, &screen);
        if (xcb_connection_has_error(connection)) {
            xcb_disconnect(connection);
            return;
        }
        xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
        for (int i = 0; i < screen && screens.rem; ++i)
            xcb_screen_next(&screens);
        if (!screens.rem) {
            xcb_disconnect(connection);
            return;
        }
        m_connection = connection;
        m_root = screens.data->root;
    }
    ~Display() {
        if (m_connection)
            xcb_disconnect(m_connection);
    }
    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
};

std::vector<std::uint32_t> cardinals(Display& display, xcb_window_t window, xcb_atom_t property,
                                     xcb_atom_t type) {
    std::vector<std::uint32_t> values;
    if (property == XCB_ATOM_NONE)
        return values;
    xcb_connection_t* c = display.connection();
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, property, type, 0, 4096), nullptr));
    if (!reply || reply->format != 32)
        return values;
    const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    values.assign(data, data + count);
    return values;
}

// The windows to look at: the window manager's list of the windows it manages, or without a
// window manager the top-level windows.
std::vector<xcb_window_t> topLevelWindows(Display& display) {
    std::vector<std::uint32_t> managed =
        cardinals(display, display.root(), display.atom("_NET_CLIENT_LIST"), XCB_ATOM_WINDOW);
    if (!managed.empty())
        return {managed.begin(), managed.end()};
    xcb_connection_t* c = display.connection();
    const Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(c, xcb_query_tree(c, display.root()), nullptr));
    if (!tree)
        return {};
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    return {children, children + xcb_query_tree_children_length(tree.get())};
}

// The process is the started program, or one it started: the started program leads a
// process group of its own.
bool belongsTo(std::uint32_t pid, std::uint32_t program) {
    if (pid == 0)
        return false;
    if (pid == program)
        return true;
    const pid_t group = ::getpgid(static_cast<pid_t>(pid));
    return group > 0 && static_cast<std::uint32_t>(group) == program;
}

void sendToRoot(Display& display, xcb_window_t window, xcb_atom_t type,
                const std::uint32_t (&data)[5]) {
    xcb_client_message_event_t event;
    std::memset(&event, 0, sizeof event);
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    for (int i = 0; i < 5; ++i)
        event.data.data32[i] = data[i];
    xcb_send_event(display.connection(), 0, display.root(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
}

} // namespace

std::vector<ProgramWindow> programWindows(const ProcessInformation& program) {
    std::vector<ProgramWindow> found;
    Display& display = Display::instance();
    xcb_connection_t* c = display.connection();
    if (!c || program.processId == 0)
        return found;
    const xcb_atom_t pidAtom = display.atom("_NET_WM_PID");
    const xcb_atom_t stateAtom = display.atom("_NET_WM_STATE");
    const xcb_atom_t fullScreenAtom = display.atom("_NET_WM_STATE_FULLSCREEN");
    for (const xcb_window_t window : topLevelWindows(display)) {
        const std::vector<std::uint32_t> pid =
            cardinals(display, window, pidAtom, XCB_ATOM_CARDINAL);
        if (pid.empty() || !belongsTo(pid.front(), program.processId))
            continue;
        const Reply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr));
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE)
            continue;
        const Reply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
        const Reply<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(
            c, xcb_translate_coordinates(c, window, display.root(), 0, 0), nullptr));
        if (!geometry || !origin)
            continue;
        ProgramWindow shown;
        shown.id = window;
        shown.area = {origin->dst_x, origin->dst_y, geometry->width, geometry->height};
        for (const std::uint32_t state : cardinals(display, window, stateAtom, XCB_ATOM_ATOM))
            shown.fullScreen = shown.fullScreen || state == fullScreenAtom;
        found.push_back(shown);
    }
    return found;
}

std::vector<Area> monitors() {
    std::vector<Area> found;
    Display& display = Display::instance();
    xcb_connection_t* c = display.connection();
    if (!c)
        return found;
    const Reply<xcb_randr_get_monitors_reply_t> reply(
        xcb_randr_get_monitors_reply(c, xcb_randr_get_monitors(c, display.root(), 1), nullptr));
    if (!reply)
        return found;
    for (xcb_randr_monitor_info_iterator_t i =
             xcb_randr_get_monitors_monitors_iterator(reply.get());
         i.rem; xcb_randr_monitor_info_next(&i))
        found.push_back({i.data->x, i.data->y, i.data->width, i.data->height});
    return found;
}

void putFullScreen(std::uint64_t window, const Area& monitor) {
    Display& display = Display::instance();
    xcb_connection_t* c = display.connection();
    if (!c || window == 0)
        return;
    const auto id = static_cast<xcb_window_t>(window);
    const xcb_atom_t state = display.atom("_NET_WM_STATE");
    const xcb_atom_t fullScreen = display.atom("_NET_WM_STATE_FULLSCREEN");
    // Out of full screen, onto the monitor, and into full screen there: a window manager puts
    // a full-screen window on the monitor that holds it. (Source 2: a pager, as the
    // specification calls any other program that asks for a client.)
    constexpr std::uint32_t remove = 0, add = 1, fromPager = 2;
    sendToRoot(display, id, state, {remove, fullScreen, 0, fromPager, 0});
    const std::uint32_t place[] = {static_cast<std::uint32_t>(monitor.x + monitor.width / 8),
                                   static_cast<std::uint32_t>(monitor.y + monitor.height / 8),
                                   static_cast<std::uint32_t>(monitor.width / 2),
                                   static_cast<std::uint32_t>(monitor.height / 2)};
    xcb_configure_window(c, id,
                         XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                             XCB_CONFIG_WINDOW_HEIGHT,
                         place);
    sendToRoot(display, id, state, {add, fullScreen, 0, fromPager, 0});
    xcb_flush(c);
}

} // namespace filmarin::platform
