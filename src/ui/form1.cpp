#include "ui/form1.h"

#include "ui/desktop/accessibility.h"
#include "ui/desktop/enterkey.h"
#include "ui/desktop/keyboard.h"
#include "ui/desktop/legiblecolour.h"
#include "ui/desktop/windowplacement.h"
#include "ui/form2.h"
#include "ui/form3.h"
#include "ui/form4.h"
#include "ui/form5.h"
#include "ui/linklabel.h"
#include "ui/maker.h"
#include "ui/pictureboxview.h"
#include "ui/uifont.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPointer>
#include <QPushButton>

namespace avatello {

namespace {

QPushButton* button(QWidget* parent, const QString& caption, int left, int top)
{
    auto* control = new QPushButton(caption, parent);
    control->setAutoDefault(false);
    control->setDefault(false);
    pressOnEnter(control);
    placeTwips(control, left, top, 735, 255);
    return control;
}

} // namespace

Form1::Form1(PlatformServices& services)
    : QWidget(nullptr, fixedWindowFlags), Picture1(135, 495, PictureBox::Frame::None),
      CommonDialog1(services, this), CommonDialog2(services, this), CommonDialog3(services, this),
      CommonDialog4(services, this), popupMenu([this](QMenu* menu) {
          QWidget* opener = menu == other ? Command5 : menu == edit ? Command4 : Command6;
          popUp(menu, opener);
      }),
      services_(services)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Avatello"));
    // Read as the PNG it is: asking every image plugin which format it is costs more at start-up
    // than the rest of the window.
    QImageReader icon(QStringLiteral(":/app/avatello-32.png"), "png");
    icon.setAutoDetectImageFormat(false);
    setWindowIcon(QIcon(QPixmap::fromImage(icon.read())));
    fixClientSizeTwips(this, 2415, 1830);
    setFont(uiFont(QStringLiteral("Tahoma"), 8.25));
    QPalette face = palette();
    face.setColor(QPalette::Window, resolveColor(vbButtonFace));
    setPalette(face);
    setAutoFillBackground(true);

    createControls();
    createMenus();
    applyKeyboardAccess(this, Escape::Ignored);
    setHelpCommand([window = QPointer<Form1>(this)] {
        if (window)
            window->vbhelp_Click();
    });
    connect(&document, &IconDocument::changed, this, &Form1::showDocument);
    centreWhenFirstShown(this);
    Form_Load();
}

Form1::~Form1()
{
    delete form2.data();
    delete form3.data();
    delete form4.data();
    delete form5.data();
}

void Form1::createControls()
{
    hhd = new QLineEdit(this);
    // It only holds the focus; no text is ever entered there, so no input method is needed.
    hhd->setAttribute(Qt::WA_InputMethodEnabled, false);
    hhd->setObjectName(QStringLiteral("hhd"));
    // It holds the focus when the window opens, so a screen reader says its name first.
    hhd->setAccessibleName(tr("Avatello: press Tab for the buttons"));
    placeTwips(hhd, 5400, 600, 615, 1095);

    Command1 = button(this, tr("Load"), 120, 960);
    Command2 = button(this, tr("Save"), 120, 1200);
    Command5 = button(this, tr("New"), 840, 960);
    Command4 = button(this, tr("Edit"), 1560, 960);
    Command3 = button(this, tr("Finished"), 840, 1200);
    Command6 = button(this, tr("Other"), 1560, 1200);

    Image1View = new PictureBoxView(document.Image1, this);
    Image1View->setToolTip(tr("Icon To Edit"));
    Image1View->setAccessibleName(Image1View->toolTip());
    Image1View->setAccessibleDescription(
        tr("The 48 by 48 pixel icon being edited. A press sets where text goes."));
    placeTwips(Image1View, 120, 120, 750, 750);

    Label2 = new QLabel(QStringLiteral("--->"), this);
    hideFromAssistiveTechnology(Label2); // decoration
    Label2->setAccessibleName(tr("arrow"));
    Label2->setFont(uiFont(QStringLiteral("Courier New"), 9.75, true));
    QPalette red = Label2->palette();
    red.setColor(
        QPalette::WindowText,
        legibleColour(resolveColor(0x000000FF), palette().color(QPalette::Window), shapeContrast));
    Label2->setPalette(red);
    placeTwips(Label2, 960, 360, 495, 375);

    Image2View = new PictureBoxView(document.Image2, this);
    Image2View->setToolTip(tr("Finished Icon"));
    Image2View->setAccessibleName(Image2View->toolTip());
    Image2View->setAccessibleDescription(
        tr("The finished icon that Save writes. Finished copies the icon to it."));
    placeTwips(Image2View, 1560, 120, 750, 750);

    // The scratch controls below lie outside the window.
    tempView = new PictureBoxView(document.temp, this, false);
    hideFromAssistiveTechnology(tempView);
    tempView->setAccessibleName(tr("Undo copy"));
    placeTwips(tempView, 2520, 600, 750, 750);
    Picture1View = new PictureBoxView(Picture1, this, false);
    hideFromAssistiveTechnology(Picture1View);
    Picture1View->setAccessibleName(tr("Empty picture"));
    placeTwips(Picture1View, 4200, 600, 135, 495);

    Label1 = new LinkLabel(maker::siteName, this);
    QFont link = uiFont(QStringLiteral("Tahoma"), 8.25);
    link.setUnderline(true);
    Label1->setFont(link);
    QPalette blue = Label1->palette();
    blue.setColor(
        QPalette::WindowText,
        legibleColour(resolveColor(0x00C00000), palette().color(QPalette::Window), textContrast));
    Label1->setPalette(blue);
    Label1->setCursor(Qt::PointingHandCursor);
    Label1->setToolTip(maker::webAddress);
    presentAsLink(Label1, maker::webAddress);
    placeTwips(Label1, 120, 1560, 1935, 255);

    textx = new QLabel(document.textx, this);
    hideFromAssistiveTechnology(textx);
    textx->setAccessibleName(tr("Text position across"));
    placeTwips(textx, 240, 3120, 975, 255);
    texty = new QLabel(document.texty, this);
    hideFromAssistiveTechnology(texty);
    texty->setAccessibleName(tr("Text position down"));
    placeTwips(texty, 240, 3960, 1455, 255);

    // The hidden box holds the focus at start, so no button has it; Tab then goes through the
    // shown controls in reading order (applyKeyboardAccess).
    hhd->setFocus();

    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form1::Command6_Click);
    connect(Image1View, &PictureBoxView::mouseDown, this, &Form1::Image1_MouseDown);
    Image1View->setAcceptDrops(true);
    connect(Image1View, &PictureBoxView::fileDropped, this, &Form1::Image1_DragDrop);
    connect(Image1View, &PictureBoxView::dropRefused, this, &Form1::showRefusal);
    connect(Label1, &LinkLabel::clicked, this, &Form1::Label1_Click);
}

void Form1::createMenus()
{
    auto makeMenu = [this](const QString& name) {
        auto* menu = new QMenu(this);
        menu->setObjectName(name);
        return menu;
    };
    auto item = [this](QMenu* menu, const QString& name, const QString& caption, bool shown,
                       void (Form1::*handler)()) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        action->setVisible(shown);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    auto separator = [](QMenu* menu, const QString& name, bool shown) {
        QAction* action = menu->addSeparator();
        action->setObjectName(name);
        action->setVisible(shown);
        return action;
    };

    other = makeMenu(QStringLiteral("other"));
    hd444 = item(other, QStringLiteral("hd444"), tr("New Blank Icon"), false, &Form1::hd444_Click);
    hhhhhhh =
        item(other, QStringLiteral("hhhhhhh"), tr("New Black Icon"), false, &Form1::hhhhhhh_Click);
    gaga = separator(other, QStringLiteral("gaga"), false);
    hehe = item(other, QStringLiteral("hehe"), tr("Choose Color"), true, &Form1::hehe_Click);
    aimback = item(other, QStringLiteral("aimback"), tr("AIM Back Color", "New menu: a new icon"),
                   true, &Form1::aimback_Click);
    hahaha3tyaaww = separator(other, QStringLiteral("hahaha3tyaaww"), true);
    tempsss = item(other, QStringLiteral("tempsss"), tr("Templates"), true, &Form1::tempsss_Click);

    otherz = makeMenu(QStringLiteral("otherz"));
    shhhhh = item(otherz, QStringLiteral("shhhhh"), tr("Minimize"), true, &Form1::shhhhh_Click);
    fjdhs = separator(otherz, QStringLiteral("fjdhs"), true);
    ggaga = item(otherz, QStringLiteral("ggaga"), tr("About"), true, &Form1::ggaga_Click);
    vbhelp = item(otherz, QStringLiteral("vbhelp"), tr("Help"), false, &Form1::vbhelp_Click);
    theveryvest = item(otherz, QStringLiteral("theveryvest"), tr("The Best Page In The Universe"),
                       false, &Form1::theveryvest_Click);

    edit = makeMenu(QStringLiteral("edit"));
    // A screen reader names a menu as it opens by its button's caption.
    other->setWindowTitle(tr("New"));
    otherz->setWindowTitle(tr("Other"));
    edit->setWindowTitle(tr("Edit"));
    ha3ah = item(edit, QStringLiteral("ha3ah"), tr("Add Text"), true, &Form1::ha3ah_Click);
    hhhhhhhhhhhhhhh22 = item(edit, QStringLiteral("hhhhhhhhhhhhhhh22"), tr("Move Text"), true,
                             &Form1::hhhhhhhhhhhhhhh22_Click);
    bigdash = separator(edit, QStringLiteral("bigdash"), true);
    changefont =
        item(edit, QStringLiteral("changefont"), tr("Change Font"), true, &Form1::changefont_Click);
    djd = item(edit, QStringLiteral("djd"), tr("Text Color"), true, &Form1::djd_Click);
    bmbmmbdash = separator(edit, QStringLiteral("bmbmmbdash"), true);
    hahaha33 =
        item(edit, QStringLiteral("hahaha33"), tr("Back Color"), true, &Form1::hahaha33_Click);
    h476a = item(edit, QStringLiteral("h476a"),
                 tr("AIM Back Color", "Edit menu: the background only"), true, &Form1::h476a_Click);
    botherdash = separator(edit, QStringLiteral("botherdash"), true);
    hehe333 = item(edit, QStringLiteral("hehe333"), tr("Undo"), true, &Form1::hehe333_Click);
    hehe333->setEnabled(false);
}

// Start-up: the start-up picture on the canvas and the default text settings.
void Form1::Form_Load()
{
    document.start();
    // Han characters are stamped in the forms of the desktop's language (simplified under zh_CN,
    // traditional under zh_TW, ...).
    document.textlanguage = QLocale::system().bcp47Name();
}

void Form1::showDocument()
{
    textx->setText(document.textx);
    texty->setText(document.texty);
    hehe333->setEnabled(document.undoAvailable());
}

// The "New" button: opens the New menu.
void Form1::Command5_Click()
{
    popupMenu(other);
}

// The "Edit" button: opens the Edit menu.
void Form1::Command4_Click()
{
    popupMenu(edit);
}

// The "Other" button: opens the Other menu.
void Form1::Command6_Click()
{
    popupMenu(otherz);
}

void Form1::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void Form1::Form_Unload()
{
    // Closing the main window ends the program: every other window goes with it, unasked.
    delete form2.data();
    delete form3.data();
    delete form4.data();
    delete form5.data();
    QApplication::quit();
}

} // namespace avatello
