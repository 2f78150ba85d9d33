// The command-line maker resolves system colours against Qt's standard palette, whatever theme
// the desktop sets.
#include "support/testregistry.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestMakePalette : public QObject
{
    Q_OBJECT

private slots:
    void aimColourIgnoresTheDesktopTheme()
    {
        if (!QFile::exists(QStringLiteral("/usr/bin/qt6ct")))
            QSKIP("qt6ct is not installed (scripts/install-deps.sh installs it)");
        // qt6ct with a dark scheme: every colour of it #424245.
        QTemporaryDir home;
        QDir(home.path()).mkpath(QStringLiteral("qt6ct"));
        QFile scheme(home.filePath(QStringLiteral("qt6ct/dark.conf")));
        QFile settings(home.filePath(QStringLiteral("qt6ct/qt6ct.conf")));
        QVERIFY(scheme.open(QIODevice::WriteOnly) && settings.open(QIODevice::WriteOnly));
        const QByteArray colours = QByteArrayList(21, "#ff424245").join(", ");
        scheme.write("[ColorScheme]\nactive_colors=" + colours + "\ninactive_colors=" + colours +
                     "\ndisabled_colors=" + colours + "\n");
        settings.write("[Appearance]\ncustom_palette=true\ncolor_scheme_path=" +
                       scheme.fileName().toUtf8() + "\n");
        scheme.close();
        settings.close();

        QByteArrayList icons;
        for (const QString& theme : {QString(), QStringLiteral("qt6ct")}) {
            QProcess process;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
            environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
            environment.insert(QStringLiteral("QT_QPA_PLATFORMTHEME"), theme);
            process.setProcessEnvironment(environment);
            const QString out = home.filePath(QStringLiteral("icon.bmp"));
            process.start(
                QStringLiteral(AVATELLO_BINARY),
                {QStringLiteral("make"), QStringLiteral("--aim-color"), QStringLiteral("-o"), out});
            QVERIFY(process.waitForFinished(120000) && process.exitCode() == 0);
            QFile icon(out);
            QVERIFY(icon.open(QIODevice::ReadOnly));
            icons << icon.readAll();
        }
        QCOMPARE(icons[0].size(), 6966);
        QCOMPARE(icons[1], icons[0]);
    }
};

AVATELLO_REGISTER_TEST(TestMakePalette);
#include "tst_makepalette.moc"
