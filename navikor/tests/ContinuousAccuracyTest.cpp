// Continuous mode against the synthesised truth on noise-free data: every sample of every
// movement kind at any attitude, vertical, horizontal and inverted included; and the two
// correction walks, which must apply exactly the correction they are given.

#include "navikor/Navikor.h"
#include "navikor/tests/SyntheticSurvey.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

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
        EXPECT_LT(analyse(*nav, s), 1e-5);
    }
}

// Start attitudes all round, each followed by turns about all three axes between stations and
// after the last one. The accelerometer checks on the way must not pull the attitude off: their
// window of readings is centred on the sample and undone for the turning of the tool.
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
        s.add({2000, CARTXYZ(-0.01, 0.02, -0.68), {}});  // near the fastest unsaturated turn
        s.add({300, CARTXYZ(), {0, 180, 0}, 2});
        s.add({800, CARTXYZ(0.03, 0.01, 0.4), {}});
        const double e = analyse(*nav, s);
        EXPECT_LT(e, 1e-5);
        worst = std::max(worst, e);
    }
    char figure[32];
    std::snprintf(figure, sizeof figure, "%.3g", worst);
    testing::Test::RecordProperty("worst_error_deg", figure);
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
        EXPECT_LT(analyse(*nav, s), 1e-5);
        const int last = s.size() - 1;
        for (const int k : {0, c.head - 1, c.head + 200, c.head + 699, c.head + 700, last - c.tail + 1, last}) {
            POS_PARAM p;
            nav->WELLPOSindex(k, &p);
            const POS_PARAM truth = Matrix2Param(toMat(s.housing(k)));
            EXPECT_NEAR(deg(p.Devi), deg(truth.Devi), 1e-5) << k;
            EXPECT_LT(angleDiff(deg(p.Azi), deg(truth.Azi)), 1e-5) << k;
            EXPECT_LT(angleDiff(deg(p.Hstf), deg(truth.Hstf)), 1e-5) << k;
        }
    }
}

// The indexer turns outside a stop (the move to 0 before a station's first half is made before
// the station starts): the gyros saturate on the sample that sees it, so the turn is taken from
// the indexer angle. A lost turn would come back as the station mismatch and be spread over the
// whole movement as a toolface ramp. Forward (between stations, after the last) and backward
// (before the first), by 1.05 degrees (three counts) and by half a turn.
TEST(ContinuousAccuracy, IndexerTurnBetweenMovingSamplesIsFollowed)
{
    for (const double turn : {1.05, 180.0}) {
        SCOPED_TRACE(testing::Message() << "turn " << turn);
        auto nav = std::make_unique<CNavikor>();
        Survey s(40, attitude(30, 123.4, 40), CARTXYZ(0.04, -0.03, 0.02));
        s.add({200, CARTXYZ(), {turn, 0}});
        s.add({300, CARTXYZ(), {0, 180, 0}, 0});
        s.add({1500, CARTXYZ(0, 0, -0.3), {}});
        s.add({200, CARTXYZ(), {0, turn}});
        s.add({300, CARTXYZ(), {turn, 180 + turn, turn}, 0});
        s.add({200, CARTXYZ(), {turn, 0}});
        s.load(*nav);
        // What a gyro reads while the indexer turns: the converter's end of range.
        auto& samples = s.samples();
        for (size_t k = 1; k < samples.size(); ++k)
            if (samples[k].rotpos != samples[k - 1].rotpos)
                samples[k].ag.gyro = CARTXYZ(8388, -8388, 8388);
        ASSERT_EQ(nav->ProcesarTABLA(), 0);
        ASSERT_EQ(nav->ProcesarMC(), 0);
        EXPECT_LT(s.worstError(0, s.size() - 1), 1e-5);
        EXPECT_LT(nav->movementTable[1].attitudeError, 1e-5);
        EXPECT_TRUE(nav->movementTable[1].saturated) << "the turn is still recorded as a saturation";
    }
}

namespace {

// Stored attitudes for the correction walks, with the given samples flagged in a stop.
struct WalkFixture {
    std::vector<MUESTRA> samples;
    std::vector<MATXYZ> before, attitudes;

    WalkFixture(const std::vector<double>& inclinations, const std::vector<int>& stops)
        : samples(inclinations.size())
    {
        for (size_t k = 0; k < inclinations.size(); ++k) {
            samples[k].time = 0.1 * static_cast<double>(k);
            before.push_back(toMat(attitude(inclinations[k], 40 + 0.01 * k, 300)));
        }
        const unsigned char flag = 1;  // the in-stop flag is the first byte
        for (const int k : stops)
            std::memcpy(&samples[k].inStop, &flag, 1);
        attitudes = before;
    }

    void attach(CNavikor& nav)
    {
        nav.sampleTable = samples.data();
        nav.sampleCount = static_cast<long>(samples.size());
        nav.attitudeTable = attitudes.data();
    }

    // Angle of the correction applied at sample k (degrees), and how far it is from the whole
    // correction c applied on the earth side.
    double applied(int k) const { return angleBetween(before[k], attitudes[k]); }
    double offWhole(int k, const CARTXYZ& c) const
    {
        return angleBetween(toMat(mul(rotationBy(c.x, c.y, c.z), fromMat(before[k]))), attitudes[k]);
    }
};

} // namespace

// The accelerometer correction walk ends with exactly the correction, whether or not the
// count of moving samples is a multiple of its step, in either direction, over stop samples.
TEST(CorrectionWalks, AccelerometerWalkAppliesExactlyTheCorrection)
{
    struct Case {
        double size;
        int moving;
        double step;
        bool endsInStops;
    };
    for (const Case c : {Case{0.1, 10, 0.035, false}, Case{0.1, 10, 0.02, false}, Case{0.1, 12, 0.035, false},
                         Case{0.3, 7, 0.02, false}, Case{0.01, 10, 0.02, false}, Case{0.1, 10, 0.035, true},
                         Case{0.25, 301, 0.02, true}}) {
        for (const bool backward : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.size << " over " << c.moving << " by " << c.step
                                            << (backward ? " backward" : " forward"));
            const int n = c.moving + (c.endsInStops ? 2 : 0);
            std::vector<int> stops;
            if (c.endsInStops)
                stops = {0, n - 1};
            WalkFixture f(std::vector<double>(n, 30), stops);
            auto nav = std::make_unique<CNavikor>();
            f.attach(*nav);
            const CARTXYZ corr(0.6 * c.size, -0.8 * c.size, 0);
            const int from = backward ? n - 1 : 0, to = backward ? 0 : n - 1;
            nav->AplicarCorreccion(from, to, corr, c.step);
            EXPECT_LT(f.offWhole(to, corr), 1e-9);
            double previous = 0;
            for (int i = 0; i < n; ++i) {
                const int k = backward ? n - 1 - i : i;
                EXPECT_GE(f.applied(k), previous - 1e-12) << k;
                EXPECT_LE(f.applied(k), c.size + 1e-9) << k;
                previous = f.applied(k);
            }
        }
    }
}

// The station-matching spread puts the whole correction in place by the station, shared out in
// proportion to the weights 1 / sin(inclination): near-vertical samples take more.
TEST(CorrectionWalks, StationMatchSpreadsTheWholeCorrectionByWeight)
{
    struct Case {
        const char* name;
        std::vector<double> inclinations;
    };
    std::vector<double> even(200, 10), fewNearVertical(200, 10), verticalFirst(200, 10), verticalLast(200, 10);
    for (const int k : {50, 51, 120})
        fewNearVertical[k] = 0.05;
    verticalFirst[0] = verticalFirst[1] = 0.05;
    verticalLast[198] = 0.05;
    const double step = 0.05;
    for (const Case& c : {Case{"even", even}, Case{"few near vertical", fewNearVertical},
                          Case{"vertical first", verticalFirst}, Case{"vertical last", verticalLast}}) {
        for (const double size : {0.07, 0.2, 1.0}) {
            SCOPED_TRACE(testing::Message() << c.name << ", " << size << " degrees");
            std::vector<double> inc = c.inclinations;
            inc.push_back(inc.back());  // the station sample the spread ends on
            const int station = static_cast<int>(inc.size()) - 1;
            WalkFixture f(inc, {station});
            auto nav = std::make_unique<CNavikor>();
            f.attach(*nav);
            const CARTXYZ corr(0, 0.6 * size, -0.8 * size);
            nav->AplicarCorreccionACI(0, station, corr, step);
            EXPECT_LT(f.offWhole(station - 1, corr), 1e-9);
            EXPECT_LT(f.offWhole(station, corr), 1e-9);
            double total = 0;
            for (int k = 0; k < station; ++k)
                total += 1 / std::sin(rad(inc[k]));
            const double increment = size / std::floor(size / step + 0.5);
            double share = 0;
            for (int k = 0; k < station; ++k) {
                share += 1 / std::sin(rad(inc[k])) / total;
                EXPECT_LE(std::fabs(f.applied(k) - size * share), increment + 1e-9) << k;
            }
        }
    }
}
