#pragma once
// The log file: UTF-16 little-endian without a byte-order mark, lines ended by CR LF; the header
// and an empty line, then every row. No rows give an empty file.
#include <QString>
#include <QStringList>

namespace kelvara {

// Creates (or truncates) the file and writes it. 0 on success, else the errno of the failed
// step; rows written before a failure stay in the file.
int WriteLogFile(const QString& path, const QStringList& rows);

}  // namespace kelvara
