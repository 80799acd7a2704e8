// The monkey's own connection to the X display: finds the program's windows, reads pixels off
// the screen, and pings a window to learn whether its event loop still runs.
#pragma once

#include <QImage>
#include <QRect>
#include <cstdint>
#include <optional>
#include <vector>

struct xcb_connection_t;

class XDisplay {
  public:
    using Window = std::uint32_t;

    XDisplay();
    ~XDisplay();
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;

    bool isOpen() const { return conn != nullptr; }
    QRect screen() const { return screenRect; }

    // The mapped top-level windows that the process put on the screen, top one last.
    std::vector<Window> windowsOf(std::int64_t pid);
    std::optional<QString> title(Window window);
    bool isViewable(Window window);
    // The window's area in screen coordinates.
    std::optional<QRect> geometry(Window window);

    // The pixels the screen shows there (other windows on top included).
    QImage grab(const QRect& area);

    // _NET_WM_PING: the window's owner answers from its event loop. False after timeoutMs.
    bool ping(Window window, int timeoutMs);
    // WM_DELETE_WINDOW, as a window manager's close button sends it.
    void askToClose(Window window);
    // Gives the keyboard to the window, so that the keys typed next go there.
    void focus(Window window);

  private:
    std::uint32_t atom(const char* name);
    std::optional<std::uint32_t> cardinal(Window window, std::uint32_t property);
    void sendProtocol(Window window, std::uint32_t protocol, std::uint32_t stamp);

    xcb_connection_t* conn = nullptr;
    Window root = 0;
    QRect screenRect;
    std::uint32_t protocolsAtom = 0, pingAtom = 0, deleteAtom = 0, pidAtom = 0;
    std::uint32_t netNameAtom = 0, utf8Atom = 0;
    std::uint32_t nextStamp = 1;
};
