// The few calls of Magick++ and Google Benchmark whose names changed between the versions Debian
// ships: Magick++ 6 and 7, Benchmark 1.7 and 1.9. The benchmarks call these and stay one copy.
#pragma once

#include <benchmark/benchmark.h>
#include <Magick++.h>

namespace benchcompat {

// Magick++ 7 renamed the matte flag to alpha, takes the density as a point and split anti-aliasing
// into text and stroke; 6 has only the old names.
#if MagickLibVersion >= 0x700
inline void dropAlpha(Magick::Image& image)
{
    image.alpha(false);
}
inline void setDensity(Magick::Image& image, double dpi)
{
    image.density(Magick::Point(dpi, dpi));
}
inline void setTextAntiAlias(Magick::Image& image, bool on)
{
    image.textAntiAlias(on);
}
#else
inline void dropAlpha(Magick::Image& image)
{
    image.matte(false);
}
inline void setDensity(Magick::Image& image, double dpi)
{
    image.density(Magick::Geometry(size_t(dpi), size_t(dpi)));
}
inline void setTextAntiAlias(Magick::Image& image, bool on)
{
    image.antiAlias(on);
}
#endif

// Benchmark 1.8 replaced a run's error_occurred flag by the skipped state (skipped with a message,
// or with an error); either way the run has no time to report.
template <typename Run> bool runHasNoTime(const Run& run)
{
    if constexpr (requires { run.skipped; })
        return static_cast<int>(run.skipped) != 0;
    else
        return run.error_occurred;
}

} // namespace benchcompat
