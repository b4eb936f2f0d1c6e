#pragma once
// The entry <program folder>/ports/COMn through which the program finds a simulator's
// pseudo-terminal: one line "device-path process-id". The simulator holds an exclusive flock on the
// entry file from the moment it appears until it is removed; the program counts the entry only
// while that lock is held, so an entry left by a simulator that died (whose process id may since
// name another program) is never used. An entry whose lock is free is stale and may be replaced; a
// link a user made, a file of another form, or a locked entry stays.
#include <string>

namespace sq::metersim {

[[nodiscard]] std::string portEntryPath(int com);

// Writes the entry for `device` and this process and keeps it locked until releasePortEntry. False
// with the reason in `message` when another entry must stay; on success `message` tells what was
// done (including a stale entry replaced).
bool claimPortEntry(int com, const std::string& device, std::string& message);
// Removes the entry if it is still this process's own, and drops the lock.
void releasePortEntry(int com);

}  // namespace sq::metersim
