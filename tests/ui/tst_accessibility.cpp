// Every control a person can reach has a name a screen reader can say.
#include "support/fixture.h"
#include "support/testregistry.h"
#include "ui/linklabel.h"
#include "ui/maker.h"
#include "ui/pictureboxview.h"
#include "ui/qtservices.h"

#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace avatello;
using namespace avatello::test;

namespace {

QString accessibleName(QWidget* widget)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

// The controls of a window that lie inside its client area, where a person can reach them.
QList<QWidget*> reachableControls(QWidget* window)
{
    QList<QWidget*> controls;
    for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (window->rect().contains(child->geometry()) &&
            (qobject_cast<QPushButton*>(child) || qobject_cast<PictureBoxView*>(child) ||
             qobject_cast<QComboBox*>(child) || qobject_cast<QAbstractScrollArea*>(child) ||
             qobject_cast<QLabel*>(child)))
            controls << child;
    return controls;
}

// The controls the tables below name, in a program with every window shown: a control of a
// window not shown is not showing anyway.
QWidget* control(Program& program, const QString& name)
{
    program->show();
    program->hhhhhhhhhhhhhhh22_Click();
    program->changefont_Click();
    const QHash<QString, QWidget*> controls{{QStringLiteral("hhd"), program->hhd},
                                            {QStringLiteral("temp"), program->tempView},
                                            {QStringLiteral("Picture1"), program->Picture1View},
                                            {QStringLiteral("textx"), program->textx},
                                            {QStringLiteral("texty"), program->texty},
                                            {QStringLiteral("Label2"), program->Label2},
                                            {QStringLiteral("Form2.Text1"), program->form2->Text1},
                                            {QStringLiteral("Form4.Text1"), program->form4->Text1}};
    return controls.value(name);
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void everyReachableControlHasAName()
    {
        Program program;
        program->hhhhhhhhhhhhhhh22_Click();
        program->changefont_Click();
        program->tempsss_Click();
        program->vbhelp_Click();
        const QList<QWidget*> windows{program.form.get(), program->form2.data(),
                                      program->form3.data(), program->form4.data(),
                                      program->form5.data()};
        for (QWidget* window : windows) {
            const QList<QWidget*> controls = reachableControls(window);
            QVERIFY(!controls.isEmpty());
            for (QWidget* control : controls)
                QVERIFY2(!accessibleName(control).isEmpty(),
                         qPrintable(window->windowTitle() + QLatin1Char('/') +
                                    control->metaObject()->className()));
        }
    }

    void theIconsDescribeThemselves()
    {
        Program program;
        QCOMPARE(accessibleName(program->Image1View), QStringLiteral("Icon To Edit"));
        QCOMPARE(accessibleName(program->Image2View), QStringLiteral("Finished Icon"));
        for (PictureBoxView* view : {program->Image1View, program->Image2View}) {
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(view);
            QVERIFY(!face->text(QAccessible::Description).isEmpty());
        }
    }

    // Scratch controls outside the window, and the arrow, which only decorates, are not presented
    // as showing, yet stay where they are in the keyboard's round.
    void controlsNoOneSeesAreNotShowing_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : {"temp", "Picture1", "textx", "texty", "Label2"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void controlsNoOneSeesAreNotShowing()
    {
        QFETCH(QString, name);
        Program program;
        QWidget* hidden = control(program, name);
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(hidden);
        QVERIFY(face->state().invisible);
        QVERIFY(!face->text(QAccessible::Name).isEmpty());
        QVERIFY(!hidden->isHidden());
    }

    // A box that holds the focus when its window opens is showing, and says where to go.
    void focusHoldersAreNamed_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : {"hhd", "Form2.Text1", "Form4.Text1"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void focusHoldersAreNamed()
    {
        QFETCH(QString, name);
        Program program;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control(program, name));
        QVERIFY(!face->state().invisible);
        QVERIFY(face->text(QAccessible::Name).contains(QStringLiteral("Tab")));
    }

    // Change Font's lists say what they choose; their choice is their value.
    void theFontListsSayWhatTheyChoose()
    {
        Program program;
        program->changefont_Click();
        const QList<QPair<QComboBox*, QString>> lists{
            {program->form4->Combo1, QStringLiteral("Font")},
            {program->form4->Combo2, QStringLiteral("Size")}};
        for (const auto& [list, name] : lists) {
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(list);
            QCOMPARE(face->role(), QAccessible::ComboBox);
            QCOMPARE(face->text(QAccessible::Name), name);
            QCOMPARE(face->text(QAccessible::Value), list->currentText());
            QCOMPARE(face->child(0)->object(), list->view());
        }
        QCOMPARE(program->form4->Combo2->currentText(), QStringLiteral("8"));
    }

    // The link is a link to the maker's page, and a screen reader can follow it.
    void theLinkIsALink()
    {
        Program program;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(program->Label1);
        QCOMPARE(face->role(), QAccessible::Link);
        QCOMPARE(face->text(QAccessible::Name), maker::siteName);
        QCOMPARE(face->text(QAccessible::Description), maker::webAddress);
        face->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(program.user.launched, QList<QUrl>{QUrl(maker::webAddress)});
    }

    // The picture of a message box says in words what kind of message it is.
    void theMessagePictureIsNamed()
    {
        QWidget parent;
        QString pictureName;
        // Looks for the box once its own event loop runs, and closes it.
        QTimer look;
        connect(&look, &QTimer::timeout, &parent, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            look.stop();
            if (auto* picture = box->findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label")))
                pictureName =
                    QAccessible::queryAccessibleInterface(picture)->text(QAccessible::Name);
            box->accept();
        });
        look.start(0);
        QtServices().message(&parent, QStringLiteral("About Avatello"), QStringLiteral("text"),
                             MessageIcon::Information);
        QCOMPARE(pictureName, QStringLiteral("Information"));
    }
};

AVATELLO_REGISTER_TEST(TestAccessibility);

#include "tst_accessibility.moc"
