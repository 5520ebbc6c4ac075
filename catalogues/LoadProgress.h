#pragma once

#include <string>
#include <vector>

// How a loader tells the user what it is doing. The start-up window shows it
// with a label and a bar; the command-line tool writes it to stderr; tests
// keep it to look at. Loading runs on the caller's thread, so an
// implementation must show a new job at once.
class LoadProgress {
public:
    virtual ~LoadProgress() = default;
    // A new job: its text replaces the previous one and the bar restarts at 0.
    virtual void SetJob(const std::string& text) = 0;
    // Advances the bar by n of its 100 steps; it stops at 100.
    virtual void Step(int n) = 0;
    // A problem the user must be told about (a data file that cannot be
    // read). Loading goes on; the owner shows it when the load is done.
    virtual void ReportProblem(const std::string& message) = 0;
};

// Shows nothing and keeps everything, for callers that only want the outcome.
class QuietProgress : public LoadProgress {
public:
    void SetJob(const std::string& text) override;
    void Step(int n) override;
    void ReportProblem(const std::string& message) override;

    const std::vector<std::string>& jobs() const { return jobs_; }
    const std::vector<std::string>& problems() const { return problems_; }
    // Steps asked for during the current job, and where the bar stands.
    int stepsRequested() const { return stepsRequested_; }
    int position() const { return position_; }

private:
    std::vector<std::string> jobs_;
    std::vector<std::string> problems_;
    int stepsRequested_ = 0;
    int position_ = 0;
};

// Writes jobs and problems to stderr as lines; the bar is shown as the
// percentage reached when the next job starts or the load ends.
class StderrProgress : public LoadProgress {
public:
    ~StderrProgress() override;
    void SetJob(const std::string& text) override;
    void Step(int n) override;
    void ReportProblem(const std::string& message) override;
    // Closes the current job's line.
    void Finish();

private:
    bool jobOpen_ = false;
    int position_ = 0;
};
