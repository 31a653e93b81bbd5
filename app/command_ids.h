#pragma once
// Command, pane and control ids of the main frame.
namespace kelvara {

// Ribbon commands.
inline constexpr int ID_OPEN_BKF_FILE = 283;
inline constexpr int ID_STOP_PROCESS = 322;
inline constexpr int ID_SAVE_RECOVERED = 298;
inline constexpr int ID_SEARCH_FILES = 297;
inline constexpr int ID_SAVE_LOG = 325;
inline constexpr int ID_LOAD_SNAPSHOT = 293;
inline constexpr int ID_SAVE_SNAPSHOT = 294;
inline constexpr int ID_HELP_PAGE = 295;
inline constexpr int ID_ABOUT = 296;

// Status bar elements.
inline constexpr int ID_STATUS_PROGRESS_BAR = 310;
inline constexpr int ID_STATUS_LINK = 311;
inline constexpr int ID_STATUS_PROGRESS = 312;
inline constexpr int ID_STATUS_FOUND = 313;
inline constexpr int ID_STATUS_PERCENT = 326;
inline constexpr int ID_STATUS_TITLE = 121;

// Application looks; the frame always applies the black Office 2007 look.
inline constexpr int ID_VIEW_APPLOOK_FIRST = 210;
inline constexpr int ID_VIEW_APPLOOK_OFF_2007_BLACK = 216;
inline constexpr int ID_VIEW_APPLOOK_LAST = 218;

// Tree context menu.
inline constexpr int ID_TREE_COLLAPSE_ALL = 32777;
inline constexpr int ID_TREE_RENAME = 32782;

// Panes and their controls.
inline constexpr int ID_TREE_PANE = 133;
inline constexpr int ID_OUTPUT_PANE = 149;
inline constexpr int ID_VIEWER = 282;
inline constexpr int ID_LOG_LIST = 323;
inline constexpr int ID_OUTPUT_TABS = 324;

}  // namespace kelvara
