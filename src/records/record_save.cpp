#include "records/record_save.h"

#include "platform/event_pacer.h"
#include "platform/program_folder.h"
#include "platform/text_file.h"
#include "recordmodel/data_file.h"
#include "records/data_list_frm.h"
#include "reports/report_command.h"
#include "shared/state.h"
#include "texts/language_texts.h"

namespace sq {

namespace {

constexpr int kCsvFilter = 2;

std::string fileTitle(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void saveChosenFile(char separator) {
    if (!SaveFileChosen()) return;
    const std::string path = SaveFileName();
    auto* frm = dynamic_cast<DataListFrm*>(windows().find(DataListFrm::kName));
    if (!frm) {
        SaveFileChosen() = false;
        return;
    }
    // The window object stays until the write is done, even if it unloads meanwhile; once it has,
    // the writer no longer touches it.
    ReportCaption caption(*frm);
    const RecordCopy record{shared().DeviceModel, GridCopy(frm->GridUserInfo), GridCopy(frm->QVX410Grid),
                            GridCopy(frm->QVX410PointGrid)};
    const int64_t total = recordCellCount(record);
    auto showProgress = [&](int64_t done) {
        caption.show(progressCaption(done, total, texts().TxtCompleted));
    };
    EventPacer pacer;
    AtomicFileWriter file(path);
    writeRecordFile(
        record, separator, [&](std::string_view piece) { file.write(piece); },
        [&](int64_t done) { pacer.tick([&] { showProgress(done); }); });
    showProgress(total);
    std::string reason;
    const bool written = file.commit(&reason);
    SaveFileChosen() = false;
    caption.restore();
    if (!written)
        msgBox(texts().TxtSaveError + "\n" + path + "\n" + reason, MsgButtons::OK, MsgIcon::Critical);
}

}  // namespace

void ShowSaveDataDialog(FileDialogRequest& dialog) {
    dialog.filter = kSaveDataFilter;
    dialog.filterIndex = 1;
    const std::optional<SaveFileAnswer> answer = dialogs().saveFileAs(dialog);
    if (!answer) return;
    SaveFileName() = answer->path;
    SaveFileChosen() = !fileTitle(answer->path).empty();
    dialog.filterIndex = answer->filterIndex;
}

void SaveDataFile() {
    saveChosenFile(kDataFileSeparator);
}

void SaveCsvFile() {
    saveChosenFile(kCsvSeparator);
}

// Polling pauses and the hourglass shows for the whole command; on every way out both are given
// back and SaveFileChosen is cleared, so a later cancelled dialog can never write to an old name.
void DataListFrm::SaveCommand() {
    if (Busy) return;
    ReportCommandScope running(*this, Busy, CommandPointer::Hourglass);
    struct ForgetChosenName {
        ~ForgetChosenName() { SaveFileChosen() = false; }
    } forget;
    Cmd.initialDir = programFolder();
    Cmd.fileName = shared().DeviceModel;
    ShowSaveDataDialog(Cmd);
    if (IsSupportedModel(shared().DeviceModel) != 1) return;
    if (Cmd.filterIndex == kCsvFilter)
        SaveCsvFile();
    else
        SaveDataFile();
}

}  // namespace sq
