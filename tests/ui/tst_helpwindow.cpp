// The help window: its look, its topics, the keyboard and its one-at-a-time life.
#include "model/helptopics.h"
#include "support/fixture.h"
#include "support/testregistry.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QtTest>

using namespace avatello;
using namespace avatello::test;

namespace {

const QString startText = QStringLiteral("Avatello Help\r\n<-- Choose Topic\r\n");

const QStringList editLines{
    "Add Text   - Adds text to your icon. Undo this action by clicking Undo.",
    "---------------",
    "Move Text - Moves the most recently added text so it will fit your icon.",
    "---------------",
    "Change Font - Change Font Face and Size, default face is Tahoma, default size is 8. If you "
    "want to change the defaults do it before you add your text.",
    "---------------",
    "Text Color - Choose your color before you add text, otherwise your text will be the default ",
    "color (black).",
    "---------------",
    "Back Color - Change the background color of your icon. If you want to change the back color ",
    "change it before you add any text. Choose AIM Back Color for the default AIM Color. It will ",
    "look transparent except for the image/text."};

QString editText()
{
    QString text;
    for (const QString& line : editLines)
        text += line + QStringLiteral("\r\n");
    return text;
}

// The text area shows each CR LF as one line break and nothing else.
QString asShown(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

Form3* openHelp(Program& program)
{
    program->vbhelp_Click();
    return program->form3.data();
}

Form3* openActiveHelp(Program& program)
{
    Form3* help = openHelp(program);
    if (help && !QTest::qWaitForWindowActive(help))
        return nullptr;
    return help;
}

// A window closed by its close box is discarded once control returns to the event loop.
void discardClosed()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestHelpWindow : public QObject
{
    Q_OBJECT

private slots:
    void window()
    {
        Program program;
        Form3* help = openHelp(program);
        QVERIFY(help);
        QVERIFY(help->isVisible());
        QCOMPARE(help->windowTitle(), QStringLiteral("Avatello Help"));
        QCOMPARE(help->size(), QSize(353, 137));
        QCOMPARE(help->minimumSize(), QSize(353, 137));
        QCOMPARE(help->maximumSize(), QSize(353, 137));
        const Qt::WindowFlags flags = help->windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(flags & Qt::WindowStaysOnTopHint);
        QVERIFY(!program->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(help->windowIcon().pixmap(32).toImage(),
                 program->windowIcon().pixmap(32).toImage());
        QCOMPARE(help->font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(help->font().pixelSize(), 11);
        // modeless and without an owner: the main window stays usable beneath it
        QVERIFY(!help->parentWidget());
        QCOMPARE(help->windowModality(), Qt::NonModal);
        QVERIFY(program->isEnabled());

        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QPoint offset = help->frameGeometry().center() - screen.center();
        QVERIFY2(offset.manhattanLength() <= 1, "the help window opens centred on the screen");

        QCOMPARE(help->List1->geometry(), QRect(8, 8, 57, 82));
        QCOMPARE(help->Text1->geometry(), QRect(80, 8, 265, 121));
    }

    void opensWithTheStartTextAndNoTopic()
    {
        Program program;
        Form3* help = openHelp(program);
        QVERIFY(help);
        QCOMPARE(helpStartText(), startText);
        QCOMPARE(help->Text1->toPlainText(), asShown(startText));
        QCOMPARE(help->Text1->document()->blockCount(), 3); // two lines and the empty one after

        QListWidget* list = help->List1;
        QStringList names;
        for (int row = 0; row < list->count(); ++row)
            names << list->item(row)->text();
        QCOMPARE(names, (QStringList{"Load", "Save", "New", "Update", "Edit", "Other"}));
        QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
        QVERIFY(!list->isSortingEnabled());
        QCOMPARE(list->currentRow(), -1);
        QVERIFY(list->selectedItems().isEmpty());
    }

    void topics_data()
    {
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QString>("text");
        QTest::newRow("Load")
            << "Load"
            << "Load a 50x50 buddy icon from the supported file formats (jpg, gif, bmp).";
        QTest::newRow("Save")
            << "Save"
            << "The icon on the right is the finished product. Save your icon to a folder of your "
               "choice, choose between the supported file formats or All Files. You must click "
               "Update before saving.";
        QTest::newRow("New")
            << "New"
            << "Create a new blank icon from a color of your choice, it will erase the existing "
               "icon. Choose AIM Back Color for an icon that looks transparent when a user views "
               "it on AIM. Template has pre-made icons for you to add your text, double click the "
               "desired icon to load it.";
        QTest::newRow("Update")
            << "Update"
            << "This will update the icon on the right, you must click this before "
               "saving.";
        QTest::newRow("Edit") << "Edit" << editText();
        QTest::newRow("Other") << "Other"
                               << "Option to minimize the program, view about and help.";
    }
    void topics()
    {
        QFETCH(QString, topic);
        QFETCH(QString, text);
        QCOMPARE(topicText(topic), std::optional<QString>(text));

        Program program;
        Form3* help = openHelp(program);
        QVERIFY(help);
        const QList<QListWidgetItem*> items = help->List1->findItems(topic, Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        help->List1->setCurrentItem(items.constFirst());
        QCOMPARE(help->Text1->toPlainText(), asShown(text));
        QVERIFY(!help->Text1->toPlainText().contains(QLatin1Char('\r')));
        QCOMPARE(help->Text1->document()->blockCount(), int(text.count(QLatin1Char('\n'))) + 1);
    }

    // The Edit text's shape, checked apart from its wording.
    void editTopicKeepsItsLineBreaksAndBlanks()
    {
        const QString text = *topicText(QStringLiteral("Edit"));
        QVERIFY(!text.contains(QRegularExpression(QStringLiteral("[^\\r]\\n|\\r[^\\n]"))));
        const QStringList lines = text.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 13);
        QCOMPARE(lines.last(), QString()); // the last line ends with CR LF too
        for (int line = 1; line <= 12; ++line) {
            const QString& current = lines.at(line - 1);
            const bool blankAtEnd = line == 7 || line == 10 || line == 11;
            QCOMPARE(current.endsWith(QLatin1Char(' ')), blankAtEnd);
            QVERIFY(!current.endsWith(QStringLiteral("  ")));
            const bool separator = line == 2 || line == 4 || line == 6 || line == 9;
            QCOMPARE(current == QString(15, QLatin1Char('-')), separator);
        }
        QVERIFY(lines.at(0).startsWith(QStringLiteral("Add Text   - Adds")));
    }

    void otherNamesShowNothingNew_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("lower case") << "load";
        QTest::newRow("trailing blank") << "Edit ";
        QTest::newRow("unknown") << "Help";
    }
    void otherNamesShowNothingNew()
    {
        QFETCH(QString, name);
        QVERIFY(!topicText(name));
        Program program;
        Form3* help = openHelp(program);
        QVERIFY(help);
        help->List1->setCurrentRow(3);
        const QString before = help->Text1->toPlainText();
        help->List1->addItem(name);
        help->List1->setCurrentRow(help->List1->count() - 1);
        QCOMPARE(help->Text1->toPlainText(), before);
    }

    void arrowKeysWalkTheTopics()
    {
        Program program;
        Form3* help = openActiveHelp(program);
        QVERIFY(help);
        QCOMPARE(QApplication::focusWidget(), help->List1);
        QCOMPARE(help->List1->currentRow(), -1); // taking the focus chose nothing

        const QStringList names{"Load", "Save", "New", "Update", "Edit", "Other"};
        for (int row = 0; row < names.size(); ++row) {
            QTest::keyClick(help->List1, Qt::Key_Down);
            QCOMPARE(help->List1->currentRow(), row);
            QCOMPARE(help->List1->selectedItems().size(), 1);
            QCOMPARE(help->List1->selectedItems().constFirst()->text(), names.at(row));
            QCOMPARE(help->Text1->toPlainText(), asShown(*topicText(names.at(row))));
        }
        QTest::keyClick(help->List1, Qt::Key_Down); // already on the last topic
        QCOMPARE(help->List1->currentRow(), 5);
        QTest::keyClick(help->List1, Qt::Key_Up);
        QCOMPARE(help->Text1->toPlainText(), asShown(editText()));
        QTest::keyClick(help->List1, Qt::Key_Home);
        QCOMPARE(help->Text1->toPlainText(), asShown(*topicText(QStringLiteral("Load"))));
    }

    void textAreaIsReadOnlyButSelectable()
    {
        Program program;
        Form3* help = openActiveHelp(program);
        QVERIFY(help);
        QPlainTextEdit* text = help->Text1;
        QVERIFY(text->isReadOnly());
        QVERIFY(text->textInteractionFlags() & Qt::TextSelectableByMouse);
        QVERIFY(text->textInteractionFlags() & Qt::TextSelectableByKeyboard);
        QCOMPARE(text->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

        const auto typeInto = [text] {
            text->setFocus();
            QTest::keyClicks(text, QStringLiteral("typed"));
            QTest::keyClick(text, Qt::Key_Return);
            QTest::keyClick(text, Qt::Key_Backspace);
            QTest::keyClick(text, Qt::Key_Delete);
            QTest::keyClick(text, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(text, Qt::Key_X, Qt::ControlModifier);
        };
        typeInto();
        QCOMPARE(text->toPlainText(), asShown(startText));
        help->List1->setCurrentRow(4);
        typeInto();
        QCOMPARE(text->toPlainText(), asShown(editText()));
        QVERIFY(text->textCursor().hasSelection()); // Ctrl+A still selects
    }

    void topicIsShownFromItsBeginning()
    {
        Program program;
        Form3* help = openActiveHelp(program);
        QVERIFY(help);
        QScrollBar* bar = help->Text1->verticalScrollBar();
        help->Text1->moveCursor(QTextCursor::End);
        help->List1->setCurrentRow(4); // Edit: longer than the text area
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(help->Text1->textCursor().position(), 0);
    }

    void helpWhileOpenBringsTheSameWindowForward()
    {
        Program program;
        Form3* help = openHelp(program);
        QVERIFY(help);
        help->List1->setCurrentRow(1);
        program->vbhelp_Click();
        QCOMPARE(program->form3.data(), help);
        QVERIFY(help->isVisible());
        QCOMPARE(help->List1->currentRow(), 1);
        QCOMPARE(help->Text1->toPlainText(), asShown(*topicText(QStringLiteral("Save"))));
        int helpWindows = 0;
        for (QWidget* window : QApplication::topLevelWidgets())
            helpWindows += qobject_cast<Form3*>(window) != nullptr;
        QCOMPARE(helpWindows, 1);
    }

    void closingDiscardsTheWindowAndHelpMakesAFreshOne()
    {
        Program program;
        QPointer<Form3> first = openHelp(program);
        QVERIFY(first);
        first->List1->setCurrentRow(4);
        first->close();
        discardClosed();
        QVERIFY(!first);
        QVERIFY(!program->form3);
        QVERIFY(program->isEnabled()); // closing the help window ends nothing

        Form3* second = openHelp(program);
        QVERIFY(second);
        QVERIFY(second->isVisible());
        QCOMPARE(second->Text1->toPlainText(), asShown(startText));
        QCOMPARE(second->List1->currentRow(), -1);
        QVERIFY(second->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!second->windowIcon().isNull());
    }
};

AVATELLO_REGISTER_TEST(TestHelpWindow);

#include "tst_helpwindow.moc"
