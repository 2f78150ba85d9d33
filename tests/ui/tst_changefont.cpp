// The Change Font window: choosing the face and size of later stamps.
#include "model/colour.h"
#include "support/fonts.h"
#include "support/pixels.h"
#include "support/testregistry.h"
#include "support/texttool.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

using namespace avatello;
using namespace avatello::test;

namespace {

Form4& fontWindow(Program& program)
{
    program->changefont_Click();
    return *program->form4;
}

// Some installed face other than the default.
QString otherFace()
{
    const QStringList families = QFontDatabase::families();
    for (const QString& family : {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Mono"),
                                  QStringLiteral("Liberation Serif")})
        if (families.contains(family))
            return family;
    return families.value(0) == QLatin1String("Tahoma") ? families.value(1) : families.value(0);
}

// The installed families as fontconfig itself lists them, each by its first name, with Tahoma:
// a list made without Qt (which also offers fontconfig's generic names and a family's
// subfamilies). Empty if fc-list does not run.
QSet<QString> fontconfigFamilies()
{
    QProcess list;
    list.start(QStringLiteral("fc-list"), {QStringLiteral(":"), QStringLiteral("family")});
    if (!list.waitForFinished(60000) || list.exitStatus() != QProcess::NormalExit ||
        list.exitCode() != 0)
        return {};
    QSet<QString> families{QStringLiteral("Tahoma")};
    for (const QString& line : QString::fromUtf8(list.readAllStandardOutput()).split('\n'))
        if (!line.isEmpty())
            families.insert(line.section(QLatin1Char(','), 0, 0));
    return families;
}

QRect stampBounds(Program& program, const QString& text)
{
    program->document.Image1.setPicture(QImage());
    pressAt(program, 1, 1);
    addText(program, text);
    return boundsUnlike(program->document.Image1.Image(), resolveColor(vbWindowBackground));
}

} // namespace

class TestChangeFont : public QObject
{
    Q_OBJECT

private slots:
    void window()
    {
        Program program;
        Form4& form = fontWindow(program);
        QCOMPARE(form.windowTitle(), QStringLiteral("Change Font"));
        QCOMPARE(form.size(), QSize(160, 97));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QVERIFY(!(form.windowFlags() & Qt::WindowStaysOnTopHint));
        QVERIFY(!(form.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(form.windowIcon().cacheKey(), program->windowIcon().cacheKey());
        QCOMPARE(form.Combo1->geometry(), QRect(8, 8, 145, 21));
        QCOMPARE(form.Combo2->geometry(), QRect(8, 32, 49, 21));
        QCOMPARE(form.Command1->text(), QStringLiteral("&OK"));
        QCOMPARE(form.Command1->geometry(), QRect(8, 64, 49, 25));
        QCOMPARE(form.Command2->text(), QStringLiteral("&Cancel"));
        QCOMPARE(form.Command2->geometry(), QRect(56, 64, 49, 25));
        QVERIFY(!form.Combo1->isEditable());
        QVERIFY(!form.Combo2->isEditable());
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QCOMPARE(QApplication::focusWidget(), form.Text1);
    }

    void listsOfferTheSystemFacesAndElevenSizes()
    {
        Program program;
        Form4& form = fontWindow(program);
        QStringList sizes;
        for (int i = 0; i < form.Combo2->count(); ++i)
            sizes << form.Combo2->itemText(i);
        QCOMPARE(sizes, QString("6 7 8 9 10 11 12 13 14 15 16").split(QLatin1Char(' ')));
        QStringList faces;
        for (int i = 0; i < form.Combo1->count(); ++i)
            faces << form.Combo1->itemText(i);
        // every family fontconfig knows, and Tahoma, which the program adds where the system has
        // none; each once, by its family name, whatever foundries offer it
        const QSet<QString> installed = fontconfigFamilies();
        if (installed.isEmpty())
            QSKIP("fc-list, fontconfig's own list of the installed families, does not run here");
        for (const QString& family : installed)
            QVERIFY2(faces.count(family) == 1, qPrintable(family));
        QCOMPARE(QSet<QString>(faces.begin(), faces.end()).size(), faces.size());
        for (const QString& face : faces)
            QVERIFY2(!face.contains(QLatin1Char('[')) ||
                         !installed.contains(face.left(face.indexOf(QStringLiteral(" [")))),
                     qPrintable(face));
        for (qsizetype i = 0; i + 1 < faces.size(); ++i)
            QVERIFY(faces.at(i).compare(faces.at(i + 1), Qt::CaseInsensitive) <= 0);
        // A stamp in each entry's face is drawn in a listed family (from one of its foundries,
        // which Qt names in brackets): the entry itself, or for fontconfig's generic names
        // ("Monospace") the family they stand for.
        for (const QString& face : faces) {
            const QString drawn = QFontInfo(QFont(face)).family();
            QVERIFY2(faces.contains(drawn.left(drawn.indexOf(QStringLiteral(" [")))),
                     qPrintable(face + QStringLiteral(" is drawn in ") + drawn));
        }
    }

    void familiesOfferedBySeveralFoundriesAreListedOnce_data()
    {
        QTest::addColumn<QStringList>("reported");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("two foundries")
            << QStringList{"C059 [UKWN]", "C059 [urw]", "Tahoma"} << QStringList{"C059", "Tahoma"};
        QTest::newRow("a tag with a space")
            << QStringList{"Nimbus Sans [UKWN]", "Nimbus Sans [URW ]", "Nimbus Sans [urw]"}
            << QStringList{"Nimbus Sans"};
        QTest::newRow("one foundry unnamed")
            << QStringList{"Sans", "Sans [x]"} << QStringList{"Sans"};
        QTest::newRow("brackets in a lone name")
            << QStringList{"Odd [Name]", "Odd Name"} << QStringList{"Odd [Name]", "Odd Name"};
    }
    void familiesOfferedBySeveralFoundriesAreListedOnce()
    {
        QFETCH(QStringList, reported);
        QFETCH(QStringList, listed);
        QCOMPARE(familyNames(reported), listed);
    }

    void firstOpeningShowsTheDefaults()
    {
        Program program;
        Form4& form = fontWindow(program);
        QCOMPARE(form.Combo1->currentText(), QStringLiteral("Tahoma"));
        QCOMPARE(form.Combo2->currentText(), QStringLiteral("8"));
    }

    void okStoresBothAndReopeningShowsThem()
    {
        Program program;
        const QImage before = program->document.Image1.Image();
        Form4& form = fontWindow(program);
        form.Combo2->setCurrentText(QStringLiteral("12"));
        form.Combo1->setCurrentText(otherFace());
        QTest::mouseClick(form.Command1, Qt::LeftButton);
        processDeferredDeletes();
        QVERIFY(!program->form4);
        QCOMPARE(program->document.textsize, QStringLiteral("12"));
        QCOMPARE(program->document.textfont, otherFace());
        QVERIFY(samePixels(program->document.Image1.Image(), before));
        Form4& again = fontWindow(program);
        QCOMPARE(again.Combo1->currentText(), otherFace());
        QCOMPARE(again.Combo2->currentText(), QStringLiteral("12"));
    }

    void cancelAndTheCloseBoxKeepBoth_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Cancel") << false;
        QTest::newRow("close box") << true;
    }
    void cancelAndTheCloseBoxKeepBoth()
    {
        QFETCH(bool, closeBox);
        Program program;
        Form4& form = fontWindow(program);
        form.Combo2->setCurrentText(QStringLiteral("16"));
        form.Combo1->setCurrentText(otherFace());
        if (closeBox)
            form.close();
        else
            QTest::mouseClick(form.Command2, Qt::LeftButton);
        processDeferredDeletes();
        QVERIFY(!program->form4);
        QCOMPARE(program->document.textsize, QStringLiteral("8"));
        QCOMPARE(program->document.textfont, QStringLiteral("Tahoma"));
    }

    void aMissingFaceStillShowsTheSizeAndOkKeepsBoth()
    {
        Program program;
        program->document.textfont = QStringLiteral("No Such Face 123");
        program->document.textsize = QStringLiteral("14");
        Form4& form = fontWindow(program);
        QCOMPARE(form.Combo1->currentIndex(), -1);
        QCOMPARE(form.Combo2->currentText(), QStringLiteral("14"));
        form.Combo2->setCurrentIndex(-1);
        form.Command1_Click();
        QCOMPARE(program->document.textfont, QStringLiteral("No Such Face 123"));
        QCOMPARE(program->document.textsize, QStringLiteral("14"));
        // the next stamp still draws, in a substitute face
        QVERIFY(!stampBounds(program, QStringLiteral("Hi")).isEmpty());
    }

    void openingAgainKeepsTheCurrentChoices()
    {
        Program program;
        Form4& form = fontWindow(program);
        form.Combo2->setCurrentText(QStringLiteral("10"));
        QCOMPARE(&fontWindow(program), &form);
        QCOMPARE(form.Combo2->currentText(), QStringLiteral("10"));
        QCOMPARE(program->document.textsize, QStringLiteral("8"));
    }

    void stampsUseTheChosenSizeAndFace()
    {
        AVATELLO_REQUIRE_FAMILY(QStringLiteral("Liberation Mono"));
        Program small;
        const QRect eight = stampBounds(small, QStringLiteral("Hg"));
        Program large;
        Form4& form = fontWindow(large);
        form.Combo2->setCurrentText(QStringLiteral("16"));
        form.Command1_Click();
        const QRect sixteen = stampBounds(large, QStringLiteral("Hg"));
        QVERIFY2(sixteen.height() > eight.height() + 4,
                 qPrintable(QStringLiteral("%1 vs %2").arg(sixteen.height()).arg(eight.height())));

        // the same text at the same size and place: only the face differs
        Program other;
        Form4& faces = fontWindow(other);
        faces.Combo1->setCurrentText(QStringLiteral("Liberation Mono"));
        faces.Command1_Click();
        QVERIFY(!stampBounds(other, QStringLiteral("Hg")).isEmpty());
        QVERIFY(!samePixels(other->document.Image1.Image(), small->document.Image1.Image()));
    }
};

AVATELLO_REGISTER_TEST(TestChangeFont);

#include "tst_changefont.moc"
