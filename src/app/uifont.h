#pragma once

#include <QFont>

namespace avatello {

// A window font of the given face and size, sized for 96 dpi whatever the screen reports.
QFont uiFont(const QString& family, double points, bool bold = false);

// Makes sure the default face "Tahoma" exists: where the system has none, the copy that Debian's
// fonts-wine package installs is registered with the program.
void ensureDefaultFont();

} // namespace avatello
