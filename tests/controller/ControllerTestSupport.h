#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "astro/Observer.h"
#include "controller/UserMessages.h"
#include "view/SkyPanel.h"

// Runs a test in a fresh working directory with settings of its own, so
// that neither the data folder nor the settings of the user are touched.
class ScratchWorkDir {
public:
    ScratchWorkDir() : previous_(QDir::currentPath()) {
        QDir::setCurrent(dir_.path());
        qputenv("XDG_CONFIG_HOME", (dir_.path() + QStringLiteral("/config")).toUtf8());
    }
    ~ScratchWorkDir() { QDir::setCurrent(previous_); }

    void Write(const QString& relativePath, const std::string& text) const {
        QDir(dir_.path()).mkpath(QFileInfo(relativePath).path());
        QFile file(dir_.path() + QLatin1Char('/') + relativePath);
        if (file.open(QIODevice::WriteOnly)) file.write(text.data(), static_cast<qint64>(text.size()));
    }
    QString Path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    QString previous_;
};

// A "foundation" catalogue of two bright stars, enough to select and lock.
inline std::string TwoStarCatalogue() {
    return "2\n"
           "foundation\n"
           "B 48915 32349 6 45 8.917 -16 42 58.02 -0.546 -1.223 -1.46 9 CMa\n"
           "Alp\n"
           "A1V \n"
           "Sirius\n"
           "B 34085 24436 5 14 32.272 -08 12 05.90 0.000 -0.001 0.12 19 Ori\n"
           "Bet\n"
           "B8Ia \n"
           "Rigel\n";
}

// Constellation, deep-sky and minor-planet files that hold nothing, so that
// the start raises no missing-file message.
inline void WriteEmptyCatalogues(const ScratchWorkDir& work) {
    for (const char* empty : {"data/constellations.dat", "data/dsocat.dat", "data/asteroids.dat"})
        work.Write(QString::fromLatin1(empty), "0\n");
}

// Series files for the Earth and the seven planets, each a body on a fixed
// circle in the ecliptic (longitude, radius), so that the start raises no
// missing-file message and every body has a place.
inline void WriteSolarSeries(const ScratchWorkDir& work) {
    const std::pair<const char*, const char*> bodies[] = {
        {"earth", "1.0 1.0"},   {"Mercury", "2.0 0.4"}, {"Venus", "3.0 0.7"}, {"Mars", "4.0 1.5"},
        {"Jupiter", "5.0 5.2"}, {"Saturn", "6.0 9.5"},  {"Uranus", "0.5 19"}, {"Neptune", "1.5 30"},
    };
    for (const auto& [name, place] : bodies) {
        const std::string text(place);
        const std::string longitude = text.substr(0, text.find(' ')), radius = text.substr(text.find(' ') + 1);
        std::string file;
        for (int s = 0; s < 18; ++s) {
            file += std::to_string(s) + "\n";
            if (s == 0)
                file += "1\n" + longitude + " 0 0\n";
            else if (s == 12)
                file += "1\n" + radius + " 0 0\n";
            else
                file += "0\n";
        }
        work.Write(QStringLiteral("data/la_%1.dat").arg(QLatin1String(name)), file);
    }
}

// 6 December 2000, 21:04:09, one hour east of Greenwich, standard time.
inline LocalClockReading FixedMoment() {
    LocalClockReading r;
    r.year = 2000;
    r.month = 12;
    r.day = 6;
    r.hour = 21;
    r.minute = 4;
    r.second = 9;
    r.standardOffsetMinutes = 60;
    r.daylight = LocalClockReading::Daylight::Standard;
    return r;
}

class RecordingMessages : public UserMessages {
public:
    void Warning(const std::string& text) override { warnings.push_back(text); }
    bool Confirm(const std::string& text) override {
        questions.push_back(text);
        return answer;
    }
    std::vector<std::string> warnings;
    std::vector<std::string> questions;
    bool answer = false;
};

// Keeps what the controller writes into the window, and lets a test play
// the part of a check box that reports its programmatic change as a click.
class RecordingPanel : public NullSkyPanel {
public:
    RecordingPanel() : NullSkyPanel(700, 350) {}
    void SetLabelText(PanelLabel label, const std::string& text) override { labels[label] = text; }
    void SetStatusText(int panel, const std::string& text) override { status[panel] = text; }
    void SetClockChecks(bool runTicked, bool runEnabled, bool systemTimeTicked) override {
        run = runTicked;
        runEnabled_ = runEnabled;
        systemTime = systemTimeTicked;
        if (onClockChange) onClockChange();
    }
    std::map<int, std::string> labels;
    std::map<int, std::string> status;
    bool run = false, runEnabled_ = false, systemTime = false;
    std::function<void()> onClockChange;
};
