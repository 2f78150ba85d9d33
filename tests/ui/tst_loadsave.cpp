// Load and Save, driven through the main window's buttons by a scripted user.
#include "imageio/bmpwriter.h"
#include "model/colour.h"
#include "support/fixture.h"
#include "support/picturefiles.h"
#include "support/pixels.h"
#include "support/testregistry.h"

#include <csignal>
#include <QDir>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/resource.h>

using namespace avatello;
using namespace avatello::test;

namespace {

const QString loadTitle = QStringLiteral("Load Icon");
const QString saveTitle = QStringLiteral("Save Icon");
const QString loadFilter = QStringLiteral(
    "All Files (*.*)|*.*|JPG Files (*.jpg)|*.jpg|GIF Files (*.gif)|*.gif|BMP Files (*.bmp)|*.bmp");
const QString saveFilter = QStringLiteral(
    "JPG Files (*.jpg)|*.jpg|GIF Files (*.gif)|*.gif|BMP Files (*.bmp)|*.bmp|All Files (*.*)|*.*");

const QList<QRgb> gifPalette = {qRgb(255, 0, 255), qRgb(200, 30, 40), qRgb(0x12, 0x34, 0x56),
                                qRgb(10, 160, 90)};

// A 32 x 32 GIF whose colour 0 is transparent: a pattern of 4 x 4 squares in colours 0, 1, 2
// and 3, so that transparent pixels lie inside the picture as well as along its edges.
GifPicture transparentGif32()
{
    GifPicture gif;
    gif.screen = QSize(32, 32);
    gif.frame = QRect(0, 0, 32, 32);
    gif.palette = gifPalette;
    gif.transparentIndex = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            gif.indices.push_back(uchar((x / 4 + y / 4 + (x == y ? 1 : 0)) % 4));
    return gif;
}

// What the canvas must show after loading transparentGif32(), worked out from the pixels put
// into the file: white to the right of and below the picture and in its transparent pixels.
QImage expectedTransparentGifCanvas()
{
    const GifPicture gif = transparentGif32();
    QImage canvas(48, 48, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const int index = gif.indices[std::size_t(y * 32 + x)];
            if (index != gif.transparentIndex)
                canvas.setPixel(x, y, gif.palette.at(index));
        }
    }
    return canvas;
}

// A 100 x 100 JPEG in four quadrants: red at the top left, blue at the top right, green at the
// bottom left and yellow at the bottom right.
QImage quadrants100()
{
    QImage image(100, 100, QImage::Format_RGB32);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            image.setPixel(x, y,
                           y < 50 ? (x < 50 ? qRgb(220, 20, 20) : qRgb(20, 20, 220))
                                  : (x < 50 ? qRgb(20, 200, 20) : qRgb(230, 220, 20)));
    return image;
}

QString writeJpeg(const QTemporaryDir& dir, const QString& name, const QImage& image)
{
    const QString path = dir.filePath(name);
    QImageWriter writer(path, "jpeg");
    writer.setQuality(95);
    return writer.write(image) ? path : QString();
}

QString writeGif(const QTemporaryDir& dir, const QString& name, const GifPicture& gif)
{
    const QString path = dir.filePath(name);
    return writeFile(path, makeGif(gif)) ? path : QString();
}

// Reads a saved file back as a 48 x 48 picture (null if it is not a bitmap of that size).
QImage readSavedBitmap(const QString& path)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    if (reader.format() != "bmp")
        return QImage();
    const QImage image = reader.read();
    return image.size() == QSize(48, 48) ? image.convertToFormat(QImage::Format_RGB32) : QImage();
}

bool isIconBitmap(const QString& path)
{
    const QByteArray bytes = readFile(path);
    return bytes.size() == 6966 && bytes.startsWith("BM");
}

QStringList filesIn(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// Leaves the form in a state with something in every part of the document: a chosen background
// colour, text drawn on the canvas, a finished view, an undo copy and Undo enabled.
void busyDocument(Program& program)
{
    program.user.colors.push_back(QColor(0x56, 0x34, 0x12));
    program->hehe_Click();
    printOn(program->document.Image1, QStringLiteral("Hey"), 100, 100);
    program->Command3_Click();
    program->document.temp.setPicture(program->document.Image1.Image());
    program->hehe333->setEnabled(true);
    program->document.textstring = QStringLiteral("Hey");
    program.user.colorQuestions.clear();
}

} // namespace

class TestLoadSave : public QObject
{
    Q_OBJECT

private slots:
    // ---- Load ----------------------------------------------------------------------------

    void loadTransparentGifShowsItTopLeftOverWhite()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = writeGif(dir, QStringLiteral("small.gif"), transparentGif32());
        QVERIFY(!path.isEmpty());

        Program program;
        program.user.files.push_back(path);
        program->Command1_Click();

        QCOMPARE(program->document.Image1.BackColor(), vbWhite);
        const QImage canvas = program->document.Image1.Image();
        QCOMPARE(canvas.size(), QSize(48, 48));
        QVERIFY(samePixels(canvas, expectedTransparentGifCanvas()));
        // white in the transparent squares inside the picture, and around it
        QCOMPARE(rgbAt(canvas, 0, 1), qRgb(255, 255, 255));
        QVERIFY(isUniform(canvas, QRect(32, 0, 16, 48), Qt::white));
        QVERIFY(isUniform(canvas, QRect(0, 32, 48, 16), Qt::white));
        QCOMPARE(program->document.Image1.Width(), 750.0f);
        QCOMPARE(program->document.Image1.Height(), 750.0f);
        // the picture keeps its own size
        QCOMPARE(program->document.Image1.Picture().size(), QSize(32, 32));
    }

    void loadInterlacedGifShowsTheSamePixels()
    {
        QTemporaryDir dir;
        GifPicture gif = transparentGif32();
        gif.interlaced = true;
        const QString path = writeGif(dir, QStringLiteral("interlaced.gif"), gif);

        Program program;
        program.user.files.push_back(path);
        program->Command1_Click();
        QVERIFY(samePixels(program->document.Image1.Image(), expectedTransparentGifCanvas()));
    }

    void loadLargeJpegShowsItsTopLeftCornerUnscaled()
    {
        QTemporaryDir dir;
        const QString path = writeJpeg(dir, QStringLiteral("photo.jpg"), quadrants100());
        QVERIFY(!path.isEmpty());
        const QImage decoded = qtReading(path);
        QCOMPARE(decoded.size(), QSize(100, 100));

        Program program;
        program.user.files.push_back(path);
        program->Command1_Click();

        const QImage canvas = program->document.Image1.Image();
        QVERIFY(samePixels(canvas, decoded.copy(0, 0, 48, 48)));
        // Only the red quadrant shows: scaled down, the other three would come into view.
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 48; ++x) {
                const QRgb p = canvas.pixel(x, y);
                QVERIFY2(qRed(p) > 180 && qGreen(p) < 70 && qBlue(p) < 70,
                         qPrintable(QStringLiteral("(%1,%2)").arg(x).arg(y)));
            }
        }
        QCOMPARE(program->document.Image1.BackColor(), vbWhite);
    }

    void loadBitmapUnderAnyName()
    {
        QTemporaryDir dir;
        QImage picture(40, 20, QImage::Format_RGB32);
        picture.fill(qRgb(1, 2, 3));
        picture.setPixel(39, 19, qRgb(250, 251, 252));
        const QString path = dir.filePath(QStringLiteral("really-a-bitmap.jpg"));
        QVERIFY(picture.save(path, "BMP"));

        Program program;
        program.user.files.push_back(path);
        program->Command1_Click();
        QVERIFY(samePixels(program->document.Image1.Image(), overWhite(picture)));
    }

    void loadErasesTextAndTouchesNothingElse()
    {
        QTemporaryDir dir;
        const QString path = writeGif(dir, QStringLiteral("small.gif"), transparentGif32());
        Program program;
        busyDocument(program);
        const DocumentState before = DocumentState::of(program->document);

        program.user.files.push_back(path);
        program->Command1_Click();

        const DocumentState after = DocumentState::of(program->document);
        QVERIFY(samePixels(after.canvas, expectedTransparentGifCanvas())); // the text is gone
        QVERIFY(after.finished == before.finished);
        QVERIFY(after.finishedPicture == before.finishedPicture);
        QVERIFY(after.undoPicture == before.undoPicture);
        QCOMPARE(after.undoAvailable, before.undoAvailable);
        QCOMPARE(after.textstring, before.textstring);
        QCOMPARE(after.textcolor, before.textcolor);
        QCOMPARE(after.textfont, before.textfont);
        QCOMPARE(after.textsize, before.textsize);
        QCOMPARE(after.textx, before.textx);
        QCOMPARE(after.texty, before.texty);
        QCOMPARE(after.canvasFore, before.canvasFore);
        QVERIFY(program.user.messages.isEmpty());
    }

    void loadAfterAColourChangeMakesTheBackgroundWhite_data()
    {
        QTest::addColumn<int>("command");
        QTest::newRow("Choose Color") << 0;
        QTest::newRow("Back Color") << 1;
        QTest::newRow("AIM Back Color (background)") << 2;
        QTest::newRow("AIM Back Color (new icon)") << 3;
    }

    void loadAfterAColourChangeMakesTheBackgroundWhite()
    {
        QFETCH(int, command);
        QTemporaryDir dir;
        const QString path = writeGif(dir, QStringLiteral("small.gif"), transparentGif32());
        Program program;
        program.user.colors.push_back(QColor(0x10, 0x80, 0x30));
        switch (command) {
        case 0:
            program->hehe_Click();
            break;
        case 1:
            program->hahaha33_Click();
            break;
        case 2:
            program->h476a_Click();
            break;
        default:
            program->aimback_Click();
            break;
        }
        QVERIFY(program->document.Image1.BackColor() != vbWhite);

        program.user.files.push_back(path);
        program->Command1_Click();
        QCOMPARE(program->document.Image1.BackColor(), vbWhite);
        QVERIFY(samePixels(program->document.Image1.Image(), expectedTransparentGifCanvas()));
    }

    void failedLoadChangesNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("create");
        QTest::newRow("text file") << "notes.txt" << QByteArray("not a picture\n") << true;
        QTest::newRow("text named .gif") << "fake.gif" << QByteArray("GIF? no.\n") << true;
        QTest::newRow("text named .jpg") << "fake.jpg" << QByteArray(4000, 'x') << true;
        QTest::newRow("empty file") << "empty.bmp" << QByteArray() << true;
        QTest::newRow("PNG picture") << "picture.png" << QByteArray() << true;
        QTest::newRow("GIF header only") << "cut.gif" << QByteArray("GIF89a\x20\x00", 8) << true;
        QTest::newRow("missing name") << "no-such-file.gif" << QByteArray() << false;
        QTest::newRow("a folder") << "" << QByteArray() << false;
    }

    void failedLoadChangesNothing()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(bool, create);
        QTemporaryDir dir;
        const QString path = name.isEmpty() ? dir.path() : dir.filePath(name);
        if (name.endsWith(QLatin1String(".png"))) {
            QImage png(20, 20, QImage::Format_RGB32);
            png.fill(Qt::red);
            QVERIFY(png.save(path, "PNG")); // a real picture, but not one Load reads
        } else if (create) {
            QVERIFY(writeFile(path, content));
        }

        Program program;
        busyDocument(program);
        const DocumentState before = DocumentState::of(program->document);
        program.user.files.push_back(path);
        program->Command1_Click();

        const QString difference = DocumentState::of(program->document).differenceFrom(before);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
        QCOMPARE(program.user.fileQuestions.size(), 1);
        QVERIFY(program.user.messages.isEmpty());
        QVERIFY(program.user.colorQuestions.isEmpty());
        QVERIFY(program.user.textQuestions.isEmpty());
    }

    void cancelledLoadChangesNothingAndAsksNothingMore()
    {
        Program program;
        busyDocument(program);
        const DocumentState before = DocumentState::of(program->document);
        program.user.files.push_back(std::nullopt);
        program->Command1_Click();

        const QString difference = DocumentState::of(program->document).differenceFrom(before);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
        QCOMPARE(program.user.fileQuestions.size(), 1);
        QCOMPARE(program.user.unanswered, 0);
        QVERIFY(program.user.messages.isEmpty());
        QVERIFY(program.user.colorQuestions.isEmpty());
        QVERIFY(program.user.textQuestions.isEmpty());
    }

    // ---- The dialogs ---------------------------------------------------------------------

    void dialogsHaveTheirTitlesAndFilters()
    {
        Program program;
        program.user.files = {std::nullopt, std::nullopt};
        program->Command1_Click();
        program->Command2_Click();
        QCOMPARE(program.user.fileQuestions.size(), 2);

        const auto& load = program.user.fileQuestions.at(0);
        QCOMPARE(load.kind, ScriptedUser::FileKind::Open);
        QCOMPARE(load.request.title, loadTitle);
        QCOMPARE(load.request.filter, loadFilter);

        const auto& save = program.user.fileQuestions.at(1);
        QCOMPARE(save.kind, ScriptedUser::FileKind::Save);
        QCOMPARE(save.request.title, saveTitle);
        QCOMPARE(save.request.filter, saveFilter);
    }

    void eachDialogProposesThePathChosenLastByEither()
    {
        QTemporaryDir dir;
        const QString loaded = writeGif(dir, QStringLiteral("loaded.gif"), transparentGif32());
        const QString saved = dir.filePath(QStringLiteral("saved.bmp"));
        const QString missing = dir.filePath(QStringLiteral("missing.jpg"));

        Program program;
        auto& questions = program.user.fileQuestions;
        program.user.files = {loaded, saved, std::nullopt, std::nullopt, missing, std::nullopt};

        program->Command1_Click();                             // chooses loaded
        QCOMPARE(questions.at(0).request.fileName, QString()); // nothing chosen yet
        program->Command2_Click();                             // chooses saved
        QCOMPARE(questions.at(1).request.fileName, loaded);
        program->Command1_Click(); // cancels
        QCOMPARE(questions.at(2).request.fileName, saved);
        program->Command2_Click(); // cancels: the path is kept all the same
        QCOMPARE(questions.at(3).request.fileName, saved);
        program->Command1_Click(); // chooses a name that does not exist
        QCOMPARE(questions.at(4).request.fileName, saved);
        program->Command2_Click(); // the failed Load's choice is proposed
        QCOMPARE(questions.at(5).request.fileName, missing);
        QCOMPARE(program->CommonDialog1.FileName, missing);
    }

    // ---- Save ----------------------------------------------------------------------------

    void saveBeforeAnyFinishedWritesTheWindowBackground()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("first.bmp"));
        Program program;
        program.user.files.push_back(path);
        program->Command2_Click();

        QVERIFY(isIconBitmap(path));
        const QImage saved = readSavedBitmap(path);
        QVERIFY(!saved.isNull());
        QVERIFY(isUniform(saved, resolveColor(vbWindowBackground)));
        QVERIFY(program.user.messages.isEmpty());
    }

    void saveWithoutFinishedWritesThePreviousView()
    {
        QTemporaryDir dir;
        const QString gif = writeGif(dir, QStringLiteral("small.gif"), transparentGif32());
        const QString path = dir.filePath(QStringLiteral("previous.bmp"));
        Program program;
        program->Command3_Click(); // the start-up picture becomes the finished view
        const QImage finished = program->document.Image2.Image();
        program.user.files = {gif, path};
        program->Command1_Click();
        program->Command2_Click();

        const QImage saved = readSavedBitmap(path);
        QVERIFY(samePixels(saved, finished));
        QVERIFY(!samePixels(saved, program->document.Image1.Image()));
    }

    void saveAfterFinishedWritesTheLoadedPicture()
    {
        QTemporaryDir dir;
        const QString gif = writeGif(dir, QStringLiteral("small.gif"), transparentGif32());
        const QString path = dir.filePath(QStringLiteral("loaded.bmp"));
        Program program;
        program.user.files = {gif, path};
        program->Command1_Click();
        program->Command3_Click();
        program->Command2_Click();
        QVERIFY(samePixels(readSavedBitmap(path), expectedTransparentGifCanvas()));
    }

    void saveAfterANewIconWithoutFinishedIsWhite_data()
    {
        QTest::addColumn<bool>("chooseColor");
        QTest::newRow("AIM Back Color") << false;
        QTest::newRow("Choose Color") << true;
    }

    void saveAfterANewIconWithoutFinishedIsWhite()
    {
        QFETCH(bool, chooseColor);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("white.bmp"));
        Program program;
        program->Command3_Click();
        if (chooseColor) {
            program.user.colors.push_back(QColor(0x80, 0x10, 0x10));
            program->hehe_Click();
        } else {
            program->aimback_Click();
        }
        program.user.files.push_back(path);
        program->Command2_Click();
        const QImage saved = readSavedBitmap(path);
        QVERIFY(!saved.isNull());
        QVERIFY(isUniform(saved, Qt::white));
    }

    void saveWritesABitmapUnderExactlyTheNameChosen_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow(".jpg") << "icon.jpg";
        QTest::newRow(".gif") << "icon.gif";
        QTest::newRow("no extension") << "icon";
        QTest::newRow(".bmp") << "icon.bmp";
        QTest::newRow("trailing dot") << "icon.";
    }

    void saveWritesABitmapUnderExactlyTheNameChosen()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        Program program;
        program->Command3_Click();
        program.user.files.push_back(path);
        program->Command2_Click();

        QCOMPARE(filesIn(dir.path()), QStringList{name});
        QVERIFY(isIconBitmap(path));
        QVERIFY(samePixels(readSavedBitmap(path), program->document.Image2.Image()));
        QVERIFY(program.user.messages.isEmpty());
    }

    // Saving under the name of a file that is there replaces that file with the icon: the
    // picture just loaded (its name is proposed), or any other file.
    void saveOverAFileReplacesIt_data()
    {
        QTest::addColumn<bool>("loadedFirst");
        QTest::newRow("the loaded picture") << true;
        QTest::newRow("another file") << false;
    }

    void saveOverAFileReplacesIt()
    {
        QFETCH(bool, loadedFirst);
        QTemporaryDir dir;
        const QString path = loadedFirst
                                 ? writeJpeg(dir, QStringLiteral("photo.jpg"), quadrants100())
                                 : dir.filePath(QStringLiteral("old.bmp"));
        if (!loadedFirst)
            QVERIFY(writeFile(path, QByteArray(20000, 'z')));
        Program program;
        if (loadedFirst) {
            program.user.files.push_back(path);
            program->Command1_Click();
            program->Command3_Click();
        }
        const QImage finished = program->document.Image2.Image();

        program.user.files.push_back(path); // accepts the proposed name
        program->Command2_Click();
        if (loadedFirst)
            QCOMPARE(program.user.fileQuestions.last().request.fileName, path);
        QCOMPARE(filesIn(dir.path()), QStringList{QFileInfo(path).fileName()});
        QVERIFY(isIconBitmap(path));
        QVERIFY(samePixels(readSavedBitmap(path), finished));
        QVERIFY(program.user.messages.isEmpty());
    }

    void cancelledSaveWritesNothing()
    {
        QTemporaryDir dir;
        Program program;
        program->Command3_Click();
        program.user.files.push_back(std::nullopt);
        program->Command2_Click();
        QVERIFY(filesIn(dir.path()).isEmpty());
        QCOMPARE(program.user.fileQuestions.size(), 1);
        QCOMPARE(program.user.unanswered, 0);
        QVERIFY(program.user.messages.isEmpty());
    }

    void unwritablePathGivesAMessageAndWritesNothing_data()
    {
        QTest::addColumn<QString>("relative"); // inside the test folder, or absolute
        // Tests may run as root, who may write into any folder: these paths fail for root too.
        QTest::newRow("parent is a file") << "plain-file/icon.bmp";
        QTest::newRow("folder does not exist") << "no-such-folder/icon.bmp";
        QTest::newRow("under /proc") << "/proc/avatello-test-icon.bmp";
        QTest::newRow("name of a folder") << "a-folder";
    }

    void unwritablePathGivesAMessageAndWritesNothing()
    {
        QFETCH(QString, relative);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath(QStringLiteral("plain-file")), QByteArray("keep me")));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("a-folder")));
        const QStringList filesBefore = filesIn(dir.path());
        const QString path =
            relative.startsWith(QLatin1Char('/')) ? relative : dir.filePath(relative);

        Program program;
        program->Command3_Click();
        program.user.files.push_back(path);
        program->Command2_Click();

        QCOMPARE(program.user.messages.size(), 1);
        const auto& message = program.user.messages.first();
        QCOMPARE(message.title, saveTitle);
        const QString nativePath = QDir::toNativeSeparators(path);
        QVERIFY2(message.text.contains(nativePath), qPrintable(message.text));
        const QString reason =
            message.text.mid(message.text.indexOf(nativePath) + nativePath.size()).trimmed();
        QVERIFY2(!reason.isEmpty(), qPrintable(message.text));

        QVERIFY(!QFileInfo(path).isFile());
        QCOMPARE(filesIn(dir.path()), filesBefore);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("plain-file"))), QByteArray("keep me"));
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("a-folder"))).isDir());
    }

    // A write that fails part-way (here the file-size limit, which binds root as well, standing
    // in for a full disk) must leave the file that was there byte for byte, and no stray file.
    void saveFailingMidWayLeavesTheExistingFileIntact()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("precious.bmp"));
        QByteArray original(9000, '\0');
        for (int i = 0; i < original.size(); ++i)
            original[i] = char(i * 7 + 3);
        QVERIFY(writeFile(path, original));

        Program program;
        program->Command3_Click();
        program.user.files.push_back(path);

        // less than the 6966 bytes of the icon
        QVERIFY(withFileSizeLimit(4096, [&] { program->Command2_Click(); }));

        QCOMPARE(program.user.messages.size(), 1);
        QVERIFY(program.user.messages.first().text.contains(QDir::toNativeSeparators(path)));
        QCOMPARE(readFile(path), original);
        QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("precious.bmp")});

        // and with the limit lifted the same save succeeds
        program.user.files.push_back(path);
        program->Command2_Click();
        QCOMPARE(program.user.messages.size(), 1);
        QVERIFY(isIconBitmap(path));
    }
};

AVATELLO_REGISTER_TEST(TestLoadSave);

#include "tst_loadsave.moc"
