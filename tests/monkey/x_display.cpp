#include "x_display.h"

#include <QString>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <poll.h>
#include <xcb/xcb.h>

namespace {

template <class T> struct FreeDeleter {
    void operator()(T* p) const { std::free(p); }
};
template <class T> using Reply = std::unique_ptr<T, FreeDeleter<T>>;

} // namespace

XDisplay::XDisplay() {
    conn = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(conn)) {
        xcb_disconnect(conn);
        conn = nullptr;
        return;
    }
    const xcb_screen_t* s = xcb_setup_roots_iterator(xcb_get_setup(conn)).data;
    root = s->root;
    screenRect = QRect(0, 0, s->width_in_pixels, s->height_in_pixels);
    protocolsAtom = atom("WM_PROTOCOLS");
    pingAtom = atom("_NET_WM_PING");
    deleteAtom = atom("WM_DELETE_WINDOW");
    pidAtom = atom("_NET_WM_PID");
    netNameAtom = atom("_NET_WM_NAME");
    utf8Atom = atom("UTF8_STRING");
    // The answers to pings come back to the root window, as to a window manager.
    const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(conn, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(conn);
}

XDisplay::~XDisplay() {
    if (conn) xcb_disconnect(conn);
}

std::uint32_t XDisplay::atom(const char* name) {
    const auto cookie =
        xcb_intern_atom(conn, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(conn, cookie, nullptr));
    return reply ? reply->atom : 0;
}

std::optional<std::uint32_t> XDisplay::cardinal(Window window, std::uint32_t property) {
    const auto cookie = xcb_get_property(conn, 0, window, property, XCB_ATOM_CARDINAL, 0, 1);
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(conn, cookie, nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4)
        return std::nullopt;
    return *static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
}

std::vector<XDisplay::Window> XDisplay::windowsOf(std::int64_t pid) {
    std::vector<Window> found;
    Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(conn, xcb_query_tree(conn, root), nullptr));
    if (!tree) return found;
    const Window* children = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    for (int i = 0; i < count; ++i) {
        const auto owner = cardinal(children[i], pidAtom);
        if (owner && *owner == pid && isViewable(children[i])) found.push_back(children[i]);
    }
    return found;
}

std::optional<QString> XDisplay::title(Window window) {
    for (auto [property, type] :
         {std::pair{netNameAtom, utf8Atom},
          std::pair{std::uint32_t(XCB_ATOM_WM_NAME), std::uint32_t(XCB_ATOM_STRING)}}) {
        const auto cookie = xcb_get_property(conn, 0, window, property, type, 0, 256);
        Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(conn, cookie, nullptr));
        if (reply && reply->format == 8 && reply->type == type)
            return QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(reply.get())),
                                     xcb_get_property_value_length(reply.get()));
    }
    return std::nullopt;
}

bool XDisplay::isViewable(Window window) {
    Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(conn, xcb_get_window_attributes(conn, window), nullptr));
    return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
}

std::optional<QRect> XDisplay::geometry(Window window) {
    Reply<xcb_get_geometry_reply_t> g(
        xcb_get_geometry_reply(conn, xcb_get_geometry(conn, window), nullptr));
    if (!g) return std::nullopt;
    Reply<xcb_translate_coordinates_reply_t> at(xcb_translate_coordinates_reply(
        conn, xcb_translate_coordinates(conn, window, root, 0, 0), nullptr));
    if (!at) return std::nullopt;
    return QRect(at->dst_x, at->dst_y, g->width, g->height);
}

QImage XDisplay::grab(const QRect& area) {
    const QRect r = area.intersected(screenRect);
    if (r.isEmpty()) return {};
    const auto cookie =
        xcb_get_image(conn, XCB_IMAGE_FORMAT_Z_PIXMAP, root, static_cast<std::int16_t>(r.x()),
                      static_cast<std::int16_t>(r.y()), static_cast<std::uint16_t>(r.width()),
                      static_cast<std::uint16_t>(r.height()), ~0u);
    Reply<xcb_get_image_reply_t> reply(xcb_get_image_reply(conn, cookie, nullptr));
    // A 24-bit screen hands out 32 bits a pixel, blue first: Qt's RGB32.
    if (!reply || reply->depth != 24 ||
        xcb_get_image_data_length(reply.get()) != r.width() * r.height() * 4)
        return {};
    return QImage(xcb_get_image_data(reply.get()), r.width(), r.height(), r.width() * 4,
                  QImage::Format_RGB32)
        .copy();
}

void XDisplay::sendProtocol(Window window, std::uint32_t protocol, std::uint32_t stamp) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = protocolsAtom;
    message.data.data32[0] = protocol;
    message.data.data32[1] = stamp;
    message.data.data32[2] = window;
    xcb_send_event(conn, 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(conn);
}

bool XDisplay::ping(Window window, int timeoutMs) {
    const std::uint32_t stamp = nextStamp++;
    sendProtocol(window, pingAtom, stamp);
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        while (xcb_generic_event_t* raw = xcb_poll_for_event(conn)) {
            Reply<xcb_generic_event_t> event(raw);
            if ((event->response_type & 0x7F) != XCB_CLIENT_MESSAGE) continue;
            const auto* answer = reinterpret_cast<const xcb_client_message_event_t*>(raw);
            if (answer->type == protocolsAtom && answer->data.data32[0] == pingAtom &&
                answer->data.data32[1] == stamp)
                return true;
        }
        if (xcb_connection_has_error(conn)) return false;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        pollfd fd{xcb_get_file_descriptor(conn), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(left.count()));
    }
}

void XDisplay::askToClose(Window window) {
    sendProtocol(window, deleteAtom, XCB_CURRENT_TIME);
}

void XDisplay::focus(Window window) {
    xcb_set_input_focus(conn, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
    xcb_flush(conn);
}
