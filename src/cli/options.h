#pragma once

#include <optional>
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <span>

namespace avatello {

// One option of "avatello make". The one table of them drives the parsing of the command line,
// the columns a batch table may have, and --help (and so the man page).
struct MakeOption
{
    const char* name;      // without dashes: "--name" on the command line, "name" as a column
    char shortName;        // '\0' for none
    const char* valueName; // nullptr for a flag, which takes no value
    const char* help;      // the line --help shows
    bool column = true;    // whether a batch table may have it as a column
};

std::span<const MakeOption> makeOptions();
// The option of that name (without dashes), or nullptr.
const MakeOption* findMakeOption(QByteArrayView name);

// The command line of make, read: each option with its value in order (a flag's value is empty),
// or why it could not be read. Arguments are the system's bytes, so a file name that is not
// UTF-8 reaches the file layer as it came.
struct ParsedOption
{
    const MakeOption* option;
    QByteArray value;
};
struct ParsedMake
{
    QList<ParsedOption> options;
    bool help = false;
    QString error; // non-empty: a wrong command line
};
ParsedMake parseMakeArguments(const QList<QByteArray>& arguments);

// The options part of --help, generated from the table.
QString makeOptionsHelp();
// Text wrapped at 79 columns, its later lines indented; `column` is where the first one starts.
QString wrapHelp(const QString& text, qsizetype indent = 0, qsizetype column = 0);

} // namespace avatello
