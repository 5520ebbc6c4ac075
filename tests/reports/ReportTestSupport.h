#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "reports/ReportText.h"
#include "tests/catalogues/CatalogueTestSupport.h"

// Runs are compared whole; a failure prints them one per line.
inline void PrintTo(const TextRun& run, std::ostream* os) {
    *os << '{' << testing::PrintToString(run.text) << ", " << run.font << ' ' << run.size << (run.bold ? " bold" : "")
        << (run.italic ? " italic" : "") << '}';
}

namespace report_tests {

using catalogue_tests::StoppedObserver;

inline TextRun Body(std::string text, bool bold = false) { return {std::move(text), ReportFont, 14, bold, false}; }
inline TextRun Title(std::string text, bool bold = true) { return {std::move(text), ReportFont, 16, bold, false}; }
inline TextRun Source(std::string text) { return {std::move(text), ReportFont, 12, false, true}; }

// A file of the data folder, or empty when the folder was not built.
inline std::string DataFile(const std::string& name) {
    const std::string path = std::string(VELKARIS_SOURCE_DIR) + "/data/" + name;
    FILE* f = std::fopen(path.c_str(), "r");
    if (!f) return {};
    std::fclose(f);
    return path;
}

}  // namespace report_tests
