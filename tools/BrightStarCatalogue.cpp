#include "tools/BrightStarCatalogue.h"

#include <cmath>

namespace velkaris::tools {

namespace {

bool Field(std::string_view line, std::size_t first, std::size_t last, long long& value) {
    return ParseInt(Columns(line, first, last), value);
}

}  // namespace

BrightStarCatalogue ParseBrightStarCatalogue(const std::string& text, const std::string& fileName, Diagnostics& diag) {
    BrightStarCatalogue cat;
    std::size_t lineNo = 0;
    for (std::string_view line : SplitLines(text)) {
        ++lineNo;
        if (Trim(line).empty()) continue;
        long long hr = 0;
        if (!Field(line, 1, 4, hr) || hr <= 0) {
            diag.Malformed(fileName, lineNo, "no HR number");
            continue;
        }
        long long hd = 0;
        if (!Field(line, 26, 31, hd)) hd = 0;
        if (hd > 0) cat.hdByHr[static_cast<uint32_t>(hr)] = static_cast<uint32_t>(hd);

        // Entries removed from the catalogue keep their number but have no place.
        if (Trim(Columns(line, 76, 90)).empty()) {
            ++cat.withoutPosition;
            continue;
        }
        long long rah = 0, ram = 0, decd = 0, decm = 0, decs = 0;
        double ras = 0, vmag = 0, pmra = 0, pmdec = 0;
        std::string_view sign = Columns(line, 84, 84);
        if (!Field(line, 76, 77, rah) || !Field(line, 78, 79, ram) || !ParseDouble(Columns(line, 80, 83), ras) ||
            (sign != "+" && sign != "-") || !Field(line, 85, 86, decd) || !Field(line, 87, 88, decm) ||
            !Field(line, 89, 90, decs) || rah > 23 || ram > 59 || ras >= 60 || decd > 90 || decm > 59 || decs > 59) {
            diag.Malformed(fileName, lineNo, "unreadable J2000 position");
            continue;
        }
        if (!ParseDouble(Columns(line, 103, 107), vmag)) {
            diag.Malformed(fileName, lineNo, "no visual magnitude");
            continue;
        }
        // A missing proper motion is taken as none rather than losing the star.
        if (!ParseDouble(Columns(line, 149, 154), pmra)) pmra = 0;
        if (!ParseDouble(Columns(line, 155, 160), pmdec)) pmdec = 0;

        BrightStar b;
        b.hr = static_cast<uint32_t>(hr);
        StarRecord& s = b.star;
        s.kind = 'B';
        s.hd = static_cast<uint32_t>(hd);
        s.raDegrees = (rah + ram / 60.0 + ras / 3600.0) * 15.0;
        s.decDegrees = (decd + decm / 60.0 + decs / 3600.0) * (sign == "-" ? -1 : 1);
        s.raText = Format("%lld %lld %.1f", rah, ram, ras);
        s.decText = Format("%c%lld %lld %lld", sign[0], decd, decm, decs);
        // The catalogue gives the motion along the sky (times cos dec); the
        // reader wants the change of the right ascension itself.
        s.pmRa = RightAscensionMotionAsAngle(pmra, s.decDegrees);
        s.pmDec = pmdec;
        s.magnitude = vmag;
        long long flamsteed = 0;
        if (Field(line, 5, 7, flamsteed) && flamsteed > 0 && flamsteed < 65536)
            s.flamsteed = static_cast<uint16_t>(flamsteed);
        std::string_view bayer = Columns(line, 8, 10);
        std::string_view superscript = Columns(line, 11, 11);
        std::string_view con = Trim(Columns(line, 12, 14));
        if (!Trim(bayer).empty()) {
            s.bayer = std::string(bayer);
            if (!superscript.empty() && superscript != " ") s.bayer += std::string(superscript);
        }
        if (!con.empty() && (s.flamsteed != 0 || !s.bayer.empty())) s.constellation = std::string(con);
        s.spectral = std::string(Trim(Columns(line, 128, 147)));
        cat.stars.push_back(std::move(b));
    }
    return cat;
}

std::string ConvertBrightStarNotes(const std::string& notesText, const std::string& fileName,
                                   const std::map<uint32_t, uint32_t>& hdByHr, Diagnostics& diag,
                                   std::size_t* blockCount) {
    std::string out;
    std::size_t blocks = 0;
    long long currentHr = -1;
    bool skipping = false;
    std::string lastCategory;
    std::size_t lineNo = 0;
    for (std::string_view line : SplitLines(notesText)) {
        ++lineNo;
        if (Trim(line).empty()) continue;
        long long hr = 0, count = 0;
        if (!ParseInt(Columns(line, 2, 5), hr) || hr <= 0 || !ParseInt(Columns(line, 6, 7), count)) {
            diag.Malformed(fileName, lineNo, "no HR number or note counter");
            continue;
        }
        std::string category(Columns(line, 8, 11));
        category.resize(4, ' ');
        // One source line writes "VAR " for "VAR:".
        if (category == "VAR ") category = "VAR:";
        if (category.find(':') == std::string::npos) {
            diag.Malformed(fileName, lineNo, "unknown remark category");
            continue;
        }
        std::string remark(TrimRight(Columns(line, 13, line.size())));

        if (hr != currentHr) {
            currentHr = hr;
            lastCategory.clear();
            auto it = hdByHr.find(static_cast<uint32_t>(hr));
            skipping = it == hdByHr.end();
            if (!skipping) {
                out += Format("%u\n", it->second);
                ++blocks;
            }
        }
        if (skipping) continue;
        bool continuation = count > 1 && category == lastCategory;
        lastCategory = category;
        out += (continuation ? std::string("    ") : category) + remark + "\n";
    }
    if (blockCount) *blockCount = blocks;
    return out;
}

}  // namespace velkaris::tools
