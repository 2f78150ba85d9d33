#include "ui/desktop/nosettings.h"

#include <QSettings>

namespace avatello {

void keepNoSettings()
{
    // A folder below the null device: it cannot be created, so every write fails quietly
    // (QSettings reports an access error to no one) and there is never a file to read.
    const QString nowhere = QStringLiteral("/dev/null/avatello");
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        for (const QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope})
            QSettings::setPath(format, scope, nowhere);
}

} // namespace avatello
