#pragma once

#include "model/fontfamilies.h" // screenFontNames(), the list this window offers

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace avatello {

class IconDocument;

// The Change Font window: picks the face and the size of later text.
class Form4 : public QWidget
{
    Q_OBJECT

public:
    // The owner is the main window, whose icon this window takes.
    Form4(IconDocument& document, QWidget& owner);

    QComboBox* Combo1 = nullptr;     // font faces the system offers, in alphabetical order
    QComboBox* Combo2 = nullptr;     // sizes 6 to 16
    QPushButton* Command1 = nullptr; // OK
    QPushButton* Command2 = nullptr; // Cancel
    QLineEdit* Text1 = nullptr;      // hidden; holds the focus so Enter presses neither button

    void Form_Load();
    void Command1_Click(); // OK
    void Command2_Click(); // Cancel

private:
    IconDocument& document_;
    QWidget& owner_;
};

} // namespace avatello
