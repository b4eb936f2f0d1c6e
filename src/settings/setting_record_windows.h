#pragma once
// The setting windows whose Set keeps a record for re-send requests (dose channels, display pages,
// LED alarm), registered together with the reply decodings that fill them.
namespace sq {

class WindowRegistry;

void registerSettingRecordWindows(WindowRegistry& registry);

}  // namespace sq
