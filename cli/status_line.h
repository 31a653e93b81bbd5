#pragma once
// stderr as the command line's status area: one progress line redrawn in place while stderr is a
// terminal (at most a few times a second), and message lines that scroll above it.
#include <chrono>
#include <string>

namespace kelvara::cli {

bool StderrIsTerminal();
bool StdinIsTerminal();

class StatusLine {
public:
    // Progress is shown only when `showProgress`; messages are always written.
    explicit StatusLine(bool showProgress);
    ~StatusLine();
    StatusLine(const StatusLine&) = delete;
    StatusLine& operator=(const StatusLine&) = delete;

    bool ShowsProgress() const { return m_bShowProgress; }
    // Whether the progress line is shown and was not drawn within the throttle interval; lets
    // callers skip formatting a text that would not be drawn.
    bool ProgressDue() const;
    // Redraws the progress line when it is due.
    void Progress(const std::string& text);
    // Draws the progress line now.
    void ProgressNow(const std::string& text);
    // A line of its own on stderr, above the progress line.
    void Message(const std::string& line);
    // Removes the progress line.
    void Clear();

private:
    void Draw(const std::string& text);

    bool m_bShowProgress;
    bool m_bDrawn = false;
    std::chrono::steady_clock::time_point m_lastDraw{};
};

}  // namespace kelvara::cli
