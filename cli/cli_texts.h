#pragma once
// The command line's own texts. The system's texts (scan results, aborts, search and save) come
// from the subsystems' text headers.
namespace kelvara::cli_texts {

inline constexpr const char* kProgramName = "kelvara-cli";
inline constexpr const char* kDescription =
    "Kelvara v22.0 command line: recovers files from damaged Microsoft Tape Format\n"
    "(.bkf) backup images.\n"
    "\n"
    "A scan looks for MTF descriptor blocks anywhere in the image, independent of the\n"
    "block chain, and builds a catalogue of media, backup sets, volumes, folders and\n"
    "files. Every command that takes IMAGE also takes a catalogue snapshot\n"
    "(*.EXECBKFQUAREL, saved with 'scan --snapshot'), loaded instead of scanning.\n";
inline constexpr const char* kFooter =
    "Examples:\n"
    "  kelvara-cli scan backup.bkf\n"
    "  kelvara-cli scan backup.bkf --advanced --snapshot backup.EXECBKFQUAREL\n"
    "  kelvara-cli list backup.EXECBKFQUAREL --json\n"
    "  kelvara-cli search backup.bkf '*.doc'\n"
    "  kelvara-cli extract backup.bkf -o recovered --pattern '*.xls' --next part2.bkf\n"
    "\n"
    "Run 'kelvara-cli COMMAND --help' for the options of a command.\n"
    "\n"
    "Exit status: 0 done; 1 the image or snapshot cannot be opened, or saving failed;\n"
    "2 wrong usage; 130 stopped with Ctrl-C (what was found or saved so far is kept).";

inline constexpr const char* kScanHelp = "Scan an image and print its catalogue as a tree";
inline constexpr const char* kScanFooter =
    "The tree lists media, backup sets, volumes and folders (each ending in \"\\\"),\n"
    "children newest first as the scan found them, then each folder's files with\n"
    "their size and the offset of their data in the image. The last line is the\n"
    "number of files found. Progress is shown on stderr while it is a terminal;\n"
    "Ctrl-C stops the scan and prints what was found so far.";
inline constexpr const char* kListHelp = "Print one line per recovered file: path and size";
inline constexpr const char* kListFooter =
    "Files come in catalogue order, each as its path inside the backup (\"\\\" between\n"
    "folders), a tab, and its size in bytes. Control characters in names are shown\n"
    "as visible symbols; --json gives the names exactly.";
inline constexpr const char* kSearchHelp = "List the files whose names match PATTERN";
inline constexpr const char* kSearchFooter =
    "'?' matches any one character and '*' any run of characters. A PATTERN without\n"
    "'*' is found anywhere in a name ('report' means '*report*'). Matching is\n"
    "case-sensitive and compares the file name only, not its folder. The rows are\n"
    "printed as by 'list', then the number of files found.";
inline constexpr const char* kExtractHelp = "Save recovered files into a folder";
inline constexpr const char* kExtractFooter =
    "Saves every file, or those --pattern matches, into DIR: below folders named after\n"
    "the backup's set, volume and folders, or with --flat all directly in DIR.\n"
    "\n"
    "Files of a backup split over several .bkf files continue in the next file of\n"
    "the set: name those files with --next, in order. Each saved file starts over\n"
    "with the first --next file. Without (enough) --next files the path is asked\n"
    "for on a terminal; otherwise the part in the next file is left out.\n"
    "\n"
    "The log goes to stderr, or with --log into a UTF-16LE text file. The last line\n"
    "on stdout is the number of files saved. If an output file cannot be created or\n"
    "written (disk full, ...) the job ends there, says why, and exits with 1.";

inline constexpr const char* kImageHelp = "a .bkf image, or a snapshot (*.EXECBKFQUAREL)";
inline constexpr const char* kAdvancedHelp = "advanced mode: follow the blocks' stream headers";
inline constexpr const char* kHeuristicHelp = "heuristic scanning";
inline constexpr const char* kRangeHelp = "scan only these bytes (START: or :END too)";
inline constexpr const char* kJsonHelp = "print JSON instead of text";
inline constexpr const char* kSnapshotHelp = "also save the catalogue as a snapshot file";
inline constexpr const char* kPatternArgHelp = "name pattern with ? and *";
inline constexpr const char* kOutputHelp = "destination folder (made if missing)";
inline constexpr const char* kFlatHelp = "no folders; equal names become 0name, 1name, ...";
inline constexpr const char* kPatternOptionHelp = "only the files matching P, as 'search' does";
inline constexpr const char* kNextHelp = "next file of a split set (repeat, in order)";
inline constexpr const char* kContinuedHelp = "save data begun in an earlier image (or ask)";
inline constexpr const char* kLogHelp = "write the log into FILE instead of stderr";

// Messages.
inline constexpr const char* kSnapshotWithScanOptions =
    "--advanced, --heuristic and --range apply to scanning an image, not to loading a snapshot";
inline constexpr const char* kWouldOverwriteInput =
    "--snapshot and --log must not name the file being read";
inline constexpr const char* kBadRange =
    "expected START:END with decimal byte offsets and START below END (END 0 is the end "
    "of the image)";
inline constexpr const char* kStoppedByUser = "Stopped (Ctrl-C); what was done until then is kept.";
inline constexpr const char* kOutputWriteFailed = "The output could not be written.";
inline constexpr const char* kSnapshotSaveFailed = "The snapshot could not be saved: ";
inline constexpr const char* kSnapshotSaved = "Snapshot saved: ";
inline constexpr const char* kAnswerYesNo = " [y/n] ";
inline constexpr const char* kUsingNextFile = "Continuing in the next BKF file: ";
inline constexpr const char* kAskNextFile = "Path of the next BKF file (empty to skip): ";
inline constexpr const char* kCannotCreateLog = "The log file cannot be created: ";
inline constexpr const char* kLogWriteFailed = "The log file could not be written: ";
inline constexpr const char* kSaveEndedEarly = "Saving ended early: ";

}  // namespace kelvara::cli_texts
