// Load over a corpus of real BMP, GIF and JPEG files written by others: valid,
// questionable, broken and truncated ones (tests/data/corpus, with EXPECTED.tsv giving what Qt's
// own reader and Pillow made of each). Every file goes through the Load button.
#include "imageio/jpegcorner.h"
#include "imageio/picturedecoder.h"
#include "model/colour.h"
#include "support/cputime.h"
#include "support/documentstate.h"
#include "support/picturefiles.h"
#include "support/testregistry.h"

#include <QDirIterator>
#include <QHash>
#include <QtTest>

using namespace avatello;
using namespace avatello::test;

namespace {

QString corpusFolder()
{
    QString data = qEnvironmentVariable("AVATELLO_TEST_DATA");
    if (data.isEmpty())
        data = QStringLiteral(QT_TESTCASE_SOURCEDIR "/data");
    return data + QStringLiteral("/corpus");
}

using Row = QHash<QString, QString>;

// The rows of EXPECTED.tsv, each keyed by its column names.
QList<Row> expectedRows()
{
    QFile file(corpusFolder() + QStringLiteral("/EXPECTED.tsv"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const QStringList columns =
        QString::fromUtf8(file.readLine()).trimmed().split(QLatin1Char('\t'));
    QList<Row> rows;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine());
        const QStringList cells =
            line.chopped(line.endsWith(QLatin1Char('\n')) ? 1 : 0).split(QLatin1Char('\t'));
        Row row;
        for (int i = 0; i < columns.size(); ++i)
            row.insert(columns.at(i), i < cells.size() ? cells.at(i) : QString());
        rows.append(row);
    }
    return rows;
}

// The suites' descriptions, licences and the table itself: everything else is a loader input.
bool isLoaderInput(const QString& name)
{
    return name != QLatin1String("EXPECTED.tsv") && !name.startsWith(QLatin1String("README")) &&
           !name.startsWith(QLatin1String("UPSTREAM-"));
}

// Whether Load must put the file on the canvas: Qt's reader decodes it, it is a BMP, GIF or
// JPEG by content, and the picture Qt decodes stays within the decoder's size bounds.
bool loadAccepts(const Row& row)
{
    const QString format = row.value(QStringLiteral("qt_format"));
    if (row.value(QStringLiteral("qt_decodes")) != QLatin1String("yes") ||
        (format != QLatin1String("bmp") && format != QLatin1String("gif") &&
         format != QLatin1String("jpeg")))
        return false;
    const qint64 width = row.value(QStringLiteral("qt_width")).toLongLong();
    const qint64 height = row.value(QStringLiteral("qt_height")).toLongLong();
    return width <= DecodeLimits::maxSide && height <= DecodeLimits::maxSide &&
           width * height <= DecodeLimits::maxPixels;
}

// Damaged files that Qt renders in part (the corpus README's main findings, and every file named
// "truncated" that Qt reads). Load accepts what Qt renders, as a web browser would.
const QStringList partlyRendered = {
    QStringLiteral("pillow/truncated_jpeg.jpg"),
    QStringLiteral("pillow/truncated_exif_dpi.jpg"),
    QStringLiteral("pillow/truncated_app14.jpg"),
    QStringLiteral("pillow/ultrahdr.jpg"),
    QStringLiteral("wuffs/peacock.default.truncated.jpeg"),
    QStringLiteral("wuffs/peacock.progressive.truncated.jpeg"),
    QStringLiteral("wuffs/hippopotamus.interlaced.truncated.gif"),
    QStringLiteral("wuffs/artificial-gif/pixel-data-none.gif"),
    QStringLiteral("wuffs/artificial-gif/pixel-data-not-enough.gif"),
    QStringLiteral("wuffs/artificial-gif/zero-width-frame.gif"),
    QStringLiteral("gif-test-suite-ancell/overflow-codes.gif"),
    QStringLiteral("bmpsuite/b/shortfile.bmp"),
    QStringLiteral("bmpsuite/b/rgb16-880.bmp"),
};

// Loads one file as the Load command does and checks the outcome against Qt's own reading.
void checkLoad(const QString& relative, bool accepted)
{
    const QString path = corpusFolder() + QLatin1Char('/') + relative;
    QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
    const QImage reading = qtReading(path);

    IconDocument document;
    document.start();
    const DocumentState before = DocumentState::of(document);
    const CpuTimer timer;
    QCOMPARE(document.loadFile(path), accepted);
    QVERIFY2(timer.elapsed() < 10000, qPrintable(QStringLiteral("%1 ms").arg(timer.elapsed())));

    if (accepted) {
        QVERIFY(!reading.isNull());
        QCOMPARE(document.Image1.BackColor(), vbWhite);
        QString why;
        QVERIFY2(nearlySame(document.Image1.Image(), overWhite(reading), 2, &why), qPrintable(why));
        QCOMPARE(document.Image1.Width(), 750.0f);
        QCOMPARE(document.Image1.Height(), 750.0f);
    } else {
        const QString difference = DocumentState::of(document).differenceFrom(before);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }
}

} // namespace

class TestCorpus : public QObject
{
    Q_OBJECT

private slots:
    void everyCorpusFileHasARow()
    {
        const QString folder = corpusFolder();
        QStringList files;
        QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            if (isLoaderInput(it.fileName()))
                files.append(QDir(folder).relativeFilePath(it.filePath()));
        }
        QStringList rows;
        for (const Row& row : expectedRows())
            rows.append(row.value(QStringLiteral("path")));
        files.sort();
        rows.sort();
        QVERIFY2(files.size() > 500, qPrintable(folder));
        QCOMPARE(files, rows);
    }

    void everySuiteKeepsItsReadme()
    {
        const QDir folder(corpusFolder());
        const QStringList suites = folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QVERIFY(suites.size() >= 8);
        for (const QString& suite : suites)
            QVERIFY2(QFileInfo(folder.filePath(suite + QStringLiteral("/README.md"))).isFile(),
                     qPrintable(suite));
    }

    void load_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("qtDecodes");
        QTest::addColumn<QSize>("qtSize");
        QTest::addColumn<bool>("accepted");
        for (const Row& row : expectedRows()) {
            const QString path = row.value(QStringLiteral("path"));
            QTest::newRow(qPrintable(path))
                << path << (row.value(QStringLiteral("qt_decodes")) == QLatin1String("yes"))
                << QSize(row.value(QStringLiteral("qt_width")).toInt(),
                         row.value(QStringLiteral("qt_height")).toInt())
                << loadAccepts(row);
        }
    }

    // Each file: if Load accepts it, the canvas shows its top-left 48 x 48 pixels, unscaled, over
    // white, as Qt's own reader renders them; otherwise nothing changes at all. None may crash or
    // take long.
    void load()
    {
        QFETCH(QString, path);
        QFETCH(bool, qtDecodes);
        QFETCH(QSize, qtSize);
        QFETCH(bool, accepted);

        // The table's ground truth still holds for the Qt the tests run on.
        const QImage reading = qtReading(corpusFolder() + QLatin1Char('/') + path);
        QCOMPARE(!reading.isNull(), qtDecodes);
        if (qtDecodes)
            QCOMPARE(reading.size(), qtSize);

        checkLoad(path, accepted);
    }

    void partlyRenderedFilesAreAccepted_data()
    {
        QTest::addColumn<QString>("path");
        for (const QString& path : partlyRendered)
            QTest::newRow(qPrintable(path)) << path;
    }

    void partlyRenderedFilesAreAccepted()
    {
        QFETCH(QString, path);
        bool found = false;
        for (const Row& row : expectedRows()) {
            if (row.value(QStringLiteral("path")) != path)
                continue;
            found = true;
            QCOMPARE(row.value(QStringLiteral("qt_decodes")), QStringLiteral("yes"));
            QVERIFY(loadAccepts(row));
        }
        QVERIFY2(found, "the file is in the corpus table");
        checkLoad(path, true);
    }

    // The suites' JPEG files that the corner reader reads itself (rather than leaving them to
    // Qt's reader) come out exactly as Qt's reader gives them: every subsampling, restart
    // interval, progressive script and odd size the suites hold.
    void jpegCornersAreQtsPixels()
    {
        int readHere = 0;
        for (const Row& row : expectedRows()) {
            if (row.value(QStringLiteral("qt_format")) != QLatin1String("jpeg"))
                continue;
            const QString path =
                corpusFolder() + QLatin1Char('/') + row.value(QStringLiteral("path"));
            QFile file(path);
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
            const std::optional<QImage> corner = readJpegCorner(&file, 48);
            if (!corner)
                continue;
            ++readHere;
            const QImage reading = qtReading(path);
            QVERIFY2(!reading.isNull(), qPrintable(path));
            const QImage expected =
                reading.copy(0, 0, qMin(48, reading.width()), qMin(48, reading.height()))
                    .convertToFormat(QImage::Format_RGB32);
            // Pixels, not QImage::operator==, which also compares colour-space objects: Qt
            // attaches one even for an ICC profile it cannot use.
            QCOMPARE(corner->format(), expected.format());
            QString why;
            QVERIFY2(nearlySame(*corner, expected, 0, &why),
                     qPrintable(path + QLatin1Char(' ') + why));
        }
        QVERIFY2(readHere >= 200, qPrintable(QString::number(readHere)));
    }

    // Files the decoder refuses although Qt reads them: pictures beyond the size bounds.
    void picturesBeyondTheBoundsAreRefused_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("65535 x 1 GIF") << QStringLiteral("gif-test-suite-ancell/max-width.gif");
        QTest::newRow("1 x 65535 GIF") << QStringLiteral("gif-test-suite-ancell/max-height.gif");
    }

    void picturesBeyondTheBoundsAreRefused()
    {
        QFETCH(QString, path);
        QVERIFY(!qtReading(corpusFolder() + QLatin1Char('/') + path).isNull());
        checkLoad(path, false);
    }
};

AVATELLO_REGISTER_TEST(TestCorpus);

#include "tst_corpus.moc"
