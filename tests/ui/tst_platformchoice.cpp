// Which window system the program asks Qt for, from the session it starts in.
#include "support/testregistry.h"
#include "ui/platformchoice.h"

#include <QtTest>

using namespace avatello;

class TestPlatformChoice : public QObject
{
    Q_OBJECT

private slots:
    void windowPlatform_data()
    {
        QTest::addColumn<QByteArray>("waylandDisplay");
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QByteArray>("sessionType");
        QTest::addColumn<QByteArray>("qpaPlatform");
        QTest::addColumn<bool>("platformArgument");
        QTest::addColumn<QByteArray>("platform");
        const QByteArray leftToQt;
        const QByteArray x11 = "xcb;wayland";
        QTest::newRow("X11 session") << QByteArray() << QByteArray(":0") << QByteArray("x11")
                                     << QByteArray() << false << leftToQt;
        QTest::newRow("Wayland with XWayland")
            << QByteArray("wayland-0") << QByteArray(":0") << QByteArray("wayland") << QByteArray()
            << false << x11;
        QTest::newRow("Wayland display, X11 session type")
            << QByteArray("wayland-0") << QByteArray(":0") << QByteArray("x11") << QByteArray()
            << false << x11;
        QTest::newRow("Wayland display, no session type")
            << QByteArray("wayland-0") << QByteArray(":1") << QByteArray() << QByteArray() << false
            << x11;
        QTest::newRow("Wayland session type, no Wayland display")
            << QByteArray() << QByteArray(":0") << QByteArray("wayland") << QByteArray() << false
            << x11;
        QTest::newRow("Wayland without X server")
            << QByteArray("wayland-0") << QByteArray() << QByteArray("wayland") << QByteArray()
            << false << leftToQt;
        QTest::newRow("user chose Wayland")
            << QByteArray("wayland-0") << QByteArray(":0") << QByteArray("wayland")
            << QByteArray("wayland") << false << leftToQt;
        QTest::newRow("user chose -platform")
            << QByteArray("wayland-0") << QByteArray(":0") << QByteArray("wayland") << QByteArray()
            << true << leftToQt;
        QTest::newRow("no display at all") << QByteArray() << QByteArray() << QByteArray("tty")
                                           << QByteArray() << false << leftToQt;
    }
    void windowPlatform()
    {
        QFETCH(QByteArray, waylandDisplay);
        QFETCH(QByteArray, display);
        QFETCH(QByteArray, sessionType);
        QFETCH(QByteArray, qpaPlatform);
        QFETCH(bool, platformArgument);
        QFETCH(QByteArray, platform);
        const DesktopSession session{waylandDisplay, display, sessionType, qpaPlatform,
                                     platformArgument};
        QCOMPARE(avatello::windowPlatform(session), platform);
    }

    // The arguments and the environment as the program reads them.
    void chooseWindowPlatform_data()
    {
        QTest::addColumn<QByteArrayList>("arguments");
        QTest::addColumn<QByteArray>("platform");
        QTest::newRow("nothing chosen") << QByteArrayList{"avatello"} << QByteArray("xcb;wayland");
        QTest::newRow("a picture")
            << QByteArrayList{"avatello", "a.bmp"} << QByteArray("xcb;wayland");
        QTest::newRow("-platform")
            << QByteArrayList{"avatello", "-platform", "wayland"} << QByteArray();
        QTest::newRow("--platform")
            << QByteArrayList{"avatello", "a.bmp", "--platform", "xcb"} << QByteArray();
        QTest::newRow("-platform last, no name")
            << QByteArrayList{"avatello", "-platform"} << QByteArray("xcb;wayland");
    }
    void chooseWindowPlatform()
    {
        QFETCH(QByteArrayList, arguments);
        QFETCH(QByteArray, platform);
        const QByteArray saved = qgetenv("QT_QPA_PLATFORM");
        qputenv("WAYLAND_DISPLAY", "wayland-test");
        qputenv("DISPLAY", ":99");
        qunsetenv("QT_QPA_PLATFORM");
        std::vector<char*> argv;
        for (QByteArray& argument : arguments)
            argv.push_back(argument.data());
        avatello::chooseWindowPlatform(int(argv.size()), argv.data());
        const QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
        qputenv("QT_QPA_PLATFORM", saved);
        qunsetenv("WAYLAND_DISPLAY");
        QCOMPARE(chosen, platform);
    }
};

AVATELLO_REGISTER_TEST(TestPlatformChoice);
#include "tst_platformchoice.moc"
