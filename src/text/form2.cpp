#include "text/form2.h"

#include "app/enterkey.h"
#include "app/form1.h"
#include "app/keepontop.h"
#include "app/uifont.h"
#include "app/windowplacement.h"
#include "text/textstate.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace avatello {

namespace {

constexpr double stepTwips = 20;

} // namespace

Form2::Form2(Form1& main) : QWidget(nullptr, fixedWindowFlags), main_(main)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Move Text"));
    setFont(uiFont(QStringLiteral("Tahoma"), 8.25));
    // A fixed place on the screen: the client area's top-left corner at (3930, 3870) twips.
    setGeometry(3930 / 15, 3870 / 15, 2310 / 15, 1335 / 15);
    fixClientSizeTwips(this, 2310, 1335);

    Text1 = new QLineEdit(this);
    placeTwips(Text1, 2880, 360, 375, 285);
    auto button = [this](const QString& caption, int left, int top, int width) {
        auto* control = new QPushButton(caption, this);
        control->setAutoDefault(false);
        pressOnEnter(control);
        placeTwips(control, left, top, width, 375);
        return control;
    };
    Command3 = button(QStringLiteral("Move Up"), 600, 120, 975);
    Command4 = button(QStringLiteral("Move Left"), 120, 480, 975);
    Command1 = button(QStringLiteral("Move Right"), 1080, 480, 1095);
    Command2 = button(QStringLiteral("Move Down"), 600, 840, 1095);
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
    setWindowIcon(main_.windowIcon());
    KeepOnTop(this);
}

void Form2::moveStep(QLabel* coordinate, double delta)
{
    main_.Image1.setPicture(main_.undoCopy());
    const std::optional<double> position = readDouble(coordinate->text());
    if (!position)
        return;
    coordinate->setText(decimalText(*position + delta));
    if (!main_.setTextPosition())
        return;
    main_.stampText();
}

void Form2::Command1_Click()
{
    moveStep(main_.textx, stepTwips);
}

void Form2::Command2_Click()
{
    moveStep(main_.texty, stepTwips);
}

void Form2::Command3_Click()
{
    moveStep(main_.texty, -stepTwips);
}

void Form2::Command4_Click()
{
    moveStep(main_.textx, -stepTwips);
}

} // namespace avatello
