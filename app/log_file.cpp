#include "app/log_file.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>

#include "app/app_texts.h"

namespace kelvara {
namespace {

constexpr qsizetype kChunkBytes = 64 * 1024;

void AppendUtf16Le(QByteArray& out, const QString& text) {
    for (QChar c : text) {
        const char16_t unit = c.unicode();
        out.append(static_cast<char>(unit & 0xFF));
        out.append(static_cast<char>(unit >> 8));
    }
}

void AppendLine(QByteArray& out, const QString& text) {
    AppendUtf16Le(out, text);
    AppendUtf16Le(out, QStringLiteral("\r\n"));
}

// 0, or the errno of the failed write.
int WriteAll(int fd, QByteArray& pending) {
    const char* data = pending.constData();
    qsizetype left = pending.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(left));
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        data += written;
        left -= written;
    }
    pending.clear();
    return 0;
}

}  // namespace

int WriteLogFile(const QString& path, const QStringList& rows) {
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return errno;

    int error = 0;
    if (!rows.isEmpty()) {
        QByteArray pending;
        pending.reserve(kChunkBytes + 4096);
        AppendLine(pending, QString::fromLatin1(app_texts::kLogHeader));
        AppendLine(pending, QString());
        for (const QString& row : rows) {
            AppendLine(pending, row);
            if (pending.size() >= kChunkBytes && (error = WriteAll(fd, pending)) != 0) break;
        }
        if (error == 0) error = WriteAll(fd, pending);
    }
    if (::close(fd) != 0 && error == 0 && errno != EINTR) error = errno;
    return error;
}

}  // namespace kelvara
