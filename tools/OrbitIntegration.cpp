#include "tools/OrbitIntegration.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <thread>

namespace velkaris::tools {

namespace {

constexpr double TwoPi = 6.283185307179586476925;

double Wrap(double angle) {
    double a = std::fmod(angle, TwoPi);
    return a < 0 ? a + TwoPi : a;
}

// Perifocal unit vectors: P towards the perihelion, Q ninety degrees ahead
// in the direction of motion.
void PerifocalAxes(const KeplerOrbit& o, Vector3& p, Vector3& q) {
    double cn = std::cos(o.node), sn = std::sin(o.node);
    double cw = std::cos(o.perihelion), sw = std::sin(o.perihelion);
    double ci = std::cos(o.inclination), si = std::sin(o.inclination);
    p = {cn * cw - sn * sw * ci, sn * cw + cn * sw * ci, sw * si};
    q = {-cn * sw - sn * cw * ci, -sn * sw + cn * cw * ci, cw * si};
}

struct PlanetConstants {
    const char* name;
    double reciprocalMass;  // Sun's mass over the planet's
    double sampleDays;
    double semiMajorAxis;  // au
};

// Reciprocal masses of the IAU 2009 system of constants (Earth: Earth and
// Moon together). With these sample spacings eight-point Lagrange
// interpolation stays within 3e-7 au of the series' own places (the Earth's
// month around the barycentre, and short terms of the outer planets, set the
// limit): some ten thousand times less than what placing the Moon's mass at
// the Earth's centre already neglects.
constexpr PlanetConstants Planets[] = {
    {"Mercury", 6023600.0, 2, 0.387}, {"Venus", 408523.71, 4, 0.723},    {"Earth", 328900.56, 4, 1.000},
    {"Mars", 3098708.0, 8, 1.524},    {"Jupiter", 1047.3486, 32, 5.203}, {"Saturn", 3497.898, 32, 9.537},
    {"Uranus", 22902.98, 32, 19.19},  {"Neptune", 19412.24, 32, 30.07},
};

const PlanetConstants* FindPlanet(const std::string& name) {
    for (const PlanetConstants& p : Planets)
        if (name == p.name) return &p;
    return nullptr;
}

constexpr int Stencil = 8;  // interpolation points

}  // namespace

double EccentricAnomaly(double e, double meanAnomaly) {
    double m = std::remainder(meanAnomaly, TwoPi);  // -π..π
    // Near e = 1 Danby's start keeps Newton's steps from oscillating; below,
    // the second-order start is closer.
    double E = e < 0.8 ? m + e * std::sin(m) : m + (m < 0 ? -0.85 : 0.85) * e;
    for (int i = 0; i < 60; ++i) {
        double f = E - e * std::sin(E) - m;
        double step = f / (1 - e * std::cos(E));
        E -= step;
        if (std::fabs(step) <= 1e-15 * std::max(1.0, std::fabs(E))) break;
    }
    return E + (meanAnomaly - m);
}

OrbitState StateFromOrbit(const KeplerOrbit& o, double gm) {
    double E = EccentricAnomaly(o.e, o.meanAnomaly);
    double cosE = std::cos(E), sinE = std::sin(E);
    double b = o.a * std::sqrt(1 - o.e * o.e);
    double n = std::sqrt(gm / (o.a * o.a * o.a));  // radians per day
    double edot = n / (1 - o.e * cosE);
    Vector3 p, q;
    PerifocalAxes(o, p, q);
    return {p * (o.a * (cosE - o.e)) + q * (b * sinE), p * (-o.a * sinE * edot) + q * (b * cosE * edot)};
}

bool OrbitFromState(const OrbitState& s, KeplerOrbit& o, double gm) {
    double r = s.r.Length();
    double v2 = s.v.Dot(s.v);
    Vector3 h = s.r.Cross(s.v);
    double hLength = h.Length();
    double energy = v2 / 2 - gm / r;
    if (!(r > 0) || !(hLength > 0) || !(energy < 0)) return false;
    Vector3 eVector = (s.r * (v2 - gm / r) - s.v * s.r.Dot(s.v)) * (1 / gm);
    o.e = eVector.Length();
    if (!(o.e < 1)) return false;
    o.a = -gm / (2 * energy);
    double hxy = std::hypot(h.x, h.y);
    o.inclination = std::atan2(hxy, h.z);
    // In the ecliptic plane the node is undefined: it is put at 0, and the
    // arguments below are then counted from the x axis.
    o.node = hxy > 1e-15 * hLength ? Wrap(std::atan2(h.x, -h.y)) : 0.0;
    Vector3 w = h * (1 / hLength);
    Vector3 toNode{std::cos(o.node), std::sin(o.node), 0};
    Vector3 ahead = w.Cross(toNode);
    double u = std::atan2(s.r.Dot(ahead), s.r.Dot(toNode));  // argument of latitude
    o.perihelion = o.e > 0 ? Wrap(std::atan2(eVector.Dot(ahead), eVector.Dot(toNode))) : 0.0;
    double nu = u - o.perihelion;
    double E = 2 * std::atan2(std::sqrt(1 - o.e) * std::sin(nu / 2), std::sqrt(1 + o.e) * std::cos(nu / 2));
    o.meanAnomaly = Wrap(E - o.e * std::sin(E));
    return true;
}

Vector3 TwoBodyPosition(const OrbitState& state, double days, double gm) {
    KeplerOrbit orbit;
    if (!OrbitFromState(state, orbit, gm)) return state.r;
    orbit.meanAnomaly += std::sqrt(gm / (orbit.a * orbit.a * orbit.a)) * days;
    return StateFromOrbit(orbit, gm).r;
}

bool AimVelocity(OrbitState& state, const Vector3& target, double days, double gm) {
    OrbitState s = state;
    double speed = s.v.Length();
    for (int iteration = 0; iteration < 20; ++iteration) {
        Vector3 miss = TwoBodyPosition(s, days, gm) - target;
        if (miss.Length() <= 1e-13 * target.Length()) {
            if ((s.v - state.v).Length() > 0.01 * speed) return false;
            state = s;
            return true;
        }
        // The Jacobian of the place reached by the starting velocity, by
        // differences; the normal equations carry a trace of damping, because
        // half an orbit away the place hardly depends on the velocity across
        // the orbit's plane.
        double jacobian[3][3];
        double h = 1e-7 * speed;
        for (int k = 0; k < 3; ++k) {
            OrbitState nudged = s;
            (k == 0 ? nudged.v.x : k == 1 ? nudged.v.y : nudged.v.z) += h;
            Vector3 column = (TwoBodyPosition(nudged, days, gm) - target - miss) * (1 / h);
            jacobian[0][k] = column.x;
            jacobian[1][k] = column.y;
            jacobian[2][k] = column.z;
        }
        double normal[3][3], right[3], trace = 0;
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                normal[i][j] = 0;
                for (int k = 0; k < 3; ++k) normal[i][j] += jacobian[k][i] * jacobian[k][j];
            }
            trace += normal[i][i];
            right[i] = -(jacobian[0][i] * miss.x + jacobian[1][i] * miss.y + jacobian[2][i] * miss.z);
        }
        for (int i = 0; i < 3; ++i) normal[i][i] += 1e-12 * trace;
        // Cramer's rule on the symmetric 3×3 system.
        auto det = [](const double m[3][3]) {
            return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                   m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                   m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
        };
        double d = det(normal);
        if (!(std::fabs(d) > 0) || !std::isfinite(d)) return false;
        double step[3];
        for (int c = 0; c < 3; ++c) {
            double m[3][3];
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j) m[i][j] = j == c ? right[i] : normal[i][j];
            step[c] = det(m) / d;
        }
        s.v += Vector3{step[0], step[1], step[2]};
        if (!std::isfinite(s.v.x + s.v.y + s.v.z)) return false;
    }
    return false;
}

double PlanetGM(const std::string& planet) {
    const PlanetConstants* p = FindPlanet(planet);
    return p ? SunGM / p->reciprocalMass : 0.0;
}

double PlanetSampleDays(const std::string& planet) {
    const PlanetConstants* p = FindPlanet(planet);
    return p ? p->sampleDays : 1.0;
}

double PlanetSemiMajorAxis(const std::string& planet) {
    const PlanetConstants* p = FindPlanet(planet);
    return p ? p->semiMajorAxis : 0.0;
}

PerturberTable::PerturberTable(std::vector<PerturbingBody> bodies, double firstJD, double lastJD, unsigned threads)
    : bodies_(std::move(bodies)), firstJD_(std::min(firstJD, lastJD)), lastJD_(std::max(firstJD, lastJD)) {
    if (bodies_.size() > MostBodies) bodies_.resize(MostBodies);
    samples_.resize(bodies_.size());
    std::vector<std::pair<std::size_t, std::size_t>> jobs;
    for (std::size_t b = 0; b < bodies_.size(); ++b) {
        Samples& s = samples_[b];
        s.step = bodies_[b].sampleDays > 0 ? bodies_[b].sampleDays : 1.0;
        // Half a stencil beyond each end, so that the whole span reads
        // centred points.
        auto count = static_cast<std::size_t>(std::ceil((lastJD_ - firstJD_) / s.step)) + Stencil;
        s.at.resize(count);
        for (std::size_t j = 0; j < count; ++j) jobs.emplace_back(b, j);
    }
    ParallelFor(jobs.size(), threads, [&](std::size_t k) {
        auto [b, j] = jobs[k];
        Samples& s = samples_[b];
        s.at[j] = bodies_[b].place(firstJD_ + (static_cast<double>(j) - (Stencil / 2 - 1)) * s.step);
    });
}

void PerturberTable::Places(double jdTT, Vector3* places) const {
    for (std::size_t b = 0; b < bodies_.size(); ++b) {
        const Samples& s = samples_[b];
        // Sample 0 lies three steps before the span, so that sample j0 below
        // starts a stencil whose middle interval holds jd.
        double x = (jdTT - firstJD_) / s.step + (Stencil / 2 - 1);
        double j0 = std::floor(x) - (Stencil / 2 - 1);
        j0 = std::clamp(j0, 0.0, static_cast<double>(s.at.size() - Stencil));
        double u = x - j0;  // 3..4 inside the span
        // Lagrange weights on the nodes 0..7 through prefix and suffix
        // products, which stay exact when u falls on a node.
        std::array<double, Stencil> left{}, right{};
        left[0] = 1;
        for (int i = 1; i < Stencil; ++i) left[i] = left[i - 1] * (u - (i - 1));
        right[Stencil - 1] = 1;
        for (int i = Stencil - 2; i >= 0; --i) right[i] = right[i + 1] * (u - (i + 1));
        // ∏ (i − m) over m ≠ i: (−1)^(7−i) i! (7−i)!
        static constexpr double denominators[Stencil] = {-5040, 720, -240, 144, -144, 240, -720, 5040};
        Vector3 sum;
        auto base = static_cast<std::size_t>(j0);
        for (int i = 0; i < Stencil; ++i) sum += s.at[base + i] * (left[i] * right[i] / denominators[i]);
        places[b] = sum;
    }
}

Vector3 HeliocentricAcceleration(const Vector3& r, double jdTT, const PerturberTable* table) {
    double r2 = r.Dot(r);
    Vector3 a = r * (-SunGM / (r2 * std::sqrt(r2)));
    if (!table) return a;
    std::array<Vector3, PerturberTable::MostBodies> places;
    table->Places(jdTT, places.data());
    for (std::size_t b = 0; b < table->BodyCount(); ++b) {
        const Vector3& p = places[b];
        Vector3 d = p - r;
        double d2 = d.Dot(d), p2 = p.Dot(p);
        double gm = table->Body(b).gm;
        a += d * (gm / (d2 * std::sqrt(d2))) - p * (gm / (p2 * std::sqrt(p2)));
    }
    return a;
}

namespace {

// Störmer's rule over one macro step H in n substeps (Numerical Recipes'
// "stoerm"): positions from second differences, the velocity from the last
// difference. Its error runs in even powers of H/n, which the extrapolation
// removes column by column.
void Stoermer(const OrbitState& start, const Vector3& startAcceleration, double jd, double H, int n,
              const PerturberTable* table, OrbitState& end) {
    double h = H / n;
    Vector3 difference = (start.v + startAcceleration * (0.5 * h)) * h;
    Vector3 r = start.r + difference;
    for (int k = 1; k < n; ++k) {
        difference += HeliocentricAcceleration(r, jd + k * h, table) * (h * h);
        r += difference;
    }
    Vector3 last = HeliocentricAcceleration(r, jd + H, table);
    end.r = r;
    end.v = difference * (1 / h) + last * (0.5 * h);
}

}  // namespace

bool Integrate(OrbitState& state, double jd0, double jd1, const PerturberTable* table,
               const IntegrationSettings& settings, long* steps) {
    constexpr int Columns = 8;
    constexpr int Substeps[Columns] = {2, 4, 6, 8, 10, 12, 14, 16};
    constexpr int TargetColumn = 5;  // 12 substeps, twelfth order: the cheapest work per day on these orbits
    long taken = 0;
    if (steps) *steps = 0;
    if (jd1 == jd0) return true;
    double direction = jd1 > jd0 ? 1.0 : -1.0;

    OrbitState s = state;
    double jd = jd0;
    double r = s.r.Length();
    if (!(r > 0)) return false;
    // A fiftieth of the period of a circular orbit at this distance.
    double H = direction * std::min(std::fabs(jd1 - jd0), 0.02 * TwoPi * std::sqrt(r * r * r / SunGM));

    std::array<std::array<OrbitState, Columns>, Columns> T;
    while (direction * (jd1 - jd) > 0) {
        if (taken >= settings.maximumSteps) return false;
        if (direction * (jd + H - jd1) > 0) H = jd1 - jd;
        Vector3 a0 = HeliocentricAcceleration(s.r, jd, table);
        double positionScale = settings.tolerance * s.r.Length();
        double velocityScale = settings.tolerance * s.v.Length();
        int converged = -1;
        double error = 0;
        for (int k = 0; k < Columns; ++k) {
            Stoermer(s, a0, jd, H, Substeps[k], table, T[k][0]);
            for (int j = 1; j <= k; ++j) {
                double ratio = double(Substeps[k]) / Substeps[k - j];
                double factor = 1 / (ratio * ratio - 1);
                T[k][j].r = T[k][j - 1].r + (T[k][j - 1].r - T[k - 1][j - 1].r) * factor;
                T[k][j].v = T[k][j - 1].v + (T[k][j - 1].v - T[k - 1][j - 1].v) * factor;
            }
            if (k < 2) continue;
            double dr = (T[k][k].r - T[k][k - 1].r).Length() / positionScale;
            double dv = (T[k][k].v - T[k][k - 1].v).Length() / velocityScale;
            error = std::max(dr, dv);
            if (!std::isfinite(error)) break;
            if (error <= 1) {
                converged = k;
                break;
            }
        }
        if (converged < 0) {
            H *= 0.3;  // not converged (or not finite): a close encounter; shorter steps
            if (!(std::fabs(H) > 1e-9)) return false;
            continue;
        }
        s = T[converged][converged];
        jd += H;
        ++taken;
        if (!(s.r.Length() > 0) || !std::isfinite(s.r.x + s.v.x)) return false;
        // The next step: scaled by the error's order, and nudged so that
        // convergence comes near the target column.
        double exponent = 1.0 / (2 * converged + 1);
        double factor = 0.94 * std::pow(0.65 / std::max(error, 1e-30), exponent);
        if (converged < TargetColumn) factor *= 1.3;
        if (converged > TargetColumn) factor *= 0.7;
        H *= std::clamp(factor, 0.2, 4.0);
    }
    state = s;
    if (steps) *steps = taken;
    return true;
}

void ParallelFor(std::size_t count, unsigned threads, const std::function<void(std::size_t)>& job) {
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i; (i = next.fetch_add(1)) < count;) job(i);
    };
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < std::min<std::size_t>(std::max(1u, threads), count); ++t) pool.emplace_back(work);
    work();
    for (std::thread& t : pool) t.join();
}

}  // namespace velkaris::tools
