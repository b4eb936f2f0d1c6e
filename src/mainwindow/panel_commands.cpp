// The main window's commands: the toolbar, the closing rules, the device tree and the instrument
// list.
#include <map>

#include "link/channels.h"
#include "link/com_port_api.h"
#include "link/requests.h"
#include "mainwindow/com_port_set_frm.h"
#include "mainwindow/device_tree.h"
#include "mainwindow/panel.h"
#include "platform/dialogs.h"
#include "platform/encoding.h"
#include "platform/fill_in.h"
#include "platform/program_folder.h"
#include "platform/text_file.h"
#include "platform/vb_error.h"
#include "recordmodel/data_file.h"
#include "records/file_list_frm.h"
#include "settings/clear_memory_frm.h"
#include "settings/rtc_frm.h"
#include "settings/setting_read.h"
#include "settings/window_rules.h"
#include "shared/state.h"
#include "shared/window_names.h"
#include "texts/language_texts.h"
#include "texts/window_texts.h"

namespace sq {

namespace {

bool refusedWhileErasing() {
    if (flags().MemoryErasing != kTrue) return false;
    msgBox(texts().TxtMemoryErasing, MsgButtons::OK, MsgIcon::Critical);
    return true;
}

}  // namespace

void Panel::CheckFlage() {
    unloadByFlags(checkFlageOrder());
    if (flags().MemoryPanelVisible == kTrue) skipOnError([&] { ShowMemoryInfoPanel(false); });
}

void Panel::checkpanelflage() {
    unloadByFlags(checkPanelFlageOrder());
}

void Panel::showWindowByName(const std::string& name, ShowMode mode) {
    skipOnError([&] { windows().window(name).Show(mode); });
}

void Panel::Toolbar1_ButtonClick(const std::string& key) {
    if (flags().ListingMemory == kTrue) return;
    if (key == "Open") {
        OpenCommand();
        return;
    }
    if (key == "Save") return;
    static const std::map<std::string, std::string> kWindows = {
        {"COMSET", window_name::kComPortSetFrm}, {"SettingPanel", window_name::kSetting410PanelFrm},
        {"RTC", window_name::kRTCFrm},           {"Clear", window_name::kClearMemoryFrm},
        {"Help", window_name::kHelpFrm},         {"Language", window_name::kLanguageFrm}};
    if (refusedWhileErasing()) return;
    if (key == "Memory") {
        startMemoryListing();
        return;
    }
    auto it = kWindows.find(key);
    if (it == kWindows.end()) return;
    CheckFlage();
    showWindowByName(it->second, key == "COMSET" ? ShowMode::Modal : ShowMode::Modeless);
}

void Panel::startMemoryListing() {
    SharedState& s = shared();
    CheckFlage();
    DisablePollTimers();
    skipOnError([&] { ShowMemoryInfoPanel(true); });
    skipOnError([] { ReadMemorySize(); });
    Delay(0.1);
    s.MemoryListRow = 0;
    s.ReplyWaitTicks = 0;
    skipOnError([] { ReadMemoryInfo(); });
}

namespace {

// A fresh file list window filled with a data file's rows.
void showDataFile(const std::vector<DataFileRow>& rows) {
    if (flags().FileListFrmOpen == kTrue) skipOnError([] { windows().unload(FileListFrm::kName); });
    FileListFrm* window = nullptr;
    skipOnError([&] { window = dynamic_cast<FileListFrm*>(&windows().window(FileListFrm::kName)); });
    if (!window) return;
    FileListFrm& frm = *window;
    skipOnError([&] { frm.Show(); });
    skipOnError([&] { frm.GridHeader.setRows(0); });
    for (const DataFileRow& row : rows) {
        FlexGrid& grid = row.grid == DataFileGrid::UserInfo ? frm.FileUserInfoGrid
                         : row.grid == DataFileGrid::Header ? frm.GridHeader
                                                            : frm.GridRecord;
        skipOnError([&] { grid.AddItem(std::string(row.text)); });
    }
    skipOnError([&] { frm.GridHeader.setFixedRows(1); });
}

// A model line as a message names it: at most 40 characters, so that a line of junk stays short.
std::string modelForMessage(const std::string& model) {
    constexpr int kShown = 40;
    size_t end = 0;
    for (int n = 0; n < kShown && end < model.size(); ++n) nextCodePoint(model, end);
    return end < model.size() ? model.substr(0, end) + "..." : model;
}

// The rows of a data file to show, or why it shows nothing: it holds no rows or too many points,
// or neither it nor the connected instrument names a supported model.
std::optional<std::vector<DataFileRow>> rowsToShow(const std::vector<std::string>& lines,
                                                   std::string& refusal) {
    auto rows = dataFileRows(lines, refusal);
    if (rows && IsSupportedModel(lines.front()) != 1 && IsSupportedModel(shared().DeviceModel) != 1) {
        refusal = fillIn(texts().TxtModelNotSupported, {modelForMessage(lines.front())});
        return std::nullopt;
    }
    return rows;
}

}  // namespace

// Reads the chosen data file whole, then shows it in a fresh file list window when its model line
// or the connected instrument names a supported model. A file that cannot be read, or that would
// show nothing, is reported and changes nothing, FileModel included. Runs no event. From its second
// use the dialog's cancel resumes polling.
void Panel::OpenCommand() {
    FileDialogRequest request;
    request.filter = "Data files(*.qvx)|*.qvx|All Files (*.*)|*.*|";
    request.initialDir = programFolder();  // where "save" puts the data files
    const std::optional<std::string> chosen = dialogs().openFile(request);
    const bool cancelRaises = m_openDialogUsed;
    m_openDialogUsed = true;
    if (!chosen || chosen->empty()) {
        if (cancelRaises) EnablePollTimers();
        return;
    }
    DisablePollTimers();
    const std::string caption = Caption();
    std::string reason;
    const auto lines = readTextLines(*chosen, kDataFileReadLimit, &reason);
    const auto rows = lines ? rowsToShow(*lines, reason) : std::nullopt;
    if (rows) {
        shared().FileModel = lines->front();
        showDataFile(*rows);
    } else {
        msgBox(texts().TxtOpenError + "\n" + *chosen + "\n" + reason, MsgButtons::OK, MsgIcon::Critical);
    }
    setCaption(caption);
    EnablePollTimers();
}

// ---------------------------------------------------------------------------------------------
// Device tree and instrument list

void Panel::BuildDeviceTree() {
    if (TreeView1.nodeCount() > 0) return;  // built once per run
    const std::vector<std::string> texts = deviceTreeNodeTexts();
    const auto& nodes = deviceTreeNodes();
    for (size_t i = 0; i < nodes.size(); ++i) TreeView1.addNode(nodes[i].parentKey, nodes[i].key, texts[i]);
}

void Panel::RebuildDeviceTree() {
    if (IsSupportedModel(shared().DeviceModel) == 1) BuildDeviceTree();
}

void Panel::TreeView1_NodeClick(int index) {
    if (IsSupportedModel(shared().DeviceModel) != 1) return;
    RunTreeNodeCommand(index);
}

void Panel::RunTreeNodeCommand(int index) {
    std::vector<std::string> texts;
    std::string clicked;
    try {
        clicked = TreeView1.nodeText(index);
        for (int n = 1; n <= TreeView1.nodeCount(); ++n) texts.push_back(TreeView1.nodeText(n));
    } catch (const VbError&) {
        return;
    }
    const int node = treeCommandNode(clicked, texts);
    if (node == 0) return;
    const TreeNodeEntry& entry = deviceTreeNodes()[node - 1];
    if (refusedWhileErasing()) return;
    switch (entry.command) {
        case NodeCommand::OpenWindow:
            CheckFlage();
            showWindowByName(entry.window);
            break;
        case NodeCommand::Memory:
            startMemoryListing();
            break;
        case NodeCommand::SettingRead:
            runSettingNode(node);
            break;
        case NodeCommand::None:
            break;
    }
}

void Panel::runSettingNode(int node) {
    runSettingRead(deviceTreeNodes()[node - 1], "PCFM", 0.2);
}

void Panel::ControlListView_ItemClick(int index) {
    std::string model;
    skipOnError([&] { model = modelOfListEntry(ControlListView.itemText(index)); });
    skipOnError([&] {
        CurrentChannel =
            static_cast<int16_t>(channelOfListEntry(ControlListView.itemKey(index), index, ChannelCount));
    });
    if (IsSupportedModel(model) != 1) return;
    CheckFlage();
    showWindowByName(window_name::kSetting410PanelFrm);
}

}  // namespace sq
