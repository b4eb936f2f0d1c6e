#pragma once
// Records for `metersim --records FILE`: a JSON file
//   {"records": [{"start": "2022/03/30 14:05:09", "interval": 60,
//                 "listTime": "2022/03/30 14:05:09",            (optional, default: start)
//                 "channels": [{"threshold": 80, "criterion": 90, "exchangeRate": 5,
//                               "exceedanceLevel": 115, "pwDuration": 480}, ...],  (optional)
//                 "pages": [0, 1, 2, ...],   (optional: dose channel of display pages 1 to 14)
//                 "points": [[653, 660, 931, 960], [700, 701, 950, 990, 1], ...]}]}
// Point levels are tenths of a dB (LAVG, LEQ, LCPK, LZPK); a fifth value other than 0 marks the
// point. The header's summary values are derived from the points.
#include <string>
#include <vector>

#include "metersim/record.h"

namespace sq::metersim {

// False with the reason in `error` when the file cannot be read or is not such a file.
bool loadRecordsFile(const std::string& path, std::vector<StoredRecord>& out, std::string& error);
bool saveRecordsFile(const std::string& path, const std::vector<StoredRecord>& records);

}  // namespace sq::metersim
