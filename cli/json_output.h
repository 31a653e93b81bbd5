#pragma once
// JSON output. Written as a stream (one file object at a time) so a catalogue with a million files
// or nested a million levels deep needs neither a document in memory nor a recursive printer.
//
// A file object: {"index", "path", "name", "size", "offset"}: the record's index in the file
// table, its relative path ("\" separators), its name, nDataSize and nDataOffset.
#include <ostream>
#include <string>

#include "engine/bkf.h"
#include "search/search_job.h"

namespace kelvara::cli {

struct JsonTreeInfo {
    std::string strImage;  // the image the catalogue describes
    bool bStopped = false;
};

// {"image", "stopped", "total_files", "children": [node...], "files": [file...]} where a node is
// {"name", "path", "children": [...], "files": [...]}, children newest first as in the tree.
void PrintJsonTree(std::ostream& out, const bkf& scanner, const JsonTreeInfo& info);

// One array of file objects, in file-table order.
void PrintJsonFileList(std::ostream& out, const bkf& scanner);

// One array of file objects for the rows, in their order.
void PrintJsonSearchRows(std::ostream& out, const bkf& scanner, const SearchResult& result);

}  // namespace kelvara::cli
