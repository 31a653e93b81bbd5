#include "platform/ui_script.h"

#include <atomic>
#include <cstdlib>

namespace kelvara {
namespace {

std::atomic<CUiScript*> g_active{nullptr};

}  // namespace

CUiScript::CUiScript() {
    g_active.store(this);
}

CUiScript::~CUiScript() {
    CUiScript* self = this;
    g_active.compare_exchange_strong(self, nullptr);
}

CUiScript* CUiScript::Active() {
    return g_active.load();
}

void CUiScript::QueueMessageBoxAnswer(MessageBoxResult answer) {
    std::lock_guard lock(m_mutex);
    m_messageAnswers.push_back(answer);
}

void CUiScript::QueueFileDialogAnswer(const QString& path) {
    std::lock_guard lock(m_mutex);
    m_fileAnswers.push_back(path);
}

void CUiScript::QueuePopupMenuAnswer(int id) {
    std::lock_guard lock(m_mutex);
    m_menuAnswers.push_back(id);
}

void CUiScript::SetRealProcessEnd(bool real) {
    std::lock_guard lock(m_mutex);
    m_bRealProcessEnd = real;
}

std::vector<MessageBoxRequest> CUiScript::MessageBoxes() const {
    std::lock_guard lock(m_mutex);
    return m_messages;
}

QStringList CUiScript::MessageTexts() const {
    std::lock_guard lock(m_mutex);
    QStringList texts;
    for (const MessageBoxRequest& m : m_messages) texts << m.text;
    return texts;
}

std::vector<FileDialogRequest> CUiScript::FileDialogs() const {
    std::lock_guard lock(m_mutex);
    return m_fileDialogs;
}

std::vector<QList<PopupMenuEntry>> CUiScript::PopupMenus() const {
    std::lock_guard lock(m_mutex);
    return m_menus;
}

QList<QUrl> CUiScript::OpenedUrls() const {
    std::lock_guard lock(m_mutex);
    return m_urls;
}

std::vector<int> CUiScript::ProcessEnds() const {
    std::lock_guard lock(m_mutex);
    return m_processEnds;
}

void CUiScript::ClearRecords() {
    std::lock_guard lock(m_mutex);
    m_messages.clear();
    m_fileDialogs.clear();
    m_menus.clear();
    m_urls.clear();
    m_processEnds.clear();
}

MessageBoxResult CUiScript::AnswerMessageBox(const MessageBoxRequest& request) {
    std::lock_guard lock(m_mutex);
    m_messages.push_back(request);
    const bool question = request.buttons == MessageBoxButtons::YesNo;
    MessageBoxResult answer = question ? MessageBoxResult::No : MessageBoxResult::Ok;
    if (!m_messageAnswers.empty()) {
        answer = m_messageAnswers.front();
        m_messageAnswers.pop_front();
    }
    // A box can only give the answers its buttons offer.
    if (!question) return MessageBoxResult::Ok;
    return answer == MessageBoxResult::Yes ? MessageBoxResult::Yes : MessageBoxResult::No;
}

QString CUiScript::AnswerFileDialog(const FileDialogRequest& request) {
    std::lock_guard lock(m_mutex);
    m_fileDialogs.push_back(request);
    if (m_fileAnswers.empty()) return {};
    QString answer = m_fileAnswers.front();
    m_fileAnswers.pop_front();
    return answer;
}

int CUiScript::AnswerPopupMenu(const QList<PopupMenuEntry>& entries) {
    std::lock_guard lock(m_mutex);
    m_menus.push_back(entries);
    if (m_menuAnswers.empty()) return 0;
    const int answer = m_menuAnswers.front();
    m_menuAnswers.pop_front();
    for (const PopupMenuEntry& entry : entries) {
        if (entry.id == answer) return answer;
    }
    return 0;
}

void CUiScript::RecordOpenedUrl(const QUrl& url) {
    std::lock_guard lock(m_mutex);
    m_urls << url;
}

void CUiScript::RecordProcessEnd(int exitCode) {
    bool real = false;
    {
        std::lock_guard lock(m_mutex);
        m_processEnds.push_back(exitCode);
        real = m_bRealProcessEnd;
    }
    if (real) std::_Exit(exitCode);
}

}  // namespace kelvara
