#pragma once

#include <memory>
#include <string>

#include "controller/Planetarium.h"
#include "controller/UserMessages.h"
#include "shell/cli/TimePlaceOptions.h"
#include "view/SkyPanel.h"

class QGuiApplication;

// The message boxes of the window as lines on stderr, each after
// "velkaris-cli COMMAND: "; nothing is asked.
class StderrMessages : public UserMessages {
public:
    explicit StderrMessages(std::string command) : command_(std::move(command)) {}
    void Warning(const std::string& text) override;
    bool Confirm(const std::string&) override { return false; }

private:
    std::string command_;
};

// The planetarium without a window, for the commands that show its sky: it
// loads every catalogue as the window does (progress and problems go to
// stderr), standing at the options' moment and place from its first
// computation on, with every position computed. Frames are painted on a
// surface of the size given.
class CliSky {
public:
    CliSky(const TimePlaceOptions& options, const std::string& command, int width = 1, int height = 1);
    ~CliSky();
    Planetarium& operator*() { return *planetarium_; }
    Planetarium* operator->() { return planetarium_.get(); }

private:
    std::unique_ptr<QGuiApplication> application_;  // text is painted through it; no display needed
    StderrMessages messages_;                       // the controller warns through it to its end
    NullSkyPanel panel_;
    std::unique_ptr<Planetarium> planetarium_;
};
