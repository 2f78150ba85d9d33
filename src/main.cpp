#include "cli/commandline.h"
#include "cli/iconrecipe.h"
#include "imageio/fileaccess.h"
#include "model/defaultfont.h"
#include "ui/desktop/nosettings.h"
#include "ui/desktop/platformchoice.h"
#include "ui/desktop/translations.h"
#include "ui/form1.h"
#include "ui/qtservices.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>
#include <vector>

namespace {

// Standard error is for the maker's own messages, which scripts read; Qt's notes about the
// offscreen platform (no runtime folder and the like) are not for them.
void keepQtQuiet(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

constexpr const char* noDisplay = "avatello: no display to show windows on ('avatello make' "
                                  "needs none)\n";

// While the windows' platform starts, its own lines are not for the user: a display that cannot
// be reached is said in one line of ours, and the program ends instead of aborting.
void quietPlatformStart(QtMsgType type, const QMessageLogContext&, const QString&)
{
    if (type == QtFatalMsg) {
        std::fputs(noDisplay, stderr);
        std::_Exit(avatello::exitFailed);
    }
}

// Whether a window platform can be had: one chosen by the user, or a display to reach.
bool mayHaveDisplay(const QList<QByteArray>& qtArguments)
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || qtArguments.contains("-platform"))
        return true;
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// "avatello make ...": no window and no display; Qt draws into memory. Qt sees none of make's
// arguments, so none of them is taken for one of Qt's own (-reverse, -platform, ...).
int make(char* program, const QList<QByteArray>& arguments)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // System colours resolve against Qt's standard palette, not a desktop theme's (qt6ct, kde...):
    // the same command makes the same icon on every machine.
    qunsetenv("QT_QPA_PLATFORMTHEME");
    // Nor does the locale choose the fonts or glyph forms of a text: fontconfig's order of
    // fallback fonts follows its language, and the shaper's default language (which picks a Han
    // character's Chinese or Japanese form) follows LC_CTYPE. The text's language is --lang.
    qputenv("FC_LANG", "en");
    qInstallMessageHandler(keepQtQuiet);
    int qtArgc = 1;
    char* qtArgv[] = {program, nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    std::setlocale(LC_CTYPE, "C.UTF-8");
    avatello::ensureDefaultFont();
    QTextStream out(stdout);
    QTextStream err(stderr);
    try {
        return avatello::runMake(arguments, out, err);
    } catch (const std::bad_alloc&) {
        // Every input is bounded, so this is a machine short of memory (ulimit -v): one line
        // and a failure, never an abort.
        std::fputs("avatello: out of memory\n", stderr);
        return avatello::exitFailed;
    }
}

// The program, with a picture to load if one is named. Arguments before "--" are Qt's own
// (-platform, -display, ...) and at most one file; everything after "--" is a file name.
int program(int argc, char* argv[], qsizetype endOfOptions)
{
    avatello::chooseWindowPlatform(int(endOfOptions), argv);
    QTextStream err(stderr);
    std::vector<char*> qtArgv(argv, argv + endOfOptions);
    qtArgv.push_back(nullptr);
    int qtArgc = int(endOfOptions);
    if (!mayHaveDisplay(QList<QByteArray>(argv + 1, argv + endOfOptions))) {
        std::fputs(noDisplay, stderr);
        return avatello::exitFailed;
    }

    avatello::keepNoSettings();
    const QtMessageHandler previous = qInstallMessageHandler(quietPlatformStart);
    QApplication app(qtArgc, qtArgv.data());
    qInstallMessageHandler(previous);
    QApplication::setApplicationName(QStringLiteral("Avatello"));
    QApplication::setDesktopFileName(QStringLiteral("org.example.Avatello"));
    avatello::installTranslations(app);
    avatello::ensureDefaultFont();

    // What Qt left (its own options taken out), then what follows "--"; the system's bytes.
    QList<QByteArray> files(qtArgv.begin() + 1, qtArgv.begin() + qtArgc);
    for (int i = int(endOfOptions) + 1; i < argc; ++i)
        files << QByteArray(argv[i]);
    for (qsizetype i = 0; i < qtArgc - 1; ++i)
        if (files[i].startsWith('-'))
            return avatello::usageError(
                err, QStringLiteral("unknown option '%1'").arg(QString::fromLocal8Bit(files[i])));
    if (files.size() > 1)
        return avatello::usageError(
            err, QStringLiteral("unexpected '%1'").arg(QString::fromLocal8Bit(files.last())));

    avatello::QtServices services;
    avatello::Form1 window(services);
    // The file is on the canvas from the first paint on. One that cannot be opened is said over
    // the shown window as well as here: a file manager's Open With shows no standard error.
    avatello::Refusal why = avatello::Refusal::None;
    const QByteArray file = files.value(0);
    const bool refused = !file.isEmpty() && !window.document.loadFile(file, &why);
    if (refused)
        err << "avatello: "
            << QCoreApplication::translate("avatello::Program", "%1; starting without it")
                   .arg(avatello::refusalText(file, why))
            << Qt::endl;
    window.show();
    if (refused)
        QMetaObject::invokeMethod(
            &window, [&window, file, why] { window.showRefusal(QFile::decodeName(file), why); },
            Qt::QueuedConnection);
    return QApplication::exec();
}

} // namespace

int main(int argc, char* argv[])
{
    // The command line is read before Qt starts, so that help and make need no display.
    const QList<QByteArray> arguments(argv + 1, argv + argc);
    if (!arguments.isEmpty() && arguments[0] == "make")
        return make(argv[0], arguments.mid(1));
    qsizetype endOfOptions = argc; // the index in argv of "--", or argc
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QByteArray& argument = arguments[i];
        if (argument == "--") {
            endOfOptions = i + 1;
            break;
        }
        if (argument == "--help" || argument == "-h") {
            std::fputs(avatello::helpText().toLocal8Bit().constData(), stdout);
            return avatello::exitMade;
        }
        if (argument == "--version") {
            std::fputs(avatello::versionText().toLocal8Bit().constData(), stdout);
            return avatello::exitMade;
        }
        // Qt takes its own options (-platform, -display, ...) with one dash; one with two is
        // ours and unknown, and is said before Qt looks for a display.
        if (argument.startsWith("--")) {
            QTextStream err(stderr);
            return avatello::usageError(
                err, QStringLiteral("unknown option '%1'").arg(QString::fromLocal8Bit(argument)));
        }
    }
    return program(argc, argv, endOfOptions);
}
