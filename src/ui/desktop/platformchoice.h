#pragma once

#include <QByteArray>

namespace avatello {

// What the environment and the command line say about the window system, before Qt starts.
struct DesktopSession
{
    QByteArray waylandDisplay;     // WAYLAND_DISPLAY (or WAYLAND_SOCKET)
    QByteArray display;            // DISPLAY: an X server, XWayland in a Wayland session
    QByteArray sessionType;        // XDG_SESSION_TYPE
    QByteArray qpaPlatform;        // QT_QPA_PLATFORM: the user's choice, if any
    bool platformArgument = false; // "-platform NAME" on the command line
};

// The Qt platform the windows should use, or empty to leave Qt's own choice. A Wayland session
// with an X server beside it gets X11: keeping a window on top, placing it and a fixed frame are
// X11 features that the Wayland protocol does not give applications. A platform the user chose
// is always kept, and without an X server there is only Wayland.
QByteArray windowPlatform(const DesktopSession& session);

// Reads the session from the environment and the arguments and sets QT_QPA_PLATFORM to the
// choice above; called once, before the QApplication exists.
void chooseWindowPlatform(int argc, char* argv[]);

} // namespace avatello
