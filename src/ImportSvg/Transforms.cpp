#include "ImportSvg/Transforms.h"

#include <cctype>
#include <cmath>

#include "ImportSvg/Units.h"

namespace KUV::ImportSvg {

namespace {

std::optional<Matrix> OneTransform(const std::string& name, const std::vector<double>& v)
{
    const std::size_t n = v.size();
    if (name == "matrix" && n == 6) return Matrix { v[0], v[1], v[2], v[3], v[4], v[5] };
    if (name == "translate" && (n == 1 || n == 2)) return Matrix::Translate(v[0], n == 2 ? v[1] : 0);
    if (name == "scale" && (n == 1 || n == 2)) return Matrix::Scale(v[0], n == 2 ? v[1] : v[0]);
    if (name == "rotate" && n == 1) return Matrix::Rotate(v[0]);
    if (name == "rotate" && n == 3)
        return Matrix::Translate(v[1], v[2]) * Matrix::Rotate(v[0]) * Matrix::Translate(-v[1], -v[2]);
    if (name == "skewx" && n == 1) return Matrix { 1, 0, std::tan(v[0] * M_PI / 180), 1, 0, 0 };
    if (name == "skewy" && n == 1) return Matrix { 1, std::tan(v[0] * M_PI / 180), 0, 1, 0, 0 };
    return std::nullopt;
}

constexpr double Epsilon = 1e-9;

} // namespace

std::optional<Matrix> ParseTransform(std::string_view text)
{
    Matrix m;
    std::size_t pos = 0;
    while (true) {
        while (pos < text.size() && (std::isspace(static_cast<unsigned char>(text[pos])) || text[pos] == ','))
            ++pos;
        if (pos >= text.size()) break;
        const std::size_t open = text.find('(', pos), close = text.find(')', pos);
        if (open == std::string_view::npos || close == std::string_view::npos || close < open) return std::nullopt;
        const std::string name = Lower(Trim(text.substr(pos, open - pos)));
        bool complete = false;
        const auto values = ParseNumberList(text.substr(open + 1, close - open - 1), &complete);
        const auto one = OneTransform(name, values);
        if (!complete || !one) return std::nullopt;
        m = m * *one;
        pos = close + 1;
    }
    if (!m.IsFinite()) return std::nullopt;
    return m;
}

std::vector<TransformStep> Decompose(const Matrix& m)
{
    std::vector<TransformStep> steps;
    if (std::abs(m.e) > Epsilon || std::abs(m.f) > Epsilon) steps.push_back({ TransformStep::Translation, m.e, m.f });
    // The 2x2 part as rotate(phi) * scale(sx, sy) * rotate(theta) (a singular value decomposition).
    const double E = (m.a + m.d) / 2, F = (m.a - m.d) / 2, G = (m.b + m.c) / 2, H = (m.b - m.c) / 2;
    const double Q = std::hypot(E, H), R = std::hypot(F, G);
    const double sx = Q + R, sy = Q - R;
    const double a1 = std::atan2(G, F), a2 = std::atan2(H, E);
    const double theta = (a2 - a1) / 2 * 180 / M_PI, phi = (a2 + a1) / 2 * 180 / M_PI;
    if (std::abs(phi) > Epsilon) steps.push_back({ TransformStep::Rotation, phi, 0 });
    if (std::abs(sx - 1) > Epsilon || std::abs(sy - 1) > Epsilon) steps.push_back({ TransformStep::Scale, sx, sy });
    if (std::abs(theta) > Epsilon) steps.push_back({ TransformStep::Rotation, theta, 0 });
    return steps;
}

Matrix Compose(const std::vector<TransformStep>& steps)
{
    Matrix m;
    for (const TransformStep& s : steps) {
        if (s.kind == TransformStep::Translation) m = m * Matrix::Translate(s.x, s.y);
        if (s.kind == TransformStep::Rotation) m = m * Matrix::Rotate(s.x);
        if (s.kind == TransformStep::Scale) m = m * Matrix::Scale(s.x, s.y);
    }
    return m;
}

} // namespace KUV::ImportSvg
