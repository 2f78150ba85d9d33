// Dropping a file on the canvas: one local picture file loads as Load does; anything else is
// refused and changes nothing.
#include "support/documentstate.h"
#include "support/fixture.h"
#include "support/testregistry.h"
#include "ui/pictureboxview.h"

#include <cstdio>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>

using namespace avatello;
using namespace avatello::test;

namespace {

// Drags the data over the canvas and drops it there; whether the canvas took the drag.
bool dropOnCanvas(Form1& form, QMimeData* data, Qt::DropActions offered = Qt::CopyAction,
                  Qt::DropAction* taken = nullptr)
{
    const QPoint middle = form.Image1View->rect().center();
    QDragEnterEvent enter(middle, offered, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.Image1View, &enter);
    QDropEvent drop(QPointF(middle), offered, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.Image1View, &drop);
    if (taken)
        *taken = drop.dropAction();
    return enter.isAccepted() && drop.isAccepted();
}

QString writePicture(const QTemporaryDir& dir, const QString& name)
{
    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(QColor(0, 128, 0));
    const QString path = dir.filePath(name);
    return picture.save(path, "BMP") ? path : QString();
}

} // namespace

class TestDrop : public QObject
{
    Q_OBJECT

private slots:
    void oneLocalPictureLoads()
    {
        QTemporaryDir dir;
        const QString path = writePicture(dir, QStringLiteral("green"));
        Program program;
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QVERIFY(dropOnCanvas(*program, &data));
        const QImage canvas = program->document.Image1.Image();
        QCOMPARE(QColor(canvas.pixel(5, 5)), QColor(0, 128, 0));
        QCOMPARE(QColor(canvas.pixel(20, 20)), QColor(Qt::white)); // on white, as Load does
        QVERIFY(program.user.fileQuestions.isEmpty());
    }

    void otherDropsChangeNothing_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("two files") << 0;
        QTest::newRow("web address") << 1;
        QTest::newRow("plain text") << 2;
        QTest::newRow("a file that is no picture") << 3;
    }
    void otherDropsChangeNothing()
    {
        QFETCH(int, kind);
        QTemporaryDir dir;
        const QString picture = writePicture(dir, QStringLiteral("green.bmp"));
        Program program;
        const DocumentState before = DocumentState::of(program->document);
        QMimeData data;
        if (kind == 0)
            data.setUrls({QUrl::fromLocalFile(picture), QUrl::fromLocalFile(picture)});
        else if (kind == 1)
            data.setUrls({QUrl(QStringLiteral("https://avatello.example.org/a.gif"))});
        else if (kind == 2)
            data.setText(picture);
        else
            data.setUrls({QUrl::fromLocalFile(dir.path())});
        const bool taken = dropOnCanvas(*program, &data);
        QCOMPARE(taken, kind == 3); // a local file is taken, then not loaded, and said why
        QCOMPARE(DocumentState::of(program->document).differenceFrom(before), QString());
        QCOMPARE(program.user.messages.size(), kind == 3 ? 1 : 0);
        if (kind == 3)
            QVERIFY2(program.user.messages[0].text.contains(QStringLiteral("a folder")),
                     qPrintable(program.user.messages[0].text));
    }

    // A file address is a local file's only on this computer ("localhost" or no host) and only
    // when its name could be a file's: the others are taken, not loaded, and said why.
    void fileAddressesThatNameNoFileHere_data()
    {
        QTest::addColumn<QString>("address"); // "PATH" is the picture's path
        QTest::addColumn<QString>("words");   // of the message; none: the picture loads
        QTest::newRow("localhost") << "file://localhostPATH" << QString();
        QTest::newRow("another computer") << "file://otherhostPATH"
                                          << "a file on another computer";
        QTest::newRow("a NUL byte after the name") << "file://PATH%00.txt"
                                                   << "a name that no file can have";
    }
    void fileAddressesThatNameNoFileHere()
    {
        QFETCH(QString, address);
        QFETCH(QString, words);
        QTemporaryDir dir;
        const QString picture = writePicture(dir, QStringLiteral("green.bmp"));
        Program program;
        const DocumentState before = DocumentState::of(program->document);
        QMimeData data;
        data.setUrls({QUrl(QString(address).replace(QStringLiteral("PATH"), picture))});
        QVERIFY(dropOnCanvas(*program, &data));
        if (words.isEmpty()) {
            QCOMPARE(QColor(program->document.Image1.Image().pixel(5, 5)), QColor(0, 128, 0));
            QCOMPARE(program.user.messages.size(), 0);
            return;
        }
        QCOMPARE(DocumentState::of(program->document).differenceFrom(before), QString());
        QCOMPARE(program.user.messages.size(), 1);
        QVERIFY2(program.user.messages[0].text.contains(words),
                 qPrintable(program.user.messages[0].text));
    }

    // A file manager that offers Move would delete the original once it is taken: the canvas
    // takes a copy, or nothing where no copy is offered.
    void aDropIsACopy_data()
    {
        QTest::addColumn<int>("offered");
        QTest::addColumn<bool>("taken");
        QTest::newRow("copy or move") << int(Qt::CopyAction | Qt::MoveAction) << true;
        QTest::newRow("move only") << int(Qt::MoveAction) << false;
        QTest::newRow("link only") << int(Qt::LinkAction) << false;
    }
    void aDropIsACopy()
    {
        QFETCH(int, offered);
        QFETCH(bool, taken);
        QTemporaryDir dir;
        const QString path = writePicture(dir, QStringLiteral("green.bmp"));
        Program program;
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        Qt::DropAction action = Qt::IgnoreAction;
        QCOMPARE(dropOnCanvas(*program, &data, Qt::DropActions(offered), &action), taken);
        if (taken)
            QCOMPARE(action, Qt::CopyAction);
        QCOMPARE(QColor(program->document.Image1.Image().pixel(5, 5)) == QColor(0, 128, 0), taken);
    }

    // A name that is not UTF-8 reaches the file as the system spells it.
    void aNameThatIsNotUtf8Loads()
    {
        QTemporaryDir dir;
        const QString path = writePicture(dir, QStringLiteral("green.bmp"));
        const QByteArray name = QFile::encodeName(dir.path()) + "/gr\xFE"
                                                                "en.bmp";
        QCOMPARE(::rename(QFile::encodeName(path).constData(), name.constData()), 0);
        Program program;
        QMimeData data;
        data.setUrls(
            {QUrl(QStringLiteral("file://") + QString::fromLatin1(name.toPercentEncoding("/")))});
        QVERIFY(dropOnCanvas(*program, &data));
        QCOMPARE(QColor(program->document.Image1.Image().pixel(5, 5)), QColor(0, 128, 0));
    }
};

AVATELLO_REGISTER_TEST(TestDrop);

#include "tst_drop.moc"
