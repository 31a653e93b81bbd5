#include <QApplication>

#include "app/application.h"

int main(int argc, char** argv) {
    QApplication qtApp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvara"));
    kelvara::CVexlBKFFileRepProjApp app;
    if (!app.InitInstance()) return 0;
    return qtApp.exec();
}
