#pragma once

#include <cstdlib>
#include <optional>
#include <string>

// An environment variable set for as long as the object lives (for the
// programs the test starts, too), then put back as it was.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        if (const char* previous = std::getenv(name)) saved_ = previous;
        ::setenv(name, value, 1);
    }
    ~ScopedEnvironment() {
        if (saved_)
            ::setenv(name_.c_str(), saved_->c_str(), 1);
        else
            ::unsetenv(name_.c_str());
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_;
    std::optional<std::string> saved_;
};
