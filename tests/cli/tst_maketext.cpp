// The maker with the text people write today: emoji as the windows stamp them, Han forms chosen by
// --lang and never by the locale, a note for a character no font draws, and larger icons.
#include "cli/iconrecipe.h"
#include "support/commandrun.h"
#include "support/fixture.h"
#include "support/testregistry.h"
#include "support/texttool.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace avatello;
using namespace avatello::test;

namespace {

// The built program under the locale variables given, and C.UTF-8 for every other.
Run runInLocale(const QStringList& arguments, const QString& folder,
                const QHash<QString, QString>& locale = {})
{
    QHash<QString, QString> environment{
        {"LC_ALL", "C.UTF-8"}, {"LANG", ""}, {"LC_CTYPE", ""}, {"LANGUAGE", ""}, {"LOCPATH", ""}};
    environment.insert(locale);
    return runAvatello(arguments, folder, {}, {}, environment);
}

// The text, at size 16 on white, as make writes it.
QStringList textIcon(const QString& text, const QString& out)
{
    return {"make", "--color", "white", "--size", "16", "--at", "2,10", "--text", text, "-o", out};
}

} // namespace

class TestMakeText : public QObject
{
    Q_OBJECT

private slots:
    // Add Text in the windows and make stamp the same pixels.
    void sameBytesAsTheWindows_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("emoji after letters") << QStringLiteral(u"Hi😀");
        QTest::newRow("flag and thumb") << QStringLiteral(u"🇩🇪👍🏽");
        QTest::newRow("Han") << QStringLiteral(u"直骨");
    }
    void sameBytesAsTheWindows()
    {
        QFETCH(QString, text);
        QTemporaryDir dir;
        IconRecipe recipe;
        recipe.text = text;
        recipe.out = QFile::encodeName(dir.filePath(QStringLiteral("made.bmp")));
        QCOMPARE(makeIcon(recipe), QString());

        Program program;
        addText(program, text);
        program->Command3_Click();
        program.user.files.push_back(dir.filePath(QStringLiteral("saved.bmp")));
        program->Command2_Click();
        const QByteArray saved = readAll(dir.filePath(QStringLiteral("saved.bmp")));
        QCOMPARE(saved.size(), 6966);
        QVERIFY(readAll(QFile::decodeName(recipe.out)) == saved);
    }

    void hanFormsFollowTheLanguageAsked()
    {
        QTemporaryDir dir;
        const QString text = QStringLiteral(u"直骨");
        QCOMPARE(
            runInLocale(textIcon(text, "zh.bmp") + QStringList{"--lang", "zh-Hans"}, dir.path())
                .exitCode,
            0);
        QCOMPARE(runInLocale(textIcon(text, "ja.bmp") + QStringList{"--lang", "ja"}, dir.path())
                     .exitCode,
                 0);
        QCOMPARE(runInLocale(textIcon(text, "none.bmp"), dir.path()).exitCode, 0);
        const QByteArray simplified = readAll(dir.filePath(QStringLiteral("zh.bmp")));
        QCOMPARE(simplified.size(), 6966);
        QVERIFY(simplified != readAll(dir.filePath(QStringLiteral("ja.bmp"))));
        QVERIFY(readAll(dir.filePath(QStringLiteral("none.bmp"))) ==
                readAll(dir.filePath(QStringLiteral("ja.bmp"))));
    }

    // The locale make runs under chooses nothing: a Chinese one (made for this test, where the
    // system has the locale sources) gives the bytes of the C locale, with and without --lang.
    void theLocaleChangesNothing()
    {
        const QString localedef = QStandardPaths::findExecutable(QStringLiteral("localedef"));
        if (localedef.isEmpty() || !QFile::exists(QStringLiteral("/usr/share/i18n/locales/zh_CN")))
            QSKIP("no locale sources to make a Chinese locale from");
        QTemporaryDir dir;
        const QString locales = dir.filePath(QStringLiteral("locales"));
        QVERIFY(QDir().mkpath(locales));
        QProcess define;
        define.start(localedef, {"-i", "zh_CN", "-f", "UTF-8", locales + "/zh_CN.UTF-8"});
        QVERIFY(define.waitForFinished(120000));
        QCOMPARE(define.exitCode(), 0);
        const QHash<QString, QString> chinese{
            {"LOCPATH", locales}, {"LC_ALL", "zh_CN.UTF-8"}, {"LANG", "zh_CN.UTF-8"}};
        const QString text = QStringLiteral(u"直骨");
        for (const QStringList& lang : {QStringList(), QStringList{"--lang", "ja"}}) {
            QCOMPARE(runInLocale(textIcon(text, "c.bmp") + lang, dir.path()).exitCode, 0);
            QCOMPARE(runInLocale(textIcon(text, "zh.bmp") + lang, dir.path(), chinese).exitCode, 0);
            const QByteArray c = readAll(dir.filePath(QStringLiteral("c.bmp")));
            QCOMPARE(c.size(), 6966);
            QVERIFY2(c == readAll(dir.filePath(QStringLiteral("zh.bmp"))),
                     qPrintable(lang.join(u' ')));
        }
    }

    void characterNoFontDrawsIsNamed()
    {
        QTemporaryDir dir;
        const Run run = runInLocale(textIcon(QStringLiteral(u"a\uE000"), "box.bmp"), dir.path());
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.contains(QStringLiteral("U+E000")), qPrintable(run.err));
        QVERIFY2(run.err.contains(QStringLiteral("box.bmp")), qPrintable(run.err));
        QVERIFY2(run.err.contains(QStringLiteral("written")), qPrintable(run.err));
        QCOMPARE(readAll(dir.filePath(QStringLiteral("box.bmp"))).size(), 6966);

        const Run plain = runInLocale(textIcon(QStringLiteral(u"a👍🏽"), "ok.bmp"), dir.path());
        QCOMPARE(plain.exitCode, 0);
        QCOMPARE(plain.err, QString());
    }

    void aBatchNamesTheLine()
    {
        QTemporaryDir dir;
        QFile table(dir.filePath(QStringLiteral("t.tsv")));
        QVERIFY(table.open(QIODevice::WriteOnly));
        table.write("out\ttext\tlang\tscale\n"
                    "a.png\tab\tzh-Hans\t2\n"
                    "b.bmp\tb\xee\x80\x80\tko\t\n");
        table.close();
        const Run run = runInLocale({"make", "--batch", "t.tsv"}, dir.path());
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.contains(QStringLiteral("line 3: b.bmp: no installed font draws U+E000")),
                 qPrintable(run.err));
        QCOMPARE(QImage(dir.filePath(QStringLiteral("a.png"))).size(), QSize(96, 96));
        QCOMPARE(readAll(dir.filePath(QStringLiteral("b.bmp"))).size(), 6966);
    }

    // --scale N: the 48 x 48 icon with each pixel an N x N block; 1 is the file without it.
    void scaledIcons()
    {
        QTemporaryDir dir;
        QStringList icon{"make", "--template", "3", "--text", QStringLiteral(u"Hi👍🏽")};
        QCOMPARE(runInLocale(icon + QStringList{"-o", "plain.png"}, dir.path()).exitCode, 0);
        QCOMPARE(runInLocale(icon + QStringList{"-o", "plain.bmp"}, dir.path()).exitCode, 0);
        QCOMPARE(
            runInLocale(icon + QStringList{"--scale", "1", "-o", "one.bmp"}, dir.path()).exitCode,
            0);
        QVERIFY(readAll(dir.filePath(QStringLiteral("one.bmp"))) ==
                readAll(dir.filePath(QStringLiteral("plain.bmp"))));
        // the blocks in either format are the writers' own test; here, that make hands them N
        const QImage small =
            QImage(dir.filePath(QStringLiteral("plain.png"))).convertToFormat(QImage::Format_RGB32);
        for (const QString& out : {QStringLiteral("four.png"), QStringLiteral("four.bmp")})
            QCOMPARE(
                runInLocale(icon + QStringList{"--scale", "4", "-o", out}, dir.path()).exitCode, 0);
        const QImage large =
            QImage(dir.filePath(QStringLiteral("four.png"))).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(large.size(), QSize(192, 192));
        for (int y = 0; y < 192; ++y)
            for (int x = 0; x < 192; ++x)
                QCOMPARE(large.pixel(x, y), small.pixel(x / 4, y / 4));
        QCOMPARE(readAll(dir.filePath(QStringLiteral("four.bmp"))).size(), 54 + 192 * 192 * 3);
    }

    void badValues_data()
    {
        QTest::addColumn<QStringList>("option");
        QTest::newRow("scale 0") << QStringList{"--scale", "0"};
        QTest::newRow("scale 9") << QStringList{"--scale", "9"};
        QTest::newRow("scale words") << QStringList{"--scale", "big"};
        QTest::newRow("language nobody speaks") << QStringList{"--lang", "qqq"};
        QTest::newRow("empty language") << QStringList{"--lang", ""};
    }
    void badValues()
    {
        QFETCH(QStringList, option);
        QTemporaryDir dir;
        const Run run = runInLocale(QStringList{"make", "-o", "a.bmp"} + option, dir.path());
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(option[0]), qPrintable(run.err));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("a.bmp"))));
    }
};

AVATELLO_REGISTER_TEST(TestMakeText);

#include "tst_maketext.moc"
