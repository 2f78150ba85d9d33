#include "ui/form4.h"

#include "ui/desktop/accessibility.h"
#include "ui/desktop/enterkey.h"
#include "ui/desktop/keyboard.h"

#include "model/fontfamilies.h"
#include "model/icondocument.h"
#include "ui/desktop/windowplacement.h"
#include "ui/uifont.h"

#include <algorithm>
#include <QComboBox>
#include <QFontDatabase>
#include <QHash>
#include <QLineEdit>
#include <QPushButton>

namespace avatello {

Form4::Form4(IconDocument& document, QWidget& owner)
    : QWidget(nullptr, fixedWindowFlags), document_(document), owner_(owner)
{
    setUpSecondaryWindow(this, QStringLiteral("Form4"), tr("Change Font"), 2400, 1455);
    setFont(uiFont(QStringLiteral("Tahoma"), 8.25));

    Text1 = new QLineEdit(this);
    // It holds the focus when the window opens, so a screen reader says its name first.
    Text1->setAccessibleName(tr("Change Font: press Tab for the lists"));
    placeTwips(Text1, 4200, 240, 735, 285);
    Combo1 = new QComboBox(this);
    setAccessibleListName(Combo1, tr("Font"));
    placeTwips(Combo1, 120, 120, 2175, 315);
    Combo2 = new QComboBox(this);
    setAccessibleListName(Combo2, tr("Size"));
    placeTwips(Combo2, 120, 480, 735, 315);
    for (int size = 6; size <= 16; ++size)
        Combo2->addItem(QString::number(size));
    Command1 = new QPushButton(tr("OK"), this);
    placeTwips(Command1, 120, 960, 735, 375);
    Command2 = new QPushButton(tr("Cancel"), this);
    placeTwips(Command2, 840, 960, 735, 375);
    widenToFitCaption(Command2);
    for (QPushButton* button : {Command1, Command2}) {
        button->setAutoDefault(false);
        pressOnEnter(button);
    }
    pressOnEscape(Command2);
    setTabOrder(Text1, Combo1);
    setTabOrder(Combo1, Combo2);
    setTabOrder(Combo2, Command1);
    setTabOrder(Command1, Command2);
    Text1->setFocus();

    connect(Command1, &QPushButton::clicked, this, &Form4::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form4::Command2_Click);

    centreWhenFirstShown(this);
    Form_Load();
}

void Form4::Form_Load()
{
    setWindowIcon(owner_.windowIcon());
    Combo1->addItems(screenFontNames());
    // Each list shows its stored value when it offers it. A face the system lacks leaves the face
    // list unselected but still shows the size.
    Combo1->setCurrentIndex(Combo1->findText(document_.textfont, Qt::MatchFixedString));
    Combo2->setCurrentIndex(Combo2->findText(document_.textsize, Qt::MatchFixedString));
}

void Form4::Command1_Click()
{
    // A list with nothing chosen keeps its value: an empty size or face would make every later
    // stamp draw nothing.
    document_.changeFont(Combo1->currentIndex() >= 0 ? Combo1->currentText() : QString(),
                         Combo2->currentIndex() >= 0 ? Combo2->currentText() : QString());
    close();
}

void Form4::Command2_Click()
{
    close();
}

} // namespace avatello
