#include "ui/desktop/platformchoice.h"

#include <QtGlobal>

namespace avatello {

QByteArray windowPlatform(const DesktopSession& session)
{
    if (!session.qpaPlatform.isEmpty() || session.platformArgument)
        return {};
    const bool wayland =
        !session.waylandDisplay.isEmpty() || session.sessionType == QByteArrayLiteral("wayland");
    if (!wayland || session.display.isEmpty())
        return {};
    // Should the X server not answer after all, Qt goes on to the next one in the list.
    return QByteArrayLiteral("xcb;wayland");
}

void chooseWindowPlatform(int argc, char* argv[])
{
    DesktopSession session;
    session.waylandDisplay = qgetenv("WAYLAND_DISPLAY");
    if (session.waylandDisplay.isEmpty())
        session.waylandDisplay = qgetenv("WAYLAND_SOCKET");
    session.display = qgetenv("DISPLAY");
    session.sessionType = qgetenv("XDG_SESSION_TYPE");
    session.qpaPlatform = qgetenv("QT_QPA_PLATFORM");
    // Qt reads its own options with one dash or two.
    for (int i = 1; i + 1 < argc && !session.platformArgument; ++i) {
        const QByteArray argument(argv[i]);
        session.platformArgument = argument == "-platform" || argument == "--platform";
    }
    const QByteArray platform = windowPlatform(session);
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

} // namespace avatello
