#include "reports/report_command.h"

#include "shared/state.h"

namespace sq {

ReportCommandScope::ReportCommandScope(Window& window, bool& busy) : m_handler(&window), m_busy(busy) {
    m_busy = true;
    DisablePollTimers();
}

ReportCommandScope::~ReportCommandScope() {
    EnablePollTimers();
    m_busy = false;
}

ReportCaption::ReportCaption(Window& window)
    : m_handler(&window), m_window(window), m_kept(window.Caption()) {}

void ReportCaption::show(const std::string& caption) {
    if (m_window.isLoaded()) m_window.setCaption(caption);
}

}  // namespace sq
