#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "catalogues/LoadProgress.h"

class QLabel;
class QProgressBar;

// The small window shown while data files load: the program's title, a
// credit, what is being loaded and a bar. Loading runs on the user-interface
// thread without handling events, so a new job text is painted at once, and
// every job and step lets the window system's pending events through.
class TStartUpInfo : public QWidget, public LoadProgress {
    Q_OBJECT

public:
    explicit TStartUpInfo(QWidget* owner = nullptr);

    void SetJob(const std::string& text) override;
    void Step(int n) override;
    // Kept for the owner, who shows them once the load is over.
    void ReportProblem(const std::string& message) override;
    const std::vector<std::string>& problems() const { return problems_; }

    QLabel* Label1;
    QLabel* Label2;
    QLabel* labelJob;
    QProgressBar* PBStarLoad;

private:
    void LetTheWindowSystemIn();

    std::vector<std::string> problems_;
};
