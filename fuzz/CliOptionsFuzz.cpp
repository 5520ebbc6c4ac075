// The moment and place options of velkaris-cli: any list of arguments (the
// input split at line ends), and each argument as a value of every option.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "shell/cli/TimePlaceOptions.h"

namespace {

void CheckPlace(const TimePlaceOptions::Sexagesimal& a, double limit) {
    FUZZ_CHECK(a.degrees >= 0 && a.minutes >= 0 && a.minutes < 60);
    FUZZ_CHECK(a.seconds >= 0.0 && a.seconds < 60.0);
    FUZZ_CHECK(a.degrees + a.minutes / 60.0 + a.seconds / 3600.0 <= limit);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::FixedObserver();
    static const std::string home = fuzz::ScratchFolder("cli");
    setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::Text(data, size);
    std::vector<std::string> args;
    for (std::string_view rest = text; !rest.empty();) {
        const std::size_t end = rest.find('\n');
        args.emplace_back(rest.substr(0, end));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }

    for (const std::string& arg : args) {
        if (const auto at = ParseCivilMoment(arg)) {
            FUZZ_CHECK(at->year >= 1 && at->month >= 1 && at->month <= 12);
            FUZZ_CHECK(at->day >= 1 && at->day <= Observer::daysInMonth(at->month, at->year));
            FUZZ_CHECK(at->hour <= 23 && at->minute <= 59 && at->second <= 59);
            // Only the one strict form is taken.
            char again[32];
            std::snprintf(again, sizeof again, "%04d-%02d-%02dT%02d:%02d:%02d", at->year, at->month, at->day, at->hour,
                          at->minute, at->second);
            FUZZ_CHECK(arg == again);
        }
        if (const auto zone = ParseZoneMinutes(arg)) FUZZ_CHECK(*zone >= -12 * 60 && *zone <= 14 * 60);
        if (const auto lon = ParsePlaceAngle(arg, false)) CheckPlace(*lon, 180.0);
        if (const auto lat = ParsePlaceAngle(arg, true)) CheckPlace(*lat, 90.0);
    }

    // The city list is a database of its own, not an option's text.
    std::vector<std::string> options;
    for (const std::string& arg : args) {
        if (arg.rfind("--city", 0) != 0) options.push_back(arg);
    }
    const std::size_t given = options.size();
    TimePlaceOptions parsed;
    std::string error;
    if (!ConsumeTimePlaceOptions(options, parsed, error)) {
        FUZZ_CHECK(!error.empty());
        return 0;
    }
    FUZZ_CHECK(error.empty() && options.size() <= given);
    // Every option taken, with its value; the rest left in order.
    for (const std::string& rest : options) {
        for (const std::string name : {"--at", "--zone", "--dst", "--lon", "--lat"})
            FUZZ_CHECK(rest != name && rest.rfind(name + "=", 0) != 0);
    }

    // The observer the command would use: its place on the globe, its clock
    // a real moment.
    Observer observer{Observer::Setup{}};
    ConfigureObserver(parsed, observer);
    FUZZ_CHECK(std::fabs(observer.latitude.degrees) <= 90.0);
    FUZZ_CHECK(std::fabs(observer.longitude.degrees) <= 180.0);
    FUZZ_CHECK(std::isfinite(observer.julianDate));
    if (parsed.at) {
        const DateTime civil = observer.civil();
        FUZZ_CHECK(civil.year == parsed.at->year && civil.month == parsed.at->month && civil.day == parsed.at->day);
    }
    return 0;
}
