#pragma once
// Every user-visible text of the tree pane and the file list, verbatim.
namespace kelvara::pane_texts {

// The single child of a folder item whose children are not built yet.
inline constexpr const char* kPlaceholder = "Dummy";
inline constexpr const char* kFolderType = "Folder";
inline constexpr const char* kNameColumn = "File Name";
inline constexpr const char* kTypeColumn = "File Type";
inline constexpr const char* kHeaderFont = "Arial";

}  // namespace kelvara::pane_texts
