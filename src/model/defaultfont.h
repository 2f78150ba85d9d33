#pragma once

namespace avatello {

// Makes sure the default face "Tahoma" exists: where the system has none, the copy that Debian's
// fonts-wine package installs is registered with the program.
void ensureDefaultFont();

} // namespace avatello
