// Every step by keyboard alone: Tab in reading order over the controls that are shown, focus
// marks, arrows and Space in the gallery, Escape, mnemonics in every language, menus at their
// button, F1, and dialogs above the windows kept on top.
#include "gallery.h"
#include "support/fixture.h"
#include "support/speaking.h"
#include "support/testregistry.h"
#include "ui/desktop/translations.h"
#include "ui/linklabel.h"
#include "ui/pictureboxview.h"
#include "ui/qtservices.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

using namespace avatello;
using namespace avatello::test;

namespace {

// Opens one window of the program as its command does; "Form1" is the main window itself.
QWidget* openWindow(Program& program, const QString& name)
{
    if (name == u"Form2")
        program->hhhhhhhhhhhhhhh22_Click();
    else if (name == u"Form3")
        program->vbhelp_Click();
    else if (name == u"Form4")
        program->changefont_Click();
    else if (name == u"Form5")
        program->tempsss_Click();
    else
        return program.form.get();
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == name && !window->isHidden())
            return window;
    return nullptr;
}

QWidget* shownWindow(Program& program, const QString& name)
{
    QWidget* window = openWindow(program, name);
    if (window) {
        window->show();
        window->activateWindow();
    }
    return window;
}

// A control of a window by the name the test tables use.
QWidget* controlNamed(Program& program, const QString& name)
{
    Form1& form = *program;
    const QHash<QString, QWidget*> main{{"Image1", form.Image1View}, {"Image2", form.Image2View},
                                        {"Load", form.Command1},     {"Save", form.Command2},
                                        {"Finished", form.Command3}, {"Edit", form.Command4},
                                        {"New", form.Command5},      {"Other", form.Command6},
                                        {"link", form.Label1},       {"hhd", form.hhd}};
    if (main.contains(name))
        return main.value(name);
    if (form.form2) {
        const QHash<QString, QWidget*> move{{"Up", form.form2->Command3},
                                            {"Left", form.form2->Command4},
                                            {"Right", form.form2->Command1},
                                            {"Down", form.form2->Command2}};
        if (move.contains(name))
            return move.value(name);
    }
    if (form.form4) {
        const QHash<QString, QWidget*> font{{"Font", form.form4->Combo1},
                                            {"Size", form.form4->Combo2},
                                            {"OK", form.form4->Command1},
                                            {"Cancel", form.form4->Command2}};
        if (font.contains(name))
            return font.value(name);
    }
    if (form.form3 && name == u"Topics")
        return form.form3->List1;
    if (form.form3 && name == u"Text")
        return form.form3->Text1;
    if (form.form5 && name.startsWith(u"Picture"))
        return form.form5->tileView(name.mid(7).toInt());
    return nullptr;
}

QString mnemonicOf(const QPushButton* button)
{
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("(?<!&)&([^&])")).match(button->text());
    return match.hasMatch() ? match.captured(1).toLower() : QString();
}

// Where keys go: the focused control, or the active window before any control has the focus.
QWidget* focused()
{
    QWidget* widget = QApplication::focusWidget();
    return widget ? widget : QApplication::activeWindow();
}

} // namespace

class TestKeyboard : public QObject
{
    Q_OBJECT

private slots:
    void tabVisitsTheShownControlsInReadingOrder_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("stops"); // in Tab order from the window's first focus
        QTest::newRow("main") << "Form1"
                              << QStringList{"Image1", "Image2",   "Load",  "New", "Edit",
                                             "Save",   "Finished", "Other", "link"};
        QTest::newRow("Move Text") << "Form2" << QStringList{"Up", "Left", "Right", "Down"};
        QTest::newRow("Change Font") << "Form4" << QStringList{"Font", "Size", "OK", "Cancel"};
        QTest::newRow("help") << "Form3" << QStringList{"Topics", "Text"};
        QStringList tiles;
        for (int n = 1; n <= tileCount; ++n)
            tiles << QStringLiteral("Picture%1").arg(n);
        QTest::newRow("Templates") << "Form5" << tiles;
    }
    void tabVisitsTheShownControlsInReadingOrder()
    {
        QFETCH(QString, window);
        QFETCH(QStringList, stops);
        Program program;
        program->show();
        QVERIFY(QTest::qWaitForWindowActive(program.form.get()));
        QWidget* shownWindow = ::shownWindow(program, window);
        QVERIFY(shownWindow);
        QVERIFY(QTest::qWaitForWindowActive(shownWindow));
        const QWidget* first = QApplication::focusWidget();
        // Twice round: Tab never returns to where the focus was when the window opened, unless
        // that is a stop itself (the help window's topics).
        for (int round = 0; round < 2; ++round)
            for (const QString& stop : stops) {
                QWidget* expected = controlNamed(program, stop);
                QVERIFY2(expected, qPrintable(stop));
                if (round == 0 && expected == first)
                    continue;
                QTest::keyClick(focused(), Qt::Key_Tab);
                QCOMPARE(QApplication::focusWidget(), expected);
                QVERIFY(shownWindow->rect().contains(expected->geometry()));
            }
        // Backwards as well, from the first stop to the last.
        QTest::keyClick(focused(), Qt::Key_Tab);
        QTest::keyClick(focused(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), controlNamed(program, stops.constLast()));
    }

    // The hidden box still holds the focus when the main window opens.
    void theHiddenBoxHoldsTheFirstFocus()
    {
        Program program;
        program->show();
        QVERIFY(QTest::qWaitForWindowActive(program.form.get()));
        QCOMPARE(QApplication::focusWidget(), program->hhd);
        QCOMPARE(program->tempView->focusPolicy(), Qt::NoFocus);
        QCOMPARE(program->Picture1View->focusPolicy(), Qt::NoFocus);
    }

    // The icon views, the tiles and the link draw a mark while the keyboard has put the focus on
    // them, in the highlight colour at their edge.
    void everyStopShowsAFocusMark_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::newRow("canvas") << "Form1"
                                << "Image1";
        QTest::newRow("finished view") << "Form1"
                                       << "Image2";
        QTest::newRow("first tile") << "Form5"
                                    << "Picture1";
        QTest::newRow("last tile") << "Form5"
                                   << "Picture12";
    }
    void everyStopShowsAFocusMark()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        Program program;
        program->show();
        QVERIFY(QTest::qWaitForWindowActive(program.form.get()));
        QWidget* opened = shownWindow(program, window);
        QVERIFY(QTest::qWaitForWindowActive(opened));
        QWidget* target = controlNamed(program, control);
        const QImage before = target->grab().toImage();
        do
            QTest::keyClick(focused(), Qt::Key_Tab);
        while (QApplication::focusWidget() != target);
        const QImage marked = target->grab().toImage();
        const QColor highlight = target->palette().color(QPalette::Highlight);
        QCOMPARE(marked.pixelColor(1, target->height() / 2), highlight);
        QCOMPARE(marked.pixelColor(target->width() - 2, target->height() - 2), highlight);
        QVERIFY(before.pixelColor(1, target->height() / 2) != highlight);
        QTest::keyClick(focused(), Qt::Key_Tab);
        QCOMPARE(target->grab().toImage(), before); // the mark goes with the focus
    }

    // The link, whose text begins at its left edge, is shown selected: highlighted text.
    void theLinkShowsItsFocusAsSelectedText()
    {
        Program program;
        program->show();
        QVERIFY(QTest::qWaitForWindowActive(program.form.get()));
        QWidget* link = program->Label1;
        const QImage before = link->grab().toImage();
        while (QApplication::focusWidget() != link)
            QTest::keyClick(focused(), Qt::Key_Tab);
        const QImage marked = link->grab().toImage();
        const QColor highlight = link->palette().color(QPalette::Highlight);
        auto share = [&highlight](const QImage& image) {
            int count = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    count += image.pixelColor(x, y) == highlight;
            return double(count) / (image.width() * image.height());
        };
        QCOMPARE(share(before), 0.0);
        QVERIFY2(share(marked) > 0.15, qPrintable(QString::number(share(marked))));
        // Beyond the text the window shows through as before.
        QCOMPARE(marked.pixelColor(link->width() - 1, link->height() / 2),
                 before.pixelColor(link->width() - 1, link->height() / 2));
        QTest::keyClick(focused(), Qt::Key_Tab);
        QCOMPARE(link->grab().toImage(), before);
    }

    void arrowsMoveAmongTheTemplates_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("to");
        QTest::newRow("right") << 1 << int(Qt::Key_Right) << 2;
        QTest::newRow("right at the row's end") << 5 << int(Qt::Key_Right) << 5;
        QTest::newRow("left") << 7 << int(Qt::Key_Left) << 6;
        QTest::newRow("left at the row's start") << 6 << int(Qt::Key_Left) << 6;
        QTest::newRow("down") << 2 << int(Qt::Key_Down) << 7;
        QTest::newRow("down to the short row") << 7 << int(Qt::Key_Down) << 12;
        QTest::newRow("down past the short row") << 9 << int(Qt::Key_Down) << 12;
        QTest::newRow("down at the bottom") << 11 << int(Qt::Key_Down) << 11;
        QTest::newRow("up") << 12 << int(Qt::Key_Up) << 7;
        QTest::newRow("up at the top") << 3 << int(Qt::Key_Up) << 3;
    }
    void arrowsMoveAmongTheTemplates()
    {
        QFETCH(int, from);
        QFETCH(int, key);
        QFETCH(int, to);
        Program program;
        QPointer<Form5> gallery = openGallery(program);
        QVERIFY(QTest::qWaitForWindowActive(gallery));
        gallery->tileView(from)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(gallery->tileView(from), Qt::Key(key));
        QCOMPARE(QApplication::focusWidget(), gallery->tileView(to));
        QVERIFY(gallery); // moving chooses nothing
    }

    void spaceOrEnterChoosesTheFocusedTemplate_data()
    {
        QTest::addColumn<int>("tile");
        QTest::addColumn<int>("key");
        QTest::newRow("Space on the first") << 1 << int(Qt::Key_Space);
        QTest::newRow("Enter on a JPEG one") << 6 << int(Qt::Key_Return);
        QTest::newRow("keypad Enter") << 10 << int(Qt::Key_Enter);
        QTest::newRow("Space on the last") << 12 << int(Qt::Key_Space);
    }
    void spaceOrEnterChoosesTheFocusedTemplate()
    {
        QFETCH(int, tile);
        QFETCH(int, key);
        Program program;
        program->ha3ah_Click(); // an undo copy that choosing must leave alone
        const QImage undo = program->document.temp.Image();
        QPointer<Form5> gallery = openGallery(program);
        QVERIFY(QTest::qWaitForWindowActive(gallery));
        QWidget* view = gallery->tileView(tile);
        view->setFocus(Qt::TabFocusReason);
        QCOMPARE(QApplication::focusWidget(), view);
        const QImage shown = gallery->tile(tile).Image();
        const Qt::KeyboardModifiers keypad =
            key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
        QTest::keyClick(view, Qt::Key(key), keypad);
        processDeferredDeletes();
        QVERIFY(!gallery);
        QCOMPARE(program->document.Image1.Image(), shown);
        QCOMPARE(program->document.temp.Image(), undo);
    }

    void escape_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("closes");
        QTest::newRow("main window stays") << "Form1" << false;
        QTest::newRow("Move Text") << "Form2" << true;
        QTest::newRow("help") << "Form3" << true;
        QTest::newRow("Change Font") << "Form4" << true;
        QTest::newRow("Templates") << "Form5" << true;
    }
    void escape()
    {
        QFETCH(QString, window);
        QFETCH(bool, closes);
        Program program;
        program->show();
        QVERIFY(QTest::qWaitForWindowActive(program.form.get()));
        const QImage canvas = program->document.Image1.Image();
        QPointer<QWidget> opened = shownWindow(program, window);
        QVERIFY(QTest::qWaitForWindowActive(opened));
        // Change Font's lists moved first: Escape is Cancel, so the font stays.
        if (program->form4) {
            program->form4->Combo2->setCurrentIndex(program->form4->Combo2->count() - 1);
            program->form4->Combo1->setCurrentIndex(0);
        }
        QTest::keyClick(focused(), Qt::Key_Escape);
        processDeferredDeletes();
        QCOMPARE(opened.isNull() || !opened->isVisible(), closes);
        QVERIFY(program->isVisible());
        QCOMPARE(program->document.textfont, QStringLiteral("Tahoma"));
        QCOMPARE(program->document.textsize, QStringLiteral("8"));
        QCOMPARE(program->document.Image1.Image(), canvas);
    }

    // Escape while a list of Change Font is open only closes that list.
    void escapeInAnOpenListClosesOnlyTheList()
    {
        Program program;
        program->changefont_Click();
        QPointer<Form4> form = program->form4;
        QVERIFY(QTest::qWaitForWindowActive(form));
        form->Combo2->setFocus(Qt::TabFocusReason);
        form->Combo2->showPopup();
        QVERIFY(QTest::qWaitForWindowExposed(form->Combo2->view()->window()));
        QTest::keyClick(form->Combo2->view(), Qt::Key_Escape);
        QTRY_VERIFY(!form->Combo2->view()->isVisible());
        processDeferredDeletes();
        QVERIFY(form && form->isVisible());
    }

    // Each button of a window gets its own letter, in every language the windows speak, and the
    // caption shown is the same text underlined.
    void mnemonicsNeverClash_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << "C";
        const QStringList languages =
            QDir(QStringLiteral(":/i18n")).entryList({QStringLiteral("avatello_*.qm")});
        QVERIFY(languages.size() >= 3);
        for (QString file : languages) {
            const QString language = file.remove(QStringLiteral("avatello_")).remove(".qm");
            QTest::newRow(qPrintable(language)) << language;
        }
    }
    void mnemonicsNeverClash()
    {
        QFETCH(QString, language);
        Speaking speaking(language);
        QCOMPARE(speaking.installed.isEmpty(), language == u"C");
        Program program;
        program->hhhhhhhhhhhhhhh22_Click();
        program->changefont_Click();
        const QList<QWidget*> windows{program.form.get(), program->form2, program->form4};
        for (QWidget* window : windows) {
            const QList<QPushButton*> buttons = window->findChildren<QPushButton*>();
            QVERIFY(buttons.size() >= 2);
            QSet<QString> letters;
            for (QPushButton* button : buttons) {
                const QString letter = mnemonicOf(button);
                QVERIFY2(!letter.isEmpty(), qPrintable(button->text()));
                QVERIFY2(!letters.contains(letter), qPrintable(button->text()));
                letters.insert(letter);
                QCOMPARE(button->text().count(u'&'), 1);
            }
        }
        QCOMPARE(shown(program->Command1->text()),
                 QCoreApplication::translate("avatello::Form1", "Load"));
    }

    // Alt with the underlined letter presses the button, as a click does.
    void altLetterPressesTheButton_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QChar>("letter");
        for (const auto& [button, letter] : {std::pair{"Load", 'L'},
                                             {"New", 'N'},
                                             {"Edit", 'E'},
                                             {"Save", 'S'},
                                             {"Finished", 'F'},
                                             {"Other", 'O'}})
            QTest::newRow(button) << QString::fromLatin1(button) << QChar::fromLatin1(letter);
    }
    void altLetterPressesTheButton()
    {
        QFETCH(QString, button);
        QFETCH(QChar, letter);
        Program program;
        program->popupMenu = [](QMenu*) {};
        program->show();
        QVERIFY(QTest::qWaitForWindowActive(program.form.get()));
        auto* target = static_cast<QPushButton*>(controlNamed(program, button));
        QCOMPARE(target->text(), QStringLiteral("&") + button);
        QSignalSpy clicked(target, &QPushButton::clicked);
        QTest::keyClick(program->hhd, Qt::Key(letter.unicode()), Qt::AltModifier);
        QTRY_COMPARE(clicked.count(), 1);
    }

    // A menu opened from the keyboard opens below its button with its first item chosen; one
    // opened with the mouse at the pointer with none, as before.
    void menusOpenAtTheirButtonFromTheKeyboard_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("keyboard");
        for (const char* button : {"New", "Edit", "Other"}) {
            QTest::addRow("%s by Space", button) << QString::fromLatin1(button) << true;
            QTest::addRow("%s by the mouse", button) << QString::fromLatin1(button) << false;
        }
    }
    void menusOpenAtTheirButtonFromTheKeyboard()
    {
        QFETCH(QString, button);
        QFETCH(bool, keyboard);
        Program program;
        program->show();
        QVERIFY(QTest::qWaitForWindowActive(program.form.get()));
        QWidget* opener = controlNamed(program, button);
        const QPoint pointer = program->mapToGlobal(QPoint(150, 110));
        QCursor::setPos(pointer);
        QPoint openedAt;
        QString chosen = QStringLiteral("no menu");
        QString title;
        QTimer::singleShot(50, this, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                openedAt = menu->pos();
                chosen = menu->activeAction() ? menu->activeAction()->text() : QString();
                title = menu->windowTitle();
                menu->close();
            }
        });
        if (keyboard) {
            opener->setFocus(Qt::TabFocusReason);
            QTest::keyClick(opener, Qt::Key_Space);
        } else {
            QTest::mouseClick(opener, Qt::LeftButton);
        }
        QCOMPARE(openedAt,
                 keyboard ? opener->mapToGlobal(QPoint(0, opener->height())) : QCursor::pos());
        // From the keyboard its first item is already chosen, so a screen reader says it.
        const QHash<QString, QString> first{
            {"New", "Choose Color"}, {"Edit", "Add Text"}, {"Other", "Minimize"}};
        QCOMPARE(chosen, keyboard ? first.value(button) : QString());
        QCOMPARE(title, button); // the name a screen reader gives the menu
    }

    // F1 opens the help window from every window, as the hidden Help item would; the menu is
    // unchanged.
    void f1OpensHelp_data()
    {
        QTest::addColumn<QString>("window");
        for (const char* window : {"Form1", "Form2", "Form4", "Form5"})
            QTest::newRow(window) << QString::fromLatin1(window);
    }
    void f1OpensHelp()
    {
        QFETCH(QString, window);
        Program program;
        program->show();
        QVERIFY(QTest::qWaitForWindowActive(program.form.get()));
        QWidget* opened = shownWindow(program, window);
        QVERIFY(QTest::qWaitForWindowActive(opened));
        QVERIFY(!program->form3);
        QTest::keyClick(focused(), Qt::Key_F1);
        QVERIFY(program->form3);
        QVERIFY(program->form3->isVisible());
        QVERIFY(!program->vbhelp->isVisible());
        QTest::keyClick(focused(), Qt::Key_F1); // only brought forward
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(windows.begin(), windows.end(),
                               [](const QWidget* w) { return w->objectName() == u"Form3"; }),
                 1);
    }

    // A dialog opened while Move Text or the help window is kept on top opens above them.
    void dialogsOpenAboveTheWindowsKeptOnTop_data()
    {
        QTest::addColumn<QString>("kept");
        QTest::newRow("none") << "";
        QTest::newRow("Move Text") << "Form2";
        QTest::newRow("help") << "Form3";
    }
    void dialogsOpenAboveTheWindowsKeptOnTop()
    {
        QFETCH(QString, kept);
        Program program;
        program->show();
        if (!kept.isEmpty())
            QVERIFY(QTest::qWaitForWindowExposed(shownWindow(program, kept)));
        bool onTop = false;
        QTimer::singleShot(0, this, [&onTop] {
            QWidget* box = QApplication::activeModalWidget();
            QVERIFY(box);
            onTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            box->close();
        });
        QtServices services;
        services.message(program.form.get(), QStringLiteral("About Avatello"), QStringLiteral("x"),
                         MessageIcon::Information);
        QCOMPARE(onTop, !kept.isEmpty());
    }
};

AVATELLO_REGISTER_TEST(TestKeyboard);
#include "tst_keyboard.moc"
