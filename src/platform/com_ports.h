#pragma once
// "COM n" (n = 1 to 256) to a port: an in-memory pair registered under n, else an entry COMn in
// <program folder>/ports/ (a link or device node used as it is, or a text file "device-path pid"
// used only while that process lives; a stale one is removed), else the default table:
// COM1-32 /dev/ttyUSB0-31, COM33-64 /dev/ttyACM0-31, COM65-96 /dev/ttyS0-31.
#include <memory>
#include <string>
#include <string_view>

namespace sq {

class MemoryPortPair;

struct ComPortLocation {
    enum class Kind { None, Memory, Device };
    Kind kind = Kind::None;
    std::string devicePath;                  // Kind::Device
    std::shared_ptr<MemoryPortPair> memory;  // Kind::Memory
};

// 12 for "COM12" (letters in any case), 0 when the name is not "COM" and a number 1 to 256.
int comNumberFromName(std::string_view name);
// The default table's device for n, empty outside COM1-COM96.
std::string defaultComDevice(int n);
// <program folder>/ports
std::string comPortsFolder();
ComPortLocation resolveComPort(int n);
// True when n resolves to an in-memory pair or to a device path that exists.
bool comPortExists(int n);

}  // namespace sq
