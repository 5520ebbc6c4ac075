#include "LiteralReaders.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

namespace literal {

namespace {

struct Closer {
    void operator()(FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<FILE, Closer>;

// A read of at most n characters, stopping after a line end.
std::string ReadAtMost(FILE* f, int n) {
    std::vector<char> buf(static_cast<std::size_t>(n) + 1, 0);
    if (!std::fgets(buf.data(), n + 1, f)) return {};
    return std::string(buf.data());
}

}  // namespace

char BayerLetter(const char* a) {
    switch (a[0]) {
        case 'E': return a[1] == 'p' ? 'e' : 'h';
        case 'O': return a[2] == 'i' ? 'o' : 'w';
        case 'P': return a[1] == 'h' ? 'j' : a[1] == 'i' ? 'p' : 'y';
        case 'T': return a[1] == 'h' ? 'q' : 't';
        default: return static_cast<char>(a[0] + 32);
    }
}

bool ReadStarFile(const std::string& path, StarFile& out) {
    File f(std::fopen(path.c_str(), "r"));
    if (!f) return false;
    if (std::fscanf(f.get(), "%lu\n", &out.count) != 1) return false;
    std::string name = ReadAtMost(f.get(), 63);
    if (!name.empty()) name.pop_back();
    out.name = name;
    for (unsigned long i = 0; i < out.count; ++i) {
        Star s;
        int got =
            std::fscanf(f.get(), "%c %u %u %hu %hu %f %c%hu %hu %f %f %f %f %hu", &s.kind, &s.hd, &s.hip, &s.raH,
                        &s.raM, &s.raS, &s.decSign, &s.decD, &s.decM, &s.decS, &s.pmRa, &s.pmDec, &s.mag, &s.flamsteed);
        if (got != 14) return false;
        std::fgetc(f.get());
        std::string con = ReadAtMost(f.get(), 4);
        if (!con.empty()) con.pop_back();
        s.constellation = con;
        std::string bayer = ReadAtMost(f.get(), 5);
        if (!bayer.empty() && bayer[0] != '\n') {
            s.bayer.push_back(BayerLetter(bayer.c_str()));
            if (bayer.size() > 3 && bayer[3] != '\n') s.bayer.push_back(bayer[3]);
        }
        std::string spectral = ReadAtMost(f.get(), 21);
        if (!spectral.empty()) spectral.pop_back();
        if (spectral.size() > 1) {
            spectral.pop_back();
            s.hasSpectral = true;
            s.spectral = spectral;
        }
        std::string starName = ReadAtMost(f.get(), 63);
        // A name the read cannot take whole would leave its tail to be taken
        // for the next record.
        if (starName.empty() || starName.back() != '\n') return false;
        if (starName.size() > 1) {
            starName.pop_back();
            s.name = starName;
        }
        out.stars.push_back(s);
    }
    return true;
}

const Star* FindHd(const StarFile& f, unsigned hd) {
    for (const auto& s : f.stars)
        if (s.hd == hd) return &s;
    return nullptr;
}

bool ReadDeepSkyFile(const std::string& path, std::vector<DeepSky>& out, unsigned long& count) {
    File f(std::fopen(path.c_str(), "r"));
    if (!f) return false;
    if (std::fscanf(f.get(), "%lu\n", &count) != 1) return false;
    for (unsigned long i = 0; i < count; ++i) {
        DeepSky d;
        char designation[512] = {};
        int got = std::fscanf(f.get(), "%511s %d %hu %hu %hu %f %c%hu %hu %f %f", designation, &d.type, &d.messier,
                              &d.raH, &d.raM, &d.raS, &d.decSign, &d.decD, &d.decM, &d.mag, &d.size);
        if (got != 11) return false;
        d.designation = designation;
        // The program keeps the designation in 8 characters with its end.
        if (d.designation.size() > 7) return false;
        std::string rest = ReadAtMost(f.get(), 511);
        if (!rest.empty()) rest.erase(0, 1);
        if (rest.size() > 1) {
            rest.pop_back();
            // A longer name would be cut by the program: the file promises none.
            if (rest.size() > 62) return false;
            d.name = rest;
        }
        // A notes line that the bounded read cannot take whole would be
        // silently cut (its line end then passes for blank space).
        std::string notes = ReadAtMost(f.get(), 51);
        if (notes.empty() || notes.back() != '\n') return false;
        notes.pop_back();
        d.notes = notes;
        out.push_back(d);
    }
    return true;
}

bool ReadFigureFile(const std::string& path, std::vector<Figure>& out) {
    File f(std::fopen(path.c_str(), "r"));
    if (!f) return false;
    unsigned long count = 0;
    if (std::fscanf(f.get(), "%lu\n", &count) != 1) return false;
    for (unsigned long i = 0; i < count; ++i) {
        Figure fig;
        fig.nameLine = ReadAtMost(f.get(), 39);
        if (fig.nameLine.empty() || fig.nameLine.back() != '\n') return false;
        if (std::fscanf(f.get(), "%hu %hu", &fig.n, &fig.m) != 2) return false;
        for (unsigned k = 0; k < fig.n; ++k) {
            unsigned hd = 0;
            if (std::fscanf(f.get(), "%u", &hd) != 1) return false;
            fig.hd.push_back(hd);
        }
        for (unsigned k = 0; k < fig.m; ++k) {
            unsigned len = 0;
            if (std::fscanf(f.get(), "%u", &len) != 1 || len > 10000) return false;
            std::vector<unsigned short> line;
            for (unsigned j = 0; j < len; ++j) {
                unsigned short index = 0;
                if (std::fscanf(f.get(), "%hu", &index) != 1) return false;
                line.push_back(index);
            }
            fig.lines.push_back(line);
        }
        std::fgetc(f.get());
        out.push_back(fig);
    }
    return true;
}

bool ReadMinorPlanetFile(const std::string& path, std::vector<MinorPlanet>& out) {
    File f(std::fopen(path.c_str(), "r"));
    if (!f) return false;
    unsigned long count = 0;
    if (std::fscanf(f.get(), "%lu\n", &count) != 1) return false;
    for (unsigned long i = 0; i < count; ++i) {
        MinorPlanet p;
        if (std::fscanf(f.get(), "%d ", &p.number) != 1) return false;
        std::string name = ReadAtMost(f.get(), 18);
        // The field is positional: 18 characters, never the line end.
        if (name.size() != 18 || name.find('\n') != std::string::npos) return false;
        while (!name.empty() && name.back() == ' ') name.pop_back();
        p.name = name;
        std::string rest = ReadAtMost(f.get(), 255);
        if (std::sscanf(rest.c_str(), "%f %f %f %f %f %f %f %f\n", &p.node, &p.perihelion, &p.meanAnomaly,
                        &p.inclination, &p.e, &p.n, &p.h, &p.g) != 8)
            return false;
        out.push_back(p);
    }
    return true;
}

bool ReadSeriesFile(const std::string& path, Series& out) {
    File f(std::fopen(path.c_str(), "r"));
    if (!f) return false;
    for (auto& series : out) {
        unsigned short label = 0, n = 0;
        if (std::fscanf(f.get(), "%hu\n", &label) != 1 || std::fscanf(f.get(), "%hu\n", &n) != 1) return false;
        series.clear();
        for (unsigned short i = 0; i < n; ++i) {
            Term t{};
            if (std::fscanf(f.get(), "%lf %lf %lf\n", &t.a, &t.b, &t.c) != 3) return false;
            series.push_back(t);
        }
    }
    return true;
}

std::array<long double, 3> EvaluateSeries(const Series& s, double tau) {
    std::array<long double, 3> result{};
    for (int coordinate = 0; coordinate < 3; ++coordinate) {
        long double power = 1, total = 0;
        for (int k = 0; k < 6; ++k) {
            long double sum = 0;
            for (const Term& t : s[static_cast<std::size_t>(coordinate * 6 + k)])
                sum += t.a * std::cos(t.b + t.c * tau);
            total += sum * power;
            power *= tau;
        }
        result[static_cast<std::size_t>(coordinate)] = total;
    }
    return result;
}

std::vector<std::string> NotesFor(const std::string& path, unsigned hd) {
    std::vector<std::string> lines;
    File f(std::fopen(path.c_str(), "r"));
    if (!f) return lines;
    char search[256];
    while (std::fgets(search, sizeof search, f.get())) {
        if (search[0] < '0' || search[0] > '9') continue;
        int number = 0;
        std::sscanf(search, "%d", &number);
        if (static_cast<unsigned>(number) != hd) continue;
        std::vector<char> line(1024);
        while (std::fgets(line.data(), 1024, f.get())) {
            if (line[0] >= '0' && line[0] <= '9') break;
            lines.emplace_back(line.data());
        }
    }
    return lines;
}

}  // namespace literal
