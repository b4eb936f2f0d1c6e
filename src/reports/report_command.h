#pragma once
// What a record list window's report command holds while it runs: the window kept in memory, its
// toolbar idle (the busy flag), polling paused, and the window's caption that the report writes its
// progress into and gives back at its end. A window unloaded meanwhile lets the report finish from
// its grid copies; nothing is written into it any more and nothing brings it back.
#include <string>

#include "platform/ui/window.h"

namespace sq {

class ReportCommandScope {
public:
    // Sets `busy` (a member of `window`) and pauses polling; both are given back on every way out.
    ReportCommandScope(Window& window, bool& busy);
    ~ReportCommandScope();
    ReportCommandScope(const ReportCommandScope&) = delete;
    ReportCommandScope& operator=(const ReportCommandScope&) = delete;

private:
    HandlerScope m_handler;
    bool& m_busy;
};

class ReportCaption {
public:
    // Keeps the window's caption as it stands.
    explicit ReportCaption(Window& window);
    ReportCaption(const ReportCaption&) = delete;
    ReportCaption& operator=(const ReportCaption&) = delete;

    [[nodiscard]] const std::string& kept() const { return m_kept; }
    // Writes `caption` while the window is loaded.
    void show(const std::string& caption);

private:
    HandlerScope m_handler;
    Window& m_window;
    std::string m_kept;
};

}  // namespace sq
