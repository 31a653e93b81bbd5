#pragma once
// Scripted answers for the platform's modal pieces. While a CUiScript lives, message boxes, file
// dialogs and popup menus show nothing: they record what they were asked and answer from queues;
// browser openings and process ends are recorded instead of done. Tests install one at a time.
#include <QList>
#include <QStringList>
#include <QUrl>
#include <deque>
#include <mutex>
#include <vector>

#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/popup_menu.h"

namespace kelvara {

class CUiScript {
public:
    CUiScript();
    ~CUiScript();
    CUiScript(const CUiScript&) = delete;
    CUiScript& operator=(const CUiScript&) = delete;

    static CUiScript* Active();

    // Answers, used in order. With the queue empty: Ok, or No for a question.
    void QueueMessageBoxAnswer(MessageBoxResult answer);
    // A path to return; the empty string cancels. With the queue empty: cancelled.
    void QueueFileDialogAnswer(const QString& path);
    // A command id to return; 0 dismisses. With the queue empty: dismissed.
    void QueuePopupMenuAnswer(int id);
    // Let EndProcessNow really end the process (after recording it).
    void SetRealProcessEnd(bool real);

    std::vector<MessageBoxRequest> MessageBoxes() const;
    QStringList MessageTexts() const;
    std::vector<FileDialogRequest> FileDialogs() const;
    std::vector<QList<PopupMenuEntry>> PopupMenus() const;
    QList<QUrl> OpenedUrls() const;
    std::vector<int> ProcessEnds() const;
    void ClearRecords();

    // Used by the platform functions.
    MessageBoxResult AnswerMessageBox(const MessageBoxRequest& request);
    QString AnswerFileDialog(const FileDialogRequest& request);
    int AnswerPopupMenu(const QList<PopupMenuEntry>& entries);
    void RecordOpenedUrl(const QUrl& url);
    void RecordProcessEnd(int exitCode);

private:
    mutable std::mutex m_mutex;
    std::deque<MessageBoxResult> m_messageAnswers;
    std::deque<QString> m_fileAnswers;
    std::deque<int> m_menuAnswers;
    bool m_bRealProcessEnd = false;
    std::vector<MessageBoxRequest> m_messages;
    std::vector<FileDialogRequest> m_fileDialogs;
    std::vector<QList<PopupMenuEntry>> m_menus;
    QList<QUrl> m_urls;
    std::vector<int> m_processEnds;
};

}  // namespace kelvara
