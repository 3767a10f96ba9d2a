// Continuous mode against the synthesised truth on noise-free data: every sample of every
// movement kind at any attitude, vertical, horizontal and inverted included.

#include "navikor/Navikor.h"
#include "navikor/tests/SyntheticSurvey.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

using namespace synth;

namespace {

bool finite(const POS_PARAM& p)
{
    return std::isfinite(p.Devi) && std::isfinite(p.Azi) && std::isfinite(p.Hstf) && std::isfinite(p.Tf);
}

// Runs the analysis and checks that every sample's well attitude is finite; returns the worst
// angle between stored and true attitudes.
double analyse(CNavikor& nav, Survey& s)
{
    s.load(nav);
    EXPECT_EQ(nav.ProcesarTABLA(), 0);
    EXPECT_EQ(nav.ProcesarMC(), 0);
    int notFinite = 0;
    for (int k = 0; k < s.size(); ++k) {
        POS_PARAM p;
        nav.WELLPOSindex(k, &p);
        notFinite += finite(p) ? 0 : 1;
    }
    EXPECT_EQ(notFinite, 0);
    return s.worstError(0, s.size() - 1);
}

} // namespace

// Straight down (or within a hair of it) while the tool turns about its own axis: the third
// row of the integrated matrix then sits at or a rounding past -1.
TEST(ContinuousAccuracy, VerticalSurveyTurningAboutTheToolAxis)
{
    for (const double inc : {0.0, deg(1e-8), deg(1e-6), 0.01}) {
        SCOPED_TRACE(testing::Message() << "inclination " << inc);
        auto nav = std::make_unique<CNavikor>();
        Survey s(-31.5, attitude(inc, 35, 10), CARTXYZ(2, -1, 3));
        s.add({300, CARTXYZ(), {}, 0});
        s.add({6000, CARTXYZ(0, 0, 0.6), {}});  // 360 degrees about the tool axis
        s.add({300, CARTXYZ(), {}, 0});
        s.add({1000, CARTXYZ(0, 0, -0.5), {}});
        EXPECT_LT(analyse(*nav, s), 0.001);
    }
}

// Start attitudes all round, each followed by turns about all three axes between stations and
// after the last one.
TEST(ContinuousAccuracy, AnyAttitudeAgreesWithTheTruth)
{
    struct Case {
        double inc, az, tf;
    };
    double worst = 0;
    for (const Case c : {Case{0, 0, 0}, Case{deg(1e-8), 120, 40}, Case{3, 90, 270}, Case{30, 180, 90},
                         Case{60, 270, 180}, Case{90, 0, 0}, Case{90, 90, 300}, Case{120, 45, 135},
                         Case{179.99, 300, 20}, Case{180, 0, 60}}) {
        SCOPED_TRACE(testing::Message() << "inc " << c.inc << " az " << c.az << " tf " << c.tf);
        auto nav = std::make_unique<CNavikor>();
        Survey s(40, attitude(c.inc, c.az, c.tf), CARTXYZ(-1, 2, 0.5));
        s.add({200, CARTXYZ(0.02, -0.03, 0.5), {}});
        s.add({300, CARTXYZ(), {0, 180, 0}, 0});
        s.add({2000, CARTXYZ(-0.01, 0.02, -0.6), {}});
        s.add({300, CARTXYZ(), {0, 180, 0}, 2});
        s.add({800, CARTXYZ(0.03, 0.01, 0.4), {}});
        const double e = analyse(*nav, s);
        EXPECT_LT(e, 0.01);
        worst = std::max(worst, e);
    }
    testing::Test::RecordProperty("worst_error_deg", std::to_string(worst));
}

// The first and last samples of each movement kind: before the first station (walked
// backward to sample 0), between stations and after the last (forward to the last sample),
// down to movements of one or two samples.
TEST(ContinuousAccuracy, EveryMovementKindEndsOnTheTruth)
{
    struct Case {
        int head, tail;
    };
    for (const Case c : {Case{1, 1}, Case{1, 2}, Case{2, 3}, Case{40, 40}}) {
        SCOPED_TRACE(testing::Message() << "head " << c.head << " tail " << c.tail);
        auto nav = std::make_unique<CNavikor>();
        Survey s(-20, attitude(25, 300, 80), CARTXYZ(1, 1, -2));
        s.add({c.head, CARTXYZ(0.1, -0.05, 0.4), {}});
        s.add({200, CARTXYZ(), {0, 90, 0}, 0});
        s.add({500, CARTXYZ(0.05, 0.02, -0.6), {}});
        s.add({200, CARTXYZ(), {0, 90, 0}, 0});
        s.add({c.tail, CARTXYZ(-0.1, 0.05, 0.5), {}});
        EXPECT_LT(analyse(*nav, s), 0.001);
        const int last = s.size() - 1;
        for (const int k : {0, c.head - 1, c.head + 200, c.head + 699, c.head + 700, last - c.tail + 1, last}) {
            POS_PARAM p;
            nav->WELLPOSindex(k, &p);
            const POS_PARAM truth = Matrix2Param(toMat(s.housing(k)));
            EXPECT_NEAR(deg(p.Devi), deg(truth.Devi), 0.001) << k;
            EXPECT_LT(angleDiff(deg(p.Azi), deg(truth.Azi)), 0.001) << k;
            EXPECT_LT(angleDiff(deg(p.Hstf), deg(truth.Hstf)), 0.001) << k;
        }
    }
}
