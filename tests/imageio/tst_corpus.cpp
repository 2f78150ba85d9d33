// Load over a corpus of real BMP, GIF and JPEG files written by others: valid,
// questionable, broken and truncated ones (tests/data/corpus, with EXPECTED.tsv giving what Qt's
// own reader and Pillow made of each). Every file goes through the Load button, and the canvas is
// compared with an independent decoder's reading: Pillow's, rendered by
// tools/make_corpus_references.py into PILLOW-REFERENCE.png. Where the two differ for a reason
// the corpus README gives, the file is listed below and compared with Qt's reading instead.
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

// The suites' descriptions, licences, the tables and the references: everything else is a
// loader input.
bool isLoaderInput(const QString& name)
{
    return name != QLatin1String("EXPECTED.tsv") && !name.startsWith(QLatin1String("README")) &&
           !name.startsWith(QLatin1String("UPSTREAM-")) &&
           !name.startsWith(QLatin1String("PILLOW-REFERENCE."));
}

// Pillow's canvas for each file it reads: the 48 x 48 cell of the reference sheet named in
// PILLOW-REFERENCE.tsv.
class PillowReference
{
public:
    PillowReference() : sheet_(corpusFolder() + QStringLiteral("/PILLOW-REFERENCE.png"))
    {
        QFile file(corpusFolder() + QStringLiteral("/PILLOW-REFERENCE.tsv"));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            return;
        file.readLine(); // the column names
        while (!file.atEnd()) {
            const QStringList cells =
                QString::fromUtf8(file.readLine()).trimmed().split(QLatin1Char('\t'));
            if (cells.size() >= 2 && cells.at(1).toInt() >= 0)
                cells_.insert(cells.at(0), cells.at(1).toInt());
        }
    }

    bool isEmpty() const { return sheet_.isNull() || cells_.isEmpty(); }
    // The canvas Pillow gives the file, or a null picture where Pillow reads none.
    QImage canvas(const QString& path) const
    {
        const int cell = cells_.value(path, -1);
        if (cell < 0)
            return QImage();
        return sheet_.copy((cell % perRow) * 48, (cell / perRow) * 48, 48, 48)
            .convertToFormat(QImage::Format_RGB32);
    }

private:
    static constexpr int perRow = 16;
    QImage sheet_;
    QHash<QString, int> cells_;
};

const PillowReference& pillow()
{
    static const PillowReference reference;
    return reference;
}

// Files whose canvas rightly differs from Pillow's, each with the reason (the corpus README
// lists them too). They are compared with Qt's reading.
const QHash<QString, QString> differFromPillow = {
    {QStringLiteral("bmpsuite/b/badrle.bmp"),
     QStringLiteral(
         "invalid RLE codes: no right answer; pixels left unset are palette entry 0 in ours")},
    {QStringLiteral("bmpsuite/b/badrle4.bmp"),
     QStringLiteral(
         "Pillow 9.4 reads 4-bit RLE wrongly; the suite's own rendering agrees with ours")},
    {QStringLiteral("bmpsuite/b/badrle4bis.bmp"),
     QStringLiteral(
         "Pillow 9.4 reads 4-bit RLE wrongly; the suite's own rendering agrees with ours")},
    {QStringLiteral("bmpsuite/b/badrle4ter.bmp"),
     QStringLiteral(
         "Pillow 9.4 reads 4-bit RLE wrongly; the suite's own rendering agrees with ours")},
    {QStringLiteral("bmpsuite/b/badrlebis.bmp"),
     QStringLiteral(
         "invalid RLE codes: no right answer; pixels left unset are palette entry 0 in ours")},
    {QStringLiteral("bmpsuite/b/badrleter.bmp"),
     QStringLiteral(
         "invalid RLE codes: no right answer; pixels left unset are palette entry 0 in ours")},
    {QStringLiteral("bmpsuite/b/pal8badindex.bmp"),
     QStringLiteral("indices beyond the palette: opaque black in ours, grey in Pillow; the suite "
                    "calls it invalid")},
    {QStringLiteral("bmpsuite/g/pal4rle.bmp"),
     QStringLiteral(
         "Pillow 9.4 reads 4-bit RLE wrongly; the suite's own rendering agrees with ours")},
    {QStringLiteral("bmpsuite/q/pal4rlecut.bmp"),
     QStringLiteral(
         "Pillow 9.4 reads 4-bit RLE wrongly; the suite's own rendering agrees with ours")},
    {QStringLiteral("bmpsuite/q/pal4rletrns.bmp"),
     QStringLiteral(
         "Pillow 9.4 reads 4-bit RLE wrongly; the suite's own rendering agrees with ours")},
    {QStringLiteral("bmpsuite/q/pal8os2sp.bmp"),
     QStringLiteral("ours is wrong: Qt 6.4 misreads an OS/2 bitmap's short colour table; Pillow "
                    "agrees with the suite")},
    {QStringLiteral("bmpsuite/q/pal8rlecut.bmp"),
     QStringLiteral(
         "Pillow 9.4 mishandles RLE delta codes; the suite's own rendering agrees with ours")},
    {QStringLiteral("bmpsuite/q/pal8rletrns.bmp"),
     QStringLiteral(
         "Pillow 9.4 mishandles RLE delta codes; the suite's own rendering agrees with ours")},
    {QStringLiteral("gif-test-suite-ancell/image-inside-bg.gif"),
     QStringLiteral("the first frame leaves part of the screen uncovered: ours shows the "
                    "background colour there, as GIF89a says; Pillow 9.4 shows palette entry 0")},
    {QStringLiteral("gif-test-suite-ancell/image-outside-bg.gif"),
     QStringLiteral("the first frame leaves part of the screen uncovered: ours shows the "
                    "background colour there, as GIF89a says; Pillow 9.4 shows palette entry 0")},
    {QStringLiteral("gif-test-suite-ancell/image-overlap-bg.gif"),
     QStringLiteral("the first frame leaves part of the screen uncovered: ours shows the "
                    "background colour there, as GIF89a says; Pillow 9.4 shows palette entry 0")},
    {QStringLiteral("gif-test-suite-ancell/images-combine.gif"),
     QStringLiteral("the first frame leaves part of the screen uncovered: ours shows the "
                    "background colour there, as GIF89a says; Pillow 9.4 shows palette entry 0")},
    {QStringLiteral("gif-test-suite-ancell/invalid-colors.gif"),
     QStringLiteral("indices beyond the palette (an invalid file): transparent in ours, near black "
                    "in Pillow")},
    {QStringLiteral("gif-test-suite-ancell/overflow-codes.gif"),
     QStringLiteral("invalid LZW codes: each decoder stops in its own place")},
    {QStringLiteral("wuffs/artificial-gif/background-color.gif"),
     QStringLiteral("the first frame leaves part of the screen uncovered: ours shows the "
                    "background colour there, as GIF89a says; Pillow 9.4 shows palette entry 0")},
    {QStringLiteral("wuffs/artificial-gif/frame-out-of-bounds.gif"),
     QStringLiteral("a frame reaching past the screen: ours clips it to the screen, Pillow 9.4 "
                    "widens the picture")},
    {QStringLiteral("wuffs/artificial-gif/pixel-data-none.gif"),
     QStringLiteral("pixels the data never sets: black in ours, a palette colour in Pillow")},
    {QStringLiteral("wuffs/artificial-gif/pixel-data-not-enough.gif"),
     QStringLiteral("pixels the data never sets: black in ours, a palette colour in Pillow")},
    {QStringLiteral("wuffs/hippopotamus.interlaced.truncated.gif"),
     QStringLiteral("a cut interlaced GIF: ours spreads the passes read over the rows, as browsers "
                    "do; Pillow keeps only the rows read")},
};

// Whether Load must put the file on the canvas: the table's load_accepts column, written by
// tools/corpus_acceptance.py from each file's signature, Qt's verdict and the size its header
// declares against the bounds the README promises. It shares nothing with the decoder's limits,
// so a wrong limit there fails here.
bool loadAccepts(const Row& row)
{
    return row.value(QStringLiteral("load_accepts")) == QLatin1String("yes");
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
        const QImage independent = pillow().canvas(relative);
        const bool byPillow = !independent.isNull() && !differFromPillow.contains(relative);
        QString why;
        QVERIFY2(
            nearlySame(document.Image1.Image(), byPillow ? independent : overWhite(reading), 2,
                       &why),
            qPrintable((byPillow ? QStringLiteral("Pillow: ") : QStringLiteral("Qt: ")) + why));
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

    // Every file listed as differing from Pillow still does, and Pillow reads most of the corpus.
    void differencesFromPillowAreReal()
    {
        QVERIFY(!pillow().isEmpty());
        int compared = 0;
        for (const Row& row : expectedRows())
            compared += !pillow().canvas(row.value(QStringLiteral("path"))).isNull();
        QVERIFY2(compared >= 500, qPrintable(QString::number(compared)));
        for (auto it = differFromPillow.cbegin(); it != differFromPillow.cend(); ++it) {
            const QImage independent = pillow().canvas(it.key());
            QVERIFY2(!independent.isNull(), qPrintable(it.key()));
            IconDocument document;
            document.start();
            QVERIFY2(document.loadFile(corpusFolder() + QLatin1Char('/') + it.key()),
                     qPrintable(it.key()));
            QVERIFY2(!nearlySame(document.Image1.Image(), independent, 2), qPrintable(it.key()));
        }
    }

    // No file of the corpus makes one Load's memory rise beyond one decoded picture's bound. The
    // worst file is reported, with its time (not checked).
    void loadStaysWithinTheMemoryBound()
    {
        qint64 worstKiB = 0;
        qint64 slowestMs = 0;
        QString worst, slowest;
        for (const Row& row : expectedRows()) {
            const QString path = row.value(QStringLiteral("path"));
            QElapsedTimer timer;
            timer.start();
            const qint64 grown =
                peakGrowthKiB([&] { decodePictureFile(corpusFolder() + QLatin1Char('/') + path); });
            if (grown < 0)
                QSKIP("the memory's high-water mark cannot be reset here (/proc/self/clear_refs "
                      "is not writable), so the rise cannot be measured");
            if (timer.elapsed() > slowestMs)
                std::tie(slowestMs, slowest) = std::make_pair(timer.elapsed(), path);
            if (grown > worstKiB)
                std::tie(worstKiB, worst) = std::make_pair(grown, path);
        }
        qInfo("peak memory rose at most %lld KiB (%s); slowest Load %lld ms (%s)", worstKiB,
              qPrintable(worst), slowestMs, qPrintable(slowest));
        // one decoded picture: 4096 x 4096 pixels of 4 bytes
        QVERIFY2(worstKiB < 64 * 1024 * sanitizerMemoryFactor, qPrintable(worst));
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
