// Navikor: one north-seeking station at the resolution KVR uses, and continuous-mode
// processing of a long survey. Heap use inside the timed calls is counted and reported.

#include "navikor/Navikor.h"
#include "navikor/tests/Synthetic.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

namespace {

std::atomic<long long> g_allocated{0};

} // namespace

// Counting replacements of the global allocation functions (malloc-backed on both sides).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t n)
{
    g_allocated += static_cast<long long>(n);
    if (void* p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

using namespace synth;

namespace {

ESTACIONin stationPosition(double inc, double az, double hstf, double lat, double rotpos)
{
    const M3 m = attitude(inc, az, hstf + rotpos);
    ESTACIONin s;
    s.acel = gravityIn(m);
    s.gyro = earthRateIn(m, lat) + CARTXYZ(1.2, -0.8, 0.5);
    s.gyroNoise = CARTXYZ(0.02, 0.02, 0.02);
    s.rotpos = rotpos;
    return s;
}

void BM_ProcesarEstacion(benchmark::State& state)
{
    auto nav = std::make_unique<CNavikor>();
    nav->SetLatitud(-31.5);
    nav->CalcularMatrices();
    const ESTACIONin s0 = stationPosition(32, 123.45, 60, -31.5, 0);
    const ESTACIONin s1 = stationPosition(32, 123.45, 60, -31.5, 180);
    for (auto _ : state)
        benchmark::DoNotOptimize(nav->ProcesarEstacion(s0, s1, 100));
    const long long before = g_allocated;
    benchmark::DoNotOptimize(nav->ProcesarEstacion(s0, s1, 100));
    state.counters["heap_bytes_per_call"] = static_cast<double>(g_allocated - before);
}
BENCHMARK(BM_ProcesarEstacion)->Unit(benchmark::kMillisecond);

// A survey of one million samples at 100 per second: five two-position stations 30 s long,
// moving stretches between them turning slowly, accelerometer noise of 1e-4 g per sample.
struct LongSurvey {
    static constexpr int kSamples = 1000000, kStation = 3000, kStations = 5;
    std::vector<MUESTRA> samples;
    std::vector<MATXYZ> attitudes;
    std::vector<ESTACIONout> results;
    std::vector<std::pair<int, int>> spans;

    LongSurvey() : samples(kSamples), attitudes(kSamples)
    {
        const double dt = 0.01, lat = -31.5;
        const int moving = (kSamples - kStations * kStation) / (kStations - 1);
        M3 h = attitude(20, 100, 50);
        Lcg noise;
        int k = 0;
        for (int st = 0; st < kStations && k < kSamples; ++st) {
            ESTACIONout out;
            out.attitude = Matrix2Param(toMat(h));
            out.bias = CARTXYZ(1.2, -0.8, 0.5);
            results.push_back(out);
            spans.push_back({k, k + kStation - 1});
            const int end = st + 1 < kStations ? k + kStation + moving : kSamples;
            for (; k < end && k < kSamples; ++k) {
                const bool still = k < spans.back().second + 1;
                const CARTXYZ rate = still ? CARTXYZ() : CARTXYZ(0.01 * ((st % 2) ? 1 : -1), 0.005, 0.2);
                MUESTRA& s = samples[k];
                s.time = k * dt;
                const CARTXYZ g = gravityIn(h);
                s.ag.acel = CARTXYZ(g.x + 1e-4 * noise.gauss(), g.y + 1e-4 * noise.gauss(), g.z + 1e-4 * noise.gauss());
                const CARTXYZ e = earthRateIn(h, lat);
                s.ag.gyro = CARTXYZ(rate.x * 3600 + e.x + 1.2, rate.y * 3600 + e.y - 0.8, rate.z * 3600 + e.z + 0.5);
                s.ag.acelTemp = s.ag.gyroTemp = CARTXYZ(60, 60, 60);
                h = mul(h, rotationBy(rate.x * dt, rate.y * dt, rate.z * dt));
            }
        }
    }

    void load(CNavikor& nav)
    {
        nav.SetLatitud(-31.5);
        nav.CalcularMatrices();
        nav.sampleTable = samples.data();
        nav.sampleCount = kSamples;
        nav.attitudeTable = attitudes.data();
        nav.stopCount = 0;
        for (size_t i = 0; i < results.size(); ++i)
            nav.AgregarParada(results[i], 0, ESTACIONin{}, ESTACIONin{}, samples[spans[i].first].time,
                              samples[spans[i].second].time, 0);
    }
};

void runContinuous(benchmark::State& state, int acelThreshold)
{
    static LongSurvey survey;
    auto nav = std::make_unique<CNavikor>();
    survey.load(*nav);
    nav->acelThreshold = acelThreshold;
    for (auto _ : state) {
        nav->ProcesarTABLA();
        nav->ProcesarMC();
        benchmark::DoNotOptimize(survey.attitudes.data());
    }
    state.SetItemsProcessed(state.iterations() * LongSurvey::kSamples);
    const long long before = g_allocated;
    nav->ProcesarTABLA();
    nav->ProcesarMC();
    state.counters["heap_bytes_per_run"] = static_cast<double>(g_allocated - before);
    state.counters["movements"] = nav->movementCount;
    int corrections = 0;
    for (int i = 0; i < nav->movementCount; ++i)
        corrections += nav->movementTable[i].acelCorrections;
    state.counters["acel_corrections"] = corrections;
}

// The ordinary case: a check corrects only where the readings disagree beyond their noise.
void BM_ContinuousMode(benchmark::State& state) { runContinuous(state, 1); }
BENCHMARK(BM_ContinuousMode)->Unit(benchmark::kMillisecond);

// The worst case: with no noise allowance every accelerometer check corrects (a heading search
// and a walk back over the stretch since the last correction at every cadence).
void BM_ContinuousModeCorrectingEveryCheck(benchmark::State& state) { runContinuous(state, 0); }
BENCHMARK(BM_ContinuousModeCorrectingEveryCheck)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
