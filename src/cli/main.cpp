#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "cli/CliRun.h"

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int status = varkunda::cli::RunCli(QCoreApplication::arguments(), out, err);
    out.flush();
    err.flush();
    return status;
}
