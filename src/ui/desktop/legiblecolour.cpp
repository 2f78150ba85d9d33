#include "ui/desktop/legiblecolour.h"

#include <cmath>

namespace avatello {

namespace {

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& c)
{
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

QColor mixed(const QColor& from, const QColor& to, double t)
{
    auto channel = [t](int a, int b) { return int(std::lround(a + (b - a) * t)); };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                  channel(from.blue(), to.blue()));
}

} // namespace

double contrastRatio(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor legibleColour(const QColor& wanted, const QColor& background, double minimum)
{
    if (contrastRatio(wanted, background) >= minimum)
        return wanted;
    // Towards whichever of white and black stands out more. Once a mix is enough, every mix
    // nearer that end is too, so the least mix that is enough is found by halving.
    const QColor white(Qt::white);
    const QColor black(Qt::black);
    const QColor end =
        contrastRatio(white, background) >= contrastRatio(black, background) ? white : black;
    if (contrastRatio(end, background) < minimum)
        return end;
    double low = 0.0;
    double high = 1.0;
    for (int step = 0; step < 16; ++step) {
        const double t = (low + high) / 2;
        (contrastRatio(mixed(wanted, end, t), background) >= minimum ? high : low) = t;
    }
    return mixed(wanted, end, high);
}

} // namespace avatello
