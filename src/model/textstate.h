#pragma once

#include <optional>
#include <QString>

namespace avatello {

class PictureBox;

// The text tool keeps its numbers as decimal text and converts them each time they are used;
// a value that does not convert ends the command at that step.
std::optional<float> readSingle(const QString& text);
std::optional<double> readDouble(const QString& text);
std::optional<quint32> readLong(const QString& text); // a 32-bit colour value

// The shortest decimal form of a number: 345, -20, 220, 12.5.
QString decimalText(double value);

// The text stamp: the canvas takes the size, colour and face from the text-tool strings, and the
// language whose forms Han characters take, then draws the text once at its current position.
// False, with nothing drawn, if the size or the colour does not convert (the steps before the
// failing one stay done).
bool textStamp(PictureBox& canvas, const QString& textstring, const QString& textcolor,
               const QString& textfont, const QString& textsize,
               const QString& textlanguage = QString());

} // namespace avatello
