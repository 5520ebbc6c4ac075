#include "settings/CatalogueDiscovery.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "settings/SettingsStore.h"

namespace {

// The file whose catalogue is wanted when nothing is stored: the one the
// constellation figures refer to.
constexpr const char* kFoundationFile = "stfound.dat";

bool IsCatalogueFileName(const std::string& name) {
    return name.size() >= 6 && name.compare(0, 2, "st") == 0 && name.compare(name.size() - 4, 4, ".dat") == 0;
}

std::vector<std::string> CatalogueFileNames(const std::string& dataDir) {
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator it(dataDir, error), end;
    for (; !error && it != end; it.increment(error)) {
        std::string name = it->path().filename().string();
        if (IsCatalogueFileName(name)) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

std::size_t DiscoverCatalogues(const SettingsStore& store, std::span<std::unique_ptr<StarCatalogue>> slots,
                               std::size_t limit, const std::string& dataDir, CatalogueDiscoveryReport* report) {
    limit = std::min(limit, slots.size());
    std::size_t found = 0;
    for (const std::string& fileName : CatalogueFileNames(dataDir)) {
        const std::string path = dataDir + "/" + fileName;
        if (found == limit) {
            if (!report) break;
            report->beyondLimit.push_back(path);
            continue;
        }
        std::string problem;
        std::optional<StarCatalogue::Header> header = StarCatalogue::ReadHeaderOf(path, &problem);
        if (!header) {
            if (report)
                report->problems.push_back("The Star Catalogue file " + path + " " + problem + "; it is left out.");
            continue;
        }
        const bool enabled = store.ReadBool(header->name, fileName == kFoundationFile);
        slots[found++] = std::make_unique<StarCatalogue>(path, std::move(*header), enabled);
    }
    return found;
}

std::vector<std::pair<std::string, bool>> CatalogueFlags(std::span<const std::unique_ptr<StarCatalogue>> slots) {
    std::vector<std::pair<std::string, bool>> flags;
    for (const auto& catalogue : slots)
        if (catalogue) flags.emplace_back(catalogue->name, catalogue->enabled);
    return flags;
}
