// Foreign-window queries over the application's xcb connection.
#include "platform/x11.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace pictoralia {
namespace {

xcb_connection_t *Connection()
{
    if (!qGuiApp)
        return nullptr;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t Atom(xcb_connection_t *c, const char *name)
{
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    if (!reply)
        return XCB_ATOM_NONE;
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    return atom;
}

} // namespace

bool X11Available() { return Connection() != nullptr; }

std::optional<QSize> X11WindowSize(uint64_t id)
{
    xcb_connection_t *c = Connection();
    if (!c || id == 0 || id > 0xFFFFFFFFu)
        return std::nullopt;
    xcb_generic_error_t *error = nullptr;
    xcb_get_geometry_reply_t *reply =
        xcb_get_geometry_reply(c, xcb_get_geometry(c, xcb_drawable_t(id)), &error);
    std::free(error);
    if (!reply)
        return std::nullopt;
    const QSize size(reply->width, reply->height);
    std::free(reply);
    return size;
}

uint64_t X11RootWindow()
{
    xcb_connection_t *c = Connection();
    if (!c)
        return 0;
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    return screen ? screen->root : 0;
}

void X11SkipTaskbar(uint64_t window)
{
    xcb_connection_t *c = Connection();
    if (!c || window == 0)
        return;
    const xcb_atom_t state = Atom(c, "_NET_WM_STATE");
    std::vector<xcb_atom_t> atoms;
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, xcb_window_t(window), state, XCB_ATOM_ATOM, 0, 1024), nullptr);
    if (reply) {
        const auto *data = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply));
        atoms.assign(data, data + xcb_get_property_value_length(reply) / sizeof(xcb_atom_t));
        std::free(reply);
    }
    for (const char *name : {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"}) {
        const xcb_atom_t a = Atom(c, name);
        if (a != XCB_ATOM_NONE && std::find(atoms.begin(), atoms.end(), a) == atoms.end())
            atoms.push_back(a);
    }
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, xcb_window_t(window), state, XCB_ATOM_ATOM, 32,
                        uint32_t(atoms.size()), atoms.data());
    xcb_flush(c);
}

} // namespace pictoralia
