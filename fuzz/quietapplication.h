#pragma once

// The application object a fuzzer's Qt code needs (image plugins, the font database): one, made
// once, on the platform that needs no display, living until the process ends. Qt's warnings
// about every damaged input are noise at hundreds of inputs a second, so they are dropped.
#include <QGuiApplication>

inline void makeQuietApplication()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static int argc = 1;
    static char name[] = "fuzzer";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* application = new QGuiApplication(argc, argv);
    (void)application;
}
