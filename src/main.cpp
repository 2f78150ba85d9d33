#include "app/form1.h"
#include "app/nosettings.h"
#include "app/qtservices.h"
#include "app/uifont.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    avatello::keepNoSettings();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Avatello"));
    QApplication::setDesktopFileName(QStringLiteral("org.example.Avatello"));
    avatello::ensureDefaultFont();

    avatello::QtServices services;
    avatello::Form1 window(services);
    window.show();
    return QApplication::exec();
}
