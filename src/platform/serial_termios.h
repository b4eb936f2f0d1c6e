#pragma once
// Serial ports on POSIX terminal devices (real adapters and pseudo-terminals).
#include <memory>
#include <string>

#include "platform/serial_port.h"

namespace sq {

// Opens `path` exclusively (O_NOCTTY, TIOCEXCL and an advisory lock), raw and non-blocking.
std::unique_ptr<SerialPort> openTermiosPort(const std::string& path, SerialError& error);
// The detail recorded when the device refuses access: the device and the group to join.
std::string permissionDeniedText(const std::string& path);
// The group that owns the device ("dialout" when it cannot be told).
std::string deviceGroup(const std::string& path);

}  // namespace sq
