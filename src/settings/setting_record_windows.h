#pragma once
// The setting windows filled by structured replies (dose channels, display pages, LED alarm, timer,
// welcome text, lunch time), registered together with the reply decodings that fill them, the
// timer upload's acknowledgements and the re-send request.
namespace sq {

class WindowRegistry;

void registerSettingRecordWindows(WindowRegistry& registry);

}  // namespace sq
