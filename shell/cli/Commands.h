#pragma once

#include <string>
#include <vector>

// One function per sub-command of velkaris-cli. Each receives the arguments
// after the command name and returns the process exit status (2 for a
// malformed option, after a one-line error on stderr naming it).
int RunTimeCommand(const std::vector<std::string>& args);
int RunRenderCommand(const std::vector<std::string>& args);
int RunStarsCommand(const std::vector<std::string>& args);
