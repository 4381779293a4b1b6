// Installs the crash handler on the folder given and then crashes the way the
// second argument says, so that a test can look at what it left behind.
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include <QCoreApplication>

#include "app/cbreakpadhandler.h"

using kd_app::breadpad_wrapper::CBreakpadHandler;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        return 2;
    }
    CBreakpadHandler::getInstance()->setDumpPath(QString::fromLocal8Bit(argv[1]));
    std::printf("%s\n", qPrintable(CBreakpadHandler::getInstance()->nextDumpId()));
    std::fflush(stdout);
    const QByteArray how(argv[2]);
    if (how == "segv") {
        volatile int *nowhere = nullptr;
        *nowhere = 1;
    } else if (how == "abort") {
        std::abort();
    }
    return 0;
}
