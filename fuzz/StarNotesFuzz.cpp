// A star notes file of any content, searched for a star's notes as the star
// report does.

#include <charconv>
#include <optional>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "reports/ObjectReports.h"

namespace {

// The HD number a line starts a block of, read independently of the report
// code: the leading digits of a line that starts with one.
std::optional<uint32_t> BlockNumber(std::string_view line) {
    if (line.empty() || line[0] < '0' || line[0] > '9') return std::nullopt;
    uint32_t number = 0;
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), number);
    if (error != std::errc()) return std::nullopt;
    return number;
}

std::size_t Count(std::string_view text, std::string_view what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string_view::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::Text(data, size);
    constexpr std::string_view Heading = "Notes from Bright Star Catalogue:";

    std::vector<uint32_t> blocks;
    for (std::string_view rest = text; !rest.empty();) {
        const std::size_t end = rest.find('\n');
        if (const auto number = BlockNumber(rest.substr(0, end))) blocks.push_back(*number);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }

    // The first block's star, and a star that may have none. The input's own
    // text may hold the heading too; only the headings added are counted.
    const std::size_t inInput = Count(text, Heading);
    for (uint32_t hd : {blocks.empty() ? 1u : blocks.front(), 7u}) {
        ReportWriter out;
        AppendStarNotes(out, text, hd);
        const std::string report = PlainText(out.Runs());
        std::size_t expected = 0;
        for (uint32_t b : blocks) expected += b == hd;
        const std::size_t found = Count(report, Heading);
        FUZZ_CHECK(found >= expected && found <= expected + inInput);
        if (expected == 0) FUZZ_CHECK(report.empty());
    }
    return 0;
}
