#pragma once

#include <QFont>

namespace avatello {

// A window font of the given face and size, sized for 96 dpi whatever the screen reports.
QFont uiFont(const QString& family, double points, bool bold = false);

} // namespace avatello
