// Dropping a file on the canvas: one local picture file loads as Load does; anything else is
// refused and changes nothing.
#include "support/documentstate.h"
#include "support/fixture.h"
#include "support/testregistry.h"
#include "ui/pictureboxview.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>

using namespace avatello;
using namespace avatello::test;

namespace {

// Drags the data over the canvas and drops it there; whether the canvas took the drag.
bool dropOnCanvas(Form1& form, QMimeData* data)
{
    const QPoint middle = form.Image1View->rect().center();
    QDragEnterEvent enter(middle, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.Image1View, &enter);
    QDropEvent drop(QPointF(middle), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.Image1View, &drop);
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
        QCOMPARE(taken, kind == 3); // a local file is taken, then not loaded
        QCOMPARE(DocumentState::of(program->document).differenceFrom(before), QString());
    }
};

AVATELLO_REGISTER_TEST(TestDrop);

#include "tst_drop.moc"
