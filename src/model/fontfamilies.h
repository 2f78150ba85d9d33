#pragma once

#include <QString>
#include <QStringList>

namespace avatello {

// The face names Change Font offers and the command line accepts: every family the system
// reports, once each by its family name, sorted alphabetically without regard to letter case.
QStringList screenFontNames();
// The reported families by the names a user knows: a family Qt lists once per foundry
// ("C059 [UKWN]", "C059 [urw]") becomes one "C059".
QStringList familyNames(const QStringList& reported);
// The listed name a face name means (letter case aside), or an empty string for none.
QString listedFontName(const QString& face);
// The listed names closest to a face name no font provides, nearest first (at most `count`).
QStringList nearestFontNames(const QString& face, int count = 3);

} // namespace avatello
