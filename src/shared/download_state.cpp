#include "shared/download_state.h"

namespace sq {

DownloadState& downloadState() {
    static DownloadState state;
    return state;
}

}  // namespace sq
