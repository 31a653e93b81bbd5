#pragma once
// Plain-text output: the catalogue tree, file rows, totals.
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "engine/bkf.h"
#include "search/search_job.h"

namespace kelvara::cli {

// UTF-8 for a terminal: control characters become their visible pictures (U+2400 block, or U+FFFD
// for C1), so a name from a damaged image can neither break a line nor drive the terminal.
std::string ForTerminal(std::u16string_view text);

// Nodes as "name\" indented two blanks per level, files as "name  (N bytes, offset O)" below
// them, then "Total number of files found: " and the count.
void PrintTree(std::ostream& out, const bkf& scanner);

// One line per file, in file-table order: relative path, a tab, the size.
void PrintFileList(std::ostream& out, const bkf& scanner);

// The rows as PrintFileList does, then "Total No. of files : " and the count.
void PrintSearchRows(std::ostream& out, const SearchResult& result);

}  // namespace kelvara::cli
