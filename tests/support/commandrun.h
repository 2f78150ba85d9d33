#pragma once

// The built program run as a user's shell runs it, for the command-line tests.
#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace avatello::test {

inline QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Run
{
    int exitCode = -1;
    QString err;
    QByteArray out;
};

// The built program with no display at all. Standard input is `input`, or the file `inputFile`
// where one is named; `environment` adds variables to the user's, or takes one away where its
// value is empty.
inline Run runAvatello(const QStringList& arguments, const QString& folder,
                       const QByteArray& input = {}, const QString& inputFile = {},
                       const QHash<QString, QString>& environment = {})
{
    QProcess process;
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        variables.remove(QString::fromLatin1(name));
    for (auto it = environment.begin(); it != environment.end(); ++it)
        if (it.value().isEmpty())
            variables.remove(it.key());
        else
            variables.insert(it.key(), it.value());
    process.setProcessEnvironment(variables);
    process.setWorkingDirectory(folder);
    if (!inputFile.isEmpty())
        process.setStandardInputFile(inputFile);
    process.start(QStringLiteral(AVATELLO_BINARY), arguments);
    if (inputFile.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardError()), process.readAllStandardOutput()};
}

} // namespace avatello::test
