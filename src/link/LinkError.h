#pragma once

#include <cstddef>
#include <string>

#include "link/DriverStatus.h"

namespace varkunda::link {

// What went wrong on the way to or from the pedal. The link reports kinds; only a front
// end (the editor, a command-line tool) turns a kind into words.
enum class LinkErrorKind {
    DriverCall,           // a driver call failed with `driverStatus`
    DeviceLost,           // the open device went away (unplugged, switched off)
    PermissionDenied,     // the system refused to open `device`
    LineSettingsFailed,   // the opened line could not be set up, so it was closed again
    NotHexadecimal,       // the message text is not hexadecimal from byte `reached` on
    MessageTooLong,       // `expected` bytes do not fit the transfer buffer
    WriteFailed,          // the driver refused the write
    WriteIncomplete,      // only `reached` of `expected` bytes were written
    RequestNotSent,       // the status request did not reach the pedal
    ReadFailed,           // the driver could not be asked for what the pedal sent
    NoReply,              // nothing arrived within the time limit
    IncompleteReply,      // only `reached` of `expected` numbers arrived
    UnreadableReply,      // enough numbers, but not in the layout of a status reply
    UnknownDeviceChoice,  // `detail` names no device backend
    DeviceChoiceMissing,  // the device option came without a value
    LibraryNotLoaded,     // the vendor library did not load; `detail` says why
    LibraryIncomplete,    // the vendor library `device` lacks the calls named in `call`
    NotAnEepromAddress,   // `device` is not an EEPROM bus address of two hexadecimal digits
    IncompleteTable,      // a table to send holds `reached` instead of `expected` bytes
    NoUploadAnswer,       // the pedal did not answer an upload within the time limit
};

// Fields a kind does not use stay empty.
struct LinkError {
    LinkErrorKind kind = LinkErrorKind::DriverCall;
    FtStatus driverStatus = ft::OK;
    std::string call{};        // the access-layer call that failed ("FT_Write"), when one did
    std::string device{};      // the port, device or library concerned, when known
    std::string detail{};      // the system's own words (a port's error text), never ours
    std::size_t reached = 0;   // how far it got: bytes converted or written, numbers read
    std::size_t expected = 0;  // how far it should have got

    bool operator==(const LinkError&) const = default;
};

}  // namespace varkunda::link
