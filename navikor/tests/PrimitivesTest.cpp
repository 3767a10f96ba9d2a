#include "navikor/Navikor.h"
#include "navikor/tests/Synthetic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace synth;

namespace {

void expectMatNear(const MATXYZ& a, const MATXYZ& b, double tol)
{
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(a.m[i], b.m[i], tol) << "element " << i;
}

void expectAngleNear(double a, double b, double tolRad, const char* what)
{
    EXPECT_LT(angleDiff(deg(a), deg(b)), deg(tolRad)) << what << ": " << deg(a) << " vs " << deg(b);
}

} // namespace

TEST(VectorAngle, QuadrantsAndAxes)
{
    EXPECT_EQ(VectorAngle(0, 0), -1);
    EXPECT_EQ(VectorAngle(-1, 0), 3.1415926535898);
    EXPECT_EQ(VectorAngle(0, -2), 4.7123889803847);
    EXPECT_EQ(VectorAngle(0, 3), 1.5707963267949);
    EXPECT_NEAR(VectorAngle(1, 1), kPi / 4, 1e-12);
    EXPECT_NEAR(VectorAngle(-1, 1), 3 * kPi / 4, 1e-12);
    EXPECT_NEAR(VectorAngle(-1, -1), 5 * kPi / 4, 1e-12);
    EXPECT_NEAR(VectorAngle(1, -1), 7 * kPi / 4, 1e-12);
}

// The library's attitude convention agrees with the attitude built from rotations about the
// earth axes, over all quadrants, and turns back into the same angles.
TEST(AttitudeConvention, MatchesPhysicalRotationsAndRoundTrips)
{
    for (double inc : {0.01, 1.0, 30.0, 89.0, 90.0, 91.0, 150.0, 179.5})
        for (double az : {0.0, 45.0, 123.45, 200.0, 359.0})
            for (double tf : {0.0, 90.0, 181.0, 300.0}) {
                SCOPED_TRACE(testing::Message() << "inc " << inc << " az " << az << " tf " << tf);
                const MATXYZ expected = toMat(attitude(inc, az, tf));
                const MATXYZ m = Param2Matrix(POS_PARAM{rad(inc), rad(az), rad(tf), 0});
                expectMatNear(m, expected, 1e-12);
                const POS_PARAM p = Matrix2Param(m);
                EXPECT_NEAR(p.Devi, rad(inc), 1e-9);
                expectAngleNear(p.Azi, rad(az), 1e-9, "Azi");
                expectAngleNear(p.Hstf, rad(tf), 1e-9, "Hstf");
                // Tf is the azimuth of the block's x axis.
                if (std::fabs(expected.m[6]) < 1)  // an x axis along the vertical has no azimuth
                    expectAngleNear(p.Tf, VectorAngle(expected.m[0], expected.m[3]), 1e-9, "Tf");
                // The accelerometers read the third row.
                const CARTXYZ g = gravityIn(attitude(inc, az, tf));
                EXPECT_NEAR(m.m[6], g.x, 1e-12);
                EXPECT_NEAR(m.m[7], g.y, 1e-12);
                EXPECT_NEAR(m.m[8], g.z, 1e-12);
            }
}

TEST(AttitudeConvention, VerticalAndInvertedUseTf)
{
    const POS_PARAM v = Matrix2Param(Param2Matrix(POS_PARAM{0, 1.0, 2.0, 7.0}));
    EXPECT_EQ(v.Devi, 0);
    EXPECT_EQ(v.Azi, 0);
    EXPECT_EQ(v.Hstf, 0);
    EXPECT_NEAR(v.Tf, 7.0 - 6.2831853071796, 1e-12);
    // A vertical block at toolface T is the vertical-north block turned by T about the hole axis.
    expectMatNear(Param2Matrix(POS_PARAM{0, 0, 0, rad(40)}), toMat(attitude(0, 0, 40)), 1e-12);

    const MATXYZ inv = Param2Matrix(POS_PARAM{3.1415926535898, 0, 0, rad(30)});
    EXPECT_EQ(inv.m[8], 1);
    EXPECT_NEAR(Matrix2Param(inv).Tf, rad(30), 1e-12);
}

// Integrated matrices carry rounding: the third row of a vertical block can reach a rounding
// past -1 (or past +1 inverted), and near vertical it is about as small as that rounding.
TEST(AttitudeConvention, RoundedMatricesAtAndNearVertical)
{
    for (const double inc : {0.0, 180.0}) {
        for (const double tf : {0.0, 77.0, 300.0}) {
            MATXYZ m = toMat(attitude(inc, 0, tf));
            m.m[8] = std::nextafter(m.m[8], 2 * m.m[8]);
            const POS_PARAM p = Matrix2Param(m);
            SCOPED_TRACE(testing::Message() << "inc " << inc << " tf " << tf);
            EXPECT_NEAR(deg(p.Devi), inc, 1e-9);
            EXPECT_EQ(p.Azi, 0);
            EXPECT_EQ(p.Hstf, 0);
            expectAngleNear(p.Tf, VectorAngle(m.m[0], m.m[3]), 1e-12, "Tf");
        }
    }
    // A hair off vertical, the toolface rebuilds the block's own x axis whatever the rounding in
    // the third row (it moved Tf by degrees when taken from that row).
    for (const double incRad : {1e-7, 1e-6, 1e-5, 1e-4})
        for (const double tf : {15.0, 200.0}) {
            MATXYZ m = toMat(attitude(deg(incRad), 123, tf));
            m.m[6] += 1e-10;
            m.m[7] -= 1e-10;
            SCOPED_TRACE(testing::Message() << "inc " << incRad << " rad, tf " << tf);
            const MATXYZ back = Param2Matrix(Matrix2Param(m));
            expectAngleNear(VectorAngle(back.m[0], back.m[3]), VectorAngle(m.m[0], m.m[3]), 1e-9, "Tf");
            EXPECT_NEAR(back.m[8], m.m[8], 1e-12);
        }
}

TEST(AttitudeConvention, ToolfaceDerivedFromTfWhenHstfNotGiven)
{
    for (double inc : {5.0, 40.0, 120.0})
        for (double az : {10.0, 100.0, 250.0})
            for (double tf : {20.0, 135.0, 260.0, 350.0}) {
                const MATXYZ m = Param2Matrix(POS_PARAM{rad(inc), rad(az), 7, rad(tf)});
                expectAngleNear(Matrix2Param(m).Tf, rad(tf), 1e-9, "Tf");
            }
}

TEST(Rotations, RotationVectorsAndMatrices)
{
    expectMatNear(Rotation_To_Matrix(CARTXYZ(0, 0, 0), 3), MatrizUnitaria(), 0);
    // 90 degrees about down turns north onto east.
    const CARTXYZ east = MatxVect(Rotation_To_Matrix(CARTXYZ(0, 0, 90), 1), CARTXYZ(1, 0, 0));
    EXPECT_NEAR(east.x, 0, 1e-12);
    EXPECT_NEAR(east.y, 1, 1e-12);
    // A negative duration turns back.
    const MATXYZ there = Rotation_To_Matrix(CARTXYZ(10, -20, 30), 0.5);
    const MATXYZ back = Rotation_To_Matrix(CARTXYZ(10, -20, 30), -0.5);
    expectMatNear(MatxMat(back, there), MatrizUnitaria(), 1e-12);
    // Rate back from the matrix, in degrees per unit time.
    const CARTXYZ w = MRot_to_W(0.5, there);
    EXPECT_NEAR(w.x, 10, 1e-9);
    EXPECT_NEAR(w.y, -20, 1e-9);
    EXPECT_NEAR(w.z, 30, 1e-9);
    // Identity, and rounding above it, give no rotation.
    const CARTXYZ z = MRot_to_W(1, MatrizUnitaria());
    EXPECT_EQ(Vnorma(z), 0);
    MATXYZ above = MatrizUnitaria();
    above.m[0] = 1 + 1e-12;
    EXPECT_EQ(Vnorma(MRot_to_W(1, above)), 0);
    // MM2W / MML2W recover the rotation between two attitudes on either side.
    const MATXYZ a = toMat(attitude(30, 40, 50));
    const MATXYZ r = Rot2Mat(2.5, CARTXYZ(1, 2, 3));
    const CARTXYZ left = MM2W(a, MatxMat(r, a));
    const CARTXYZ right = MML2W(a, MatxMat(a, r));
    const double n = std::sqrt(14.0);
    for (const CARTXYZ& v : {left, right}) {
        EXPECT_NEAR(v.x, 2.5 / n, 1e-9);
        EXPECT_NEAR(v.y, 5.0 / n, 1e-9);
        EXPECT_NEAR(v.z, 7.5 / n, 1e-9);
    }
}

// Back and forth between rotation vectors and matrices over the whole range of angles, half
// a turn included (where the antisymmetric part of the matrix vanishes).
TEST(Rotations, RotationVectorOfAnyAngle)
{
    for (const double angle : {1e-4, 1.0, 90.0, 150.0, 175.0, 179.0, 179.9999, 180.0})
        for (const CARTXYZ axis : {CARTXYZ(0, 0, 1), CARTXYZ(1, 2, 3), CARTXYZ(-1, 0.5, 0), CARTXYZ(0, -1, 0)}) {
            SCOPED_TRACE(testing::Message() << angle << " degrees about " << axis.x << " " << axis.y << " " << axis.z);
            const double n = Vnorma(axis);
            const double f = angle / n;
            const MATXYZ r = toMat(rotationBy(axis.x * f, axis.y * f, axis.z * f));
            const CARTXYZ w = MRot_to_W(2, r);  // degrees per unit time over 2 units
            EXPECT_NEAR(Vnorma(w), angle / 2, 1e-9);
            // The same rotation (at half a turn the axis may point either way).
            expectMatNear(toMat(rotationBy(w.x * 2, w.y * 2, w.z * 2)), r, 1e-9);
            if (angle < 180) {
                EXPECT_NEAR(w.x, axis.x * f / 2, 1e-7);
                EXPECT_NEAR(w.y, axis.y * f / 2, 1e-7);
                EXPECT_NEAR(w.z, axis.z * f / 2, 1e-7);
            }
        }
}

TEST(MatrixAlgebra, InverseDeterminantTranspose)
{
    MATXYZ a;
    const double v[9] = {2, -1, 0.5, 1, 3, -2, 0.25, 4, 1};
    for (int i = 0; i < 9; ++i)
        a.m[i] = v[i];
    expectMatNear(MatxMat(a, MatInv(a)), MatrizUnitaria(), 1e-12);
    EXPECT_NEAR(MatDet(a), 2 * (3 + 8) + 1 * (1 + 0.5) + 0.5 * (4 - 0.75), 1e-12);
    EXPECT_EQ(MatTrasp(a).m[1], a.m[3]);
    MATXYZ copy;
    IgualarMatrices(a, &copy);
    expectMatNear(copy, a, 0);
    EXPECT_FALSE(std::isfinite(MatInv(MATXYZ{}).m[0]));  // singular: IEEE, no check
}

TEST(Vectors, SmallHelpers)
{
    const CARTXYZ s = CARTXYZ(1, 2, 3) + CARTXYZ(4, 5, 6);
    EXPECT_EQ(s.z, 9);
    EXPECT_EQ(CartResta(CARTXYZ(1, 2, 3), CARTXYZ(1, 1, 1)).y, 1);
    EXPECT_EQ(CartPromedio(CARTXYZ(1, 2, 3), CARTXYZ(3, 2, 1)).x, 2);
    EXPECT_EQ(Vnorma(CARTXYZ(3, 4, 12)), 13);
    const CARTNEP n = VCARTinvertir(CARTNEP{1, -2, 3});
    EXPECT_EQ(n.e, 2);
    EXPECT_EQ(NEP2VECT(CARTNEP{7, 8, 9}).z, 9);
    EXPECT_EQ(fnNavikor(), 42);
}

TEST(Solvers, ExactAndLeastSquares)
{
    const double a2[2][2] = {{0, 2}, {3, 1}};  // needs the row swap
    const double b2[2] = {4, 5};
    double x2[2];
    solve_2x2(a2, b2, x2);
    EXPECT_NEAR(x2[0], 1, 1e-12);
    EXPECT_NEAR(x2[1], 2, 1e-12);

    const double a3[3][3] = {{0, 1, 2}, {1, 0, 1}, {2, 1, 0}};
    const double b3[3] = {8, 4, 4};
    double x3[3];
    solve_3x3(a3, b3, x3);
    EXPECT_NEAR(x3[0], 1, 1e-12);
    EXPECT_NEAR(x3[1], 2, 1e-12);
    EXPECT_NEAR(x3[2], 3, 1e-12);

    // y = 0.5 + 2 sin h - 1 cos h sampled exactly: the fit recovers the coefficients.
    double rows[4 * 6];
    for (int i = 0; i < 6; ++i) {
        const double h = i * 1.1;
        rows[4 * i] = 1;
        rows[4 * i + 1] = std::sin(h);
        rows[4 * i + 2] = std::cos(h);
        rows[4 * i + 3] = 0.5 + 2 * std::sin(h) - std::cos(h);
    }
    double out3[3];
    least_squares_fit3(rows, 6, out3);
    EXPECT_NEAR(out3[0], 0.5, 1e-9);
    EXPECT_NEAR(out3[1], 2, 1e-9);
    EXPECT_NEAR(out3[2], -1, 1e-9);

    double rows2[3 * 3] = {1, 0, 3, 0, 1, -1, 1, 1, 2};
    double out2[2];
    least_squares_fit2(rows2, 3, out2);
    EXPECT_NEAR(out2[0], 3, 1e-9);
    EXPECT_NEAR(out2[1], -1, 1e-9);
}

TEST(AxisRecord, AnglesAndBack)
{
    Axis fresh;
    fresh.EjeaAngulo();
    EXPECT_EQ(fresh.Tilt, 0);
    EXPECT_EQ(fresh.Direction, 0);

    Axis a;
    a.Tilt = 3;
    a.Direction = 250;
    a.AnguloaEje();
    a.x *= 5;  // any length
    a.y *= 5;
    a.z *= 5;
    a.EjeaAngulo();
    EXPECT_NEAR(a.Tilt, 3, 1e-9);
    EXPECT_NEAR(a.Direction, 250, 1e-9);

    Axis down;
    down.z = -2;
    down.EjeaAngulo();
    EXPECT_EQ(down.Tilt, 180);

    const EEAxis e;
    EXPECT_EQ(e.z, 1);
    EXPECT_EQ(e.n1, 1);
}

TEST(Mountings, ConversionsAndTheirInverses)
{
    auto nav = std::make_unique<CNavikor>();
    const MATXYZ a = toMat(attitude(20, 70, 110));
    expectMatNear(nav->IMUaHOUSING(a), a, 0);  // identity until set
    EXPECT_EQ(nav->imuTilt, 0);

    nav->SetIMU2HOUSING(0.5, 30);
    nav->SetHOUSING2WELL(0.2, 200);
    expectMatNear(nav->HOUSINGaIMU(nav->IMUaHOUSING(a)), a, 1e-12);
    expectMatNear(nav->WELLaHOUSING(nav->HOUSINGaWELL(a)), a, 1e-12);
    // A vertical housing tilted 0.5 degrees: the block's axis leans 0.5 degrees.
    const POS_PARAM v = nav->IMUaHOUSINGPOS(POS_PARAM{0, 0, 0, 0});
    EXPECT_NEAR(deg(v.Devi), 0.5, 1e-9);
    // The housing tilted 0.2 degrees in the well about its horizontal axis at 200 - 90 degrees:
    // the well attitude is the housing's turned by -0.2 degrees about that axis, in its own frame.
    const POS_PARAM w = nav->HOUSINGaWELLPOS(POS_PARAM{rad(45), rad(10), rad(20), 0});
    const double f = -0.2, b = rad(200);
    const M3 well = mul(attitude(45, 10, 20), rotationBy(f * std::sin(b), -f * std::cos(b), 0));
    EXPECT_NEAR(deg(w.Devi), deg(std::acos(-well.a[2][2])), 1e-9);
    EXPECT_LT(angleDiff(deg(w.Azi), deg(std::atan2(-well.a[1][2], -well.a[0][2]))), 1e-9);
    EXPECT_LT(angleDiff(deg(w.Hstf), deg(std::atan2(-well.a[2][1], -well.a[2][0]))), 1e-9);
}

TEST(ToolfaceAdjust, TurnsHstfAndWraps)
{
    auto nav = std::make_unique<CNavikor>();
    const POS_PARAM p{rad(30), rad(100), rad(40), 0};
    const POS_PARAM q = nav->AjustePOSenPARAM(0, 180, p);
    EXPECT_NEAR(deg(q.Hstf), 220, 1e-9);  // 40 - 180 wrapped
    EXPECT_NEAR(deg(q.Devi), 30, 1e-9);
    EXPECT_NEAR(deg(q.Azi), 100, 1e-9);
    // Turning the toolface is a turn of the block about its own axis.
    const MATXYZ turned = nav->AjustePOSenMAT(0, -25, toMat(attitude(30, 100, 40)));
    expectMatNear(turned, toMat(attitude(30, 100, 65)), 1e-12);
    EXPECT_NEAR(deg(nav->ActualizaTFrelativoPOS(10.0f, p).Hstf), 30, 1e-6);
    expectMatNear(nav->ActualizaTFrelativo(-20.0f, toMat(attitude(30, 100, 40))), toMat(attitude(30, 100, 60)), 1e-6);
}

// A vertical block keeps its toolface in Tf; turning it must still turn the block.
TEST(ToolfaceAdjust, VerticalBlockTurnsToo)
{
    auto nav = std::make_unique<CNavikor>();
    const MATXYZ turned = nav->AjustePOSenMAT(180, 0, toMat(attitude(0, 0, 30)));
    expectMatNear(turned, toMat(attitude(0, 0, 210)), 1e-12);
    const MATXYZ inverted = Param2Matrix(POS_PARAM{3.1415926535898, 0, 0, rad(30)});
    const MATXYZ turnedInv = nav->AjustePOSenMAT(90, 0, inverted);
    // Turning by 90 about the (upward) hole axis of an inverted block.
    expectMatNear(turnedInv, MatxMat(inverted, Rot2Mat(-90, CARTXYZ(0, 0, 1))), 1e-12);
}
