#include "app/log_file.h"

#include <QFile>

#include "extract/log_file.h"

namespace kelvara {

int WriteLogFile(const QString& path, const QStringList& rows) {
    LogFileWriter log;
    if (!log.Create(QFile::encodeName(path).toStdString())) return log.ErrorNumber();
    for (const QString& row : rows) {
        log.Append(std::u16string_view(reinterpret_cast<const char16_t*>(row.utf16()),
                                       static_cast<size_t>(row.size())));
        if (log.ErrorNumber() != 0) break;
    }
    log.Close();
    return log.ErrorNumber();
}

}  // namespace kelvara
