#pragma once

#include <string>
#include <vector>

// Two functions per sub-command of velkaris-cli: one that runs it with the
// arguments after the command name and returns the process exit status (2
// for a malformed option, after a one-line error on stderr naming it), and
// one that describes its options ("--help" anywhere among the arguments).
int RunTimeCommand(const std::vector<std::string>& args);
void PrintTimeHelp();
int RunRenderCommand(const std::vector<std::string>& args);
void PrintRenderHelp();
int RunStarsCommand(const std::vector<std::string>& args);
void PrintStarsHelp();
int RunEphemerisCommand(const std::vector<std::string>& args);
void PrintEphemerisHelp();
int RunDsoCommand(const std::vector<std::string>& args);
void PrintDsoHelp();
int RunReportCommand(const std::vector<std::string>& args);
void PrintReportHelp();
