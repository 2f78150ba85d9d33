// The Other menu's commands and the link label: About, Minimize and the two web pages.
#include "support/documentstate.h"
#include "support/fixture.h"
#include "support/pixels.h"
#include "support/testregistry.h"
#include "ui/linklabel.h"

#include <QMenu>
#include <QtTest>

using namespace avatello;
using namespace avatello::test;

namespace {

// Chooses an item of the Other menu the way a user would: the "Other" button, then the item.
void chooseFromOtherMenu(Form1& form, QAction* item)
{
    form.popupMenu = [item](QMenu* menu) {
        if (menu->actions().contains(item) && item->isVisible() && item->isEnabled())
            item->trigger();
    };
    form.Command6_Click();
}

// Runs one of the two web commands by name.
void openPage(Form1& form, const QString& command)
{
    if (command == QLatin1String("Label1")) {
        QTest::mouseClick(form.Label1, Qt::LeftButton);
        return;
    }
    form.theveryvest_Click();
}

// What the web commands must leave alone: the document and the window's state.
struct Snapshot
{
    DocumentState document;
    Qt::WindowStates state;

    explicit Snapshot(Form1& form)
        : document(DocumentState::of(form.document)), state(form.windowState())
    {
    }
    bool operator==(const Snapshot& other) const
    {
        return document == other.document && state == other.state;
    }
};

} // namespace

class TestOtherMenu : public QObject
{
    Q_OBJECT

private slots:
    void aboutBox()
    {
        Program program;
        chooseFromOtherMenu(*program, program->ggaga);
        QCOMPARE(program.user.messages.size(), 1);
        const ScriptedUser::Message& about = program.user.messages.constFirst();
        QCOMPARE(about.title, QStringLiteral("About Avatello"));
        QCOMPARE(about.icon, MessageIcon::Information);
        QCOMPARE(about.text, QStringLiteral("Avatello/Maker\r\nMade By the Avatello developers\r\n"
                                            "Contact: hello@avatello.example.org\r\n"
                                            "Visit: avatello.example.org"));
        // the site named is the one the link label shows
        QVERIFY(about.text.endsWith(QStringLiteral("Visit: ") + program->Label1->text()));
        QVERIFY(program.user.launched.isEmpty());
    }

    void minimize_data()
    {
        QTest::addColumn<bool>("minimizedBefore");
        QTest::newRow("normal window") << false;
        QTest::newRow("already minimized") << true;
    }
    void minimize()
    {
        QFETCH(bool, minimizedBefore);
        Program program;
        program->show();
        QVERIFY(QTest::qWaitForWindowExposed(program.form.get()));
        if (minimizedBefore) {
            program->shhhhh_Click();
            QVERIFY(program->windowState() & Qt::WindowMinimized);
        }
        program->vbhelp_Click();
        QPointer<Form3> help = program->form3.data();
        QVERIFY(help);

        chooseFromOtherMenu(*program, program->shhhhh);
        QVERIFY(program->windowState() & Qt::WindowMinimized);
        QVERIFY(!(program->windowState() & Qt::WindowMaximized));
        // the help window is a window of its own: it stays open and on top
        QVERIFY(help);
        QVERIFY(help->isVisible());
        QVERIFY(!(help->windowState() & Qt::WindowMinimized));
        QVERIFY(help->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(program.user.messages.isEmpty());
    }

    void webPages_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("address");
        QTest::newRow("link label") << "Label1"
                                    << "https://avatello.example.org/";
        QTest::newRow("best page") << "theveryvest"
                                   << "https://avatello.example.org/best-page/";
    }
    void webPages()
    {
        QFETCH(QString, command);
        QFETCH(QString, address);
        Program program;
        program->show();
        QVERIFY(QTest::qWaitForWindowExposed(program.form.get()));
        const Snapshot before(*program);

        openPage(*program, command);
        QCOMPARE(program.user.launched, QList<QUrl>{QUrl(address)});
        // nothing waits for the browser or stops another launch
        openPage(*program, command);
        QCOMPARE(program.user.launched, (QList<QUrl>{QUrl(address), QUrl(address)}));
        QVERIFY(program.user.messages.isEmpty());
        QVERIFY(Snapshot(*program) == before);
    }
    void webPageThatCannotBeOpened_data() { webPages_data(); }
    void webPageThatCannotBeOpened()
    {
        QFETCH(QString, command);
        QFETCH(QString, address);
        Program program;
        program->show();
        QVERIFY(QTest::qWaitForWindowExposed(program.form.get()));
        program.user.launcherWorks = false;
        const Snapshot before(*program);

        openPage(*program, command);
        QCOMPARE(program.user.launched, QList<QUrl>{QUrl(address)});
        QCOMPARE(program.user.messages.size(), 1);
        const ScriptedUser::Message& message = program.user.messages.constFirst();
        QCOMPARE(message.title, QStringLiteral("Avatello"));
        QCOMPARE(message.icon, MessageIcon::Warning);
        QVERIFY2(message.text.contains(address), qPrintable(message.text));
        QVERIFY(Snapshot(*program) == before);
        QVERIFY(!program->form3); // no other window opened instead
    }
};

AVATELLO_REGISTER_TEST(TestOtherMenu);

#include "tst_othermenu.moc"
