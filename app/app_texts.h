#pragma once
// Every user-visible text of the desktop program's shell, frame, log and recovery selection,
// verbatim, and the vendor addresses the product is configured with.
#include "engine/engine_texts.h"

namespace kelvara::app_texts {

inline constexpr const char* kProductTitle = texts::kProductTitle;
inline constexpr const char* kSplashText = "v22.0";
inline constexpr const char* kAnotherInstance =
    "Another instance of application is already running";
inline constexpr const char* kSettingsKey = "QuarelExecBKFRepDemov22.0";
inline constexpr const char* kApplicationLookValue = "ApplicationLook";

// Ribbon.
inline constexpr const char* kAppButtonTooltip = "Kelvara";
inline constexpr const char* kCategory = "Kelvara";
inline constexpr const char* kPanelRecovery = "BKF Recovery";
inline constexpr const char* kPanelSnapshots = "BKF File Snapshots";
inline constexpr const char* kPanelAbout = "About BKF Recovery";
inline constexpr const char* kOpenLabel = "Open";
inline constexpr const char* kOpenTip = "Open BKF file";
inline constexpr const char* kStopLabel = "Stop";
inline constexpr const char* kStopTip = "Stop running recovery process";
inline constexpr const char* kSaveLabel = "Save";
inline constexpr const char* kSaveTip = "Save recovered data";
inline constexpr const char* kSearchLabel = "Search";
inline constexpr const char* kSearchTip = "Search file from the list";
inline constexpr const char* kLogLabel = "Log";
inline constexpr const char* kLogTip = "Save log for BKF file.";
inline constexpr const char* kLoadSnapshotLabel = "Load";
inline constexpr const char* kLoadSnapshotTip = "Load Backup Exec BKF Recovery Snapshot";
inline constexpr const char* kSaveSnapshotLabel = "Save";
inline constexpr const char* kSaveSnapshotTip = "Save Backup Exec BKF Recovery Snapshot";
inline constexpr const char* kHelpLabel = "Help";
inline constexpr const char* kHelpTip = "Help for Kelvara";
inline constexpr const char* kAboutLabel = "About";
inline constexpr const char* kAboutTip = "About Kelvara";

// Panes and status bar.
inline constexpr const char* kTreePaneCaption = "BKF File";
inline constexpr const char* kOutputPaneCaption = "BKF File Status";
inline constexpr const char* kLogTab = "Log Window";
inline constexpr const char* kViewerTab = "File Viewer";
inline constexpr const char* kLogColumn = "rtrt";
inline constexpr const char* kViewerInitialText = "Select file to see preview.....";
inline constexpr const char* kStatusTitle = "Kelvara";

// Refusals and questions of the frame.
inline constexpr const char* kBusyOpen = "Please stop the running process to open the BKF file.";
inline constexpr const char* kBusySave =
    "Please stop the running process to save the recovered files.";
inline constexpr const char* kBusySearch = "Please stop the running process to search the files.";
inline constexpr const char* kBusyLog = "Please stop the running process to save the log file.";
inline constexpr const char* kBusyLoadSnapshot =
    "Please stop the running process to load recovery snapshot.";
inline constexpr const char* kBusySaveSnapshot =
    "Please stop the running process to save recovery snapshot.";
inline constexpr const char* kBusyClose =
    "Please stop the running process to close the application.";
inline constexpr const char* kWaitRunning = "Please wait for the running process.";
inline constexpr const char* kSelectBkfFile = "Please select BKF file to recover data.";
inline constexpr const char* kStartRecoveryFirst =
    "Please start the recovery process of BKF file to save the log file.";
inline constexpr const char* kCloseQuestion = "Are you sure to close the application?";
inline constexpr const char* kStopQuestion = "Do you want to stop recovering file(s)?";

// Open command and scan job.
inline constexpr const char* kOpenFilterDescription = ".bkf Files (*.bkf)";
inline constexpr const char* kOpenFilterPattern = "*bkf";
inline constexpr const char* kOpenDefaultExtension = "bkf";
inline constexpr const char* kOpenInitialName = "*.bkf";
// The chosen path must contain this, case as it is.
inline constexpr const char* kBkfExtension = ".bkf";
inline constexpr const char* kSelectValidBkf = "Please select valid BKF file to recover.";
inline constexpr const char* kSelectRecoveryMode =
    "Please select recovery mode and scanning option to recover bkf file.";
inline constexpr const char* kLogFileSelected = " File is selected for recovery....";
inline constexpr const char* kLogFileSize = "BKF file size is: ";
inline constexpr const char* kLogRecoveryStarts = "Quarel BKF file Recovery process starts.  ";
inline constexpr const char* kScanCompleted =
    "Scanning for BKF file completed. Expand tree to see recover files.";
inline constexpr const char* kUnknownError = "Unknown Error Occurred, Error Code: ZKXOJKRJ";

// The running job's status-bar elements; the initial texts reserve their width.
inline constexpr const char* kPercentPaneInitial = ".............  ";
inline constexpr const char* kProgressPaneInitial =
    "..                                                             .";
inline constexpr const char* kFoundPaneInitial = "..                              .";
inline constexpr const char* kProgressPrefix = "Progress: ";
inline constexpr const char* kFoundPrefix = "File Found: ";

// Snapshot commands.
inline constexpr const char* kSnapshotFilterDescription = ".QuarelBKF Files (*.EXECBKFQUAREL)";
inline constexpr const char* kSnapshotFilterPattern = "*EXECBKFQUAREL";
inline constexpr const char* kSnapshotSaving =
    " file is saving for Backup Exec BKF Recovery Snapshot.    ";
inline constexpr const char* kSnapshotSaved =
    "Saving of Backup Exec BKF Recovery Snapshot has been completed successfully.    ";
inline constexpr const char* kSnapshotSelected =
    " File is selected for BKF Load Recovery Snapshot.     ";
inline constexpr const char* kSnapshotBkfName = "BKF file name:  ";
inline constexpr const char* kSnapshotLoaded =
    "Loading of BKF file snapshot has been completed.     ";

// Tree context menu.
inline constexpr const char* kCollapseAll = "Collapse All";
inline constexpr const char* kRename = "Rename";

// Log file.
inline constexpr const char* kLogFilterDescription = "Text Files (*.TXT)";
inline constexpr const char* kLogFilterPattern = "*.txt";
inline constexpr const char* kLogDefaultExtension = "txt";
inline constexpr const char* kLogInitialName = "Untitled";

// Recovery selection.
inline constexpr const char* kRangeDialogTitle = "Recovery Selection";
inline constexpr const char* kModeGroup = "Select Recovery Mode:";
inline constexpr const char* kStandardMode = "Standard Mode";
inline constexpr const char* kAdvancedMode = "Advanced Mode";
inline constexpr const char* kHeuristic = "Heuristic scanning";
inline constexpr const char* kScanGroup = "Select file Scanning option:";
inline constexpr const char* kScanComplete = "Scan complete BKF file";
inline constexpr const char* kScanPartial = "Scan partial BKF file";
inline constexpr const char* kFileSizeLabel = "File Size(Bytes):";
inline constexpr const char* kMinLabel = "Min(Bytes):";
inline constexpr const char* kMaxLabel = "Max(Bytes):";
inline constexpr const char* kOk = "OK";
inline constexpr const char* kCancel = "Cancel";
inline constexpr const char* kStandardHelp =
    "Select Standard mode recovery to handle common corruption issues in corrupt bkf "
    "file(Faster).";
inline constexpr const char* kAdvancedHelp =
    "Advanced mode recovery handle other corruption issues in corrupt bkf file which cannot be "
    "handled by standard mode(Fast).";
inline constexpr const char* kHeuristicHelp =
    "Heuristic scanning option allows scanning algorithm to handle unknown tags which can vary "
    "from OS to OS. Recommended to use only when advanced mode recover partial data from BKF "
    "file.";
inline constexpr const char* kEqualRange = "Set range properly, both value cannot be same.";

// About dialog.
inline constexpr const char* kWebsiteTip = "Company website";
inline constexpr const char* kSupportTip = "Support email address";
inline constexpr const char* kSalesTip = "Sales email address";

// The vendor's addresses: configuration of the product.
inline constexpr const char* kVendorWebsite = "https://www.kelvara.example/";
inline constexpr const char* kVendorWebsiteLabel = "www.kelvara.example";
inline constexpr const char* kSupportEmail = "support@kelvara.example";
inline constexpr const char* kSalesEmail = "sales@kelvara.example";
inline constexpr const char* kHelpPage =
    "https://www.kelvara.example/bkf-recovery/how-it-works.html";
inline constexpr const char* kProductPage = "https://www.kelvara.example/bkf-recovery/";
inline constexpr const char* kVendorNotice =
    "This program recovers data from damaged backup images; it never writes to them.";

}  // namespace kelvara::app_texts
