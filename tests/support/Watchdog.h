#pragma once

// Ends the test program when what it guards has not returned in time: a
// reader waiting on a named pipe would otherwise hang the run until the test
// runner's own limit, and say nothing about why.

#include <signal.h>
#include <unistd.h>

class Watchdog {
public:
    explicit Watchdog(unsigned seconds) {
        signal(SIGALRM, [](int) {
            const char text[] = "still waiting: a file read is blocked on something that is not a regular file\n";
            [[maybe_unused]] const auto n = write(2, text, sizeof text - 1);
            _exit(3);
        });
        alarm(seconds);
    }
    ~Watchdog() { alarm(0); }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;
};
