#pragma once
// Where a recovered file goes on disk. Catalogue paths use "\" between components; it becomes "/"
// only here, where folders and files are created. Nothing a name holds can lead out of the
// destination folder.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelvara {

// Hierarchical saving falls back to flat saving beyond this many UTF-16 code units.
constexpr size_t kMaxPath = 260;

struct SaveDestination {
    std::string shown;   // the typed text without leading and trailing white space (messages)
    std::string folder;  // the same with a "/" appended unless it ends in one
};
SaveDestination MakeSaveDestination(std::string_view typed);

// The relative path as folder names: "/" to "_", runs of backslashes shortened, ":*?<>|\"" to
// "_". Then a "." or ".." component becomes "_" or "__", NUL becomes "_", and an empty file name
// becomes "_".
std::u16string MakeSafeRelativePath(std::u16string_view path);
// A file name saved flat: "/" and NUL to "_", "." and ".." to "_" and "__", empty to "_".
std::u16string MakeSafeFileName(std::u16string_view name);

// True when destination + relative is longer than kMaxPath UTF-16 code units.
bool ExceedsMaxPath(const std::string& destinationFolder, std::u16string_view safeRelative);

// Creates destination + each folder prefix of `safeRelative` (existing folders are fine; after a
// failure the deeper ones are not attempted) and returns destination + relative as a disk path.
std::string CreatePathFolders(const std::string& destinationFolder,
                              std::u16string_view safeRelative);

// destination + name, or the first of destination + "0" + name, "1" + name, ... that names
// nothing on disk (a dangling symbolic link counts as something). `nextNumber`, when given, is
// where the numbering resumes for this name and is advanced past the number returned.
std::string MakeUniquePath(const std::string& destinationFolder, std::u16string_view name,
                           uint64_t* nextNumber = nullptr);

// A catalogue-relative path as a disk path below `destinationFolder`.
std::string ToDiskPath(const std::string& destinationFolder, std::u16string_view relative);

}  // namespace kelvara
