#pragma once

// The command-line tool run in process against software pedals on the fake clock.

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <string>
#include <vector>

#include "cli/CliRun.h"
#include "link/LinkEnvironment.h"
#include "link/backends/SimulatedD2xx.h"
#include "protocol/HexText.h"

struct CliRunResult {
    int status = -1;
    QString out;
    QString err;
    // The lines written to stderr.
    QStringList errLines() const { return err.split(u'\n', Qt::SkipEmptyParts); }
};

class CliFixture : public ::testing::Test {
  protected:
    explicit CliFixture(std::size_t pedals = 1) : device(Identities(pedals)) {}

    CliRunResult Run(const QStringList& arguments) {
        CliRunResult result;
        QTextStream out(&result.out);
        QTextStream err(&result.err);
        result.status =
            varkunda::cli::RunCli(QStringList{QStringLiteral("varkunda-cli")} + arguments, out, err,
                                  {&device, &environment, errIsTerminal, stopRequested});
        out.flush();
        err.flush();
        return result;
    }

    varkunda::sim::PedalSimulator& pedal(std::size_t index = 0) { return *device.pedal(index); }
    // Everything the pedal received, as hex text.
    std::string wire(std::size_t index = 0) {
        return varkunda::protocol::BytesToHexText(pedal(index).hostBytes());
    }

    static std::vector<varkunda::sim::PedalIdentity> Identities(std::size_t count) {
        std::vector<varkunda::sim::PedalIdentity> identities(count);
        for (std::size_t i = 0; i < count; ++i)
            identities[i].serialNumber = "VKTZ500" + std::to_string(i + 1);
        return identities;
    }

    varkunda::link::SimulatedD2xx device;
    varkunda::link::FakeLinkEnvironment environment;
    bool errIsTerminal = false;
    std::function<bool()> stopRequested;  // for log: asked before each read
};
