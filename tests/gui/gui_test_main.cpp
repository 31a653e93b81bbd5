// One QApplication for all tests, on the offscreen platform unless told otherwise, with private
// temporary and settings folders so the tests never touch a running program's lock, preview
// folder or settings. Two helper modes serve the tests that need a second process.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include "app/application.h"
#include "app/main_frame.h"
#include "platform/single_instance.h"
#include "platform/temp_folder.h"
#include "platform/ui_script.h"

namespace {

void UsePrivateFolders(const std::string& root) {
    std::filesystem::create_directories(root + "/config");
    std::filesystem::create_directories(root + "/runtime");
    std::filesystem::permissions(root + "/runtime", std::filesystem::perms::owner_all);
    setenv("TMPDIR", root.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (root + "/runtime").c_str(), 1);
}

// --hold-instance-lock PATH: takes the lock, says "held" or "busy", and keeps it until its
// standard input closes.
int HoldInstanceLock(const char* path) {
    kelvara::CSingleInstanceLock lock(QString::fromLocal8Bit(path));
    std::cout << (lock.AlreadyRunning() ? "busy" : "held") << std::endl;
    char buffer[64];
    while (::read(STDIN_FILENO, buffer, sizeof buffer) > 0) {
    }
    return 0;
}

// --close-frame ROOT: starts the program with ROOT as its temporary folder, puts a file into
// the preview folder and closes the frame with the answer Yes; the process should end there.
int CloseFrame(int argc, char** argv) {
    UsePrivateFolders(argv[2]);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qtApp(argc, argv);
    kelvara::CUiScript script;
    script.SetRealProcessEnd(true);
    script.QueueMessageBoxAnswer(kelvara::MessageBoxResult::Yes);
    kelvara::CVexlBKFFileRepProjApp app(QString::fromLocal8Bit(argv[2]) + "/instance.lock");
    if (!app.InitInstance()) return 2;
    QDir().mkpath(kelvara::GetPreviewFolder() + "/sub");
    QFile file(kelvara::GetPreviewFolder() + "/sub/x.txt");
    if (!file.open(QIODevice::WriteOnly)) return 3;
    file.close();
    app.GetMainFrame()->close();
    return 4;  // only reached when closing did not end the process
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::string(argv[1]) == "--hold-instance-lock")
        return HoldInstanceLock(argv[2]);
    if (argc >= 3 && std::string(argv[1]) == "--close-frame") return CloseFrame(argc, argv);

    std::string root = (std::filesystem::temp_directory_path() / "kelvara-gui-XXXXXX").string();
    if (!mkdtemp(root.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    UsePrivateFolders(root);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");

    int result = 0;
    {
        QApplication qtApp(argc, argv);
        ::testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
    return result;
}
