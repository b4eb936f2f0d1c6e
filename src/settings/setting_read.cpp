#include "settings/setting_read.h"

#include "link/channels.h"
#include "link/com_port_api.h"
#include "platform/runtime.h"
#include "platform/ui/window.h"
#include "platform/vb_error.h"
#include "settings/window_rules.h"
#include "shared/state.h"

namespace sq {

void runSettingRead(const TreeNodeEntry& setting, std::string_view preparation, double settle) {
    for (char step : preparation) {
        switch (step) {
            case 'P':
                DisablePollTimers();
                break;
            case 'C':
                unloadByFlags(checkPanelFlageOrder());
                break;
            case 'F':
                if (setting.flush) skipOnError([] { FlushChannel(PortAPI()); });
                break;
            case 'M':
                if (setting.modeFlag) flags().*setting.modeFlag = kTrue;
                break;
            default:
                break;
        }
    }
    const char* window = setting.window;
    skipOnError([window] { windows().window(window).Show(); });
    Delay(0.1);
    if (setting.readRequest) skipOnError([&setting] { setting.readRequest(); });
    Delay(settle);
    EnablePollTimers();
}

const TreeNodeEntry* deviceTreeNode(std::string_view key) {
    for (const TreeNodeEntry& node : deviceTreeNodes())
        if (key == node.key) return &node;
    return nullptr;
}

}  // namespace sq
