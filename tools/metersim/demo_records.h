#pragma once
// Stored records for trying the program: a short record of 35 points, a working day of 480
// one-minute points and a long record of 10,000 points, with levels of a noisy workplace (machines,
// breaks, some impacts) and a few marked points. The same every time.
#include <vector>

#include "metersim/record.h"

namespace sq::metersim {

std::vector<StoredRecord> demoRecords();

}  // namespace sq::metersim
