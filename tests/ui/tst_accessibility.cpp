// Every control a person can reach has a name a screen reader can say.
#include "support/fixture.h"
#include "support/testregistry.h"
#include "ui/pictureboxview.h"

#include <QAccessible>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
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
};

AVATELLO_REGISTER_TEST(TestAccessibility);

#include "tst_accessibility.moc"
