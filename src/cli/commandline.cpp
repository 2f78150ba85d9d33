#include "cli/commandline.h"

#include "cli/batchfiles.h"
#include "cli/batchtable.h"
#include "cli/batchwriter.h"
#include "cli/iconrecipe.h"
#include "cli/options.h"

#include "imageio/fileaccess.h"

#include <QSet>
#include <QTextStream>

namespace avatello {

namespace {

// A row's recipe: the command line's options, with the row's cells added or put in their place.
struct Job
{
    IconRecipe recipe;
    QString error;
};
Job jobFor(const BatchTableReader::Row& row, const QList<QString>& columns,
           const IconRecipe& common, bool tableIsStandardInput)
{
    Job job{common, QString()};
    job.recipe.startOptions = 0;
    if (row.cells.size() != columns.size())
        job.error = QStringLiteral("%1 cells, but the first line names %2 columns (cells are "
                                   "separated by tabs)")
                        .arg(row.cells.size())
                        .arg(columns.size());
    for (qsizetype i = 0; job.error.isEmpty() && i < row.cells.size(); ++i)
        if (!row.cells[i].isEmpty())
            setRecipeOption(job.recipe, columns[i], row.cells[i], &job.error);
    if (job.error.isEmpty() && job.recipe.startOptions == 0)
        job.recipe.startOptions = common.startOptions;
    if (job.error.isEmpty())
        checkRecipe(job.recipe, &job.error);
    if (job.error.isEmpty() && outputDescriptor(job.recipe.out))
        job.error = QStringLiteral("a batch writes files, not standard output or another open "
                                   "descriptor");
    if (job.error.isEmpty() && tableIsStandardInput &&
        job.recipe.start == IconRecipe::Start::Picture && job.recipe.picture == "-")
        job.error = QStringLiteral("standard input holds the table, not a picture");
    return job;
}

// What makes the columns of a table unusable, or "".
QString columnsError(const QList<QString>& columns)
{
    QSet<QString> seen;
    for (const QString& column : columns) {
        const MakeOption* option = findMakeOption(column.toUtf8());
        if (!option || !option->column)
            return QStringLiteral("unknown column '%1'").arg(column);
        if (seen.contains(column))
            return QStringLiteral("the column '%1' is named twice").arg(column);
        seen.insert(column);
    }
    if (!seen.contains(QStringLiteral("out")))
        return QStringLiteral("no 'out' column");
    return QString();
}

// One icon per row of a tab-separated table whose first row names the columns; the options of
// the command line apply to every row, and a row's cells add to them or replace them.
//
// The table is read twice, a line at a time: first for the files each row reads and writes (see
// BatchFiles for which a row may write over), then to make the icons. A broken table makes none.
int runBatch(const QByteArray& tablePath, const IconRecipe& common, QTextStream& err)
{
    const QString tableName = shownName(tablePath);
    const auto tableError = [&](const QString& error) {
        err << "avatello: " << tableName << ": " << error << Qt::endl;
        return exitFailed;
    };
    BatchTableReader table;
    QString error;
    QList<QString> columns;
    if (!table.open(tablePath, &error) || !table.readHeader(&columns, &error))
        return tableError(error);
    if (const QString wrong = columnsError(columns); !wrong.isEmpty())
        return usageError(err, QStringLiteral("%1: %2").arg(tableName, wrong));

    const bool tableIsStandardInput = tablePath == "-";
    BatchFiles files(tablePath, table.identity());
    BatchTableReader::Row row;
    while (table.nextRow(&row, &error)) {
        const Job job = jobFor(row, columns, common, tableIsStandardInput);
        if (job.error.isEmpty())
            files.plan(job.recipe.start == IconRecipe::Start::Picture ? job.recipe.picture
                                                                      : QByteArray(),
                       job.recipe.out);
    }
    if (!error.isEmpty() || !table.rewind(&error))
        return tableError(error);
    files.planned();

    BatchWriter writer;
    int failed = 0;
    while (table.nextRow(&row, &error)) {
        Job job = jobFor(row, columns, common, tableIsStandardInput);
        if (job.error.isEmpty())
            if (const QString refused = files.refusal(job.recipe.out); !refused.isEmpty())
                job.error = shownName(job.recipe.out) + u' ' + refused;
        QStringList notes;
        if (job.error.isEmpty())
            job.error = makeIcon(job.recipe, &writer, &notes);
        for (const QString& note : notes)
            err << "avatello: " << tableName << ": line " << row.line << ": " << note << Qt::endl;
        if (job.error.isEmpty()) {
            files.wrote(job.recipe.out, row.line);
            continue;
        }
        err << "avatello: " << tableName << ": line " << row.line << ": " << job.error << Qt::endl;
        ++failed;
    }
    if (!error.isEmpty()) // the table changed under the batch
        failed += tableError(error);
    if (!writer.finish(&error)) {
        err << "avatello: the icons written may not all be complete on disk: " << error << Qt::endl;
        ++failed;
    }
    return failed == 0 ? exitMade : exitFailed;
}

} // namespace

QString helpText()
{
    // Paragraphs of prose, wrapped like the options' descriptions.
    const QStringList notes{
        QStringLiteral("An option's value follows it (--size 12) or is joined to it with '=' "
                       "(--size=12). '--' ends the options: 'avatello -- -x.gif' opens the file "
                       "-x.gif."),
        QStringLiteral("Without a start option an icon starts from the program's start-up "
                       "picture. COLOR is #rgb, #rrggbb or a colour name such as navy; a colour "
                       "with transparency (#rrggbbaa, transparent) is refused. System colours "
                       "(the AIM Back Color, the start-up canvas) are those of Qt's standard "
                       "palette, the same on every desktop, so an icon made here is the same "
                       "everywhere."),
        QStringLiteral("Fonts: the text is drawn in its face (--font); an emoji (a flag, a "
                       "thumb with a skin tone, a smiley, a heart) in colour by Noto Color "
                       "Emoji; Han characters, kana and hangul the face lacks by Noto Sans CJK, "
                       "in the forms of --lang (Japanese without it), whatever the locale make "
                       "runs under; anything else no face has by the system's fallback fonts. A "
                       "character no installed font draws is named on standard error, and the "
                       "icon is written with an empty box in its place."),
        QStringLiteral("A batch table's first line names its columns: any option above but "
                       "batch and help, without its dashes (out, text, template, color, "
                       "text-color, font, size, at, center, format, ...). Every later line is "
                       "one icon, with exactly as many cells as there are columns, separated by "
                       "tabs. Spaces at the start and end of a cell are not part of it, in "
                       "every column; an empty cell leaves that option out. Blank lines and "
                       "lines starting with # are passed over. A table is UTF-8 text (file "
                       "names in it may be any bytes) with lines of at most 32768 bytes (not "
                       "counting the line ending). "
                       "Relative file names in a table are relative to the folder avatello runs "
                       "in, not to the table's. A column may be named once. Rows are made in "
                       "their order, and a row may read the icon an earlier row wrote; a row "
                       "that would write over the table, over standard input the batch reads, "
                       "over a picture the batch reads that no earlier row wrote, or over a "
                       "file an earlier row wrote is reported by its line number and skipped."),
        QStringLiteral("The messages of the command line are in English whatever the "
                       "desktop's language, for scripts that read them; the windows speak "
                       "German, French or Spanish where the desktop does."),
        QStringLiteral("Exit status: 0 done, 1 a picture could not be read or an icon not "
                       "written (a batch: any row), 2 a wrong command line."),
    };
    QString help = QStringLiteral(
        "Usage:\n"
        "  avatello [FILE]                    start the program; FILE is loaded as Load would\n"
        "  avatello --help | --version        this text, or the version\n"
        "  avatello make [OPTIONS] -o OUT     make one icon, no window, no display needed\n"
        "  avatello make --batch TABLE        one icon per row of a tab-separated table\n"
        "\n"
        "Makes 48 x 48 buddy icons: a picture, a colour or a template with a line of text.\n"
        "\n"
        "Options of make (each does what the same step does in the program):\n");
    help += makeOptionsHelp();
    help += QStringLiteral("  -h, --help           this text\n");
    for (const QString& note : notes)
        help += u'\n' + wrapHelp(note) + u'\n';
    return help;
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

int runMake(const QList<QByteArray>& arguments, QTextStream& out, QTextStream& err)
{
    const ParsedMake parsed = parseMakeArguments(arguments);
    if (!parsed.error.isEmpty())
        return usageError(err, parsed.error);
    if (parsed.help) {
        out << helpText() << Qt::flush;
        return exitMade;
    }
    IconRecipe recipe;
    std::optional<QByteArray> table;
    for (const ParsedOption& option : parsed.options) {
        QString error;
        if (option.option->name == QByteArrayView("batch"))
            table = option.value;
        else if (!setRecipeOption(recipe, QString::fromLatin1(option.option->name), option.value,
                                  &error))
            return usageError(err, error);
    }
    if (table) {
        if (table->isEmpty())
            return usageError(err, QStringLiteral("--batch takes a table, not ''"));
        if (!recipe.out.isEmpty())
            return usageError(err, QStringLiteral("--batch takes its files from the 'out' column"));
        if (recipe.startOptions > 1)
            return usageError(err, QStringLiteral("give at most one start option"));
        if (*table == "-" && recipe.start == IconRecipe::Start::Picture && recipe.picture == "-")
            return usageError(
                err, QStringLiteral("--batch - and --picture - cannot both read standard input"));
        return runBatch(*table, recipe, err);
    }
    QString error;
    if (!checkRecipe(recipe, &error))
        return usageError(err, error);
    QStringList notes;
    error = makeIcon(recipe, nullptr, &notes);
    for (const QString& note : notes)
        err << "avatello: " << note << Qt::endl;
    if (error.isEmpty())
        return exitMade;
    err << "avatello: " << error << Qt::endl;
    return exitFailed;
}

} // namespace avatello
