#pragma once
// Every user-visible text of extraction and saving, verbatim.
#include <string_view>

namespace kelvara::extract_texts {

// Questions and messages while a file's data is collected.
inline constexpr std::u16string_view kContinuedStreamQuestion =
    u"File must have its beginning in a earlier file, Do you want to recover remaining data from "
    u"current file.";
inline constexpr std::u16string_view kSplitSetQuestion =
    u"Selected BKF file seems to be split. Enter next BKF file to continue the saving process.";
inline constexpr std::u16string_view kNoNextFileSelected =
    u"No BKF file is selected to continue the saving process.";

// The open-file dialog for the next file of a split set: existing files only, read-only box hidden.
inline constexpr std::u16string_view kNextFileDefaultExtension = u"bkf";
inline constexpr std::u16string_view kNextFileInitialName = u"*.bkf";
inline constexpr std::u16string_view kNextFileFilter = u".bkf Files (*.bkf)|*bkf||";

// Save handler and dialog messages.
inline constexpr std::u16string_view kNoFileInList = u"No file is present in the list to save.";
inline constexpr std::u16string_view kInvalidDestination =
    u"Please select valid path to save recovered files.";
inline constexpr std::u16string_view kHierarchyWarning =
    u"The filename or extension might be too long. rename root folders in tree or file can be "
    u"save in the root folder!";
inline constexpr std::u16string_view kStopQuestion = u"Are you sure to stop the running process?";
inline constexpr std::u16string_view kStopBeforeClosing =
    u"Please stop the running process to close the application.";
inline constexpr std::u16string_view kSavingCompleted =
    u"File(s) saving process has been completed. Saved file(s) location is:";

// Log lines of the save job.
inline constexpr std::u16string_view kLogSavingStarts =
    u" Saving process for recovered files starts.    ";
inline constexpr std::u16string_view kLogFilesToBeSaved = u"Number of files to be saved: ";
inline constexpr std::u16string_view kLogSaving = u" saving...                      ";
inline constexpr std::u16string_view kLogFileSize = u"File Size(Bytes):  ";
inline constexpr std::u16string_view kLogFileSaved = u" File saved.";
inline constexpr std::u16string_view kLogFilesSaved = u"Number of files saved: ";
inline constexpr std::u16string_view kLogSavingCompleted =
    u"Saving of recovered files has been completed, saving location is:  ";

}  // namespace kelvara::extract_texts
