#include "model/textstate.h"

#include "model/picturebox.h"

#include <cmath>
#include <limits>
#include <QLocale>

namespace avatello {

std::optional<float> readSingle(const QString& text)
{
    const std::optional<double> value = readDouble(text);
    if (!value || std::abs(*value) > double(std::numeric_limits<float>::max()))
        return std::nullopt;
    return float(*value);
}

std::optional<double> readDouble(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<quint32> readLong(const QString& text)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    if (!ok || value < std::numeric_limits<qint32>::min() ||
        value > std::numeric_limits<quint32>::max())
        return std::nullopt;
    return quint32(value);
}

QString decimalText(double value)
{
    if (value == std::floor(value) && std::abs(value) < 1e15)
        return QString::number(qint64(value));
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

bool textStamp(PictureBox& canvas, const QString& textstring, const QString& textcolor,
               const QString& textfont, const QString& textsize, const QString& textlanguage)
{
    const std::optional<float> size = readSingle(textsize);
    if (!size || *size <= 0)
        return false;
    canvas.FontSize = *size;
    const std::optional<quint32> colour = readLong(textcolor);
    if (!colour)
        return false;
    canvas.ForeColor = *colour;
    canvas.FontName = textfont;
    canvas.TextLanguage = textlanguage;
    canvas.Print(textstring);
    return true;
}

} // namespace avatello
