#pragma once
// The recovered file being written. Failures keep the system's reason, because a full disk or a
// name the file system refuses ends the save job and the reason is shown to the user.
#include <cstddef>
#include <string>

namespace kelvara {

struct IoStatus {
    bool ok = true;
    std::string reason;  // the system's text when !ok

    explicit operator bool() const { return ok; }
    static IoStatus Failure(int errorNumber);
};

class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates for reading and writing, truncating an existing file.
    IoStatus Create(const std::string& path);
    bool IsOpen() const { return m_fd >= 0; }
    // Writes all n bytes or fails.
    IoStatus Write(const void* data, size_t n);
    // Closing can report a write that failed late; closing a closed file is fine.
    IoStatus Close();

private:
    int m_fd = -1;
};

}  // namespace kelvara
