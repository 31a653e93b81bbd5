#pragma once
// The text shown when a file cannot be created, opened or written, in the wording of the
// framework's file errors: "%1" is replaced by the file name.
#include <QString>

namespace kelvara {

QString FileErrorMessage(int errnoValue, const QString& fileName);

}  // namespace kelvara
