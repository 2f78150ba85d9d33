#include "ui/form2.h"

#include "ui/desktop/enterkey.h"

#include "model/icondocument.h"
#include "ui/desktop/keepontop.h"
#include "ui/desktop/windowplacement.h"
#include "ui/uifont.h"

#include <QLineEdit>
#include <QPushButton>

namespace avatello {

Form2::Form2(IconDocument& document, QWidget& owner)
    : QWidget(nullptr, fixedWindowFlags), document_(document), owner_(owner)
{
    // A fixed place on the screen: the client area's top-left corner at (3930, 3870) twips.
    setGeometry(3930 / 15, 3870 / 15, 2310 / 15, 1335 / 15);
    setUpSecondaryWindow(this, QStringLiteral("Form2"), tr("Move Text"), 2310, 1335);
    setFont(uiFont(QStringLiteral("Tahoma"), 8.25));

    Text1 = new QLineEdit(this);
    // It holds the focus when the window opens, so a screen reader says its name first.
    Text1->setAccessibleName(tr("Move Text: press Tab for the buttons"));
    placeTwips(Text1, 2880, 360, 375, 285);
    auto button = [this](const QString& caption, int left, int top, int width) {
        auto* control = new QPushButton(caption, this);
        control->setAutoDefault(false);
        pressOnEnter(control);
        placeTwips(control, left, top, width, 375);
        return control;
    };
    Command3 = button(tr("Move Up"), 600, 120, 975);
    Command4 = button(tr("Move Left"), 120, 480, 975);
    Command1 = button(tr("Move Right"), 1080, 480, 1095);
    Command2 = button(tr("Move Down"), 600, 840, 1095);
    setTabOrder(Text1, Command3);
    setTabOrder(Command3, Command4);
    setTabOrder(Command4, Command1);
    setTabOrder(Command1, Command2);
    Text1->setFocus();

    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form2::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form2::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form2::Command4_Click);

    Form_Load();
}

void Form2::Form_Load()
{
    setWindowIcon(owner_.windowIcon());
    KeepOnTop(this);
}

void Form2::Command1_Click()
{
    document_.moveText(IconDocument::Direction::Right);
}

void Form2::Command2_Click()
{
    document_.moveText(IconDocument::Direction::Down);
}

void Form2::Command3_Click()
{
    document_.moveText(IconDocument::Direction::Up);
}

void Form2::Command4_Click()
{
    document_.moveText(IconDocument::Direction::Left);
}

} // namespace avatello
