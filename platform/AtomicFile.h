#pragma once

#include <string>
#include <string_view>

// Whole-file replacement that never leaves a half-written file behind: the
// new contents go to a temporary file in the same folder, are flushed to the
// disk, and only then take the old file's place by a rename. A crash, a full
// disk or a permission problem leaves the old file exactly as it was.
//
// A symbolic link at `path` is followed, so a settings file kept elsewhere
// and linked into place stays a link.
//
// Returns false (with errno describing the cause) when anything failed; no
// temporary file is left behind in that case. Something other than a regular
// file at `path` (a device, a named pipe, a folder) is never replaced.
//
// The new contents are always on the disk before the rename. Whether the
// rename itself is too when the call returns is the caller's choice: one who
// replaces the same file many times in a row (a settings save of many values)
// passes Later and calls SyncFolderOf once at the end, instead of waiting for
// the disk after every value. A power cut in between leaves an older, complete
// file.
enum class RenameDurability { Now, Later };
bool WriteFileAtomically(const std::string& path, std::string_view contents,
                         RenameDurability durability = RenameDurability::Now);

// Makes the renames of earlier WriteFileAtomically(..., Later) calls on `path`
// survive a power cut. False when the folder could not be synced.
bool SyncFolderOf(const std::string& path);

// Deletes temporary files that WriteFileAtomically left next to `path` when
// the program was killed in the middle of a save, once they are old enough
// that no running save can still be using them.
void RemoveStaleTemporaries(const std::string& path);

// Reads at most `maxBytes` of a regular file, as FileText reads
// (platform/LargeMemory.h). Returns false when the file cannot be read;
// `missing` tells whether it simply does not exist. `truncated` is set when
// the file held more than `maxBytes`.
bool ReadFileBounded(const std::string& path, std::size_t maxBytes, std::string& contents, bool& missing,
                     bool& truncated);

// Creates a folder and its missing parents. True when the folder exists
// afterwards.
bool MakeFolders(const std::string& path);

// Removes a folder with everything below it, all or nothing as far as the
// folder's path is concerned: the folder is first renamed aside and only then
// emptied, so a failure leaves either the whole folder in place or no folder
// at its path. True also when the folder did not exist.
bool RemoveFolderTree(const std::string& path);
