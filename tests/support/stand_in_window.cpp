#include "support/stand_in_window.h"

namespace sq {

StandInWindow::StandInWindow(std::string name, int16_t* openFlag, WindowKind kind)
    : Window(std::move(name), kind, openFlag) {}

namespace {
std::string flagText(const int16_t* flag) {
    return flag ? std::to_string(*flag) : "-";
}
}  // namespace

void StandInWindow::Form_Load() {
    calls.push_back("load:" + flagText(openFlagPointer()));
    if (onLoadCall) onLoadCall(*this);
}

void StandInWindow::Form_Unload() {
    calls.push_back("unload:" + flagText(openFlagPointer()));
    if (onUnloadCall) onUnloadCall(*this);
}

void StandInWindow::shown(ShowMode mode) {
    calls.push_back(mode == ShowMode::Modal ? "show modal" : "show");
}

void registerStandIn(const std::string& name, int16_t* openFlag,
                     std::shared_ptr<std::vector<std::string>> log, WindowKind kind) {
    windows().registerWindow(name, [name, openFlag, log, kind]() -> std::unique_ptr<Window> {
        auto w = std::make_unique<StandInWindow>(name, openFlag, kind);
        if (log) {
            w->onLoadCall = [log, name](StandInWindow&) { log->push_back(name + " load"); };
            w->onUnloadCall = [log, name](StandInWindow&) { log->push_back(name + " unload"); };
        }
        return w;
    });
}

}  // namespace sq
