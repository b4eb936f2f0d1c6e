#pragma once
// "COM n" (n = 1 to 256) to a port: an in-memory pair registered under n, else an entry COMn in
// <program folder>/ports/, else the default table: COM1-32 /dev/ttyUSB0-31, COM33-64
// /dev/ttyACM0-31, COM65-96 /dev/ttyS0-31.
// An entry is a link or device node the user made (used as it is) or a simulator's text file
// "device-path process-id". A simulator holds an exclusive flock on its file while it runs; its
// entry counts only while that lock is held and the device is a pseudo-terminal. One whose lock is
// free is stale and removed (its process id may belong to another program by now). A text file of
// any other form is ignored and kept.
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
// The headings of the port table, in the language shown.
struct ComPortTableWords {
    std::string found;      // above the ports that exist now
    std::string numbering;  // above the rules that give a COM number its device
};
// What stands in for the system's device manager: a line "COMn  device" for every port that
// exists now, then the rules that give a COM number its device, each part under its heading.
std::string comPortTable(const ComPortTableWords& words);

}  // namespace sq
