// Radial gradients whose origin is moved off the centre, in every direction, on circles and
// on ellipses, with every extend mode: each probe's colour follows from where the pixel lies
// between the origin and the ellipse.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/ProgramFixtures.h"

namespace kuvtest {
namespace {

using RadialGradient = ProgramTest;

struct Gradient {
    float cx, cy, ox, oy, rx, ry;
};

// How far along the gradient the point (x, y) lies: 0 at the origin, 1 on the ellipse. The
// ellipse is scaled to a circle of radius rx; the point lies on the circle grown by t about
// the origin, shifted towards the centre by 1 - t of the origin offset.
double GradientPosition(const Gradient& g, double x, double y)
{
    const double scale = g.rx / g.ry;
    const double ox = g.ox, oy = g.oy * scale;
    const double dx = x - g.cx - ox, dy = (y - g.cy) * scale - oy;
    const double along = ox * dx + oy * dy, length2 = dx * dx + dy * dy;
    if (length2 == 0) return 0;
    const double s = (-along + std::sqrt(along * along + length2 * (g.rx * g.rx - ox * ox - oy * oy))) / length2;
    return 1 / s;
}

// Where the stops are read for position t: clamp (0), wrap (1), mirror (2).
double Extended(double t, int extendMode)
{
    if (extendMode == 0) return std::min(t, 1.0);
    if (extendMode == 1) return t - std::floor(t);
    const double period = t - 2 * std::floor(t / 2);
    return period <= 1 ? period : 2 - period;
}

// The colour between red (at 0) and blue (at 1), the stops' values mixed as given.
Rgba RedToBlue(double f)
{
    const auto channel = [](double v) { return static_cast<std::uint8_t>(std::lround(255 * v)); };
    return { channel(1 - f), 0, channel(f), 255 };
}

std::string Brush(const Gradient& g, int extendMode)
{
    const auto n = [](float v) { return std::to_string(v); };
    return "RadialGradientBrush{ center Point{ " + n(g.cx) + " " + n(g.cy) + " } originOffset Point{ " + n(g.ox) + " "
        + n(g.oy) + " } radiusX " + n(g.rx) + " radiusY " + n(g.ry)
        + " GradientStopCollection{ noOfGradientStops 2 GradientStop{ 0 Color{ 1 0 0 1 } } GradientStop{ 1 Color{ 0 0 "
          "1 1 } } extendMode "
        + std::to_string(extendMode) + " } opacity 1 }";
}

// Probes across the canvas, leaving out the pixels where a wrapped gradient jumps from blue
// back to red (a pixel there mixes both).
std::vector<PixelExpectation> Probes(const Gradient& g, int extendMode)
{
    std::vector<PixelExpectation> probes;
    for (int y = 4; y < 100; y += 8)
        for (int x = 4; x < 100; x += 8) {
            const double t = GradientPosition(g, x + 0.5, y + 0.5);
            if (extendMode == 1 && t > 0.5 && std::abs(t - std::round(t)) < 0.06) continue;
            probes.push_back({ x, y, RedToBlue(Extended(t, extendMode)) });
        }
    return probes;
}

TEST_F(RadialGradient, AnOriginOffsetMovesTheGradientAlongBothAxesInEitherDirection)
{
    const struct {
        const char* what;
        Gradient gradient;
    } cases[] = {
        { "down only", { 50, 50, 0, 15, 30, 30 } },
        { "up only", { 50, 50, 0, -15, 30, 30 } },
        { "right only", { 50, 50, 15, 0, 30, 30 } },
        { "left only", { 50, 50, -15, 0, 30, 30 } },
        { "up and left", { 50, 50, -12, -9, 30, 30 } },
        { "an ellipse wider than tall", { 50, 50, 10, -8, 40, 20 } },
        { "an ellipse taller than wide", { 50, 50, -9, 12, 18, 36 } },
    };
    for (const auto& c : cases)
        for (const int extendMode : { 0, 1, 2 }) {
            SCOPED_TRACE(std::string(c.what) + ", extend mode " + std::to_string(extendMode));
            LoadDrawing(SceneText()
                            .Geometry("all", "Rectangle{ x 0 y 0 w 100 h 100 hitTest 0 }")
                            .Brush("b", Brush(c.gradient, extendMode)),
                "Fill{ all b }", 1);
            ExpectRendered(Probes(c.gradient, extendMode), 12);
        }
}

} // namespace
} // namespace kuvtest
