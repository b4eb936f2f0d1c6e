// The "PDF" command of the record list window and the report bound to that window.
#include "records/pdf_report_command.h"

#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "records/data_list_frm.h"
#include "reports/pdf_report.h"
#include "reports/report_command.h"
#include "shared/state.h"
#include "texts/language_texts.h"

namespace sq {

namespace {

std::string fileTitle(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

void ExportPdfReport(const std::string& path) {
    auto* frm = dynamic_cast<DataListFrm*>(windows().find(DataListFrm::kName));
    if (!frm) return;
    ReportCaption caption(*frm);
    const PdfReportGrids grids{GridCopy(frm->QVX410Grid), GridCopy(frm->QVX410PointGrid),
                               GridCopy(frm->GridUserInfo)};
    PdfReportHost host;
    host.caption = caption.kept();
    host.setCaption = [&caption](const std::string& text) { caption.show(text); };
    host.deviceModel = shared().DeviceModel;
    host.printRecordData = shared().PrintRecordData;
    host.completedText = texts().TxtCompleted;
    WritePdfReport(path, grids, host);
}

void PdfReportCommand(DataListFrm& frm) {
    if (frm.Busy) return;
    ReportCommandScope running(frm, frm.Busy);
    const MsgResult answer =
        msgBox(texts().TxtOutputRecordData, MsgButtons::YesNo, MsgIcon::None, texts().TxtMessage);
    shared().PrintRecordData = answer == MsgResult::Yes ? kTrue : kFalse;
    FileDialogRequest& dialog = frm.Cmd;
    dialog.filter = kPdfFilter;
    dialog.filterIndex = 1;
    dialog.initialDir = programPath("PDF");
    dialog.fileName = shared().SelectedRecordTime;
    const std::optional<std::string> chosen = dialogs().saveFile(dialog);
    if (!chosen || fileTitle(*chosen).empty()) return;
    ExportPdfReport(*chosen);
}

}  // namespace sq
