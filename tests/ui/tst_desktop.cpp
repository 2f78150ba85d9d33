// Where the program meets Qt's stock behaviour: Enter on a focused button, and the file-type
// list of Qt's own file dialog.
#include "support/fixture.h"
#include "support/testregistry.h"
#include "ui/desktop/filetypelist.h"
#include "ui/desktop/nosettings.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace avatello;
using namespace avatello::test;

class TestDesktop : public QObject
{
    Q_OBJECT

private slots:
    // As in the program: a file dialog here writes nothing into the home of whoever runs this.
    void initTestCase() { keepNoSettings(); }

    // Every button of every window with buttons: Enter and the keypad's Enter press it once, as
    // Space does; with a modifier held, Enter does nothing.
    void enterPressesTheFocusedButton()
    {
        Program program;
        program->popupMenu = [](QMenu*) {};
        program->changefont_Click();
        program->hhhhhhhhhhhhhhh22_Click(); // Move Text
        QList<QPushButton*> buttons = program->findChildren<QPushButton*>();
        buttons << program->form2->findChildren<QPushButton*>()
                << program->form4->findChildren<QPushButton*>();
        QCOMPARE(buttons.size(), 6 + 4 + 2);
        for (QPushButton* button : buttons) {
            QVERIFY(!button->autoDefault() && !button->isDefault());
            QSignalSpy clicked(button, &QPushButton::clicked);
            QTest::keyClick(button, Qt::Key_Return);
            QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
            QTest::keyClick(button, Qt::Key_Space);
            QTest::keyClick(button, Qt::Key_Return, Qt::ControlModifier);
            QVERIFY2(clicked.count() == 3, qPrintable(button->text()));
        }
    }

    void listedPatterns_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("patterns");
        QTest::newRow("all files") << "All Files (*.*)" << QStringList{"*"};
        QTest::newRow("one type") << "GIF Files (*.gif)" << QStringList{"*.gif"};
        QTest::newRow("several") << "Pictures (*.bmp *.jpg;*.*)"
                                 << QStringList{"*.bmp", "*.jpg", "*"};
        QTest::newRow("bare patterns") << "*.gif *.*" << QStringList{"*.gif", "*"};
    }
    void listedPatterns()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, patterns);
        QCOMPARE(avatello::listedPatterns(filter), patterns);
    }

    // Picking each entry in turn leaves a typed name as it stands and lists that entry's files.
    void pickingATypeKeepsTheTypedName()
    {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilters(
            {"JPG Files (*.jpg)", "GIF Files (*.gif)", "BMP Files (*.bmp)", "All Files (*.*)"});
        followFileTypeList(dialog);
        auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        auto* files = dialog.findChild<QFileSystemModel*>();
        QVERIFY(types && name && files);
        QCOMPARE(files->nameFilters(), QStringList{"*.jpg"});
        name->setText(QStringLiteral("icon.bmp"));
        for (const char* listed : {"*.gif", "*.bmp", "*"}) {
            QTest::keyClick(types, Qt::Key_Down);
            QCOMPARE(name->text(), QStringLiteral("icon.bmp"));
            QCOMPARE(files->nameFilters(), QStringList{QString::fromLatin1(listed)});
        }
    }
};

AVATELLO_REGISTER_TEST(TestDesktop);

#include "tst_desktop.moc"
