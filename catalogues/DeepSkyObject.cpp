#include "catalogues/DeepSkyObject.h"

#include <algorithm>

#include "astro/Constants.h"
#include "catalogues/CatalogueFile.h"
#include "catalogues/LoadProgress.h"
#include "catalogues/TextCursor.h"
#include "platform/LargeMemory.h"

namespace {

// The longest common name kept.
constexpr std::size_t kNameLength = 62;

template <std::size_t N>
void CopyBounded(char (&field)[N], std::string_view text, std::size_t max) {
    const std::size_t n = std::min({text.size(), max, N - 1});
    std::fill(std::begin(field), std::end(field), '\0');
    std::copy_n(text.begin(), n, field);
}

}  // namespace

std::string DeepSkyObject::GetName() const {
    if (const std::string* name = Name()) return *name;
    if (messier != 0) return "M" + std::to_string(messier);
    return designation;
}

void DeepSkyObject::SetSize(float arcminutes) {
    size = arcminutes;
    const double pi = static_cast<double>(Pi);
    radius = size != 0.0f ? size / 60.0 * pi / 180.0 * 0.5 : pi / 180.0;
}

void ReadDeepSkyRecord(TextCursor& text, DeepSkyRecord& r) {
    r = DeepSkyRecord{};
    // The data line is read within its own bounds, so that a line that
    // breaks off early never takes its numbers from the notes line after it.
    TextCursor line(TakeFilledLine(text));
    [&] {
        r.designation = line.ReadWord();
        uint32_t type = 0;
        if (!line.ReadUnsigned(type)) return;
        r.type = static_cast<int32_t>(type);
        if (!line.ReadUnsignedShort(r.messier)) return;
        if (!line.ReadUnsignedShort(r.raHours)) return;
        if (!line.ReadUnsignedShort(r.raMinutes)) return;
        if (!line.ReadFloat(r.raSeconds)) return;
        // The sign stands on its own, so that -0 degrees 30 minutes keeps it.
        line.SkipBlanks();
        if (!line.ReadChar(r.decSign)) return;
        if (!line.ReadUnsignedShort(r.decDegrees)) return;
        if (!line.ReadUnsignedShort(r.decMinutes)) return;
        if (!line.ReadFloat(r.magnitude)) return;
        line.ReadFloat(r.size);
    }();
    // What follows the size is one separator and the common name.
    std::string_view rest(line.position(), line.Remaining());
    if (!rest.empty()) rest.remove_prefix(1);
    r.name = rest;
    r.notes = text.TakeLine();
}

void SetDeepSkyFromRecord(DeepSkyObject& o, const DeepSkyRecord& r) {
    CopyBounded(o.designation, r.designation, DeepSkyObject::DesignationLength);
    o.type = r.type;
    o.messier = r.messier;
    o.ra.SetHms(r.raHours, r.raMinutes, r.raSeconds);
    o.dec.SetDms(r.decDegrees, r.decMinutes, 0.0, r.decSign == '-');
    o.magnitude = r.magnitude;
    o.SetSize(r.size);
    if (!r.name.empty()) o.SetName(std::string(r.name.substr(0, kNameLength)));
    CopyBounded(o.notes, r.notes, DeepSkyObject::NotesLength);
}

bool DeepSkyCatalogue::Load(const std::string& path, LoadProgress* progress) {
    objects_.reset();
    count_ = 0;
    FileText text;
    if (!text.Read(path)) return false;
    LoadText(text.view(), progress);
    return true;
}

void DeepSkyCatalogue::LoadText(std::string_view text, LoadProgress* progress) {
    TextCursor cursor(text);
    const uint32_t promised = ReadRecordCount(cursor);
    if (progress) progress->SetJob(DeepSkyJobText);

    // Counted first, so that memory follows what the file holds and not what
    // its count line claims.
    DeepSkyRecord record;
    TextCursor counting = cursor;
    const std::size_t found =
        ForEachRecord(counting, promised, [&](std::size_t) { ReadDeepSkyRecord(counting, record); });

    objects_ = std::make_unique<DeepSkyObject[]>(found);
    count_ = found;
    const RecordProgress steps(progress, promised);
    ForEachRecord(cursor, static_cast<uint32_t>(found), [&](std::size_t i) {
        ReadDeepSkyRecord(cursor, record);
        SetDeepSkyFromRecord(objects_[i], record);
        steps.Record(i);
    });
}
