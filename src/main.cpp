#include "model/defaultfont.h"
#include "ui/form1.h"
#include "ui/qtservices.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Avatello"));
    QApplication::setDesktopFileName(QStringLiteral("org.example.Avatello"));
    avatello::ensureDefaultFont();

    avatello::QtServices services;
    avatello::Form1 window(services);
    window.show();
    return QApplication::exec();
}
