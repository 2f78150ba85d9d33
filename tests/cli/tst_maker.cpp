// The command-line icon maker: the same bytes as the windows, clear answers to bad input, a batch
// that goes on past a bad row, and no display needed.
#include "cli/batchtable.h"
#include "cli/iconrecipe.h"
#include "cli/options.h"
#include "support/commandrun.h"
#include "support/fixture.h"
#include "support/picturefiles.h"
#include "support/testregistry.h"
#include "support/texttool.h"
#include "ui/gallery.h" // the template tests' way of choosing a tile

#include <cstdio>
#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

using namespace avatello;
using namespace avatello::test;

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

    // What a command line does, and what it leaves behind. The folder holds "old.bmp" (not an
    // icon), "notes.txt" (no picture), "pic.bmp" (a picture), a folder, a named pipe and a
    // broken link; `left` is what the file `target` is afterwards: "bmp" (a 6966-byte icon),
    // "png", "old" (untouched), "none" or "pipe".
    void commandLines_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("words"); // in standard error; empty: nothing there
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("left");
        const auto row = [](const char* name, QStringList arguments, int exitCode,
                            const QString& words, const QString& target, const QString& left) {
            QTest::newRow(name) << arguments << exitCode << words << target << left;
        };
        row("--option=value", {"make", "--color=red", "--text=Hi", "--out=old.bmp"}, 0, "",
            "old.bmp", "bmp");
        row("#rgb", {"make", "--color", "#f00", "-o", "old.bmp"}, 0, "", "old.bmp", "bmp");
        row("#rrggbbaa", {"make", "--color", "#ff000080", "-o", "old.bmp"}, 2, "transparency",
            "old.bmp", "old");
        row("transparent", {"make", "--text-color", "transparent", "-o", "a.bmp"}, 2,
            "transparency", "a.bmp", "none");
        row("line break", {"make", "--text", "a\nb", "-o", "a.bmp"}, 2, "a line break (U+000A)",
            "a.bmp", "none");
        row("tab", {"make", "--text", "a\tb", "-o", "a.bmp"}, 2, "a tab (U+0009)", "a.bmp", "none");
        row("long text", {"make", "--text", QString(101, u'x'), "-o", "a.bmp"}, 2, "at most 100",
            "a.bmp", "none");
        // a character is what the eye counts: an emoji, a letter with its accent
        row("51 emoji",
            {"make", "--text", QStringLiteral("\U0001F600").repeated(51), "-o", "a.bmp"}, 0, "",
            "a.bmp", "bmp");
        row("101 accented letters",
            {"make", "--text", QStringLiteral("e\u0301").repeated(101), "-o", "a.bmp"}, 2,
            "101 characters long; at most 100", "a.bmp", "none");
        row("one letter under a thousand marks",
            {"make", "--text", u'e' + QString(1000, QChar(0x301)), "-o", "a.bmp"}, 2,
            "more than 1000 code units", "a.bmp", "none");
        row("descriptor not open", {"make", "-o", "/dev/fd/9"}, 1,
            "/dev/fd/9: cannot be written: Bad file descriptor", "a.bmp", "none");
        row("table and picture both standard input", {"make", "--batch", "-", "--picture", "-"}, 2,
            "cannot both read standard input", "a.bmp", "none");
        row("generic face", {"make", "--font", "Sans Serif", "--text", "Hi", "-o", "a.bmp"}, 0, "",
            "a.bmp", "bmp");
        row("no such face", {"make", "--font", "Tahomx", "-o", "a.bmp"}, 2, "nearest are Tahoma",
            "a.bmp", "none");
        row("missing picture", {"make", "--picture", "gone.gif", "-o", "old.bmp"}, 1,
            "gone.gif: no such file", "old.bmp", "old");
        row("folder picture", {"make", "--picture", "folder", "-o", "old.bmp"}, 1,
            "folder: a folder", "old.bmp", "old");
        row("broken link", {"make", "--picture", "broken", "-o", "old.bmp"}, 1,
            "broken: a link to a file that does not exist", "old.bmp", "old");
        row("pipe picture", {"make", "--picture", "pipe", "-o", "old.bmp"}, 1, "pipe: a named pipe",
            "old.bmp", "old");
        row("no picture", {"make", "--picture", "notes.txt", "-o", "old.bmp"}, 1,
            "notes.txt: not a BMP, GIF or JPEG picture", "old.bmp", "old");
        row(".png chooses PNG", {"make", "-o", "a.png"}, 0, "", "a.png", "png");
        row("--format wins", {"make", "--format", "bmp", "-o", "a.png"}, 0, "", "a.png", "bmp");
        row("a text that looks like Qt's option", {"make", "--text", "-reverse", "-o", "a.bmp"}, 0,
            "", "a.bmp", "bmp");
        row("Qt's options are not make's", {"make", "-platform", "xcb", "-o", "a.bmp"}, 2,
            "unknown option '-platform'", "a.bmp", "none");
        row("-- ends make's options", {"make", "-o", "a.bmp", "--", "b.bmp"}, 2,
            "unexpected 'b.bmp'", "a.bmp", "none");
        row("table: a device", {"make", "--batch", "/dev/zero"}, 1, "not a text table", "a.bmp",
            "none");
        row("table: a picture", {"make", "--batch", "pic.bmp"}, 1, "not a text table", "a.bmp",
            "none");
        row("table: a folder", {"make", "--batch", "folder"}, 1, "a folder", "a.bmp", "none");
        row("no display", {}, 1, "no display to show windows on", "a.bmp", "none");
    }
    void commandLines()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, words);
        QFETCH(QString, target);
        QFETCH(QString, left);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath(QStringLiteral("old.bmp")), "old icon"));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("notes.txt")), "not a picture"));
        QImage picture(10, 10, QImage::Format_RGB32);
        picture.fill(Qt::green);
        QVERIFY(picture.save(dir.filePath(QStringLiteral("pic.bmp")), "BMP"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        QCOMPARE(
            ::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe"))).constData(), 0600), 0);
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("gone")),
                            dir.filePath(QStringLiteral("broken"))));

        const Run run = runAvatello(arguments, dir.path());
        QCOMPARE(run.exitCode, exitCode);
        if (words.isEmpty())
            QCOMPARE(run.err, QString());
        else
            QVERIFY2(run.err.contains(words), qPrintable(run.err));
        QVERIFY2(!run.err.contains(QStringLiteral("Reinstalling")), qPrintable(run.err));

        const QString path = dir.filePath(target);
        const QByteArray bytes = readAll(path);
        if (left == u"bmp")
            QCOMPARE(bytes.size(), 6966);
        else if (left == u"png")
            QVERIFY(bytes.startsWith("\x89PNG"));
        else if (left == u"old")
            QCOMPARE(bytes, QByteArray("old icon"));
        else
            QVERIFY(!QFileInfo::exists(path));
    }

    // Standard output and input serve as files: "-o -" writes the icon there, "--picture -"
    // reads the picture from there.
    void standardStreams()
    {
        QTemporaryDir dir;
        QImage picture(10, 10, QImage::Format_RGB32);
        picture.fill(QColor(0, 128, 0));
        QByteArray bmp;
        QBuffer buffer(&bmp);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(picture.save(&buffer, "BMP"));
        for (const char* out : {"-", "/dev/stdout", "/dev/fd/1", "/proc/self/fd/1"}) {
            const Run run = runAvatello({"make", "--picture", "-", "-o", out}, dir.path(), bmp);
            QVERIFY2(run.exitCode == 0,
                     qPrintable(QString::fromLatin1(out) + QStringLiteral(": ") + run.err));
            QCOMPARE(run.out.size(), 6966);
            QImage icon;
            QVERIFY(icon.loadFromData(run.out, "BMP"));
            QCOMPARE(icon.pixel(5, 5), qRgb(0, 128, 0));       // the picture's corner
            QCOMPARE(icon.pixel(20, 20), qRgb(255, 255, 255)); // on white, as Load does
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
        // read once, the picture serves every row of a batch
        QVERIFY(writeFile(dir.filePath("t.tsv"), "out\ttext\na.bmp\tA\nb.bmp\tB\n"));
        const Run batch =
            runAvatello({"make", "--batch", "t.tsv", "--picture", "-"}, dir.path(), bmp);
        QCOMPARE(batch.err, QString());
        for (const char* made : {"a.bmp", "b.bmp"})
            QCOMPARE(QImage(dir.filePath(made)).pixel(5, 5), qRgb(0, 128, 0));
    }

    // A batch never writes over what it reads or what it wrote, however a name is spelled; a
    // row with another number of cells than the header is an error naming its line.
    void batchKeepsItsInputs()
    {
        QTemporaryDir dir;
        QImage picture(10, 10, QImage::Format_RGB32);
        picture.fill(Qt::green);
        QVERIFY(picture.save(dir.filePath(QStringLiteral("k.bmp")), "BMP"));
        const QByteArray pictureBytes = readAll(dir.filePath(QStringLiteral("k.bmp")));
        const QByteArray table = "out\ttext\tpicture\n"
                                 "a.bmp\tA\t\n"
                                 "./a.bmp\tB\t\n"
                                 "t.tsv\tC\t\n"
                                 "k.bmp\tD\tk.bmp\n"
                                 "z.bmp\tE\n"
                                 "z.bmp\tE\t\t\n"
                                 "# out\ttext\tpicture\n"
                                 "  y.bmp \t F\t  \n";
        QVERIFY(writeFile(dir.filePath(QStringLiteral("t.tsv")), table));
        const Run run = runAvatello({"make", "--batch", "t.tsv"}, dir.path());
        QCOMPARE(run.exitCode, 1);
        const QStringList lines = run.err.trimmed().split(u'\n');
        QCOMPARE(lines.size(), 5);
        for (int i = 0; i < 5; ++i)
            QVERIFY2(lines[i].startsWith(QStringLiteral("avatello: t.tsv: line %1: ").arg(i + 3)),
                     qPrintable(run.err));
        QVERIFY(lines[0].contains(QStringLiteral("written by line 2")));
        QVERIFY(lines[1].contains(QStringLiteral("the table")));
        QVERIFY(lines[2].contains(QStringLiteral("a picture")));
        QVERIFY(lines[3].contains(QStringLiteral("2 cells, but the first line names 3 columns")));
        QCOMPARE(readAll(dir.filePath(QStringLiteral("t.tsv"))), table);
        QCOMPARE(readAll(dir.filePath(QStringLiteral("k.bmp"))), pictureBytes);
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("z.bmp"))));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("# out"))));
        // the first "a.bmp" is line 2's "A"; the spaces around "y.bmp" are not its name's
        const Run alone = runAvatello({"make", "--text", "A", "-o", "alone.bmp"}, dir.path());
        QCOMPARE(alone.exitCode, 0);
        QCOMPARE(readAll(dir.filePath(QStringLiteral("a.bmp"))),
                 readAll(dir.filePath(QStringLiteral("alone.bmp"))));
        QCOMPARE(readAll(dir.filePath(QStringLiteral("y.bmp"))).size(), 6966);
    }

    // A file name is the system's bytes, UTF-8 or not: a table's cell names the file it names.
    void namesThatAreNotUtf8()
    {
        QTemporaryDir dir;
        QImage picture(10, 10, QImage::Format_RGB32);
        picture.fill(QColor(0, 128, 0));
        const QByteArray folder = QFile::encodeName(dir.path());
        QVERIFY(picture.save(QFile::decodeName(folder + "/green.bmp"), "BMP"));
        QCOMPARE(::rename(folder + "/green.bmp", folder + "/gr\xFE"
                                                          "en.bmp"),
                 0);
        const Run run = runAvatello({"make", "--batch", "-"}, dir.path(),
                                    "picture\tout\ngr\xFE"
                                    "en.bmp\tic\xE9.bmp\n");
        QCOMPARE(run.exitCode, 0);
        QFile icon;
        QVERIFY(icon.open(::fopen(folder + "/ic\xE9.bmp", "rb"), QIODevice::ReadOnly,
                          QFileDevice::AutoCloseHandle));
        QImage made;
        QVERIFY(made.loadFromData(icon.readAll(), "BMP"));
        QCOMPARE(made.pixel(5, 5), qRgb(0, 128, 0));
    }

    // A table that is no text, or has nothing in it, gets one line saying so.
    void tablesThatAreNoTables_data()
    {
        QTest::addColumn<QByteArray>("table");
        QTest::addColumn<QString>("words");
        QTest::newRow("empty") << QByteArray() << "the table is empty";
        QTest::newRow("only comments") << QByteArray("# out\n\n") << "the table is empty";
        QTest::newRow("UTF-16 with a mark")
            << QByteArray("\xFF\xFEo\0u\0t\0\n\0", 10) << "it is UTF-16";
        QTest::newRow("UTF-16 without") << QByteArray("o\0u\0t\0\n\0", 8) << "NUL byte";
        QTest::newRow("Latin-1 header") << QByteArray("out\ttext\xE9\n") << "not UTF-8";
        QTest::newRow("endless line") << QByteArray(40000, 'x') << "longer than 32768 bytes";
        // one bound whatever the line ending; a longest line is fine with either
        for (const char* ending : {"\n", "\r\n"})
            QTest::addRow("line one byte too long, ending %s", ending[0] == '\r' ? "CRLF" : "LF")
                << "out\n" + QByteArray(maxTableLineBytes + 1, 'x') + ending
                << "line 2 is longer than 32768 bytes";
    }

    // The longest line is taken with either ending: its row is made.
    void longestLine_data()
    {
        QTest::addColumn<QByteArray>("ending");
        QTest::newRow("LF") << QByteArray("\n");
        QTest::newRow("CRLF") << QByteArray("\r\n");
    }
    void longestLine()
    {
        QFETCH(QByteArray, ending);
        QTemporaryDir dir;
        const QByteArray name = "a.bmp";
        const QByteArray table = "out\ttext" + ending + name + '\t' +
                                 QByteArray(maxTableLineBytes - name.size() - 2, ' ') + 'A' +
                                 ending;
        const Run run = runAvatello({"make", "--batch", "-"}, dir.path(), table);
        QCOMPARE(run.err, QString());
        QCOMPARE(readAll(dir.filePath("a.bmp")).size(), 6966);
    }

    // Which files a batch may write over goes by its rows' order alone: the same table gives the
    // same answer on its first run as on every later one, and standard input is an input like
    // a named file. `standardInput` is "table" (the table comes through standard input) or
    // "picture"
    // (--picture - reads p.bmp from there).
    void batchRulesByOrder_data()
    {
        QTest::addColumn<QByteArray>("table");
        QTest::addColumn<QString>("standardInput");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("words");
        QTest::addColumn<QStringList>("unchanged"); // files that keep their content
        QTest::newRow("a row reads what an earlier row wrote")
            << QByteArray("out\ttext\tpicture\nw1.bmp\tA\t\nw2.bmp\tB\tw1.bmp\n") << QString() << 0
            << QString() << QStringList{};
        QTest::newRow("a row writes over what a later row reads")
            << QByteArray("out\ttext\tpicture\np.bmp\tA\t\nw2.bmp\tB\tp.bmp\n") << QString() << 0
            << QString() << QStringList{};
        QTest::newRow("a row writes over what an earlier row read")
            << QByteArray("out\ttext\tpicture\nw1.bmp\tA\tp.bmp\np.bmp\tB\t\n") << QString() << 1
            << "line 3: " + QStringLiteral("p.bmp is a picture this batch reads")
            << QStringList{"p.bmp"};
        QTest::newRow("the table from standard input")
            << QByteArray("out\ttext\nt.tsv\tA\n") << "table" << 1
            << "line 2: t.tsv is the table this batch reads" << QStringList{"t.tsv"};
        QTest::newRow("the picture from standard input")
            << QByteArray("out\ttext\np.bmp\tA\n") << "picture" << 1
            << "line 2: p.bmp is standard input, which this batch reads" << QStringList{"p.bmp"};
        QTest::newRow("a row's picture from the table's standard input")
            << QByteArray("out\tpicture\nw1.bmp\t-\n") << "table" << 1
            << "line 2: standard input holds the table, not a picture" << QStringList{};
        QTest::newRow("a column named twice")
            << QByteArray("out\ttext\tout\na.bmp\tA\tb.bmp\n") << QString() << 2
            << "the column 'out' is named twice" << QStringList{};
    }
    void batchRulesByOrder()
    {
        QFETCH(QByteArray, table);
        QFETCH(QString, standardInput);
        QFETCH(int, exitCode);
        QFETCH(QString, words);
        QFETCH(QStringList, unchanged);
        QTemporaryDir dir;
        QImage picture(10, 10, QImage::Format_RGB32);
        picture.fill(Qt::green);
        QVERIFY(picture.save(dir.filePath("p.bmp"), "BMP"));
        QVERIFY(writeFile(dir.filePath("t.tsv"), table));
        QStringList arguments{"make", "--batch", standardInput == u"table" ? "-" : "t.tsv"};
        if (standardInput == u"picture")
            arguments << "--picture"
                      << "-";
        const QString input = dir.filePath(standardInput == u"picture" ? "p.bmp" : "t.tsv");
        QHash<QString, QByteArray> before;
        for (const QString& file : unchanged)
            before[file] = readAll(dir.filePath(file));
        for (int time = 1; time <= 2; ++time) { // and again, over what the first run left
            const Run run =
                runAvatello(arguments, dir.path(), {}, standardInput.isEmpty() ? QString() : input);
            QCOMPARE(run.exitCode, exitCode);
            QVERIFY2(words.isEmpty() ? run.err.isEmpty() : run.err.contains(words),
                     qPrintable(run.err));
            for (const QString& file : unchanged)
                QCOMPARE(readAll(dir.filePath(file)), before[file]);
        }
    }
    void tablesThatAreNoTables()
    {
        QFETCH(QByteArray, table);
        QFETCH(QString, words);
        QTemporaryDir dir;
        const Run run = runAvatello({"make", "--batch", "-"}, dir.path(), table);
        QCOMPARE(run.exitCode, 1);
        const QStringList lines = run.err.trimmed().split(u'\n');
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].startsWith(QStringLiteral("avatello: standard input: ")) &&
                     lines[0].contains(words),
                 qPrintable(run.err));
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
