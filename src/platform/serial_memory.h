#pragma once
// A serial port on the program end of an in-memory line (MemoryPortPair), for logic tests and the
// in-process simulator. Writes never wait: nothing can drain the line while no events run.
#include <memory>

#include "platform/serial_port.h"

namespace sq {

class MemoryPortPair;

// Fails with EBUSY while another port object has the pair's program end open.
std::unique_ptr<SerialPort> openMemoryPort(std::shared_ptr<MemoryPortPair> pair, SerialError& error);

}  // namespace sq
