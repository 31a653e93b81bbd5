#pragma once
// Every user-visible text of the search.
namespace kelvara::search_texts {

inline constexpr const char* kEnterPattern = "Enter text pattern to search files.";
inline constexpr const char* kTotalFiles = "Total No. of files :";
inline constexpr const char* kFilesFound = "File found:";
inline constexpr const char* kInitialPattern = "*.*";

}  // namespace kelvara::search_texts
