#include "reports/report_command.h"

#include "shared/state.h"

namespace sq {

ReportCommandScope::BusyUntilDone::BusyUntilDone(bool& busy) : m_busy(busy) {
    m_busy = true;
}

ReportCommandScope::BusyUntilDone::~BusyUntilDone() {
    EnablePollTimers();
    m_busy = false;
}

ReportCommandScope::ReportCommandScope(Window& window, bool& busy, CommandPointer pointer)
    : m_handler(&window), m_busy(busy) {
    if (pointer == CommandPointer::Hourglass) m_hourglass.emplace();
    DisablePollTimers();
}

ReportCaption::ReportCaption(Window& window)
    : m_handler(&window), m_window(window), m_kept(window.Caption()) {}

void ReportCaption::show(const std::string& caption) {
    if (m_window.isLoaded()) m_window.setCaption(caption);
}

}  // namespace sq
