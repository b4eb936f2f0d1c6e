// The "Print" key of both record list windows.
#include "platform/dialogs.h"
#include "platform/ui/printer_surface.h"
#include "platform/vb_error.h"
#include "records/data_list_frm.h"
#include "records/file_list_frm.h"
#include "reports/print_report.h"
#include "reports/report_command.h"
#include "shared/state.h"
#include "texts/language_texts.h"

namespace sq {

namespace {

// Hourglass and polling paused for the whole command, and the window's toolbar doing nothing
// meanwhile; the question is asked even when no report follows. The pointer and polling come back on
// every way out; a cancelled printer dialog ends the command silently.
void runPrintCommand(Window& frm, bool& busy, const FlexGrid& summary, const FlexGrid& points,
                     const FlexGrid& userInfo) {
    if (busy) return;
    ReportCommandScope running(frm, busy, CommandPointer::Hourglass);
    try {
        const bool withPoints = msgBox(texts().TxtOutputRecordData, MsgButtons::YesNo, MsgIcon::None,
                                       texts().TxtMessage) == MsgResult::Yes;
        shared().PrintRecordData = withPoints ? kTrue : kFalse;
        if (!SupportedModelKnown()) return;
        PrinterSurface printer;
        PrintDataReport(printer, frm, summary, points, userInfo);
    } catch (const VbError&) {
        // The command's error exit: pointer and polling come back as on every way out.
    }
}

}  // namespace

void DataListFrm::PrintCommand() {
    runPrintCommand(*this, Busy, QVX410Grid, QVX410PointGrid, GridUserInfo);
}

void FileListFrm::printReport() {
    runPrintCommand(*this, Busy, GridHeader, GridRecord, FileUserInfoGrid);
}

}  // namespace sq
