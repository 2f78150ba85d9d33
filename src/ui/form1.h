#pragma once

#include "model/icondocument.h"
#include "model/picturebox.h"
#include "ui/commondialog.h"
#include "ui/desktop/keyboard.h"

#include <functional>
#include <QPointer>
#include <QWidget>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace avatello {

class Form2;
class Form3;
class Form4;
class Form5;
class LinkLabel;
class PictureBoxView;
class PlatformServices;

// The main window. It owns the icon document for the run (the canvas Image1, the finished view
// Image2, the undo copy temp and the text settings), the menus and the dialog components. Its
// handlers ask the dialogs, run one document command and show the result; they are defined by
// menu: form1_icon.cpp (Load, Save, Finished, the New menu, Back Color, Undo), form1_text.cpp
// (the text commands) and form1_help.cpp (the Other menu and the link).
class Form1 : public QWidget
{
    Q_OBJECT

public:
    explicit Form1(PlatformServices& services);
    ~Form1() override;

    IconDocument document;
    PictureBox Picture1; // an empty hidden box
    PictureBoxView* Image1View = nullptr;
    PictureBoxView* Image2View = nullptr;
    PictureBoxView* tempView = nullptr;
    PictureBoxView* Picture1View = nullptr;

    // Hidden labels showing where the next text goes (the document's textx and texty, twips).
    QLabel* textx = nullptr;
    QLabel* texty = nullptr;

    // Visible controls.
    QPushButton* Command1 = nullptr; // Load
    QPushButton* Command2 = nullptr; // Save
    QPushButton* Command3 = nullptr; // Finished
    QPushButton* Command4 = nullptr; // Edit menu
    QPushButton* Command5 = nullptr; // New menu
    QPushButton* Command6 = nullptr; // Other menu
    QLabel* Label2 = nullptr;        // the red arrow
    LinkLabel* Label1 = nullptr;     // the maker's web link
    QLineEdit* hhd = nullptr;        // hidden; holds the focus so Enter presses no button

    // The pop-up menus: New (other), Other (otherz) and Edit (edit).
    QMenu* other = nullptr;
    QMenu* otherz = nullptr;
    QMenu* edit = nullptr;
    QAction* hd444 = nullptr;
    QAction* hhhhhhh = nullptr;
    QAction* gaga = nullptr;
    QAction* hehe = nullptr;
    QAction* aimback = nullptr;
    QAction* hahaha3tyaaww = nullptr;
    QAction* tempsss = nullptr;
    QAction* shhhhh = nullptr;
    QAction* fjdhs = nullptr;
    QAction* ggaga = nullptr;
    QAction* vbhelp = nullptr;
    QAction* theveryvest = nullptr;
    QAction* ha3ah = nullptr;
    QAction* hhhhhhhhhhhhhhh22 = nullptr;
    QAction* bigdash = nullptr;
    QAction* changefont = nullptr;
    QAction* djd = nullptr;
    QAction* bmbmmbdash = nullptr;
    QAction* hahaha33 = nullptr;
    QAction* h476a = nullptr;
    QAction* botherdash = nullptr;
    QAction* hehe333 = nullptr;

    // Dialog components, each keeping its own settings.
    CommonDialog CommonDialog1; // Load and Save
    CommonDialog CommonDialog2; // Text Color
    CommonDialog CommonDialog3; // Back Color
    CommonDialog CommonDialog4; // Choose Color

    // Secondary windows, created on first use and gone once closed.
    QPointer<Form2> form2;
    QPointer<Form3> form3;
    QPointer<Form4> form4;
    QPointer<Form5> form5;

    PlatformServices& services() { return services_; }

    // Shows a secondary window modeless: created (running its start-up steps) if it is not open,
    // only brought forward (and restored, if minimized) if it is. It has no owner: a top-level
    // window of its own.
    template <typename Form, typename Create>
    Form* showSecondary(QPointer<Form>& slot, Create create)
    {
        if (!slot) {
            slot = create();
            applyKeyboardAccess(slot, Escape::Closes);
        }
        slot->setWindowState(slot->windowState() & ~Qt::WindowMinimized);
        slot->show();
        slot->raise();
        slot->activateWindow();
        return slot.data();
    }

    // Start-up.
    void Form_Load();

    // Buttons.
    void Command1_Click(); // Load
    void Command2_Click(); // Save
    void Command3_Click(); // Finished
    void Command4_Click(); // opens the Edit menu
    void Command5_Click(); // opens the New menu
    void Command6_Click(); // opens the Other menu

    // New menu.
    void hd444_Click();   // New Blank Icon (hidden item)
    void hhhhhhh_Click(); // New Black Icon (hidden item)
    void hehe_Click();    // Choose Color
    void aimback_Click(); // AIM Back Color: a new icon
    void tempsss_Click(); // Templates: opens the gallery

    // Edit menu.
    void ha3ah_Click();             // Add Text
    void hhhhhhhhhhhhhhh22_Click(); // Move Text
    void changefont_Click();        // Change Font
    void djd_Click();               // Text Color
    void hahaha33_Click();          // Back Color
    void h476a_Click();             // AIM Back Color: the background only
    void hehe333_Click();           // Undo

    // Other menu.
    void shhhhh_Click();      // Minimize
    void ggaga_Click();       // About
    void vbhelp_Click();      // Help (hidden item)
    void theveryvest_Click(); // The Best Page In The Universe (hidden item)

    // Canvas and link.
    void Image1_MouseDown(int button, int shift, float x, float y);
    void
    Image1_DragDrop(const QByteArray& path); // a file dropped on the canvas: see openPictureFile
    // A picture given from outside the Load dialog (a drop, Open With): loaded as Load does, and
    // a file that cannot be opened is said why over the window. Returns whether it loaded.
    bool openPictureFile(const QByteArray& path);
    // Says over the window why a picture was not loaded.
    void showRefusal(const QString& path, Refusal why);
    void Label1_Click();

    // Opens a pop-up menu at the mouse pointer, or below its button when the keyboard opened it;
    // the chosen command runs before it returns.
    // Tests replace it to choose an item without a real pop-up.
    std::function<void(QMenu*)> popupMenu;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void createMenus();
    // Load's last step: the file on the canvas, or a word if it is too large.
    void loadPictureFile(const QString& path);

    // Shows the document's text position in the hidden labels and its Undo state in the menu.
    void showDocument();
    void Form_Unload();

    PlatformServices& services_;
};

} // namespace avatello
