#pragma once
// What a record list window's long command (a save or a report) holds while it runs: the window
// kept in memory, its toolbar idle (the busy flag), polling paused, and the window's caption that
// the command writes its progress into and gives back at its end. A window unloaded meanwhile lets
// the command finish from its grid copies; nothing is written into it any more and nothing brings
// it back.
#include <optional>
#include <string>

#include "platform/ui/hourglass.h"
#include "platform/ui/window.h"

namespace sq {

enum class CommandPointer { Unchanged, Hourglass };

class ReportCommandScope {
public:
    // Sets `busy` (a member of `window`), shows the hourglass when asked, then pauses polling. On
    // every way out the pointer comes back first, then polling, then the busy flag is cleared.
    ReportCommandScope(Window& window, bool& busy, CommandPointer pointer = CommandPointer::Unchanged);
    ReportCommandScope(const ReportCommandScope&) = delete;
    ReportCommandScope& operator=(const ReportCommandScope&) = delete;

private:
    // Sets the flag when made; resumes polling and clears the flag when it goes.
    class BusyUntilDone {
    public:
        explicit BusyUntilDone(bool& busy);
        ~BusyUntilDone();
        BusyUntilDone(const BusyUntilDone&) = delete;
        BusyUntilDone& operator=(const BusyUntilDone&) = delete;

    private:
        bool& m_busy;
    };

    HandlerScope m_handler;
    BusyUntilDone m_busy;
    std::optional<ScopedHourglass> m_hourglass;
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
    // Gives the kept caption back while the window is loaded.
    void restore() { show(m_kept); }

private:
    HandlerScope m_handler;
    Window& m_window;
    std::string m_kept;
};

}  // namespace sq
