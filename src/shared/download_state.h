#pragma once
// The phases of a record download. A 0x0E reply is decoded only while awaiting the header, a 0x12
// reply only while receiving blocks; a download ends at its last block, at another record click and
// when the record list window unloads.
#include <cstdint>

namespace sq {

enum class DownloadPhase { Idle, AwaitingHeader, ReceivingBlocks };

struct DownloadState {
    DownloadPhase phase = DownloadPhase::Idle;
    // Requests for the outstanding block sent beyond the first (Timer1's repeats); decides how many
    // byte-identical copies of the accepted block are dropped as duplicates.
    int32_t repeatsOfBlock = 0;
};

DownloadState& downloadState();

}  // namespace sq
