// Every control a person can reach has a name a screen reader can say.
#include "support/fixture.h"
#include "support/modallook.h"
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

    // Scratch controls outside the windows and the decorative arrow are not presented as showing;
    // a box holding the focus when its window opens is, and says where to go. (Controls of a
    // window not shown are not showing anyway, so every window is shown.)
    void showingAndNames_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("showing");
        for (const char* hidden : {"temp", "Picture1", "textx", "texty", "Label2"})
            QTest::newRow(hidden) << QString::fromLatin1(hidden) << false;
        for (const char* focus : {"hhd", "Form2.Text1", "Form4.Text1"})
            QTest::newRow(focus) << QString::fromLatin1(focus) << true;
    }
    void showingAndNames()
    {
        QFETCH(QString, control);
        QFETCH(bool, showing);
        Program program;
        program->show();
        program->hhhhhhhhhhhhhhh22_Click();
        program->changefont_Click();
        const QHash<QString, QWidget*> controls{{"temp", program->tempView},
                                                {"Picture1", program->Picture1View},
                                                {"textx", program->textx},
                                                {"texty", program->texty},
                                                {"Label2", program->Label2},
                                                {"hhd", program->hhd},
                                                {"Form2.Text1", program->form2->Text1},
                                                {"Form4.Text1", program->form4->Text1}};
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(controls[control]);
        QCOMPARE(face->state().invisible, !showing);
        QVERIFY(!face->text(QAccessible::Name).isEmpty());
        if (showing)
            QVERIFY(face->text(QAccessible::Name).contains(QStringLiteral("Tab")));
    }

    // Change Font's lists say what they choose (on Linux Qt would name them by their choice).
    void theFontListsSayWhatTheyChoose()
    {
        Program program;
        program->changefont_Click();
        for (QComboBox* list : {program->form4->Combo1, program->form4->Combo2}) {
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(list);
            QCOMPARE(face->text(QAccessible::Name),
                     QLatin1String(list == program->form4->Combo1 ? "Font" : "Size"));
            QCOMPARE(face->text(QAccessible::Value), list->currentText());
            QCOMPARE(face->child(0)->object(), list->view());
        }
    }

    // The choice is the list's text too, all of it selected: that is where Orca reads the value
    // of a list, and, as new text, what it says when Down changes it.
    void theFontListsOfferTheirChoiceAsText()
    {
        Program program;
        program->changefont_Click();
        QComboBox* sizes = program->form4->Combo2;
        QAccessibleTextInterface* text =
            QAccessible::queryAccessibleInterface(sizes)->textInterface();
        QVERIFY(text);
        QCOMPARE(text->text(0, text->characterCount()), QStringLiteral("8"));
        int start = -1;
        int end = -1;
        text->selection(0, &start, &end);
        QCOMPARE(text->selectionCount(), 1);
        QCOMPARE(std::pair(start, end), std::pair(0, 1));
        sizes->setFocus();
        QTest::keyClick(sizes, Qt::Key_Down);
        QTest::keyClick(sizes, Qt::Key_Down);
        QCOMPARE(text->text(0, text->characterCount()), QStringLiteral("10"));
        text->selection(0, &start, &end);
        QCOMPARE(std::pair(start, end), std::pair(0, 2));
    }

    // From Qt 6.5 on, the choice is also the list's one selected item: Qt reports a new choice as
    // a change of selection, and that is where Orca 48 reads what to say.
    void theFontListsOfferTheirChoiceAsSelection()
    {
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
        Program program;
        program->changefont_Click();
        QComboBox* sizes = program->form4->Combo2;
        QAccessibleSelectionInterface* selection =
            QAccessible::queryAccessibleInterface(sizes)->selectionInterface();
        QVERIFY(selection);
        QCOMPARE(selection->selectedItemCount(), 1);
        QCOMPARE(selection->selectedItem(0)->text(QAccessible::Name), QStringLiteral("8"));
        sizes->setFocus();
        QTest::keyClick(sizes, Qt::Key_Down);
        QTest::keyClick(sizes, Qt::Key_Down);
        QCOMPARE(selection->selectedItems().size(), 1);
        QCOMPARE(selection->selectedItem(0)->text(QAccessible::Name), QStringLiteral("10"));
#else
        QSKIP("Qt before 6.5 has no selection interface; there the text says the choice");
#endif
    }

    // The link is a link to the maker's page, and a screen reader can follow it.
    void theLinkIsALink()
    {
        Program program;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(program->Label1);
        QCOMPARE(face->role(), QAccessible::Link);
        QCOMPARE(face->text(QAccessible::Description), maker::webAddress);
        face->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(program.user.launched, QList<QUrl>{QUrl(maker::webAddress)});
    }

    // The text prompt is described by its prompt, which a screen reader says with its name.
    void theTextPromptIsDescribedByItsPrompt()
    {
        QWidget parent;
        QString description;
        ModalLook<> look([&](QWidget* prompt) {
            description =
                QAccessible::queryAccessibleInterface(prompt)->text(QAccessible::Description);
            prompt->close();
        });
        QtServices().text(&parent, "Add Text", "Text To Add:");
        QCOMPARE(description, QStringLiteral("Text To Add:"));
    }

    // A message box's picture says in words what kind of message it is.
    void theMessagePictureIsNamed()
    {
        QWidget parent;
        QString name;
        ModalLook<QMessageBox> look([&](QMessageBox* box) {
            name = QAccessible::queryAccessibleInterface(
                       box->findChild<QLabel*>("qt_msgboxex_icon_label"))
                       ->text(QAccessible::Name);
            box->accept();
        });
        QtServices().message(&parent, "About Avatello", "text", MessageIcon::Information);
        QCOMPARE(name, QStringLiteral("Information"));
    }
};

AVATELLO_REGISTER_TEST(TestAccessibility);

#include "tst_accessibility.moc"
