// minimal-core: the floor for the rig-control server's memory. A Qt Core
// program that runs its event loop and nothing else; it says "ready" once
// the loop runs.

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTimer::singleShot(0, [] {
        std::puts("ready");
        std::fflush(stdout);
    });
    return QCoreApplication::exec();
}
