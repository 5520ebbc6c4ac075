#pragma once

#include <memory>
#include <string>

#include "controller/Planetarium.h"
#include "controller/UserMessages.h"
#include "shell/cli/TimePlaceOptions.h"

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
// stderr), then stands at the options' moment and place with every position
// recomputed.
class CliSky {
public:
    CliSky(const TimePlaceOptions& options, const std::string& command);
    Planetarium& operator*() { return *planetarium_; }
    Planetarium* operator->() { return planetarium_.get(); }

private:
    StderrMessages messages_;  // the controller warns through it to its end
    std::unique_ptr<Planetarium> planetarium_;
};
