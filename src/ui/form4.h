#pragma once

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

// The face names a Change Font list offers: every family the system reports, once each by its
// family name, sorted alphabetically without regard to letter case.
QStringList screenFontNames();
// The reported families by the names a user knows: a family Qt lists once per foundry
// ("C059 [UKWN]", "C059 [urw]") becomes one "C059".
QStringList familyNames(const QStringList& reported);

} // namespace avatello
