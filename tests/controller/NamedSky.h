#pragma once

// A small sky with objects of every kind and names of every form, for the
// report window's and the name finder's tests.

#include <memory>
#include <string>

#include "ControllerTestSupport.h"
#include "catalogues/StarCatalogue.h"
#include "controller/Planetarium.h"
#include "controller/ReportDisplay.h"

namespace named_sky {

// Sirius (alp CMa, 9 CMa), Rigel (bet Ori, 19 Ori), Betelgeuse (alp Ori,
// 58 Ori), the two components of alp Cen without proper names, and a faint
// star known by its HD number alone.
constexpr const char* kFoundation =
    "6\nfoundation\n"
    "B 48915 32349 6 45 8.917 -16 42 58.02 -0.546 -1.223 -1.46 9 CMa\nAlp\nA1V \nSirius\n"
    "B 34085 24436 5 14 32.272 -08 12 05.90 0.000 -0.001 0.12 19 Ori\nBet\nB8Ia \nRigel\n"
    "B 39801 27989 5 55 10.305 +07 24 25.43 0.027 0.011 0.50 58 Ori\nAlp\nM1Iab \nBetelgeuse\n"
    "B 128620 71683 14 39 36.494 -60 50 02.37 -3.679 0.474 -0.01 0 Cen\nAlp1\nG2V \n\n"
    "B 128621 71681 14 39 35.063 -60 50 15.10 -3.614 0.802 1.33 0 Cen\nAlp2\nK1V \n\n"
    "B 12345 0 2 0 0.0 +30 0 0.0 0 0 9.80 0\n\n\n\n\n";

// Another catalogue, off by default, holding Sirius again.
constexpr const char* kOther =
    "1\nother\n"
    "H 48915 32349 6 45 8.917 -16 42 58.02 -0.546 -1.223 -1.46 0\n\n\n\nSirius\n";

constexpr const char* kDeepSky =
    "3\n"
    "224 1 31 0 42 44.3 +41 16 3.44 177.8 Andromeda Galaxy\n!!! eeB, eL, vmE (Andromeda); = M31\n"
    "1976 4 42 5 35 17.3 -5 23 4.0 85.0 Great Orion Nebula, Orion Nebula\n!!! theta1 Ori and the great neb; = M42\n"
    "IC434 4 0 5 40 59.0 -2 27 7.3 60.0\nF, vL\n";

// Pluto is a minor planet too.
constexpr const char* kMinorPlanets =
    "4\n"
    "1 Ceres              80.3 73.5 249.5 10.59 0.0786 0.21418 3.33 0.12\n"
    "2 Pallas             172.9 310.8 233.2 34.93 0.2300 0.21385 4.12 0.11\n"
    "4 Vesta              103.8 151.3 191.9 7.14 0.0884 0.27151 3.20 0.32\n"
    "134340 Pluto              110.376958 112.597142 13.311809 17.089001 0.25024871 0.003978460096 -0.44 0.15\n";

// What the controller writes into the report window, and whether it is open.
class RecordingReport : public ReportDisplay {
public:
    bool IsOpen() const override { return open; }
    void Fill(const ReportText& r) override {
        runs = r;
        ++fills;
    }
    void Open() override { open = true; }
    void Close() override {
        open = false;
        runs.clear();
    }
    bool open = false;
    ReportText runs;
    int fills = 0;
};

class NamedSkyTest : public ::testing::Test {
protected:
    std::unique_ptr<Planetarium> Start() {
        work.Write(QStringLiteral("data/stfound.dat"), kFoundation);
        work.Write(QStringLiteral("data/stother.dat"), kOther);
        work.Write(QStringLiteral("data/constellations.dat"), "0\n");
        work.Write(QStringLiteral("data/dsocat.dat"), kDeepSky);
        work.Write(QStringLiteral("data/asteroids.dat"), kMinorPlanets);
        WriteSolarSeries(work);
        PlanetariumLinks links;
        links.panel = &panel;
        links.messages = &messages;
        links.clock = [] { return FixedMoment(); };
        links.createReport = [this] {
            auto window = std::make_unique<RecordingReport>();
            report = window.get();
            return window;
        };
        return std::make_unique<Planetarium>(links);
    }

    static int SlotOf(Planetarium& p, const std::string& name) {
        for (int c = 0; c < p.StarCatalogueCount(); ++c)
            if (p.Catalogue(c)->name == name) return c;
        return -1;
    }

    ScratchWorkDir work;
    RecordingPanel panel;
    RecordingMessages messages;
    RecordingReport* report = nullptr;
};

}  // namespace named_sky
