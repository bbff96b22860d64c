#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>

#include "link/LinkError.h"

namespace varkunda::link {

enum class BackendKind {
    Auto,       // the vendor library when it loads, else the FTDI bridges' serial ports
    Simulated,  // the software pedal in process
    Serial,     // serial ports (FTDI bridges, plus a named port)
    Vendor,     // the FTDI D2XX library
};

// The device backend chosen once at start: `--device sim|sim:N|serial|serial:PORT|
// d2xx|d2xx:LIBRARY|auto` on the command line, or the environment variable
// VARKUNDA_DEVICE; the command line wins.
struct BackendChoice {
    BackendKind kind = BackendKind::Auto;
    std::string serialPort;          // serial:PORT
    unsigned simulatedPedals = 1;    // sim:N
    std::string vendorLibrary;       // d2xx:LIBRARY, else the usual library names
    std::optional<LinkError> error;  // set when the choice could not be read
};

inline constexpr const char* kDeviceOption = "--device";
inline constexpr const char* kDeviceEnvironmentVariable = "VARKUNDA_DEVICE";
inline constexpr unsigned kMaxSimulatedPedals = 8;

BackendChoice ParseBackendChoice(const QStringList& arguments, const QString& environmentValue);
// Reads VARKUNDA_DEVICE itself.
BackendChoice ParseBackendChoice(const QStringList& arguments);

}  // namespace varkunda::link
