#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace avatello {

class IconDocument;

// The Move Text window: four buttons that take the last text off and stamp it again one step
// (20 twips) further up, left, right or down. It stays above ordinary windows.
class Form2 : public QWidget
{
    Q_OBJECT

public:
    // The owner is the main window, whose icon this window takes.
    Form2(IconDocument& document, QWidget& owner);

    QPushButton* Command1 = nullptr; // Move Right
    QPushButton* Command2 = nullptr; // Move Down
    QPushButton* Command3 = nullptr; // Move Up
    QPushButton* Command4 = nullptr; // Move Left
    QLineEdit* Text1 = nullptr;      // hidden; holds the focus so Enter presses no button

    void Form_Load();
    void Command1_Click(); // Move Right
    void Command2_Click(); // Move Down
    void Command3_Click(); // Move Up
    void Command4_Click(); // Move Left

private:
    IconDocument& document_;
    QWidget& owner_;
};

} // namespace avatello
