#pragma once
// A stand-in for a program window, for tests that need a window of that name without its contents.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/window.h"

namespace sq {

// A window played by a test: a name, an open flag, and load and unload handlers that record their
// calls (and the flag's value at that moment) in `calls`.
class StandInWindow : public Window {
public:
    StandInWindow(std::string name, int16_t* openFlag, WindowKind kind = WindowKind::MdiChild);
    std::vector<std::string> calls;  // "load:<flag>", "unload:<flag>", "show", "show modal"
    std::function<void(StandInWindow&)> onLoadCall;
    std::function<void(StandInWindow&)> onUnloadCall;

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void shown(ShowMode mode) override;
};

// Registers a stand-in factory under `name`; every load records into the shared `log` as well
// ("<name> load", "<name> unload").
void registerStandIn(const std::string& name, int16_t* openFlag,
                     std::shared_ptr<std::vector<std::string>> log = {},
                     WindowKind kind = WindowKind::MdiChild);

}  // namespace sq
