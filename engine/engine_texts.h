#pragma once
// Every user-visible text of the engine.
namespace kelvara::texts {

inline constexpr const char* kProductTitle = "Kelvara v22.0";
inline constexpr const char* kRangeStartTooLarge =
    "Starting range exceeds the file size so parsing of file starts from zero.";
inline constexpr const char* kRangeEndTooLarge =
    "End range exceeds the file size so file will parse to the end of file size.";
inline constexpr const char* kTotalFilesFound = "Total number of files found: ";
inline constexpr const char* kScanAborted = "Scanning for BKF file process aborted.";
inline constexpr const char* kSnapshotLoadAborted = "Snapshot loading process aborted.";
inline constexpr const char* kSnapshotImageCannotOpen = "file cannot opened.";
inline constexpr const char* kSnapshotExtension = "EXECBKFQUAREL";

// Placeholder node labels; each ends with a blank.
inline constexpr const char16_t* kPlaceholderTape = u"TAPE CREATED ";
inline constexpr const char16_t* kPlaceholderSet = u"SET CREATED ";
inline constexpr const char16_t* kPlaceholderVolume = u"DUMY VOLUME XX: ";
inline constexpr const char16_t* kPlaceholderDirbSet = u"DUMY SET CREATED ";

}  // namespace kelvara::texts
