#include "cli/commandline.h"

#include "cli/batchtable.h"
#include "cli/batchwriter.h"
#include "cli/iconrecipe.h"
#include "cli/options.h"

#include "imageio/fileaccess.h"

#include <QHash>
#include <QTextStream>

namespace avatello {

namespace {

// One icon per row of a tab-separated table whose first row names the columns; the options of
// the command line apply to every row, and a row's cells add to them or replace them.
//
// A batch never writes over what it reads or what it wrote: a row whose file is the table, a
// picture any row reads, or a file an earlier row wrote (however either is spelled) is reported
// and skipped.
int runBatch(const QByteArray& tablePath, const IconRecipe& common, QTextStream& err)
{
    const QString tableName = shownName(tablePath);
    const BatchTable table = readBatchTable(tablePath);
    if (!table.error.isEmpty()) {
        err << "avatello: " << tableName << ": " << table.error << Qt::endl;
        return exitFailed;
    }
    for (const QString& column : table.columns) {
        const MakeOption* option = findMakeOption(column.toUtf8());
        if (!option || !option->column)
            return usageError(err,
                              QStringLiteral("%1: unknown column '%2'").arg(tableName, column));
    }
    if (!table.columns.contains(QStringLiteral("out")))
        return usageError(err, QStringLiteral("%1: no 'out' column").arg(tableName));

    // Every row is read before any icon is made, so that no row writes over a picture that a
    // later row reads.
    struct Job
    {
        int line;
        IconRecipe recipe;
        QString error;
    };
    QList<Job> jobs;
    const std::optional<FileIdentity> tableFile =
        tablePath == "-" ? std::nullopt : fileIdentity(tablePath);
    QSet<FileIdentity> inputs;
    if (tableFile)
        inputs.insert(*tableFile);
    for (const BatchTable::Row& row : table.rows) {
        Job job{row.line, common, QString()};
        job.recipe.startOptions = 0;
        if (row.cells.size() != table.columns.size())
            job.error = QStringLiteral("%1 cells, but the first line names %2 columns (cells are "
                                       "separated by tabs)")
                            .arg(row.cells.size())
                            .arg(table.columns.size());
        for (qsizetype i = 0; job.error.isEmpty() && i < row.cells.size(); ++i)
            if (!row.cells[i].isEmpty())
                setRecipeOption(job.recipe, table.columns[i], row.cells[i], &job.error);
        if (job.error.isEmpty() && job.recipe.startOptions == 0)
            job.recipe.startOptions = common.startOptions;
        if (job.error.isEmpty())
            checkRecipe(job.recipe, &job.error);
        if (job.error.isEmpty() && (job.recipe.out == "-" || job.recipe.out == "/dev/stdout"))
            job.error = QStringLiteral("a batch writes files, not standard output");
        if (job.recipe.start == IconRecipe::Start::Picture)
            if (const std::optional<FileIdentity> file = fileIdentity(job.recipe.picture))
                inputs.insert(*file);
        jobs.append(job);
    }

    BatchWriter writer;
    QHash<FileIdentity, int> written; // each file written, and the line that wrote it
    int failed = 0;
    for (Job& job : jobs) {
        const QString out = shownName(job.recipe.out);
        if (job.error.isEmpty()) {
            if (const std::optional<FileIdentity> file = fileIdentity(job.recipe.out)) {
                if (written.contains(*file))
                    job.error = QStringLiteral("%1 was written by line %2; not written again")
                                    .arg(out)
                                    .arg(written.value(*file));
                else if (inputs.contains(*file))
                    job.error = QStringLiteral("%1 is %2 this batch reads; not written over")
                                    .arg(out, tableFile == file ? QStringLiteral("the table")
                                                                : QStringLiteral("a picture"));
            }
        }
        QStringList notes;
        if (job.error.isEmpty())
            job.error = makeIcon(job.recipe, &writer, &notes);
        for (const QString& note : notes)
            err << "avatello: " << tableName << ": line " << job.line << ": " << note << Qt::endl;
        if (job.error.isEmpty()) {
            if (const std::optional<FileIdentity> file = fileIdentity(job.recipe.out))
                written.insert(*file, job.line);
            continue;
        }
        err << "avatello: " << tableName << ": line " << job.line << ": " << job.error << Qt::endl;
        ++failed;
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
                       "names in it may be any bytes) with lines of at most 32768 bytes. "
                       "Relative file names in a table are relative to the folder avatello runs "
                       "in, not to the table's. A row that would write over the table, over a "
                       "picture the batch reads or over a file an earlier row wrote is reported "
                       "by its line number and skipped."),
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
