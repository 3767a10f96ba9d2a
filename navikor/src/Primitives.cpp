#include "navikor/Primitives.h"

#include "Constants.h"

#include <cmath>
#include <utility>

using namespace navikor;

namespace {

const double kAcosMinusOne = std::acos(-1.0);

CARTXYZ cross(const CARTXYZ& a, const CARTXYZ& b)
{
    return CARTXYZ(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

MATXYZ fromColumns(const CARTXYZ& x, const CARTXYZ& y, const CARTXYZ& z)
{
    MATXYZ r;
    r.m[0] = x.x; r.m[1] = y.x; r.m[2] = z.x;
    r.m[3] = x.y; r.m[4] = y.y; r.m[5] = z.y;
    r.m[6] = x.z; r.m[7] = y.z; r.m[8] = z.z;
    return r;
}

} // namespace

double VectorAngle(double x, double y)
{
    if (x == 0) {
        if (y == 0)
            return -1;
        return y > 0 ? kHalfPi : kThreeHalfPi;
    }
    double a = std::atan(y / x);
    if (x < 0)
        a += kPi;
    if (a < 0)
        a += kTwoPi;
    return a;
}

MATXYZ Param2Matrix(POS_PARAM p)
{
    const double I = p.Devi, A = p.Azi, T = p.Tf;
    double H = p.Hstf;
    CARTXYZ x, y, z;
    if (I == 0) {
        x = CARTXYZ(std::cos(T), std::sin(T), 0);
        y = CARTXYZ(std::cos(T - kHalfPi), std::sin(T - kHalfPi), 0);
        z = CARTXYZ(0, 0, -1);
        return fromColumns(x, y, z);
    }
    // Matrix2Param of an inverted block gives acos(-1), the double nearest pi, not the literal;
    // both mean inverted so that an inverted attitude keeps its toolface through a round trip.
    if (I == kPi || I == kAcosMinusOne) {
        x = CARTXYZ(std::cos(T), std::sin(T), 0);
        y = CARTXYZ(std::cos(T + kHalfPi), std::sin(T + kHalfPi), 0);
        z = CARTXYZ(0, 0, 1);
        return fromColumns(x, y, z);
    }
    const double sI = std::fabs(std::sin(I)), cI = std::cos(I);
    const double cA = std::cos(A), sA = std::sin(A);
    const CARTXYZ d(sI * cA, sI * sA, cI);
    z = CARTXYZ(-d.x, -d.y, -d.z);
    CARTXYZ h;
    if (I == kHalfPi) {
        h = CARTXYZ(0, 0, -1);
    } else {
        // cos I times the unit horizontal projection of d keeps h exact for tiny inclinations
        // (hypot: the squares of a tiny projection would underflow to a zero length).
        const double len = std::hypot(d.x, d.y);
        h = CARTXYZ(cI * d.x / len, cI * d.y / len, -std::sin(I));
    }
    const CARTXYZ r(-sA, cA, 0);
    bool derived = false;
    if (H > kTwoPi) {
        const double tT = std::tan(T);
        H = std::atan((tT * cI * cA - cI * sA) / (cA + tT * sA));
        derived = true;
    }
    const double cH = std::cos(H), sH = std::sin(H);
    x = CARTXYZ(cH * h.x + sH * r.x, cH * h.y + sH * r.y, cH * h.z + sH * r.z);
    if (derived && std::fabs(VectorAngle(x.x, x.y) - T) > kHalfPi)
        x = CARTXYZ(-x.x, -x.y, -x.z);
    y = cross(z, x);
    return fromColumns(x, y, z);
}

namespace {

// Within this of vertical (or inverted) the third row is about as small as the rounding a
// matrix collects over a long integration, and no longer gives the toolface reliably.
constexpr double kNearVertical = 1e-6;  // 1 - |m8|: an inclination of about 0.08 degree

// High-side toolface of the x column against the high side and right-hand vectors of the hole
// axis at Devi, Azi: Param2Matrix of the result rebuilds this x axis, whatever the rounding.
double toolfaceOfXAxis(const MATXYZ& m, double devi, double azi)
{
    const double cI = std::cos(devi), sI = std::sin(devi), cA = std::cos(azi), sA = std::sin(azi);
    const double alongHigh = cI * (m.m[0] * cA + m.m[3] * sA) - sI * m.m[6];
    const double alongRight = m.m[3] * cA - m.m[0] * sA;
    const double h = VectorAngle(alongHigh, alongRight);
    return h < 0 ? 0 : h;
}

} // namespace

POS_PARAM Matrix2Param(MATXYZ m)
{
    POS_PARAM p;
    // An integrated matrix can carry |m8| a rounding past 1: that is vertical (or inverted).
    p.Devi = clampedAcos(-m.m[8]);
    if (std::fabs(m.m[8]) >= 1) {
        p.Azi = 0;
        p.Hstf = 0;
    } else {
        p.Azi = VectorAngle(-m.m[2], -m.m[5]);
        if (1 - std::fabs(m.m[8]) < kNearVertical)
            p.Hstf = toolfaceOfXAxis(m, p.Devi, p.Azi);
        else
            p.Hstf = VectorAngle(-m.m[6], -m.m[7]);
    }
    p.Tf = std::fabs(m.m[6]) >= 1 ? 0 : VectorAngle(m.m[0], m.m[3]);
    return p;
}

MATXYZ MatxMat(MATXYZ a, MATXYZ b)
{
    MATXYZ r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r.m[3 * i + j] = a.m[3 * i] * b.m[j] + a.m[3 * i + 1] * b.m[3 + j] + a.m[3 * i + 2] * b.m[6 + j];
    return r;
}

CARTXYZ MatxVect(MATXYZ m, CARTXYZ v)
{
    return CARTXYZ(m.m[0] * v.x + m.m[1] * v.y + m.m[2] * v.z,
                   m.m[3] * v.x + m.m[4] * v.y + m.m[5] * v.z,
                   m.m[6] * v.x + m.m[7] * v.y + m.m[8] * v.z);
}

MATXYZ MatTrasp(MATXYZ m)
{
    MATXYZ r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r.m[3 * i + j] = m.m[3 * j + i];
    return r;
}

double MatDet(MATXYZ a)
{
    const double* m = a.m;
    return m[0] * m[4] * m[8] + m[1] * m[5] * m[6] + m[2] * m[3] * m[7] - m[2] * m[4] * m[6]
        - m[1] * m[3] * m[8] - m[0] * m[5] * m[7];
}

MATXYZ MatInv(MATXYZ a)
{
    const double* m = a.m;
    const double det = MatDet(a);
    MATXYZ r;
    r.m[0] = (m[4] * m[8] - m[5] * m[7]) / det;
    r.m[1] = (m[2] * m[7] - m[1] * m[8]) / det;
    r.m[2] = (m[1] * m[5] - m[2] * m[4]) / det;
    r.m[3] = (m[5] * m[6] - m[3] * m[8]) / det;
    r.m[4] = (m[0] * m[8] - m[2] * m[6]) / det;
    r.m[5] = (m[2] * m[3] - m[0] * m[5]) / det;
    r.m[6] = (m[3] * m[7] - m[4] * m[6]) / det;
    r.m[7] = (m[1] * m[6] - m[0] * m[7]) / det;
    r.m[8] = (m[0] * m[4] - m[1] * m[3]) / det;
    return r;
}

MATXYZ MatrizUnitaria()
{
    MATXYZ r;
    r.m[0] = r.m[4] = r.m[8] = 1;
    return r;
}

void IgualarMatrices(MATXYZ source, MATXYZ* target)
{
    if (target)
        *target = source;
}

CARTXYZ CartResta(CARTXYZ a, CARTXYZ b) { return CARTXYZ(a.x - b.x, a.y - b.y, a.z - b.z); }

CARTXYZ CartPromedio(CARTXYZ a, CARTXYZ b)
{
    return CARTXYZ((a.x + b.x) * 0.5, (a.y + b.y) * 0.5, (a.z + b.z) * 0.5);
}

double Vnorma(CARTXYZ v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

CARTNEP VCARTinvertir(CARTNEP v) { return CARTNEP{-v.n, -v.e, -v.p}; }

CARTXYZ NEP2VECT(CARTNEP v) { return CARTXYZ(v.n, v.e, v.p); }

namespace {

// Rot2Mat with the axis length already known (Rotation_To_Matrix has just computed it).
MATXYZ rotationAbout(double angleDeg, const CARTXYZ& axis, double len)
{
    const double x = axis.x / len, y = axis.y / len, z = axis.z / len;
    const double a = toRad(angleDeg);
    const double c = std::cos(a), s = std::sin(a), t = 1 - c;
    MATXYZ r;
    r.m[0] = x * x + c * (y * y + z * z);
    r.m[1] = x * y * t - z * s;
    r.m[2] = x * z * t + y * s;
    r.m[3] = x * y * t + z * s;
    r.m[4] = y * y + c * (x * x + z * z);
    r.m[5] = y * z * t - x * s;
    r.m[6] = x * z * t - y * s;
    r.m[7] = y * z * t + x * s;
    r.m[8] = z * z + c * (x * x + y * y);
    return r;
}

} // namespace

MATXYZ Rot2Mat(double angleDeg, CARTXYZ axis) { return rotationAbout(angleDeg, axis, Vnorma(axis)); }

MATXYZ Rotation_To_Matrix(CARTXYZ rate, double duration)
{
    // The axis is the rotation vector itself, so a negative duration turns the other way
    // (backward integration relies on that).
    const CARTXYZ v(rate.x * duration, rate.y * duration, rate.z * duration);
    const double len = Vnorma(v);
    if (len == 0)
        return MatrizUnitaria();
    return rotationAbout(len, v, len);
}

namespace {

// Beyond this cosine (about 172 degrees) the antisymmetric part, 2 sin(theta) times the axis,
// is too small to give the axis; the symmetric part gives it instead.
constexpr double kNearHalfTurn = -0.99;

// Unit axis of a rotation by theta (cosine c) from the symmetric part of its matrix:
// (R + R^T) / 2 - c I = (1 - c) u u^T. The sign follows the antisymmetric part d; at exactly
// half a turn both signs are the same rotation.
CARTXYZ halfTurnAxis(const double* m, double c, const CARTXYZ& d)
{
    const double k = 1 - c;
    const double s[3][3] = {{m[0] - c, (m[1] + m[3]) / 2, (m[2] + m[6]) / 2},
                            {(m[1] + m[3]) / 2, m[4] - c, (m[5] + m[7]) / 2},
                            {(m[2] + m[6]) / 2, (m[5] + m[7]) / 2, m[8] - c}};
    int i = 0;
    if (s[1][1] > s[i][i])
        i = 1;
    if (s[2][2] > s[i][i])
        i = 2;
    const double ui = std::sqrt(std::max(s[i][i], 0.0) / k);
    double u[3];
    for (int j = 0; j < 3; ++j)
        u[j] = j == i ? ui : s[i][j] / (k * ui);
    const double sign = u[0] * d.x + u[1] * d.y + u[2] * d.z < 0 ? -1 : 1;
    return CARTXYZ(sign * u[0], sign * u[1], sign * u[2]);
}

} // namespace

CARTXYZ MRot_to_W(double duration, MATXYZ r)
{
    const double* m = r.m;
    const double q = m[0] + m[4] + m[8] - 1;
    if (q >= 2)  // at or (by rounding) above the identity: no rotation
        return CARTXYZ();
    const double c = std::max(q / 2, -1.0);  // rounding can carry it below a half turn
    const CARTXYZ d(m[7] - m[5], m[2] - m[6], m[3] - m[1]);
    if (c < kNearHalfTurn) {
        // The arc cosine is ill-conditioned there too; the sine, |d| / 2, is not.
        const double theta = std::atan2(Vnorma(d) / 2, c);
        const CARTXYZ u = halfTurnAxis(m, c, d);
        const double f = theta / duration * 180 / kPi;
        return CARTXYZ(u.x * f, u.y * f, u.z * f);
    }
    const double theta = std::acos(c);
    const double f = theta / (2 * std::sin(theta)) / duration * 180 / kPi;
    return CARTXYZ(d.x * f, d.y * f, d.z * f);
}

CARTXYZ MM2W(MATXYZ a, MATXYZ b) { return MRot_to_W(1, MatxMat(b, MatInv(a))); }

CARTXYZ MML2W(MATXYZ a, MATXYZ b) { return MRot_to_W(1, MatxMat(MatInv(a), b)); }

void solve_2x2(const double a[2][2], const double b[2], double x[2])
{
    double m[2][2] = {{a[0][0], a[0][1]}, {a[1][0], a[1][1]}};
    double r[2] = {b[0], b[1]};
    if (std::fabs(m[0][0]) < std::fabs(m[1][0])) {
        std::swap(m[0][0], m[1][0]);
        std::swap(m[0][1], m[1][1]);
        std::swap(r[0], r[1]);
    }
    if (m[0][0] != 0) {
        const double f = m[1][0] / m[0][0];
        m[1][0] = 0;
        m[1][1] -= f * m[0][1];
        r[1] -= f * r[0];
    }
    x[1] = r[1] / m[1][1];
    x[0] = (r[0] - m[0][1] * x[1]) / m[0][0];
}

void solve_3x3(const double a[3][3], const double b[3], double x[3])
{
    double m[3][4];
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            m[i][j] = a[i][j];
        m[i][3] = b[i];
    }
    for (int c = 0; c < 3; ++c) {
        int p = c;
        for (int i = c + 1; i < 3; ++i)
            if (std::fabs(m[i][c]) > std::fabs(m[p][c]))
                p = i;
        if (p != c)
            for (int j = 0; j < 4; ++j)
                std::swap(m[c][j], m[p][j]);
        for (int i = c + 1; i < 3; ++i) {
            const double f = m[i][c] / m[c][c];
            for (int j = c; j < 4; ++j)
                m[i][j] -= f * m[c][j];
        }
    }
    for (int i = 2; i >= 0; --i) {
        double s = m[i][3];
        for (int j = i + 1; j < 3; ++j)
            s -= m[i][j] * x[j];
        x[i] = s / m[i][i];
    }
}

void least_squares_fit2(const double* rows, int count, double out[2])
{
    double n[2][2] = {{0, 0}, {0, 0}};
    double r[2] = {0, 0};
    for (int i = 0; i < count; ++i) {
        const double* u = rows + 3 * i;
        for (int j = 0; j < 2; ++j) {
            for (int k = 0; k < 2; ++k)
                n[j][k] += u[j] * u[k];
            r[j] += u[j] * u[2];
        }
    }
    solve_2x2(n, r, out);
}

void least_squares_fit3(const double* rows, int count, double out[3])
{
    double n[3][3] = {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
    double r[3] = {0, 0, 0};
    for (int i = 0; i < count; ++i) {
        const double* u = rows + 4 * i;
        for (int j = 0; j < 3; ++j) {
            for (int k = 0; k < 3; ++k)
                n[j][k] += u[j] * u[k];
            r[j] += u[j] * u[3];
        }
    }
    solve_3x3(n, r, out);
}

int fnNavikor() { return 42; }

void Axis::Normalizar()
{
    const double len = std::sqrt(x * x + y * y + z * z);
    x /= len;
    y /= len;
    z /= len;
}

void Axis::EjeaAngulo()
{
    Normalizar();
    if (z == 1) {
        Tilt = 0;
        Direction = 0;
    } else if (z == -1) {
        Tilt = 180;
        Direction = 0;
    } else {
        Tilt = toDeg(clampedAcos(z));
        Direction = toDeg(VectorAngle(x, y));
    }
}

void Axis::AnguloaEje()
{
    const double t = toRad(Tilt), d = toRad(Direction);
    x = std::cos(d) * std::sin(t);
    y = std::sin(t) * std::sin(d);
    z = std::cos(t);
}
