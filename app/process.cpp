#include "app/process.h"

#include <QApplication>
#include <QFont>
#include <cstdlib>

#include "app/main_window.h"
#include "signin/signin.h"

void RunEndOfProcessCleanup() {
    static bool done = false;
    if (done) {
        return;
    }
    done = true;
    ReleaseSignInTexts();
}

void EndProcess(int exitCode) {
    RunEndOfProcessCleanup();
    std::exit(exitCode);
}

int RunProcess() {
    // The framework is given the program's name only: the program reads no command line.
    int argc = 1;
    char name[] = "account-manager";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    std::atexit(RunEndOfProcessCleanup);

    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("Microsoft YaHei UI"), QStringLiteral("SimSun"),
                      QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(12);
    QApplication::setFont(font);

    (new MainWindow())->show();
    QApplication::exec();
    RunEndOfProcessCleanup();
    return 0;
}
