#pragma once

#include <QImage>
#include <QString>

namespace avatello {

// The twelve built-in templates of the gallery, numbered 1 to 12 as it shows them. Each is one
// file, pictures/templateNN.<format>, built in under :/templates/: the file names are the table,
// so nothing else restates which template is which file or format.
inline constexpr int templateCount = 12;

// The built-in file of template n (its resource path), or an empty string for no such template.
QString templatePath(int n);

// Template n decoded as Load decodes a file (its top-left corner, transparency kept); a null
// image for no such template.
QImage templatePicture(int n);

} // namespace avatello
