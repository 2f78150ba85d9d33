// Save, make -o in either format and a batch write by one rule: the same refusals in the same
// words, links followed the same way, and the old file kept when the new one cannot be whole.
#include "cli/batchwriter.h"
#include "cli/iconrecipe.h"
#include "support/fixture.h"
#include "support/picturefiles.h"
#include "support/testregistry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

using namespace avatello;
using namespace avatello::test;

namespace {

// Writes the start-up icon to `path` as the writer named does; the reason, or "" when written.
QString writeAs(const QString& writer, const QString& path)
{
    if (writer == u"Save") {
        Program program;
        program.user.files.push_back(path);
        program->Command2_Click();
        return program.user.messages.isEmpty() ? QString() : program.user.messages[0].text;
    }
    IconRecipe recipe;
    recipe.out = QFile::encodeName(path);
    recipe.format = writer.endsWith(u"png") ? IconRecipe::Format::Png : IconRecipe::Format::Bmp;
    BatchWriter batch;
    QString reason = makeIcon(recipe, writer.startsWith(u"batch") ? &batch : nullptr);
    return batch.finish(&reason) ? reason : reason + QStringLiteral(" (the sync failed)");
}

} // namespace

class TestWriters : public QObject
{
    Q_OBJECT

private slots:
    void oneRuleForEveryWriter_data()
    {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<QString>("target"); // what is at the output name before the write
        for (const char* writer : {"Save", "make -o", "make -o, png", "batch", "batch, png"})
            for (const char* target : {"named pipe", "link to a file", "file-size limit"})
                QTest::addRow("%s, %s", writer, target) << writer << target;
    }
    void oneRuleForEveryWriter()
    {
        QFETCH(QString, writer);
        QFETCH(QString, target);
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("icon")), file = dir.filePath("file");
        QVERIFY(writeFile(file, QByteArray(10000, 'o')));
        QString reason;
        struct stat info = {};
        if (target == u"named pipe") {
            QCOMPARE(::mkfifo(QFile::encodeName(out).constData(), 0644), 0);
            reason = writeAs(writer, out);
            QVERIFY2(reason.contains(u"a named pipe, not a regular file"), qPrintable(reason));
            QVERIFY(::lstat(QFile::encodeName(out).constData(), &info) == 0 &&
                    S_ISFIFO(info.st_mode));
        } else if (target == u"link to a file") {
            QVERIFY(QFile::link(QStringLiteral("file"), out));
            QCOMPARE(writeAs(writer, out), QString());
            QCOMPARE(QFileInfo(out).symLinkTarget(), file); // still a link
            QCOMPARE(QImage(file).size(), QSize(48, 48));
        } else { // a limit below either format's size stands in for a disk that fills up
            QVERIFY(withFileSizeLimit(100, [&] { reason = writeAs(writer, file); }));
            QVERIFY2(reason.contains(u"File too large"), qPrintable(reason));
            QCOMPARE(readFile(file), QByteArray(10000, 'o'));
        }
        QCOMPARE(
            QDir(dir.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
            (target == u"file-size limit" ? QStringList{"file"} : QStringList{"file", "icon"}));
    }
};

AVATELLO_REGISTER_TEST(TestWriters);

#include "tst_writers.moc"
