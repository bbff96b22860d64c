#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#ifdef Q_OS_WIN
#include <io.h>
#define VARKUNDA_ISATTY _isatty
#define VARKUNDA_FILENO _fileno
#else
#include <unistd.h>
#define VARKUNDA_ISATTY isatty
#define VARKUNDA_FILENO fileno
#endif

#include "cli/CliRun.h"

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    varkunda::cli::CliInjection surroundings;
    surroundings.errIsTerminal = VARKUNDA_ISATTY(VARKUNDA_FILENO(stderr)) != 0;
    const int status = varkunda::cli::RunCli(QCoreApplication::arguments(), out, err, surroundings);
    out.flush();
    err.flush();
    return status;
}
