#pragma once

#include <QColor>
#include <QtGlobal>

namespace avatello {

// A colour as the program stores it: 0x00BBGGRR for a plain colour (red in the low byte), or
// 0x800000xx for a reference to system colour xx, resolved each time something is drawn.
using OleColor = quint32;

inline constexpr OleColor vbWindowBackground = 0x80000005;
inline constexpr OleColor vbWindowFrame = 0x80000006;
inline constexpr OleColor vbWindowText = 0x80000008;
inline constexpr OleColor vbButtonFace = 0x8000000F; // the "AIM Back Color"
inline constexpr OleColor vbWhite = 0x00FFFFFF;
inline constexpr OleColor vbBlack = 0x00000000;

constexpr bool isSystemColor(OleColor c)
{
    return (c & 0xFF000000u) == 0x80000000u;
}

// The actual colour of a value at this moment; system references follow the application palette.
QColor resolveColor(OleColor c);

// A plain colour value (never a system reference) for an actual colour.
constexpr OleColor toOleColor(QRgb rgb)
{
    return OleColor(qRed(rgb)) | (OleColor(qGreen(rgb)) << 8) | (OleColor(qBlue(rgb)) << 16);
}

} // namespace avatello
