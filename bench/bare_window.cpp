// The floor for the start-up benchmark (bench/startup.py): a Qt program that shows one empty
// window of the main window's size (161 x 122) and does nothing else. With --text the window also
// holds one push button with a caption in the default font: the same floor plus what any text
// costs (fontconfig's set-up, the font database, one font face and its glyphs). The button takes
// its size from its caption, as any layout would, so the text is measured before the window is
// mapped, as it is in a window whose text is ready when it first appears.
#include <cstring>
#include <QApplication>
#include <QPushButton>
#include <QWidget>

int main(int argc, char* argv[])
{
    const bool withText = argc > 1 && std::strcmp(argv[1], "--text") == 0;
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.resize(161, 122);
    if (withText) {
        auto* button = new QPushButton(QStringLiteral("Load"), &window);
        button->move(8, 64);
        button->resize(button->sizeHint());
    }
    window.show();
    return QApplication::exec();
}
