#pragma once

#include <QWidget>

class QListWidget;
class QPlainTextEdit;

namespace avatello {

// The help window: a list of topics on the left, the chosen topic's text on the right. It keeps
// itself above every other window and is discarded when closed.
class Form3 : public QWidget
{
    Q_OBJECT

public:
    explicit Form3(QWidget& owner);

    QListWidget* List1 = nullptr;    // the topics
    QPlainTextEdit* Text1 = nullptr; // the chosen topic's text, read-only

    // Start-up: takes the main window's icon and puts the window on top.
    void Form_Load();
    // Shows the text of the topic selected in List1.
    void List1_Click();

private:
    // Replaces Text1's content and shows it from its beginning.
    void showText(const QString& text);

    QWidget& owner_;
};

} // namespace avatello
