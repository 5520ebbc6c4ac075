// The orbit integrator of the minor-planet converter: two-body motion when no
// planet pulls, the integrals that must hold when one does, and the real
// perturbations between two catalogues' elements of the first four minor
// planets.
#include <cmath>

#include "TestSupport.h"
#include "tools/OrbitIntegration.h"

using namespace velkaris::tools;

namespace {

constexpr double TwoPi = 2 * 3.14159265358979323846;
constexpr double Deg = TwoPi / 360.0;
constexpr double Arcsecond = Deg / 3600.0;

double AngleBetween(const Vector3& a, const Vector3& b) { return std::atan2(a.Cross(b).Length(), a.Dot(b)); }

struct NamedOrbit {
    const char* name;
    KeplerOrbit orbit;  // angles in degrees here, converted by Radians()
};

KeplerOrbit Radians(KeplerOrbit o) {
    o.inclination *= Deg;
    o.node *= Deg;
    o.perihelion *= Deg;
    o.meanAnomaly *= Deg;
    return o;
}

// Orbits that exercise the steps: a main-belt orbit, a near-Earth orbit, a
// Sun-grazer (perihelion 0.14 au), a long comet-like ellipse of e = 0.994
// (perihelion 0.18 au), a Kuiper-belt orbit, a circle in the ecliptic and a
// retrograde orbit.
const NamedOrbit Orbits[] = {
    {"main belt", {2.7666, 0.0786, 10.59, 80.27, 73.53, 334.33}},
    {"near-Earth", {1.458, 0.2227, 10.83, 304.3, 178.9, 110.8}},
    {"Sun-grazer", {1.271, 0.89, 22.2, 265.2, 322.2, 10.0}},
    {"long ellipse", {30.0, 0.994, 40.0, 10.0, 20.0, 350.0}},
    {"Kuiper belt", {43.1, 0.05, 28.2, 120.0, 200.0, 30.0}},
    {"ecliptic circle", {2.0, 0.0, 0.0, 0.0, 0.0, 57.3}},
    {"retrograde", {5.0, 0.3, 170.0, 20.0, 30.0, 171.9}},
};

double Energy(const OrbitState& s) { return s.v.Dot(s.v) / 2 - SunGM / s.r.Length(); }

// Standish's mean orbital elements of the planets (J2000 ecliptic, valid
// 1800-2050; JPL, "Keplerian Elements for Approximate Positions of the Major
// Planets"): a, e, I, mean longitude L, longitude of perihelion, node, and
// their rates per Julian century. A few arcminutes from the true places, which
// changes the pulls they exert by a few parts in ten thousand.
struct MeanPlanet {
    const char* name;
    double elements[6], rates[6];
};

const MeanPlanet MeanPlanets[] = {
    {"Mercury",
     {0.38709927, 0.20563593, 7.00497902, 252.25032350, 77.45779628, 48.33076593},
     {0.00000037, 0.00001906, -0.00594749, 149472.67411175, 0.16047689, -0.12534081}},
    {"Venus",
     {0.72333566, 0.00677672, 3.39467605, 181.97909950, 131.60246718, 76.67984255},
     {0.00000390, -0.00004107, -0.00078890, 58517.81538729, 0.00268329, -0.27769418}},
    {"Earth",
     {1.00000261, 0.01671123, -0.00001531, 100.46457166, 102.93768193, 0.0},
     {0.00000562, -0.00004392, -0.01294668, 35999.37244981, 0.32327364, 0.0}},
    {"Mars",
     {1.52371034, 0.09339410, 1.84969142, -4.55343205, -23.94362959, 49.55953891},
     {0.00001847, 0.00007882, -0.00813131, 19140.30268499, 0.44441088, -0.29257343}},
    {"Jupiter",
     {5.20288700, 0.04838624, 1.30439695, 34.39644051, 14.72847983, 100.47390909},
     {-0.00011607, -0.00013253, -0.00183714, 3034.74612775, 0.21252668, 0.20469106}},
    {"Saturn",
     {9.53667594, 0.05386179, 2.48599187, 49.95424423, 92.59887831, 113.66242448},
     {-0.00125060, -0.00050991, 0.00193609, 1222.49362201, -0.41897216, -0.28867794}},
    {"Uranus",
     {19.18916464, 0.04725744, 0.77263783, 313.23810451, 170.95427630, 74.01692503},
     {-0.00196176, -0.00004397, -0.00242939, 428.48202785, 0.40805281, 0.04240589}},
    {"Neptune",
     {30.06992276, 0.00859048, 1.77004347, -55.12002969, 44.96476227, 131.78422574},
     {0.00026291, 0.00005105, 0.00035372, 218.45945325, -0.32241464, -0.00508664}},
};

PerturbingBody MeanPlanetBody(const MeanPlanet& m) {
    return {m.name, PlanetGM(m.name), PlanetSampleDays(m.name), [&m](double jd) {
                double t = (jd - 2451545.0) / 36525.0;
                double e[6];
                for (int i = 0; i < 6; ++i) e[i] = m.elements[i] + m.rates[i] * t;
                KeplerOrbit o{e[0], e[1], e[2] * Deg, e[5] * Deg, (e[4] - e[5]) * Deg, (e[3] - e[4]) * Deg};
                return StateFromOrbit(o).r;
            }};
}

}  // namespace

TEST(OrbitIntegration, WithoutPlanetsTheOrbitStaysTheTwoBodyEllipse) {
    const double tenYears = 3652.5;
    for (const NamedOrbit& c : Orbits) {
        KeplerOrbit orbit = Radians(c.orbit);
        double n = std::sqrt(SunGM / (orbit.a * orbit.a * orbit.a));
        OrbitState start = StateFromOrbit(orbit);
        Vector3 momentum = start.r.Cross(start.v);
        for (double span : {tenYears, -tenYears}) {
            OrbitState s = start;
            long steps = 0;
            ASSERT_TRUE(Integrate(s, 2459800.5, 2459800.5 + span, nullptr, {}, &steps)) << c.name;
            EXPECT_GT(steps, 1) << c.name;
            KeplerOrbit later = orbit;
            later.meanAnomaly += n * span;
            OrbitState expected = StateFromOrbit(later);
            EXPECT_LT(AngleBetween(s.r, expected.r), 0.1 * Arcsecond) << c.name << " over " << span << " days";
            EXPECT_NEAR(s.r.Length(), expected.r.Length(), 1e-8 * orbit.a) << c.name;
            // Energy and angular momentum are integrals of the motion (the
            // energy of the long ellipse is a difference of numbers 300 times
            // its size, hence the looser bound).
            EXPECT_NEAR(Energy(s), Energy(start), 1e-9 * std::fabs(Energy(start))) << c.name;
            EXPECT_LT((s.r.Cross(s.v) - momentum).Length(), 1e-10 * momentum.Length()) << c.name;
        }
    }
}

TEST(OrbitIntegration, StatesAndElementsConvertBothWays) {
    for (const NamedOrbit& c : Orbits) {
        KeplerOrbit orbit = Radians(c.orbit);
        OrbitState s = StateFromOrbit(orbit);
        KeplerOrbit back;
        ASSERT_TRUE(OrbitFromState(s, back)) << c.name;
        OrbitState again = StateFromOrbit(back);
        EXPECT_LT((again.r - s.r).Length(), 1e-12 * orbit.a) << c.name;
        EXPECT_LT((again.v - s.v).Length(), 1e-12 * s.v.Length()) << c.name;
        EXPECT_NEAR(back.a, orbit.a, 1e-12 * orbit.a) << c.name;
        EXPECT_NEAR(back.e, orbit.e, 1e-12) << c.name;
        EXPECT_NEAR(back.inclination, orbit.inclination, 1e-12) << c.name;
        // Angles the orbit defines come back; in the ecliptic the node is 0,
        // and on a circle the perihelion and the mean anomaly share one sum.
        if (orbit.inclination > 0) {
            EXPECT_NEAR(std::remainder(back.node - orbit.node, TwoPi), 0, 1e-12) << c.name;
        } else {
            EXPECT_EQ(back.node, 0.0) << c.name;
        }
        double along = back.perihelion + back.meanAnomaly - orbit.perihelion - orbit.meanAnomaly;
        EXPECT_NEAR(std::remainder(along, TwoPi), 0, 1e-9) << c.name;
        if (orbit.e > 0) {
            EXPECT_NEAR(std::remainder(back.perihelion - orbit.perihelion, TwoPi), 0, 1e-9) << c.name;
        }
    }
    // States that no ellipse holds.
    KeplerOrbit o;
    OrbitState escaping{{1, 0, 0}, {0, std::sqrt(2 * SunGM) * 1.01, 0}};
    EXPECT_FALSE(OrbitFromState(escaping, o));
    OrbitState radial{{1, 0, 0}, {0.01, 0, 0}};
    EXPECT_FALSE(OrbitFromState(radial, o));
    EXPECT_FALSE(OrbitFromState(OrbitState{}, o));
}

// The ellipse through two places: from a velocity a little off, the aim
// finds the one that reaches the place a year ahead. Half an orbit ahead the
// place does not depend on the velocity across the plane: it is still reached.
TEST(OrbitIntegration, AimedVelocityReachesTheSecondPlace) {
    const NamedOrbit halfOrbit{
        "half an orbit in a year",
        {std::cbrt(4.0 * 365.25 * 365.25 * SunGM / (TwoPi * TwoPi)), 0.05, 12.0, 30.0, 40.0, 50.0}};
    std::vector<NamedOrbit> cases(std::begin(Orbits), std::end(Orbits));
    cases.push_back(halfOrbit);
    for (const NamedOrbit& c : cases) {
        for (double days : {365.25, -365.25}) {
            OrbitState start = StateFromOrbit(Radians(c.orbit));
            OrbitState truth = start;
            truth.v += Vector3{2e-4, -1e-4, 1.5e-4} * start.v.Length();
            Vector3 target = TwoBodyPosition(truth, days);
            OrbitState aimed = start;
            ASSERT_TRUE(AimVelocity(aimed, target, days)) << c.name;
            EXPECT_EQ((aimed.r - start.r).Length(), 0.0) << c.name;
            EXPECT_LT((TwoBodyPosition(aimed, days) - target).Length(), 1e-12 * target.Length()) << c.name;
            if (&c != &cases.back()) {
                EXPECT_LT((aimed.v - truth.v).Length(), 1e-7 * truth.v.Length()) << c.name;
            }
        }
    }
    // A place no nearby ellipse reaches: refused, the state kept.
    OrbitState start = StateFromOrbit(Radians(Orbits[0].orbit));
    OrbitState aimed = start;
    EXPECT_FALSE(AimVelocity(aimed, TwoBodyPosition(start, 365.25) * 1.3, 365.25));
    EXPECT_EQ((aimed.v - start.v).Length(), 0.0);
}

// With Jupiter on a circular orbit the Jacobi integral, energy minus the
// orbital rate times the angular momentum in the barycentric frame, is the
// one quantity the pull leaves unchanged. It holds only when both the direct
// pull and the Sun's reflex (the indirect term) are right.
TEST(OrbitIntegration, CircularJupiterKeepsTheJacobiIntegral) {
    const double aJ = 5.2026;
    const double gmJ = PlanetGM("Jupiter");
    const double rate = std::sqrt((SunGM + gmJ) / (aJ * aJ * aJ));
    auto jupiter = [&](double jd) {
        double angle = rate * (jd - 2451545.0);
        return Vector3{aJ * std::cos(angle), aJ * std::sin(angle), 0};
    };
    auto jupiterVelocity = [&](double jd) {
        double angle = rate * (jd - 2451545.0);
        return Vector3{-aJ * rate * std::sin(angle), aJ * rate * std::cos(angle), 0};
    };
    const double t0 = 2451545.0, t1 = t0 + 3652.5;
    PerturberTable table({{"Jupiter", gmJ, PlanetSampleDays("Jupiter"), jupiter}}, t0, t1);
    double share = gmJ / (SunGM + gmJ);
    auto jacobi = [&](const OrbitState& s, double jd) {
        Vector3 rJ = jupiter(jd);
        Vector3 r = s.r - rJ * share, v = s.v - jupiterVelocity(jd) * share;  // barycentric
        double energy = v.Dot(v) / 2 - SunGM / s.r.Length() - gmJ / (s.r - rJ).Length();
        return energy - rate * r.Cross(v).z;
    };
    // A main-belt orbit, a Hilda in 3:2 resonance and a Jupiter-family
    // comet that passes 0.3 au from the planet.
    const NamedOrbit cases[] = {
        {"main belt", {2.7666, 0.0786, 10.59, 80.27, 73.53, 334.33}},
        {"Hilda", {3.97, 0.17, 8.0, 230.0, 40.0, 100.0}},
        {"Jupiter-family comet", {3.5, 0.55, 3.0, 0.0, 180.0, 140.0}},
    };
    for (const NamedOrbit& c : cases) {
        OrbitState s = StateFromOrbit(Radians(c.orbit));
        OrbitState twoBody = s;
        double c0 = jacobi(s, t0);
        double e0 = Energy(s);
        ASSERT_TRUE(Integrate(s, t0, t1, &table)) << c.name;
        ASSERT_TRUE(Integrate(twoBody, t0, t1, nullptr)) << c.name;
        EXPECT_NEAR(jacobi(s, t1), c0, 1e-11 * std::fabs(c0)) << c.name;
        // ...while the pull does change the heliocentric orbit.
        EXPECT_GT(std::fabs(Energy(s) - e0), 1e-5 * std::fabs(e0)) << c.name;
        EXPECT_GT(AngleBetween(s.r, twoBody.r), 60 * Arcsecond) << c.name;
    }
}

// Two catalogues give osculating elements of the same minor planets at two
// epochs: Stellarium's at JD 2457400.5 (2014-12-09 for Vesta), KStars' JPL
// elements at MJD 59800. Between them two-body motion loses arcminutes; the
// planets' pull, even with the planets on mean orbits, must carry one set
// onto the other.
TEST(OrbitIntegration, PlanetsCarryOneCatalogueEpochOntoTheNext) {
    struct Pair {
        const char* name;
        double epoch;
        KeplerOrbit earlier, later;
        double jupiterOnly;  // largest miss with Jupiter's pull alone, arcseconds
    };
    const Pair pairs[] = {
        {"Ceres",
         2457400.5,
         {2.7681117, 0.0757544, 10.59166, 80.3218, 72.73324, 181.38133},
         {2.766619044655007, .07863575691875528, 10.58679512153367, 80.2664361119415, 73.53162522557164,
          334.3271698971151},
         150},
        {"Pallas",
         2457400.5,
         {2.7723622, 0.2310236, 34.84095, 173.08828, 309.98943, 163.60442},
         {2.769463340774141, .229986445975499, 34.92714126736759, 172.9179047880803, 310.8426241527283,
          315.0911121671828},
         150},
        {"Juno",
         2457400.5,
         {2.6697633, 0.2562656, 12.98987, 169.86255, 248.29396, 123.4668},
         {2.670422183695509, .256775023053242, 12.992225866813, 169.8459410858143, 247.8039388757044,
          306.6224068399492},
         150},
        {"Vesta",
         2457000.5,
         {2.3617933, 0.0887401, 7.14043, 103.85141, 151.19843, 20.86389},
         {2.361987199696643, .08840189374260063, 7.140782834645754, 103.800809741353, 151.2577798334132,
          61.19229900418838},
         60},
    };
    const double target = 2459800.5;
    std::vector<PerturbingBody> all;
    for (const MeanPlanet& m : MeanPlanets) all.push_back(MeanPlanetBody(m));
    PerturberTable planets(all, 2457000.5, target);
    PerturberTable jupiter({MeanPlanetBody(MeanPlanets[4])}, 2457000.5, target);

    for (const Pair& p : pairs) {
        Vector3 truth = StateFromOrbit(Radians(p.later)).r;
        KeplerOrbit earlier = Radians(p.earlier);
        OrbitState twoBody = StateFromOrbit(earlier), pulled = twoBody, byJupiter = twoBody;
        ASSERT_TRUE(Integrate(twoBody, p.epoch, target, nullptr)) << p.name;
        ASSERT_TRUE(Integrate(byJupiter, p.epoch, target, &jupiter)) << p.name;
        ASSERT_TRUE(Integrate(pulled, p.epoch, target, &planets)) << p.name;
        double missed = AngleBetween(twoBody.r, truth) / Arcsecond;
        EXPECT_GT(missed, 80) << p.name;
        EXPECT_LT(AngleBetween(byJupiter.r, truth) / Arcsecond, p.jupiterOnly) << p.name;
        EXPECT_LT(AngleBetween(pulled.r, truth) / Arcsecond, 5) << p.name << ": two-body missed by " << missed << "\"";
        EXPECT_LT((pulled.r - truth).Length(), 5e-5) << p.name;  // au
    }
}
