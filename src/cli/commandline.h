#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class QTextStream;

namespace avatello {

// Exit statuses of the command line.
inline constexpr int exitMade = 0;
inline constexpr int exitFailed = 1; // a picture could not be read or an icon not written
inline constexpr int exitUsage = 2;  // the command line itself is wrong

// What --help prints, and --version.
QString helpText();
QString versionText();

// Prints a usage error as one line and a pointer to --help; returns exitUsage.
int usageError(QTextStream& err, const QString& message);

// Runs "avatello make ..." (the arguments after "make", as the system's bytes): one icon, or one
// per row of a table. Needs a QGuiApplication; shows no window.
int runMake(const QList<QByteArray>& arguments, QTextStream& out, QTextStream& err);

} // namespace avatello
