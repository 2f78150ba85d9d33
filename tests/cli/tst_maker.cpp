// The command-line icon maker: the same bytes as the windows, clear answers to bad input, a batch
// that goes on past a bad row, and no display needed.
#include "cli/iconrecipe.h"
#include "cli/options.h"
#include "support/fixture.h"
#include "support/testregistry.h"
#include "support/texttool.h"
#include "ui/gallery.h" // the template tests' way of choosing a tile

#include <QComboBox>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace avatello;
using namespace avatello::test;

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Run
{
    int exitCode = -1;
    QString err;
};

// The built program as a user's shell runs it, with no display at all.
Run runAvatello(const QStringList& arguments, const QString& folder, const QByteArray& input = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(AVATELLO_BINARY), arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardError())};
}

} // namespace

class TestMaker : public QObject
{
    Q_OBJECT

private slots:
    // The same steps through the windows' handlers and through make give the same file.
    void sameBytesAsTheWindows_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::newRow("template, text at a pixel")
            << QStringList{"--template", "2", "--text", "Hello", "--at", "13,33"};
        QTest::newRow("colour, face, size, text colour")
            << QStringList{"--color", "#204080", "--font",       "Liberation Mono",
                           "--size",  "12",      "--text-color", "yellow",
                           "--text",  "Ag",      "--at",         "2,5"};
        QTest::newRow("AIM colour, back colour, no text")
            << QStringList{"--aim-color", "--back-color", "navy"};
        QTest::newRow("start-up picture, default place") << QStringList{"--text", "Hi"};
    }
    void sameBytesAsTheWindows()
    {
        QFETCH(QStringList, options);
        QTemporaryDir dir;
        IconRecipe recipe;
        for (qsizetype i = 0; i < options.size(); ++i) {
            const QString name = options[i].mid(2);
            const QString value =
                findMakeOption(name.toLatin1())->valueName ? options[++i] : QString();
            QString error;
            QVERIFY2(setRecipeOption(recipe, name, value, &error), qPrintable(error));
        }
        recipe.out = QFile::encodeName(dir.filePath(QStringLiteral("made.bmp")));
        QCOMPARE(makeIcon(recipe), QString());

        Program program;
        Form1& form = *program;
        if (recipe.start == IconRecipe::Start::Template) {
            chooseTile(*openGallery(program), recipe.templateNumber);
        } else if (recipe.start == IconRecipe::Start::Color) {
            program.user.colors.push_back(resolveColor(recipe.color));
            form.hehe_Click();
        } else if (recipe.start == IconRecipe::Start::AimColor) {
            form.aimback_Click();
        }
        if (recipe.backColor) {
            program.user.colors.push_back(resolveColor(*recipe.backColor));
            form.hahaha33_Click();
        }
        if (!recipe.font.isEmpty() || !recipe.size.isEmpty()) {
            form.changefont_Click();
            if (!recipe.font.isEmpty())
                form.form4->Combo1->setCurrentText(recipe.font);
            if (!recipe.size.isEmpty())
                form.form4->Combo2->setCurrentText(recipe.size);
            form.form4->Command1_Click();
        }
        if (recipe.textColor) {
            program.user.colors.push_back(resolveColor(*recipe.textColor));
            form.djd_Click();
        }
        if (recipe.at)
            pressAt(program, recipe.at->x(), recipe.at->y());
        if (recipe.text)
            addText(program, *recipe.text);
        form.Command3_Click();
        program.user.files.push_back(dir.filePath(QStringLiteral("saved.bmp")));
        form.Command2_Click();

        const QByteArray saved = readAll(dir.filePath(QStringLiteral("saved.bmp")));
        QCOMPARE(saved.size(), 6966);
        QVERIFY(readAll(QFile::decodeName(recipe.out)) == saved);
    }

    // Usage errors: one line and a pointer to --help, exit 2, nothing written.
    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("unknown option") << QStringList{"make", "--sparkle", "-o", "a.bmp"};
        QTest::newRow("no output") << QStringList{"make", "--text", "Hi"};
        QTest::newRow("two starts")
            << QStringList{"make", "--template", "1", "--aim-color", "-o", "a.bmp"};
        QTest::newRow("template 13") << QStringList{"make", "--template", "13", "-o", "a.bmp"};
        QTest::newRow("size 17") << QStringList{"make", "--size", "17", "-o", "a.bmp"};
        QTest::newRow("bad colour") << QStringList{"make", "--color", "#12345z", "-o", "a.bmp"};
        QTest::newRow("at outside") << QStringList{"make", "--at", "48,0", "-o", "a.bmp"};
        QTest::newRow("at and center")
            << QStringList{"make", "--at", "1,1", "--center", "-o", "a.bmp"};
        QTest::newRow("no such face")
            << QStringList{"make", "--font", "No Such Face", "-o", "a.bmp"};
        QTest::newRow("bad format") << QStringList{"make", "--format", "gif", "-o", "a.bmp"};
        QTest::newRow("missing value") << QStringList{"make", "-o"};
        QTest::newRow("program option") << QStringList{"--sparkle"};
    }
    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        QTemporaryDir dir;
        const Run run = runAvatello(arguments, dir.path());
        QCOMPARE(run.exitCode, 2);
        const QStringList lines = run.err.trimmed().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[0].startsWith(QStringLiteral("avatello: ")), qPrintable(run.err));
        QVERIFY(lines[1].contains(QStringLiteral("--help")));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("a.bmp"))));
    }

    // A picture that cannot be read, or an output that cannot be written: why, exit 1, and an
    // existing output left exactly as it was.
    void failuresLoseNothing()
    {
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("icon.bmp"));
        {
            QFile file(out);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("old icon");
        }
        QFile notes(dir.filePath(QStringLiteral("notes.txt")));
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("not a picture");
        notes.close();

        Run run = runAvatello({"make", "--picture", "notes.txt", "-o", "icon.bmp"}, dir.path());
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("notes.txt")), qPrintable(run.err));
        QCOMPARE(readAll(out), QByteArray("old icon"));

        run = runAvatello({"make", "--text", "Hi", "-o", "no/such/folder/icon.bmp"}, dir.path());
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("no/such/folder/icon.bmp")), qPrintable(run.err));

        run = runAvatello({"make", "--text", "Hi", "-o", "icon.bmp"}, dir.path());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QString());
        QCOMPARE(readAll(out).size(), 6966);
    }

    // A bad row is reported with its line number; the other rows are still made; exit 1.
    void batchGoesOnPastABadRow()
    {
        QTemporaryDir dir;
        const QByteArray table = "out\ttext\ttemplate\tcenter\tformat\n"
                                 "ab.bmp\tAB\t3\tyes\t\n"
                                 "bad.bmp\tCD\t14\t\t\n"
                                 "\n"
                                 "ef.png\tEF\t\t\tpng\n";
        const Run run = runAvatello({"make", "--size", "12", "--batch", "-"}, dir.path(), table);
        QCOMPARE(run.exitCode, 1);
        const QStringList lines = run.err.trimmed().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].contains(QStringLiteral("line 3")), qPrintable(run.err));
        QCOMPARE(readAll(dir.filePath(QStringLiteral("ab.bmp"))).size(), 6966);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("bad.bmp"))));
        const QImage png(dir.filePath(QStringLiteral("ef.png")));
        QCOMPARE(png.size(), QSize(48, 48));

        // the same icon alone, from options, is byte for byte the batch's
        const Run alone = runAvatello({"make", "--size", "12", "--template", "3", "--center",
                                       "--text", "AB", "-o", "alone.bmp"},
                                      dir.path());
        QCOMPARE(alone.exitCode, 0);
        QVERIFY(readAll(dir.filePath(QStringLiteral("alone.bmp"))) ==
                readAll(dir.filePath(QStringLiteral("ab.bmp"))));
    }

    // Centred initials: the drawn pixels sit in the middle, whatever the text's width.
    void centredText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("one letter") << "J";
        QTest::newRow("initials") << "MW";
        QTest::newRow("three") << "abc";
    }
    void centredText()
    {
        QFETCH(QString, text);
        QTemporaryDir dir;
        IconRecipe recipe;
        QString error;
        QVERIFY(setRecipeOption(recipe, QStringLiteral("color"), QStringLiteral("white"), &error));
        QVERIFY(setRecipeOption(recipe, QStringLiteral("size"), QStringLiteral("16"), &error));
        recipe.text = text;
        recipe.center = true;
        recipe.format = IconRecipe::Format::Png;
        recipe.out = QFile::encodeName(dir.filePath(QStringLiteral("c.png")));
        QCOMPARE(makeIcon(recipe), QString());
        const QImage icon(QFile::decodeName(recipe.out));
        QRect ink;
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x)
                if ((icon.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                    ink |= QRect(x, y, 1, 1);
        QVERIFY(!ink.isEmpty());
        QVERIFY2(qAbs(ink.left() - (47 - ink.right())) <= 1,
                 qPrintable(QString::number(ink.left())));
        QVERIFY2(qAbs(ink.top() - (47 - ink.bottom())) <= 1,
                 qPrintable(QString::number(ink.top())));
    }
};

AVATELLO_REGISTER_TEST(TestMaker);

#include "tst_maker.moc"
