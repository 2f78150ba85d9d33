#pragma once

#include <QFontDatabase>
#include <QtTest>

// Skips the running test, saying why, where the machine lacks a font family whose glyphs it
// measures: fontconfig would draw a stand-in, and the check would judge the wrong font.
#define AVATELLO_REQUIRE_FAMILY(family)                                                            \
    do {                                                                                           \
        if (!QFontDatabase::hasFamily(family))                                                     \
            QSKIP(qPrintable(                                                                      \
                QStringLiteral("the font family \"%1\" is not installed here").arg(family)));      \
    } while (false)
