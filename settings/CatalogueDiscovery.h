#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "catalogues/StarCatalogue.h"

class SettingsStore;

// The most star catalogue files the program uses.
constexpr std::size_t kMaxStarCatalogues = 32;

// What a discovery left out.
struct CatalogueDiscoveryReport {
    // One message per file that looked like a catalogue but could not be
    // used (not a regular file, unreadable, no name line), saying why.
    std::vector<std::string> problems;
    // The catalogue files past the limit, as paths, in name order.
    std::vector<std::string> beyondLimit;
};

// Finds the star catalogue files "st*.dat" in dataDir (the working
// directory's "data" folder unless told otherwise), in name order so that
// the catalogues and their order are the same on every run. Fills the slots
// from the first, at most limit of them, and returns how many it filled.
// Each catalogue's enabled flag is the stored value named by the catalogue's
// name, true by default for "stfound.dat" only, and a load is requested for
// every enabled catalogue. A file that cannot be read or has no name line is
// passed over, and so are the files past the limit; report, when given, says
// which.
std::size_t DiscoverCatalogues(const SettingsStore& store, std::span<std::unique_ptr<StarCatalogue>> slots,
                               std::size_t limit = kMaxStarCatalogues, const std::string& dataDir = "data",
                               CatalogueDiscoveryReport* report = nullptr);

// The enabled flags to save, each under its catalogue's name, in catalogue
// order.
std::vector<std::pair<std::string, bool>> CatalogueFlags(std::span<const std::unique_ptr<StarCatalogue>> slots);
