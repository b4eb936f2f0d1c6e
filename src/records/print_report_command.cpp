// The "Print" key of both record windows.
#include "platform/dialogs.h"
#include "platform/ui/printer_surface.h"
#include "platform/vb_error.h"
#include "records/record_window.h"
#include "reports/print_report.h"
#include "reports/report_command.h"
#include "shared/state.h"
#include "texts/language_texts.h"

namespace sq {

// Hourglass and polling paused for the whole command, and the window's toolbar doing nothing
// meanwhile; the question is asked even when no report follows. The pointer and polling come back on
// every way out; a cancelled printer dialog ends the command silently.
void RecordWindow::PrintCommand() {
    if (Busy) return;
    ReportCommandScope running(*this, Busy, CommandPointer::Hourglass);
    try {
        const bool withPoints = msgBox(texts().TxtOutputRecordData, MsgButtons::YesNo, MsgIcon::None,
                                       texts().TxtMessage) == MsgResult::Yes;
        shared().PrintRecordData = withPoints ? kTrue : kFalse;
        if (!SupportedModelKnown()) return;
        PrinterSurface printer;
        PrintDataReport(printer, *this, *m_summaryGrid, *m_pointGrid, *m_userInfoGrid);
    } catch (const VbError&) {
        // The command's error exit: pointer and polling come back as on every way out.
    }
}

}  // namespace sq
