#pragma once

// A continuous survey synthesised from a housing trajectory (see Synthetic.h for the sensors).

#include "navikor/Navikor.h"
#include "navikor/tests/Synthetic.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace synth {

// Angle in degrees between two attitudes, from their distance alone (no library conversion):
// |A - B| (Frobenius) = 2 sqrt(2) sin(angle / 2) for two rotations. NaN stays NaN.
inline double angleBetween(const MATXYZ& a, const MATXYZ& b)
{
    double s = 0;
    for (int i = 0; i < 9; ++i)
        s += (a.m[i] - b.m[i]) * (a.m[i] - b.m[i]);
    const double half = std::sqrt(s) / (2 * std::sqrt(2.0));
    return half >= 1 ? 180 : deg(2 * std::asin(half));
}

// A survey built from a housing trajectory: stretches where the tool stands (optionally with
// indexer turns) and stretches where it turns at a constant body rate. The sensors read
// gravity and the earth's rotation (plus the body rate) at each sample's attitude, and the
// gyros carry a constant bias that the stations report.
class Survey {
public:
    struct Stretch {
        int samples;
        CARTXYZ rate;                // body rate, degrees per second (zero: standing)
        std::vector<double> rotpos;  // indexer pattern over the stretch, repeated evenly
        int stationKind = -1;        // >= 0: the stretch is a station of this kind
    };

    Survey(double latitude, const M3& start, const CARTXYZ& bias, double dt = 0.1)
        : lat_(latitude), bias_(bias), dt_(dt), h_(start)
    {
    }

    void add(const Stretch& s)
    {
        const int first = static_cast<int>(housing_.size());
        for (int i = 0; i < s.samples; ++i) {
            housing_.push_back(h_);
            rate_.push_back(s.rate);
            rot_.push_back(s.rotpos.empty() ? 0 : s.rotpos[i * s.rotpos.size() / s.samples]);
            h_ = mul(h_, rotationBy(s.rate.x * dt_, s.rate.y * dt_, s.rate.z * dt_));
        }
        if (s.stationKind >= 0)
            stations_.push_back({first, first + s.samples - 1, s.stationKind});
    }

    M3 imu(int k) const { return mul(housing_[k], indexerTurn(rot_[k])); }

    // Fills the navigator's tables and stations, as the continuous-mode analysis does.
    void load(CNavikor& nav, Lcg* noise = nullptr, double acelSigma = 0)
    {
        const int n = static_cast<int>(housing_.size());
        samples_.assign(n, MUESTRA{});
        attitudes_.assign(n, MATXYZ{});
        for (int k = 0; k < n; ++k) {
            MUESTRA& s = samples_[k];
            s.time = 1000 + k * dt_;
            s.rotpos = rot_[k];
            s.depth = 100 + 0.01 * k;
            const CARTXYZ g = gravityIn(imu(k));
            s.ag.acel = g;
            if (noise)
                s.ag.acel = CARTXYZ(g.x + acelSigma * noise->gauss(), g.y + acelSigma * noise->gauss(),
                                    g.z + acelSigma * noise->gauss());
            const CARTXYZ& r = rate_[k];
            const M3 mid = mul(mul(housing_[k], rotationBy(r.x * dt_ / 2, r.y * dt_ / 2, r.z * dt_ / 2)), indexerTurn(rot_[k]));
            const CARTXYZ e = earthRateIn(mid, lat_);
            s.ag.gyro = CARTXYZ(r.x * 3600 + e.x + bias_.x, r.y * 3600 + e.y + bias_.y, r.z * 3600 + e.z + bias_.z);
            s.ag.gyroTemp = s.ag.acelTemp = CARTXYZ(50, 50, 50);
        }
        nav.SetLatitud(lat_);
        nav.CalcularMatrices();
        nav.sampleTable = samples_.data();
        nav.sampleCount = n;
        nav.attitudeTable = attitudes_.data();
        nav.stopCount = 0;
        for (const Station& st : stations_) {
            ESTACIONout out;
            out.attitude = Matrix2Param(toMat(housing_[st.first]));
            out.bias = bias_;
            out.quality = 100;
            nav.AgregarParada(out, st.kind, ESTACIONin{}, ESTACIONin{}, samples_[st.first].time,
                              samples_[st.last].time, 0);
        }
    }

    // Worst angle between stored and true IMU attitudes over samples from..to; NaN if any is.
    double worstError(int from, int to) const
    {
        double worst = 0;
        for (int k = from; k <= to; ++k) {
            const double e = angleBetween(attitudes_[k], toMat(imu(k)));
            if (std::isnan(e))
                return e;
            worst = std::max(worst, e);
        }
        return worst;
    }

    int size() const { return static_cast<int>(housing_.size()); }
    const M3& housing(int k) const { return housing_[k]; }
    std::vector<MUESTRA>& samples() { return samples_; }

private:
    struct Station {
        int first, last, kind;
    };
    double lat_;
    CARTXYZ bias_;
    double dt_;
    M3 h_;
    std::vector<M3> housing_;
    std::vector<CARTXYZ> rate_;
    std::vector<double> rot_;
    std::vector<Station> stations_;
    std::vector<MUESTRA> samples_;
    std::vector<MATXYZ> attitudes_;
};

} // namespace synth
