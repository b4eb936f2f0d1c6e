#pragma once
// The entry <program folder>/ports/COMn through which the program finds a simulator's
// pseudo-terminal: one line "device-path process-id". An entry is ours to replace only when it is a
// text entry whose process has ended; a link a user made, or the entry of a living process, stays.
#include <sys/types.h>

#include <string>

namespace sq::metersim {

[[nodiscard]] std::string portEntryPath(int com);
[[nodiscard]] bool processAlive(pid_t pid);

// Writes the entry for `device` and this process. False with the reason in `message` when another
// entry must stay; on success `message` tells what was done (including a stale entry replaced).
bool claimPortEntry(int com, const std::string& device, std::string& message);
// Removes the entry if it is still this process's own.
void releasePortEntry(int com);

}  // namespace sq::metersim
