// The command-line maker resolves system colours against Qt's standard palette, whatever theme
// the desktop sets.
#include "support/testregistry.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A dark colour scheme for qt6ct, written where qt6ct looks for its settings.
void writeDarkTheme(const QString& configHome)
{
    QDir(configHome).mkpath(QStringLiteral("qt6ct"));
    const QString scheme = configHome + QStringLiteral("/qt6ct/dark.conf");
    QFile colours(scheme);
    QVERIFY(colours.open(QIODevice::WriteOnly));
    QStringList roles;
    for (int role = 0; role < 21; ++role)
        roles << QStringLiteral("#ff424245");
    const QString line = roles.join(QStringLiteral(", "));
    colours.write(QStringLiteral("[ColorScheme]\nactive_colors=%1\ndisabled_colors=%1\n"
                                 "inactive_colors=%1\n")
                      .arg(line)
                      .toUtf8());
    QFile settings(configHome + QStringLiteral("/qt6ct/qt6ct.conf"));
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write(QStringLiteral("[Appearance]\ncolor_scheme_path=%1\ncustom_palette=true\n")
                       .arg(scheme)
                       .toUtf8());
}

QByteArray makeAimColourIcon(const QString& folder, const QString& theme)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder);
    environment.insert(QStringLiteral("QT_QPA_PLATFORMTHEME"), theme);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    const QString out =
        theme.isEmpty() ? QStringLiteral("plain.bmp") : theme + QStringLiteral(".bmp");
    process.start(
        QStringLiteral(AVATELLO_BINARY),
        {QStringLiteral("make"), QStringLiteral("--aim-color"), QStringLiteral("-o"), out});
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        return {};
    QFile icon(folder + u'/' + out);
    return icon.open(QIODevice::ReadOnly) ? icon.readAll() : QByteArray();
}

} // namespace

class TestMakePalette : public QObject
{
    Q_OBJECT

private slots:
    void aimColourIgnoresTheDesktopTheme()
    {
        if (!QFile::exists(QStringLiteral("/usr/bin/qt6ct")))
            QSKIP("qt6ct is not installed (scripts/install-deps.sh installs it)");
        QTemporaryDir dir;
        writeDarkTheme(dir.path());
        const QByteArray plain = makeAimColourIcon(dir.path(), QString());
        QCOMPARE(plain.size(), 6966);
        QCOMPARE(makeAimColourIcon(dir.path(), QStringLiteral("qt6ct")), plain);
    }
};

AVATELLO_REGISTER_TEST(TestMakePalette);
#include "tst_makepalette.moc"
