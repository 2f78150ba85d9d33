#include "cli/commandline.h"

#include "cli/batchwriter.h"
#include "cli/iconrecipe.h"

#include <QFile>
#include <QTextStream>

namespace avatello {

namespace {

// A table's row: the cells split at tabs, a line end (LF or CR LF) taken off.
QStringList cellsOf(QByteArray line)
{
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line).split(QLatin1Char('\t'));
}

// One icon per row of a tab-separated table whose first row names the columns; the options of
// the command line apply to every row, and a row's cells add to them or replace them.
int runBatch(const QString& table, const IconRecipe& common, QTextStream& err)
{
    QFile file;
    const bool opened = table == u"-" ? file.open(stdin, QIODevice::ReadOnly)
                                      : (file.setFileName(table), file.open(QIODevice::ReadOnly));
    if (!opened) {
        err << "avatello: " << table << ": cannot be read: " << file.errorString() << Qt::endl;
        return exitFailed;
    }
    const QStringList columns = cellsOf(file.readLine());
    for (const QString& column : columns)
        if (!isRecipeOption(column))
            return usageError(err, QStringLiteral("%1: unknown column '%2'").arg(table, column));
    if (!columns.contains(QStringLiteral("out")))
        return usageError(err, QStringLiteral("%1: no 'out' column").arg(table));

    BatchWriter writer;
    int failed = 0;
    for (int lineNumber = 2; !file.atEnd(); ++lineNumber) {
        const QStringList cells = cellsOf(file.readLine());
        if (cells.size() == 1 && cells.constFirst().trimmed().isEmpty())
            continue; // a blank line
        IconRecipe recipe = common;
        recipe.startOptions = 0;
        QString error;
        bool ok = cells.size() <= columns.size();
        if (!ok)
            error =
                QStringLiteral("%1 cells, but %2 columns").arg(cells.size()).arg(columns.size());
        for (qsizetype i = 0; ok && i < cells.size(); ++i)
            if (!cells[i].isEmpty())
                ok = setRecipeOption(recipe, columns[i], cells[i], &error);
        if (ok && recipe.startOptions == 0)
            recipe.startOptions = common.startOptions;
        ok = ok && checkRecipe(recipe, &error);
        if (ok)
            error = makeIcon(recipe, &writer);
        if (!error.isEmpty()) {
            err << "avatello: " << table << ": line " << lineNumber << ": " << error << Qt::endl;
            ++failed;
        }
    }
    QString error;
    if (!writer.finish(&error)) {
        err << "avatello: the icons written may not all be complete on disk: " << error << Qt::endl;
        ++failed;
    }
    return failed == 0 ? exitMade : exitFailed;
}

} // namespace

QString helpText()
{
    return QStringLiteral(
        "Usage:\n"
        "  avatello [FILE]                    start the program; FILE is loaded as Load would\n"
        "  avatello --help | --version        this text, or the version\n"
        "  avatello make [OPTIONS] -o OUT     make one icon, no window, no display needed\n"
        "  avatello make --batch TABLE        one icon per row of a tab-separated table "
        "(\"-\": standard input)\n"
        "\n"
        "Makes 48 x 48 buddy icons: a picture, a colour or a template with a line of text.\n"
        "\n"
        "Options of make (each does what the same step does in the program):\n"
        "  --color COLOR        start from a plain field of COLOR (New > Choose Color)\n"
        "  --aim-color          start from the AIM Back Color (New > AIM Back Color)\n"
        "  --template N         start from template N, 1 to 12, as the gallery numbers them\n"
        "  --picture FILE       start from a BMP, GIF or JPEG picture, as Load reads it\n"
        "  --back-color COLOR   the colour behind the picture (Edit > Back Color)\n"
        "  --text TEXT          the text to stamp (Edit > Add Text)\n"
        "  --font FACE          its font face (default Tahoma)\n"
        "  --size POINTS        its size in points, 6 to 16 (default 8)\n"
        "  --text-color COLOR   its colour (default black)\n"
        "  --at X,Y             where it goes: a press on pixel X,Y of the 48 x 48 icon\n"
        "  --center             the text's drawn pixels centred on the icon (for initials)\n"
        "  --format bmp|png     bmp (default) is exactly the file Save writes; png the same "
        "pixels\n"
        "  -o, --out OUT        the file to write; an existing one is replaced only by a "
        "complete icon\n"
        "  --batch TABLE        one icon per row: the first row names the columns (out, text,\n"
        "                       template, color, text-color, font, size, at, center, format,\n"
        "                       ...); an empty cell leaves that option out\n"
        "\n"
        "Without a start option an icon starts from the program's start-up picture. COLOR is\n"
        "#rrggbb or a colour name such as navy. Exit status: 0 done, 1 a picture could not be\n"
        "read or an icon not written (a batch: any row), 2 a wrong command line. The messages\n"
        "of the command line are in English whatever the desktop's language, for scripts that\n"
        "read them; the windows speak German, French or Spanish where the desktop does.\n");
}

QString versionText()
{
    return QStringLiteral("avatello " AVATELLO_VERSION "\n");
}

int usageError(QTextStream& err, const QString& message)
{
    err << "avatello: " << message << Qt::endl
        << "Try 'avatello --help' for more information." << Qt::endl;
    return exitUsage;
}

int runMake(const QStringList& arguments, QTextStream& err)
{
    IconRecipe recipe;
    QString table;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        QString name = argument.startsWith(u"--") ? argument.mid(2) : QString();
        if (argument == u"-o")
            name = QStringLiteral("out");
        if (name.isEmpty() || !(isRecipeOption(name) || name == u"batch"))
            return usageError(err, QStringLiteral("unknown option '%1'").arg(argument));
        QString value;
        if (!isFlagOption(name)) {
            if (++i == arguments.size())
                return usageError(err, QStringLiteral("%1 needs a value").arg(argument));
            value = arguments[i];
        }
        QString error;
        if (name == u"batch")
            table = value;
        else if (!setRecipeOption(recipe, name, value, &error))
            return usageError(err, error);
    }
    if (!table.isEmpty()) {
        if (!recipe.out.isEmpty())
            return usageError(err, QStringLiteral("--batch takes its files from the 'out' column"));
        if (recipe.startOptions > 1)
            return usageError(err, QStringLiteral("give at most one start option"));
        return runBatch(table, recipe, err);
    }
    QString error;
    if (!checkRecipe(recipe, &error))
        return usageError(err, error);
    error = makeIcon(recipe);
    if (error.isEmpty())
        return exitMade;
    err << "avatello: " << error << Qt::endl;
    return exitFailed;
}

} // namespace avatello
