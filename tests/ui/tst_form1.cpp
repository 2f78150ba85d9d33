// The main window: its geometry, controls, focus, menus and its end.
#include "support/fixture.h"
#include "support/testregistry.h"
#include "ui/linklabel.h"
#include "ui/pictureboxview.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace avatello;
using namespace avatello::test;

namespace {

QWidget* control(Form1& form, const QString& name)
{
    if (name == QLatin1String("Image1"))
        return form.Image1View;
    if (name == QLatin1String("Image2"))
        return form.Image2View;
    if (name == QLatin1String("temp"))
        return form.tempView;
    if (name == QLatin1String("Picture1"))
        return form.Picture1View;
    const QHash<QString, QWidget*> byName{
        {"Command1", form.Command1}, {"Command2", form.Command2}, {"Command3", form.Command3},
        {"Command4", form.Command4}, {"Command5", form.Command5}, {"Command6", form.Command6},
        {"Label1", form.Label1},     {"Label2", form.Label2},     {"hhd", form.hhd},
        {"textx", form.textx},       {"texty", form.texty}};
    return byName.value(name);
}

QMenu* menuNamed(Form1& form, const QString& name)
{
    return name == QLatin1String("other")    ? form.other
           : name == QLatin1String("otherz") ? form.otherz
                                             : form.edit;
}

} // namespace

class TestForm1 : public QObject
{
    Q_OBJECT

private slots:
    void window()
    {
        Program program;
        QCOMPARE(program->windowTitle(), QStringLiteral("Avatello"));
        QCOMPARE(program->size(), QSize(161, 122));
        QCOMPARE(program->minimumSize(), QSize(161, 122));
        QCOMPARE(program->maximumSize(), QSize(161, 122));
        const Qt::WindowFlags flags = program->windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(!program->windowIcon().isNull());
        QCOMPARE(program->windowIcon().actualSize(QSize(32, 32)), QSize(32, 32));
        QCOMPARE(program->font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(program->font().pixelSize(), 11);
        QCOMPARE(program->palette().color(QPalette::Window), resolveColor(vbButtonFace));
    }

    void controls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("tooltip");
        QTest::addColumn<bool>("seen"); // hidden controls lie outside the client area
        QTest::newRow("Image1") << "Image1" << QRect(8, 8, 50, 50) << ""
                                << "Icon To Edit" << true;
        QTest::newRow("Label2") << "Label2" << QRect(64, 24, 33, 25) << "--->"
                                << "" << true;
        QTest::newRow("Image2") << "Image2" << QRect(104, 8, 50, 50) << ""
                                << "Finished Icon" << true;
        QTest::newRow("Command1") << "Command1" << QRect(8, 64, 49, 17) << "Load"
                                  << "" << true;
        QTest::newRow("Command5") << "Command5" << QRect(56, 64, 49, 17) << "New"
                                  << "" << true;
        QTest::newRow("Command4") << "Command4" << QRect(104, 64, 49, 17) << "Edit"
                                  << "" << true;
        QTest::newRow("Command2") << "Command2" << QRect(8, 80, 49, 17) << "Save"
                                  << "" << true;
        QTest::newRow("Command3") << "Command3" << QRect(56, 80, 49, 17) << "Finished"
                                  << "" << true;
        QTest::newRow("Command6") << "Command6" << QRect(104, 80, 49, 17) << "Other"
                                  << "" << true;
        QTest::newRow("Label1") << "Label1" << QRect(8, 104, 129, 17) << "avatello.example.org"
                                << "https://avatello.example.org/" << true;
        QTest::newRow("temp") << "temp" << QRect(168, 40, 50, 50) << ""
                              << "" << false;
        QTest::newRow("Picture1") << "Picture1" << QRect(280, 40, 9, 33) << ""
                                  << "" << false;
        QTest::newRow("hhd") << "hhd" << QRect(360, 40, 41, 73) << ""
                             << "" << false;
        QTest::newRow("textx") << "textx" << QRect(16, 208, 65, 17) << "200"
                               << "" << false;
        QTest::newRow("texty") << "texty" << QRect(16, 264, 97, 17) << "500"
                               << "" << false;
    }
    void controls()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, caption);
        QFETCH(QString, tooltip);
        QFETCH(bool, seen);
        Program program;
        QWidget* widget = control(*program, name);
        QVERIFY(widget);
        QCOMPARE(widget->geometry(), geometry);
        QCOMPARE(widget->toolTip(), tooltip);
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            // The caption as written, its first letter underlined as the Alt+letter mnemonic.
            QCOMPARE(button->text(), QStringLiteral("&") + caption);
            QVERIFY(!button->isDefault());
            QVERIFY(!button->autoDefault());
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            QCOMPARE(label->text(), caption);
        }
        // what of the control the shown window lets a user see
        program->show();
        QVERIFY(QTest::qWaitForWindowExposed(program.form.get()));
        QVERIFY(widget->isVisible());
        QCOMPARE(!widget->visibleRegion().isEmpty(), seen);
    }

    void labelFontsAndColours()
    {
        Program program;
        const QFont arrow = program->Label2->font();
        QCOMPARE(arrow.family(), QStringLiteral("Courier New"));
        QCOMPARE(arrow.pixelSize(), 13);
        QVERIFY(arrow.bold());
        QCOMPARE(program->Label2->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        const QFont link = program->Label1->font();
        QCOMPARE(link.family(), QStringLiteral("Tahoma"));
        QVERIFY(link.underline());
        QCOMPARE(program->Label1->palette().color(QPalette::WindowText), QColor(0, 0, 192));
        QCOMPARE(program->Label1->cursor().shape(), Qt::PointingHandCursor);
    }

    // Tab goes through the shown controls in reading order, and never back to the hidden box.
    void focusStartsHiddenAndTabFollowsTheOrder()
    {
        Program program;
        program->show();
        QVERIFY(QTest::qWaitForWindowActive(program.form.get()));
        QCOMPARE(QApplication::focusWidget(), program->hhd);
        const QList<QWidget*> expected{program->Image1View, program->Image2View, program->Command1,
                                       program->Command5,   program->Command4,   program->Command2,
                                       program->Command3,   program->Command6,   program->Label1,
                                       program->Image1View};
        for (QWidget* next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
    }

    void enterAndTypingPressNoButton()
    {
        Program program;
        program->show();
        QVERIFY(QTest::qWaitForWindowActive(program.form.get()));
        QList<QSignalSpy*> spies;
        for (QPushButton* button : program->findChildren<QPushButton*>())
            spies << new QSignalSpy(button, &QPushButton::clicked);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("abc "));
        for (QSignalSpy* spy : spies) {
            QCOMPARE(spy->count(), 0);
            delete spy;
        }
        QCOMPARE(program->document.textstring, QString());
    }

    void menuItems_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QString>("shown"); // one letter per item: y shown, n hidden
        QTest::newRow("New") << "other" << QStringList{"hd444",   "hhhhhhh",       "gaga",   "hehe",
                                                       "aimback", "hahaha3tyaaww", "tempsss"}
                             << QStringList{"New Blank Icon", "New Black Icon", "-",
                                            "Choose Color",   "AIM Back Color", "-",
                                            "Templates"}
                             << "nnnyyyy";
        QTest::newRow("Other") << "otherz"
                               << QStringList{"shhhhh", "fjdhs", "ggaga", "vbhelp", "theveryvest"}
                               << QStringList{"Minimize", "-", "About", "Help",
                                              "The Best Page In The Universe"}
                               << "yyynn";
        QTest::newRow("Edit")
            << "edit"
            << QStringList{"ha3ah",      "hhhhhhhhhhhhhhh22", "bigdash", "changefont", "djd",
                           "bmbmmbdash", "hahaha33",          "h476a",   "botherdash", "hehe333"}
            << QStringList{"Add Text",   "Move Text",      "-", "Change Font", "Text Color", "-",
                           "Back Color", "AIM Back Color", "-", "Undo"}
            << "yyyyyyyyyy";
    }
    void menuItems()
    {
        QFETCH(QString, menu);
        QFETCH(QStringList, names);
        QFETCH(QStringList, captions);
        QFETCH(QString, shown);
        Program program;
        const QList<QAction*> actions = menuNamed(*program, menu)->actions();
        QCOMPARE(actions.size(), names.size());
        for (qsizetype i = 0; i < actions.size(); ++i) {
            QAction* action = actions.at(i);
            QCOMPARE(action->objectName(), names.at(i));
            if (captions.at(i) == QLatin1String("-"))
                QVERIFY(action->isSeparator());
            else
                QCOMPARE(action->text(), captions.at(i));
            QCOMPARE(action->isVisible(), shown.at(i) == QLatin1Char('y'));
            // Qt reports a hidden action as disabled; only shown items can be chosen anyway.
            if (action->isVisible())
                QCOMPARE(action->isEnabled(), action->objectName() != QLatin1String("hehe333"));
            QVERIFY(action->shortcut().isEmpty());
            QVERIFY(!action->isCheckable());
            QVERIFY(!action->text().contains(QLatin1Char('&')));
        }
    }

    void buttonsOpenTheirMenus()
    {
        Program program;
        QList<QMenu*> opened;
        program->popupMenu = [&opened](QMenu* menu) { opened << menu; };
        program->Command5_Click();
        program->Command4_Click();
        program->Command6_Click();
        QCOMPARE(opened, (QList<QMenu*>{program->other, program->edit, program->otherz}));
    }

    void openingAMinimizedWindowAgainRestoresIt()
    {
        Program program;
        program->tempsss_Click();
        QWidget* gallery = program->form5.data();
        gallery->showMinimized();
        QVERIFY(gallery->isMinimized());
        program->tempsss_Click();
        QCOMPARE(program->form5.data(), gallery);
        QVERIFY(!gallery->isMinimized());
    }

    void closingTheMainWindowClosesEveryOtherWindow()
    {
        Program program;
        program->show();
        program->hhhhhhhhhhhhhhh22_Click();
        program->tempsss_Click();
        program->changefont_Click();
        program->vbhelp_Click();
        const QList<QPointer<QWidget>> others{
            QPointer<QWidget>(program->form2.data()), QPointer<QWidget>(program->form3.data()),
            QPointer<QWidget>(program->form4.data()), QPointer<QWidget>(program->form5.data())};
        for (const auto& window : others)
            QVERIFY(window);
        program->close();
        for (const auto& window : others)
            QVERIFY(!window);
    }
};

AVATELLO_REGISTER_TEST(TestForm1);

#include "tst_form1.moc"
