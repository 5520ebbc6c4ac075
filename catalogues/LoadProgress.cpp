#include "catalogues/LoadProgress.h"

#include <algorithm>
#include <cstdio>

namespace {
constexpr int kBarMaximum = 100;
}

void QuietProgress::SetJob(const std::string& text) {
    jobs_.push_back(text);
    stepsRequested_ = 0;
    position_ = 0;
}

void QuietProgress::Step(int n) {
    stepsRequested_ += n;
    position_ = std::clamp(position_ + n, 0, kBarMaximum);
}

void QuietProgress::ReportProblem(const std::string& message) { problems_.push_back(message); }

StderrProgress::~StderrProgress() { Finish(); }

void StderrProgress::SetJob(const std::string& text) {
    Finish();
    std::fprintf(stderr, "%s", text.c_str());
    std::fflush(stderr);
    jobOpen_ = true;
    position_ = 0;
}

void StderrProgress::Step(int n) { position_ = std::clamp(position_ + n, 0, kBarMaximum); }

void StderrProgress::ReportProblem(const std::string& message) {
    Finish();
    std::fprintf(stderr, "%s\n", message.c_str());
}

void StderrProgress::Finish() {
    if (!jobOpen_) return;
    std::fprintf(stderr, " (%d%%)\n", position_);
    jobOpen_ = false;
}
