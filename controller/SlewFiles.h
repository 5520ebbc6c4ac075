#pragma once

#include <optional>
#include <string>
#include <string_view>

// The two files through which a telescope-control program and the
// planetarium exchange positions: it writes one for the view to follow, the
// planetarium writes the locked object's position for the telescope.
inline constexpr const char* IncomingSlewPath = "data/slew_out.dat";
inline constexpr const char* OutgoingSlewPath = "data/slew.dat";

// Right ascension and declination, radians.
struct SlewPosition {
    double ra = 0.0;
    double dec = 0.0;
};

// The position in the first line of an incoming file: "R", then the right
// ascension and the declination in degrees, separated by blanks (spaces or
// tabs); anything after them is ignored. No position when the line does not
// start with a token beginning with "R", or when either number is missing,
// is not wholly a number, or the declination lies beyond a pole: a half-
// written or garbled file must not swing the view (and the telescope after
// it) to some meaningless place. Only the first 127 characters count; the
// line may end in LF or CR LF.
std::optional<SlewPosition> ReadSlewPosition(std::string_view text);
// The same from a file; no position when it cannot be read. Never blocks on
// a FIFO.
std::optional<SlewPosition> ReadSlewFile(const std::string& path);

// The outgoing record: "R %9.5f" and "D %9.5f" of the right ascension in
// [0, 360) and the declination in degrees, each line ended by CR LF as the
// telescope programs expect.
std::string SlewRecord(const SlewPosition& position);
// Replaces the file whole, so that the other program never reads half a
// record. False when it could not be written.
bool WriteSlewFile(const std::string& path, const SlewPosition& position);
