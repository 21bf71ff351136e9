#include "ImportSvg/PathData.h"

#include <cctype>
#include <cmath>

#include "ImportSvg/Units.h"

namespace KUV::ImportSvg {

namespace {

double Angle(double ux, double uy, double vx, double vy)
{
    return std::atan2(ux * vy - uy * vx, ux * vx + uy * vy);
}

class PathParser {
public:
    explicit PathParser(std::string_view data)
        : m_Data(data)
    {
    }

    ParsedPath Run()
    {
        char command = 0;
        while (true) {
            SkipBlanks();
            if (m_Pos >= m_Data.size()) break;
            const char c = m_Data[m_Pos];
            if (std::isalpha(static_cast<unsigned char>(c))) {
                command = c;
                ++m_Pos;
            } else if (command == 0 || command == 'z' || command == 'Z') {
                return Fail("a number where a command is expected");
            } else if (command == 'M') {
                command = 'L';
            } else if (command == 'm') {
                command = 'l';
            }
            if (m_Result.path.empty() && command != 'M' && command != 'm') return Fail("the data must begin with M");
            if (!Command(command)) return Fail(std::string("bad arguments of '") + command + "'");
        }
        return std::move(m_Result);
    }

private:
    ParsedPath Fail(const std::string& what)
    {
        SkipBlanks();
        m_Result.error = what + " at character " + std::to_string(m_Pos + 1);
        return std::move(m_Result);
    }

    void SkipBlanks()
    {
        while (
            m_Pos < m_Data.size() && (std::isspace(static_cast<unsigned char>(m_Data[m_Pos])) || m_Data[m_Pos] == ','))
            ++m_Pos;
    }

    bool Number(double& out)
    {
        const auto v = ReadNumber(m_Data, m_Pos);
        if (!v) return false;
        out = *v;
        return true;
    }

    bool Flag(bool& out)
    {
        SkipSeparators(m_Data, m_Pos);
        if (m_Pos >= m_Data.size() || (m_Data[m_Pos] != '0' && m_Data[m_Pos] != '1')) return false;
        out = m_Data[m_Pos++] == '1';
        return true;
    }

    bool Point(bool relative, Pt& out)
    {
        if (!Number(out.x) || !Number(out.y)) return false;
        if (relative) out = { out.x + m_Current.x, out.y + m_Current.y };
        return true;
    }

    Figure& Current()
    {
        if (m_Result.path.empty() || m_Closed) {
            m_Result.path.push_back({ m_Start, {}, false });
            m_Closed = false;
        }
        return m_Result.path.back();
    }

    void LineTo(Pt p)
    {
        Current().segments.push_back({ false, {}, {}, p });
        m_Current = m_LastControl = p;
    }

    void CubicTo(Pt c1, Pt c2, Pt p)
    {
        Current().segments.push_back({ true, c1, c2, p });
        m_Current = p;
        m_LastControl = c2;
    }

    void QuadTo(Pt q, Pt p)
    {
        const Pt a = m_Current;
        CubicTo({ a.x + 2.0 / 3 * (q.x - a.x), a.y + 2.0 / 3 * (q.y - a.y) },
            { p.x + 2.0 / 3 * (q.x - p.x), p.y + 2.0 / 3 * (q.y - p.y) }, p);
        m_LastQuad = q;
    }

    Pt Reflected(Pt control) const { return { 2 * m_Current.x - control.x, 2 * m_Current.y - control.y }; }

    bool Command(char command)
    {
        const bool rel = std::islower(static_cast<unsigned char>(command));
        const char upper = char(std::toupper(static_cast<unsigned char>(command)));
        const char previous = m_Previous;
        m_Previous = upper;
        Pt p, c1, c2;
        double v = 0;
        switch (upper) {
        case 'M':
            if (!Point(rel, p)) return false;
            m_Result.path.push_back({ p, {}, false });
            m_Closed = false;
            m_Start = m_Current = m_LastControl = p;
            return true;
        case 'Z':
            if (!m_Result.path.empty() && !m_Closed) m_Result.path.back().closed = true;
            m_Closed = true;
            m_Current = m_LastControl = m_Start;
            return true;
        case 'L':
            if (!Point(rel, p)) return false;
            LineTo(p);
            return true;
        case 'H':
            if (!Number(v)) return false;
            LineTo({ rel ? m_Current.x + v : v, m_Current.y });
            return true;
        case 'V':
            if (!Number(v)) return false;
            LineTo({ m_Current.x, rel ? m_Current.y + v : v });
            return true;
        case 'C':
            if (!Point(rel, c1) || !Point(rel, c2) || !Point(rel, p)) return false;
            CubicTo(c1, c2, p);
            return true;
        case 'S':
            if (!Point(rel, c2) || !Point(rel, p)) return false;
            CubicTo(previous == 'C' || previous == 'S' ? Reflected(m_LastControl) : m_Current, c2, p);
            return true;
        case 'Q':
            if (!Point(rel, c1) || !Point(rel, p)) return false;
            QuadTo(c1, p);
            return true;
        case 'T':
            if (!Point(rel, p)) return false;
            QuadTo(previous == 'Q' || previous == 'T' ? Reflected(m_LastQuad) : m_Current, p);
            return true;
        case 'A':
            return Arc(rel);
        default:
            return false;
        }
    }

    bool Arc(bool rel)
    {
        double rx = 0, ry = 0, rotation = 0;
        bool large = false, sweep = false;
        Pt p;
        if (!Number(rx) || !Number(ry) || !Number(rotation) || !Flag(large) || !Flag(sweep) || !Point(rel, p))
            return false;
        const Pt from = m_Current;
        AppendArc(Current(), from, rx, ry, rotation, large, sweep, p);
        m_Current = m_LastControl = p;
        return true;
    }

    std::string_view m_Data;
    std::size_t m_Pos = 0;
    ParsedPath m_Result;
    Pt m_Start, m_Current, m_LastControl, m_LastQuad;
    char m_Previous = 0;
    bool m_Closed = false;
};

} // namespace

void AppendArc(Figure& figure, Pt from, double rx, double ry, double rotation, bool large, bool sweep, Pt to)
{
    rx = std::abs(rx);
    ry = std::abs(ry);
    if ((from.x == to.x && from.y == to.y)) return;
    if (rx == 0 || ry == 0) {
        figure.segments.push_back({ false, {}, {}, to });
        return;
    }
    const double phi = rotation * M_PI / 180, cp = std::cos(phi), sp = std::sin(phi);
    const double dx = (from.x - to.x) / 2, dy = (from.y - to.y) / 2;
    const double x1 = cp * dx + sp * dy, y1 = -sp * dx + cp * dy;
    const double lambda = x1 * x1 / (rx * rx) + y1 * y1 / (ry * ry);
    if (lambda > 1) {
        rx *= std::sqrt(lambda);
        ry *= std::sqrt(lambda);
    }
    const double num = rx * rx * ry * ry - rx * rx * y1 * y1 - ry * ry * x1 * x1;
    const double den = rx * rx * y1 * y1 + ry * ry * x1 * x1;
    double k = std::sqrt(std::max(0.0, num / den));
    if (large == sweep) k = -k;
    const double cx1 = k * rx * y1 / ry, cy1 = -k * ry * x1 / rx;
    const double cx = cp * cx1 - sp * cy1 + (from.x + to.x) / 2, cy = sp * cx1 + cp * cy1 + (from.y + to.y) / 2;
    const double t1 = Angle(1, 0, (x1 - cx1) / rx, (y1 - cy1) / ry);
    double dt = Angle((x1 - cx1) / rx, (y1 - cy1) / ry, (-x1 - cx1) / rx, (-y1 - cy1) / ry);
    if (!sweep && dt > 0) dt -= 2 * M_PI;
    if (sweep && dt < 0) dt += 2 * M_PI;
    if (!std::isfinite(dt) || !std::isfinite(cx) || !std::isfinite(cy)) {
        figure.segments.push_back({ false, {}, {}, to });
        return;
    }
    const int n = std::max(1, int(std::ceil(std::abs(dt) / (M_PI / 2) - 1e-9)));
    const double step = dt / n, alpha = 4.0 / 3 * std::tan(step / 4);
    auto at = [&](double t) {
        const double x = rx * std::cos(t), y = ry * std::sin(t);
        return Pt { cp * x - sp * y + cx, sp * x + cp * y + cy };
    };
    auto derivative = [&](double t) {
        const double x = -rx * std::sin(t), y = ry * std::cos(t);
        return Pt { cp * x - sp * y, sp * x + cp * y };
    };
    for (int i = 0; i < n; ++i) {
        const double a = t1 + i * step, b = a + step;
        const Pt p0 = at(a), d0 = derivative(a), d1 = derivative(b);
        const Pt p3 = i == n - 1 ? to : at(b);
        figure.segments.push_back(
            { true, { p0.x + alpha * d0.x, p0.y + alpha * d0.y }, { p3.x - alpha * d1.x, p3.y - alpha * d1.y }, p3 });
    }
}

ParsedPath ParsePathData(std::string_view data)
{
    return PathParser(data).Run();
}

} // namespace KUV::ImportSvg
