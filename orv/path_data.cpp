#include "orv/path_data.h"

#include <climits>
#include <cmath>
#include <numbers>

#include "ordo/exceptions.h"

namespace ORV {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

const char* SkipBlanks(const char* p, const char* end)
{
    while (p < end && IsBlank(*p))
        ++p;
    return p;
}

// Blanks, one optional comma, blanks.
const char* SkipSeparator(const char* p, const char* end)
{
    p = SkipBlanks(p, end);
    if (p < end && *p == ',')
        p = SkipBlanks(p + 1, end);
    return p;
}

// A sign is taken only when another character follows it.
const char* SkipSign(const char* p, const char* end, bool& negative)
{
    negative = false;
    if (end - p >= 2 && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    return p;
}

// An optionally signed decimal integer; any value but zero is true.
bool ScanFlag(const char*& position, const char* end, bool& flag)
{
    bool negative;
    const char* p = SkipSign(position, end, negative);
    if (p == end || !IsDigit(*p))
        return false;
    flag = false;
    for (; p < end && IsDigit(*p); ++p)
        flag = flag || *p != '0';
    position = p;
    return true;
}

// Reads the argument sets of one command from the path data and adds them to the path.
class PathDataReader {
public:
    PathDataReader(std::string_view data, double precision, QorRaster::Path& path)
        : fPosition(data.data()), fEnd(data.data() + data.size()), fPrecision(precision), fPath(path)
    {
    }

    void Read();

private:
    using Point = QorRaster::Point;

    // Reads the sets of a command one after the other; a set that cannot be read completely ends
    // the command quietly before it. read(p, separated) reads one set from p and reports whether
    // it could; add(first set) then draws it. Returns the number of sets drawn.
    template <typename ReadSet, typename AddSet>
    int ReadSets(ReadSet&& read, AddSet&& add);

    // Reads a point of a set, made absolute.
    bool ReadPoint(const char*& p, bool separated, Point& point) const;
    bool ReadCoordinate(const char*& p, bool separated, double& value) const;

    void AddArc(Point radii, double angle, bool large, bool sweep, Point end);

    const char* fPosition;
    const char* const fEnd;
    const double fPrecision;
    QorRaster::Path& fPath;
    bool fRelative = false;
    Point fOrigin; // the current point before the set in progress
    Point fCubicReflection;
    Point fQuadraticReflection;
};

template <typename ReadSet, typename AddSet>
int PathDataReader::ReadSets(ReadSet&& read, AddSet&& add)
{
    int count = 0;
    for (;;) {
        fOrigin = fPath.GetCurrentPoint();
        const char* p = fPosition;
        if (!read(p, count > 0))
            return count;
        add(count == 0);
        fPosition = p;
        ++count;
    }
}

bool PathDataReader::ReadPoint(const char*& p, bool separated, Point& point) const
{
    if (!ScanPoint(p, fEnd, point, separated))
        return false;
    if (fRelative) {
        point.x += fOrigin.x;
        point.y += fOrigin.y;
    }
    return true;
}

bool PathDataReader::ReadCoordinate(const char*& p, bool separated, double& value) const
{
    const char* q = separated ? SkipSeparator(p, fEnd) : SkipBlanks(p, fEnd);
    if (!ScanNumber(q, fEnd, value))
        return false;
    p = q;
    return true;
}

void PathDataReader::Read()
{
    for (;;) {
        fPosition = SkipBlanks(fPosition, fEnd);
        if (fPosition == fEnd)
            return;
        const char letter = *fPosition;
        fRelative = letter >= 'a' && letter <= 'z';
        const char command = fRelative ? char(letter - 'a' + 'A') : letter;
        ++fPosition;
        if (command != 'T')
            fQuadraticReflection = Point();
        if (command != 'S')
            fCubicReflection = Point();
        Point c1, c2, end;
        switch (command) {
        case 'M':
            if (ReadSets([&](const char*& p, bool later) { return ReadPoint(p, later, end); },
                         [&](bool first) { first ? fPath.MoveTo(end.x, end.y) : fPath.LineTo(end.x, end.y); }) == 0)
                ORDO::ThrowSyntaxError("Invalid M syntax in svg path data");
            break;
        case 'L':
            if (ReadSets([&](const char*& p, bool later) { return ReadPoint(p, later, end); },
                         [&](bool) { fPath.LineTo(end.x, end.y); }) == 0)
                ORDO::ThrowSyntaxError("Invalid L syntax in svg path data");
            break;
        case 'H':
        case 'V': {
            const bool horizontal = command == 'H';
            double value = 0;
            ReadSets([&](const char*& p, bool later) { return ReadCoordinate(p, later, value); },
                     [&](bool) {
                         Point target = fOrigin;
                         double& coordinate = horizontal ? target.x : target.y;
                         coordinate = fRelative ? coordinate + value : value;
                         fPath.LineTo(target.x, target.y);
                     });
            break;
        }
        case 'C':
        case 'S':
            ReadSets(
                [&](const char*& p, bool later) {
                    if (command == 'C' && !ReadPoint(p, later, c1))
                        return false;
                    return ReadPoint(p, later || command == 'C', c2) && ReadPoint(p, true, end);
                },
                [&](bool) {
                    if (command == 'S')
                        c1 = Point(fOrigin.x + fCubicReflection.x, fOrigin.y + fCubicReflection.y);
                    fPath.CubicTo(c1.x, c1.y, c2.x, c2.y, end.x, end.y, fPrecision);
                    fCubicReflection = Point(end.x - c2.x, end.y - c2.y);
                });
            break;
        case 'Q':
        case 'T':
            ReadSets(
                [&](const char*& p, bool later) {
                    if (command == 'Q' && !ReadPoint(p, later, c1))
                        return false;
                    return ReadPoint(p, later || command == 'Q', end);
                },
                [&](bool) {
                    if (command == 'T')
                        c1 = Point(fOrigin.x + fQuadraticReflection.x, fOrigin.y + fQuadraticReflection.y);
                    fPath.QuadTo(c1.x, c1.y, end.x, end.y, fPrecision);
                    fQuadraticReflection = Point(end.x - c1.x, end.y - c1.y);
                });
            break;
        case 'A': {
            Point radii;
            double angle = 0;
            bool large = false, sweep = false;
            ReadSets(
                [&](const char*& p, bool later) {
                    if (!ScanPoint(p, fEnd, radii, later))
                        return false;
                    p = SkipSeparator(p, fEnd);
                    if (!ScanNumber(p, fEnd, angle))
                        return false;
                    p = SkipSeparator(p, fEnd);
                    if (!ScanFlag(p, fEnd, large))
                        return false;
                    p = SkipSeparator(p, fEnd);
                    return ScanFlag(p, fEnd, sweep) && ReadPoint(p, true, end);
                },
                [&](bool) { AddArc(radii, angle, large, sweep, end); });
            break;
        }
        case 'Z':
            fPath.Close();
            break;
        default:
            ORDO::ThrowSyntaxError("Invalid command in svg path data");
        }
    }
}

void PathDataReader::AddArc(Point radii, double angle, bool large, bool sweep, Point end)
{
    const double rx = std::fabs(radii.x);
    const double ry = std::fabs(radii.y);
    const Point start = fOrigin;
    // An arc between identical end points is omitted, as its centre is undefined.
    if (rx >= 1e-8 && ry >= 1e-8 && !(start.x == end.x && start.y == end.y)) {
        QorRaster::Transform rotation;
        Point p0 = start, p1 = end;
        if (angle != 0) {
            rotation = rotation.Rotate(angle * std::numbers::pi / 180);
            QorRaster::Transform inverse = rotation;
            inverse.Invert();
            p0 = inverse.Apply(start);
            p1 = inverse.Apply(end);
        }
        double s = large ? 1 : -1;
        const double base = large ? 2 * std::numbers::pi : 0;
        if (!sweep)
            s = -s;
        const double dx = p1.x - p0.x;
        const double dy = p1.y - p0.y;
        const double k = rx / ry;
        const double dyk = k * dy;
        double q = 4 * rx * rx / (dyk * dyk + dx * dx) - 1;
        if (q < 1e-8)
            q = 1e-8;
        const double h = std::sqrt(q * 0.25) * s;
        const double cx = p0.x + 0.5 * dx + dyk * h;
        const double cy = p0.y + 0.5 * dy - h * dx / k;
        const double theta = std::acos((q - 1) / (q + 1));
        const double arcSweep = s * (base - theta);
        if (angle == 0) {
            fPath.ArcTo(cx, cy, arcSweep, k, fPrecision);
        } else {
            QorRaster::Path arc;
            arc.LineTo(p0.x, p0.y).ArcTo(cx, cy, arcSweep, k, fPrecision).Transform(rotation);
            fPath.Append(arc);
        }
    }
    fPath.LineTo(end.x, end.y);
}

} // namespace

bool ScanNumber(const char*& position, const char* end, double& value)
{
    bool negative;
    const char* p = SkipSign(position, end, negative);
    double magnitude = 0;
    if (p < end && IsDigit(*p)) {
        for (; p < end && IsDigit(*p); ++p)
            magnitude = magnitude * 10 + (*p - '0');
        if (p < end && *p == '.')
            ++p;
    } else if (end - p >= 2 && *p == '.' && IsDigit(p[1])) {
        ++p;
    } else {
        return false;
    }
    for (double f = 0.1; p < end && IsDigit(*p); ++p, f *= 0.1)
        magnitude += (*p - '0') * f;
    if (end - p >= 2 && (*p == 'e' || *p == 'E')) {
        ++p;
        bool negativeExponent;
        const char* const digits = SkipSign(p, end, negativeExponent);
        if (digits < end && IsDigit(*digits)) {
            int32_t exponent = 0;
            for (p = digits; p < end && IsDigit(*p); ++p) {
                const int digit = *p - '0';
                exponent = exponent > (INT32_MAX - digit) / 10 ? INT32_MAX : exponent * 10 + digit;
            }
            magnitude *= std::pow(10.0, negativeExponent ? -double(exponent) : double(exponent));
        }
    }
    value = negative ? -magnitude : magnitude;
    position = p;
    return true;
}

bool ScanPoint(const char*& position, const char* end, QorRaster::Point& point, bool separated)
{
    const char* p = separated ? SkipSeparator(position, end) : SkipBlanks(position, end);
    double x, y;
    if (!ScanNumber(p, end, x))
        return false;
    p = SkipSeparator(p, end);
    if (!ScanNumber(p, end, y))
        return false;
    point = QorRaster::Point(x, y);
    position = p;
    return true;
}

void ParsePathData(std::string_view data, double precision, QorRaster::Path& path)
{
    PathDataReader(data, precision, path).Read();
}

} // namespace ORV
