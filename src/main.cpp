#include "cli/commandline.h"
#include "cli/iconrecipe.h"
#include "model/defaultfont.h"
#include "ui/form1.h"
#include "ui/nosettings.h"
#include "ui/platformchoice.h"
#include "ui/qtservices.h"

#include <cstdio>
#include <QApplication>
#include <QGuiApplication>
#include <QTextStream>

namespace {

// Standard error is for the maker's own messages, which scripts read; Qt's notes about the
// offscreen platform (no runtime folder and the like) are not for them.
void keepQtQuiet(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

// "avatello make ...": no window and no display; Qt draws into memory.
int make(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // System colours resolve against Qt's standard palette, not a desktop theme's (qt6ct, kde...):
    // the same command makes the same icon on every machine.
    qunsetenv("QT_QPA_PLATFORMTHEME");
    qInstallMessageHandler(keepQtQuiet);
    QGuiApplication app(argc, argv);
    avatello::ensureDefaultFont();
    QTextStream err(stderr);
    return avatello::runMake(QCoreApplication::arguments().mid(2), err);
}

// The program, with a picture to load if one is named.
int program(int argc, char* argv[])
{
    avatello::chooseWindowPlatform(argc, argv);
    avatello::keepNoSettings();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Avatello"));
    QApplication::setDesktopFileName(QStringLiteral("org.example.Avatello"));
    avatello::ensureDefaultFont();

    QTextStream err(stderr);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.size() > 1 || (!arguments.isEmpty() && arguments[0].startsWith(u'-')))
        return avatello::usageError(err, QStringLiteral("unexpected '%1'").arg(arguments.last()));

    avatello::QtServices services;
    avatello::Form1 window(services);
    avatello::Refusal why = avatello::Refusal::None;
    if (!arguments.isEmpty() && !window.document.loadFile(arguments[0], &why))
        err << "avatello: " << avatello::refusalText(arguments[0], why) << "; starting without it"
            << Qt::endl;
    window.show();
    return QApplication::exec();
}

} // namespace

int main(int argc, char* argv[])
{
    // The command line is read before Qt starts, so that help and make need no display.
    const QByteArray first = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (first == "--help" || first == "-h") {
        std::fputs(avatello::helpText().toLocal8Bit().constData(), stdout);
        return avatello::exitMade;
    }
    if (first == "--version") {
        std::fputs(avatello::versionText().toLocal8Bit().constData(), stdout);
        return avatello::exitMade;
    }
    if (first == "make")
        return make(argc, argv);
    // Qt takes its own options (-platform, -display, ...) with one dash; one with two is ours and
    // unknown, and is said before Qt looks for a display.
    for (int i = 1; i < argc; ++i)
        if (QByteArray(argv[i]).startsWith("--")) {
            QTextStream err(stderr);
            return avatello::usageError(
                err, QStringLiteral("unknown option '%1'").arg(QString::fromLocal8Bit(argv[i])));
        }
    return program(argc, argv);
}
