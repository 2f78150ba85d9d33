// Which window system the program asks Qt for, from the session it starts in.
#include "support/testregistry.h"
#include "ui/desktop/platformchoice.h"

#include <QtTest>

class TestPlatformChoice : public QObject
{
    Q_OBJECT

private slots:
    // WAYLAND_DISPLAY, DISPLAY, XDG_SESSION_TYPE and QT_QPA_PLATFORM, the arguments, the choice.
    void chooseWindowPlatform_data()
    {
        for (const char* column : {"WAYLAND_DISPLAY", "DISPLAY", "XDG_SESSION_TYPE",
                                   "QT_QPA_PLATFORM", "arguments", "platform"})
            QTest::addColumn<QByteArray>(column);
        auto row = [](const char* tag, const QByteArrayList& values) {
            QTestData& data = QTest::newRow(tag);
            for (const QByteArray& value : values)
                data << value;
        };
        const char* x11 = "xcb;wayland";
        row("X11 session", {"", ":0", "x11", "", "", ""});
        row("Wayland with XWayland", {"wl-0", ":0", "wayland", "", "", x11});
        row("Wayland display only", {"wl-0", ":1", "", "", "a.bmp", x11});
        row("Wayland session type only", {"", ":0", "wayland", "", "", x11});
        row("no X server", {"wl-0", "", "wayland", "", "", ""});
        row("user chose", {"wl-0", ":0", "wayland", "wayland", "", "wayland"});
        row("-platform", {"wl-0", ":0", "", "", "-platform wayland", ""});
        row("--platform", {"wl-0", ":0", "", "", "a.bmp --platform xcb", ""});
        row("-platform, no name", {"wl-0", ":0", "", "", "-platform", x11});
        row("no display at all", {"", "", "tty", "", "", ""});
    }
    void chooseWindowPlatform()
    {
        for (const char* name :
             {"WAYLAND_DISPLAY", "DISPLAY", "XDG_SESSION_TYPE", "QT_QPA_PLATFORM"})
            qputenv(name, *static_cast<QByteArray*>(QTest::qData(name, qMetaTypeId<QByteArray>())));
        QFETCH(QByteArray, arguments);
        QFETCH(QByteArray, platform);
        QByteArrayList argv{"avatello"};
        argv << arguments.split(' ');
        std::vector<char*> pointers;
        for (QByteArray& argument : argv)
            pointers.push_back(argument.data());
        avatello::chooseWindowPlatform(int(pointers.size()), pointers.data());
        const QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QCOMPARE(chosen, platform);
    }
};

AVATELLO_REGISTER_TEST(TestPlatformChoice);
#include "tst_platformchoice.moc"
