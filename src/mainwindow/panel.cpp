#include "mainwindow/panel.h"

#include <QApplication>
#include <QHeaderView>
#include <QMainWindow>
#include <QMdiArea>
#include <QStyle>
#include <algorithm>

#include "link/channels.h"
#include "link/com_port_api.h"
#include "link/requests.h"
#include "mainwindow/com_port_set_frm.h"
#include "mainwindow/device_tree.h"
#include "mainwindow/help_frm.h"
#include "mainwindow/language_frm.h"
#include "mainwindow/layout.h"
#include "platform/program_folder.h"
#include "platform/text_file.h"
#include "platform/ui/classic_font.h"
#include "platform/ui/form_widget.h"
#include "platform/ui/twips.h"
#include "platform/ui/wheel_hook.h"
#include "platform/vb_error.h"
#include "records/data_list_frm.h"
#include "records/file_list_frm.h"
#include "records/record_target.h"
#include "settings/clear_memory_frm.h"
#include "settings/one_set_form.h"
#include "settings/rtc_frm.h"
#include "settings/setting410_panel_frm.h"
#include "settings/setting_record_windows.h"
#include "settings/text_applier.h"
#include "shared/state.h"
#include "texts/language_files.h"
#include "texts/language_texts.h"
#include "texts/window_texts.h"

namespace sq {

namespace {

ChannelRecord& currentChannel() {
    if (CurrentChannel < 1 || CurrentChannel > MaxChannels) raise(kSubscriptOutOfRange);
    return Channels[CurrentChannel];
}

// Reports mouse presses (or double clicks) on a widget without taking them.
class PressWatcher : public QObject {
public:
    PressWatcher(QObject* parent, std::function<void()> onPress, QEvent::Type type = QEvent::MouseButtonPress)
        : QObject(parent), m_onPress(std::move(onPress)), m_type(type) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == m_type) m_onPress();
        return false;
    }

private:
    std::function<void()> m_onPress;
    QEvent::Type m_type;
};

QIcon standardIcon(QStyle::StandardPixmap pixmap) {
    return QApplication::style()->standardIcon(pixmap);
}

// Toolbar keys in button order, with the icons we draw them with.
struct ToolbarButton {
    const char* key;
    QStyle::StandardPixmap icon;
};
const ToolbarButton kToolbarButtons[] = {
    {"Open", QStyle::SP_DialogOpenButton},
    {"COMSET", QStyle::SP_DriveNetIcon},
    {"SettingPanel", QStyle::SP_FileDialogDetailedView},
    {"List", QStyle::SP_FileDialogListView},
    {"Graphics", QStyle::SP_DesktopIcon},
    {"RTC", QStyle::SP_BrowserReload},
    {"Memory", QStyle::SP_DriveHDIcon},
    {"Clear", QStyle::SP_TrashIcon},
    {"Help", QStyle::SP_DialogHelpButton},
    {"Language", QStyle::SP_FileDialogInfoView},
};

// The memory sizes are whole numbers of up to ten digits, but the designed 555 twips hold only four:
// the two right-aligned labels are made as wide as ten digits need and keep their right edge.
double sizeLabelWidth(const Label& label) {
    return std::max(555.0, zerosWidthTwips(label.widget()->font(), 10) + 60);
}

// Images of the instrument list, 1 to 4.
QIcon instrumentIcon(int image) {
    static const QStyle::StandardPixmap kImages[] = {QStyle::SP_ComputerIcon, QStyle::SP_DriveCDIcon,
                                                     QStyle::SP_DriveFDIcon, QStyle::SP_DriveDVDIcon};
    return image >= 1 && image <= 4 ? standardIcon(kImages[image - 1]) : QIcon();
}

}  // namespace

Panel::Panel()
    : Window(kName, WindowKind::MdiFrame),
      Toolbar1(surface()),
      ControlPic(surface()),
      ControlListView(ControlPic.widget()),
      SNPic(ControlPic.widget()),
      Label1(SNPic.widget(), "S/N"),
      SNTxt(SNPic.widget(), "Text1"),
      SNSendBtn(SNPic.widget(), "Set"),
      SNExitBtn(SNPic.widget(), "Exit"),
      TreeViewBar(surface(), {}, Panel3D::Bevel::None),
      TreeView1(TreeViewBar.widget()),
      PicMemSplit(TreeViewBar.widget(), SplitterBar::Orientation::Horizontal),
      SSPMemory(TreeViewBar.widget()),
      LblTitle(SSPMemory.widget(), "Memory"),
      BtnMemClose(SSPMemory.widget(), "X"),
      TotalSizeLbl(SSPMemory.widget(), "Total Size"),
      TotalSizeNumLbl(SSPMemory.widget(), "123 K"),
      ReMainSizeLbl(SSPMemory.widget(), "Remain Size"),
      RemainSizeNumLbl(SSPMemory.widget(), "123 K"),
      MemoryMessageLbl(SSPMemory.widget(), "Message"),
      MemoryListGrid(SSPMemory.widget(), 1, 3, 1, 1),
      PicPanelSplit(surface(), SplitterBar::Orientation::Vertical),
      StatusBar1(surface(), 4),
      Timer1([this] { m_poll.Timer1_Timer(); }, 200),
      Timer2([this] { m_poll.Timer2_Timer(); }, 1000),
      Timer3([this] { m_poll.Timer3_Timer(); }, 1),
      m_poll(*this) {
    setCaption(kPanelCaption);
    openMaximised();
    buildToolbar();
    buildSerialPane();
    buildLeftBar();
    wireEvents();
    registerPollTimers(&Timer1, &Timer2);
    setReceivePumpWaker([this] { m_poll.paceTimer3(); });
    registerRecordArms();
    Timer1.setEnabled(true);
    Timer2.setEnabled(true);
    Timer3.setEnabled(true);
}

Panel::~Panel() {
    registerPollTimers(nullptr, nullptr);
    setReceivePumpWaker(nullptr);
    UnhookWheel(*this);
}

// The main window opens over the screen's whole work area, so that a record's summary shows its values
// at once; restored, it has its minimum size in the middle of the screen (or the screen, if smaller).
void Panel::openMaximised() {
    const TwipSize restored = panelMinimumSize({});
    Move(0, 0, restored.width, restored.height);
    centre();
    setWindowState(WindowState::Maximized);
}

void Panel::buildToolbar() {
    for (const ToolbarButton& b : kToolbarButtons) Toolbar1.addButton(b.key, {}, standardIcon(b.icon));
    Toolbar1.setAlign(Align::Top);
    ControlPic.setHeight(900);
    ControlPic.setAlign(Align::Top);
    ControlListView.Move(0, 0, 12000, 900);
    StatusBar1.setAlign(Align::Bottom);
    StatusBar1.setPanelWidth(1, 2000);
    StatusBar1.setPanelWidth(3, 1200);
    StatusBar1.setPanelWidth(4, 3600);
}

void Panel::buildLeftBar() {
    TreeViewBar.setWidth(3300);
    TreeViewBar.setAlign(Align::Left);
    PicPanelSplit.setWidth(120);
    PicPanelSplit.setBackColor(0xC0, 0xC0, 0xC0);
    PicPanelSplit.setAlign(Align::Left);
    TreeView1.Move(0, 0, 3300, 4000);
    TreeView1.setFont(arialFont(kTreeFontPoints, true));
    PicMemSplit.setBackColor(0xC0, 0xC0, 0xC0);
    PicMemSplit.Move(0, 4000, 3300, 120);
    SSPMemory.Move(0, 4120, 3300, 4500);
    LblTitle.Move(0, 0, 2895, 280);
    BtnMemClose.Move(3000, 0, 255, 280);
    TotalSizeLbl.Move(120, 360, 1050, 240);
    const double sizeWidth = sizeLabelWidth(TotalSizeNumLbl);
    TotalSizeNumLbl.Move(3195 - sizeWidth, 600, sizeWidth, 240);
    TotalSizeNumLbl.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ReMainSizeLbl.Move(120, 840, 1305, 240);
    RemainSizeNumLbl.Move(3180 - sizeWidth, 1080, sizeWidth, 240);
    RemainSizeNumLbl.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    MemoryMessageLbl.Move(120, 1320, 3000, 240);
    MemoryListGrid.Move(0, 1680, 3290, 2820);
    registerWheelGrid(MemoryListGrid);
    for (QHeaderView* header : MemoryListGrid.widget()->findChildren<QHeaderView*>()) {
        if (header->orientation() != Qt::Horizontal) continue;
        header->installEventFilter(new PressWatcher(header, [this] { m_titleClickSeen = true; }));
        header->viewport()->installEventFilter(new PressWatcher(header, [this] { m_titleClickSeen = true; }));
    }
}

void Panel::wireEvents() {
    Toolbar1.onButtonClick = [this](int, const std::string& key) { Toolbar1_ButtonClick(key); };
    TreeView1.onNodeClick = [this](int index) { TreeView1_NodeClick(index); };
    ControlListView.onItemClick = [this](int index) { ControlListView_ItemClick(index); };
    BtnMemClose.onClick = [this] { BtnMemClose_Click(); };
    MemoryListGrid.onClick = [this] { MemoryListGrid_Click(); };
    PicMemSplit.onMouseDown = [this](int, int, double, double) { PicMemSplit_MouseDown(); };
    PicMemSplit.onMouseMove = [this](int, int, double, double y) { PicMemSplit_MouseMove(y); };
    PicMemSplit.onMouseUp = [this](int, int, double, double) { PicMemSplit_MouseUp(); };
    PicPanelSplit.onMouseDown = [this](int, int, double, double) { PicPanelSplit_MouseDown(); };
    PicPanelSplit.onMouseMove = [this](int, int, double x, double) { PicPanelSplit_MouseMove(x); };
    PicPanelSplit.onMouseUp = [this](int, int, double, double) { PicPanelSplit_MouseUp(); };
    // A click on the frame's background (the MDI area outside every child window).
    QWidget* background = mdiArea()->viewport();
    background->installEventFilter(new PressWatcher(background, [this] { Form_Click(); }));
    background->installEventFilter(new PressWatcher(
        background, [this] { MDIForm_DblClick(); }, QEvent::MouseButtonDblClick));
    SNSendBtn.onClick = [this] { SNSendBtn_Click(); };
    SNExitBtn.onClick = [this] { SNExitBtn_Click(); };
}

// ---------------------------------------------------------------------------------------------
// Start-up, shutdown, layout, caption

void Panel::Form_Load() {
    SharedState& s = shared();
    CurrentChannel = 1;
    m_poll.ModelRepeatCount = 0;
    skipOnError([] { LoadDefaultTexts(); });
    s.IniFilePath = programPath("ControlSetting.ini");
    // Only a name with nothing behind it: a pipe or a device there, or at the end of a link, is left
    // as it is (the writer would refuse it too).
    if (isMissing(s.IniFilePath)) writeFileAtomic(s.IniFilePath, "");
    skipOnError([] { LoadLanguage(); });
    skipOnError([] { form<ComPortSetFrm>().Show(ShowMode::Modal); });
    skipOnError([&] { ShowMemoryInfoPanel(false); });
    s.flags.TimerSetPending = kFalse;
    for (int button = 3; button <= 8; ++button)
        skipOnError([&] { Toolbar1.setButtonEnabled(button, false); });
    s.SendSuspended = kFalse;
    s.CalibrationLevelText = "----";
    s.DeviceModelChanged = kFalse;
    skipOnError([&] { ApplyToolbarTexts(); });
    WheelStep = 1;
    HookWheel(*this);
}

void Panel::Form_Unload() {
    skipOnError([] { CloseAllChannels(PortAPI()); });
    UnhookWheel(*this);
    Window::Form_Unload();
    // Closing the main window ends the program: every other window goes with it.
    for (const std::string& name : windows().loadedNames())
        if (name != kName) skipOnError([&] { windows().unload(name); });
    QApplication::quit();
}

void Panel::Form_Resize() {
    try {
        const WindowState state = windowState();
        if (state == WindowState::Minimized) return;
        // A maximised window has the size of the screen's work area, even when that is smaller.
        if (state == WindowState::Normal) {
            const TwipSize outer{static_cast<int>(Width()), static_cast<int>(Height())};
            const TwipSize wanted = panelMinimumSize(outer);
            if (wanted.width != outer.width) setWidth(wanted.width);
            if (wanted.height != outer.height) setHeight(wanted.height);
        }
        PanelLayoutInput in;
        // The client area is what the docked bars leave of the surface (the MDI area itself may not
        // have been laid out yet when the frame resizes).
        in.clientWidth = static_cast<int>(ScaleWidth() - TreeViewBar.Width() - PicPanelSplit.Width());
        in.clientHeight =
            static_cast<int>(ScaleHeight() - Toolbar1.Height() - ControlPic.Height() - StatusBar1.Height());
        in.treeBarWidth = static_cast<int>(TreeViewBar.Width());
        in.panelSplitWidth = static_cast<int>(PicPanelSplit.Width());
        in.treeTop = static_cast<int>(TreeView1.Top());
        in.paneHeight = static_cast<int>(SSPMemory.Height());
        in.memSplitHeight = static_cast<int>(PicMemSplit.Height());
        in.paneVisible = SSPMemory.Visible();
        in.closeButtonWidth = static_cast<int>(BtnMemClose.Width());
        in.totalSizeNumWidth = static_cast<int>(TotalSizeNumLbl.Width());
        in.remainSizeNumWidth = static_cast<int>(RemainSizeNumLbl.Width());
        in.statusWidths = {static_cast<int>(StatusBar1.panelWidth(1)),
                           static_cast<int>(StatusBar1.panelWidth(3)),
                           static_cast<int>(StatusBar1.panelWidth(4))};
        const PanelLayout l = layoutPanel(in);
        ControlListView.Move(0, 0, l.listWidth, ControlPic.Height());
        PicMemSplit.Move(0, l.memSplitTop, l.memSplitWidth, 120);
        SSPMemory.Move(0, l.paneTop, l.paneWidth);
        BtnMemClose.Move(l.closeButtonLeft, 0);
        LblTitle.setWidth(l.titleWidth);
        MemoryListGrid.setWidth(l.gridWidth);
        MemoryListGrid.setHeight(l.gridHeight);
        for (int col = 0; col < 3; ++col) MemoryListGrid.setColWidth(col, l.columnWidths[col]);
        TotalSizeNumLbl.setLeft(l.totalSizeNumLeft);
        RemainSizeNumLbl.setLeft(l.remainSizeNumLeft);
        TreeView1.setHeight(l.treeHeight);
        TreeView1.setWidth(l.treeWidth);
        StatusBar1.setPanelWidth(2, l.statusPanel2Width);
    } catch (const VbError&) {
        // the layout stays as far as it got
    }
    Window::Form_Resize();
}

void Panel::Form_Click() {
    const std::string caption = Caption();
    if (caption.find("2022-03-30.01") != std::string::npos)
        setCaption(kPanelCaption);
    else
        setCaption(std::string(kPanelCaption) + "   2022-03-30.01");
}

void Panel::ApplyToolbarTexts() {
    TextApplier applier;
    applier.indexed("Toolbar1",
                    [this](int button, const std::string& t) { Toolbar1.setButtonToolTip(button, t); });
    applier.apply(toolbarTexts());
}

void Panel::ApplyDeviceTreeTexts() {
    TextApplier applier;
    applier.indexed("TreeView1", [this](int node, const std::string& t) { TreeView1.setNodeText(node, t); });
    applier.apply(deviceTreeTexts());
}

void Panel::ApplyMemoryViewTexts() {
    TextApplier applier;
    applier.caption("LblTitle", [this](const std::string& t) { LblTitle.setCaption(t); })
        .caption("TotalSizeLbl", [this](const std::string& t) { TotalSizeLbl.setCaption(t); })
        .caption("ReMainSizeLbl", [this](const std::string& t) { ReMainSizeLbl.setCaption(t); })
        .caption("MemoryMessageLbl", [this](const std::string& t) { MemoryMessageLbl.setCaption(t); })
        .cell("MemoryListGrid", [this](int row, int col, const std::string& t) {
            MemoryListGrid.setRow(row);
            MemoryListGrid.setCol(col);
            MemoryListGrid.setText(t);
        });
    applier.apply(memoryViewTexts());
}

// ---------------------------------------------------------------------------------------------
// The decoder and the poll loop on this window and the link

void Panel::DeQVX410SDData(const ReplyFrame& frame) {
    LoadParseTemplate(frame);
    decodeReply(frame, *this);
}

std::string Panel::pcDateTime(const std::string& format) {
    return formatLocalDateTime(format);
}

void Panel::setStatusPanel(int panel, const std::string& text) {
    StatusBar1.setPanelText(panel, text);
}

void Panel::setPcTimeText(const std::string& text) {
    form<RTCFrm>().PcTimeNowLbl.setCaption(text);
}

int Panel::currentPortNumber() {
    return currentChannel().PortNumber;
}
bool Panel::portIsOpen() {
    return PortAPI().IsOpen(currentChannel().PortNumber);
}
bool Panel::channelPortOpen() {
    return currentChannel().PortOpen;
}
void Panel::setChannelPortOpen(bool open) {
    currentChannel().PortOpen = open;
}
bool Panel::channelListed() {
    return currentChannel().Listed;
}
void Panel::setChannelListed() {
    currentChannel().Listed = true;
}
void Panel::readChannel() {
    // A port that is not open has nothing to read (and reading it would only record an error).
    if (PortAPI().IsOpen(currentChannel().PortNumber)) ReadChannel(PortAPI());
}
bool Panel::anyPortOpen() {
    return AnyPortOpen(PortAPI());
}

// An idle Timer3 ticks only as a safety net: whatever ends the idleness wakes it at once.
void Panel::setTimer3Idle(bool idle) {
    const int ms = idle ? kIdleTimer3Ms : 1;
    if (Timer3.interval() != ms) Timer3.setInterval(ms);
}

bool Panel::receiveBufferEmpty() {
    return currentChannel().RxBuffer.empty();
}

bool Panel::bytesWaitingAtPort() {
    const int port = currentChannel().PortNumber;
    if (port < 1 || port > ComPortAPI::kMaxPorts) return false;
    const auto& rec = PortAPI().port(port);
    SerialStatus status;
    return rec.port && rec.port->status(status) && status.inQueue > 0;
}

std::optional<ReplyFrame> Panel::parseReplyFrame() {
    ReplyFrame frame;
    if (ParseReplyFrame(&frame) != 1) return std::nullopt;
    return frame;
}

void Panel::send(PollRequest request, int argument) {
    switch (request) {
        case PollRequest::ReadDeviceModel:
            ReadDeviceModel();
            break;
        case PollRequest::ReadMeterClock:
            ReadMeterClock();
            break;
        case PollRequest::ReadMemoryInfoNext:
            ReadMemoryInfoNext();
            break;
        case PollRequest::ReadRecordBlock:
            ReadRecordBlock(argument);
            break;
        case PollRequest::ReadCalibrationLevel:
            ReadCalibrationLevel();
            break;
        case PollRequest::ReadCalibrationDate:
            ReadCalibrationDate();
            break;
    }
}

bool Panel::deviceButtonsEnabled() {
    return Toolbar1.buttonEnabled(3);
}

void Panel::enableDeviceButtons() {
    for (int button : {3, 6, 7, 8}) skipOnError([&] { Toolbar1.setButtonEnabled(button, true); });
}

void Panel::addInstrument(const std::string& text, int image) {
    ControlListView.addItem(1, listEntryKey(CurrentChannel), text, instrumentIcon(image));
}

void Panel::setOneSetIndex(int index) {
    form<OneSetForm>().SetCbx.setListIndex(index);
}
void Panel::setCurMeterText(const std::string& text) {
    form<OneSetForm>().CurMeterTxt.setText(text);
}
void Panel::setMeterTimeText(const std::string& text) {
    form<RTCFrm>().MeterTimeNowLbl.setCaption(text);
}

void Panel::memoryGridSetCell(int row, int col, const std::string& text) {
    MemoryListGrid.setRow(row);
    MemoryListGrid.setCol(col);
    MemoryListGrid.setText(text);
}

void Panel::sendReadMemoryInfoNext() {
    ReadMemoryInfoNext();
}
void Panel::sendReadMemorySize() {
    ReadMemorySize();
}

// ---------------------------------------------------------------------------------------------

void registerProgramWindows() {
    WindowRegistry& r = windows();
    r.registerWindow(ComPortSetFrm::kName, [] { return std::make_unique<ComPortSetFrm>(); });
    r.registerWindow(OneSetForm::kName, [] { return std::make_unique<OneSetForm>(); });
    r.registerWindow(RTCFrm::kName, [] { return std::make_unique<RTCFrm>(); });
    r.registerWindow(ClearMemoryFrm::kName, [] { return std::make_unique<ClearMemoryFrm>(); });
    r.registerWindow(DataListFrm::kName, [] { return std::make_unique<DataListFrm>(); });
    r.registerWindow(LanguageFrm::kName, [] { return std::make_unique<LanguageFrm>(); });
    r.registerWindow(HelpFrm::kName, [] { return std::make_unique<HelpFrm>(); });
    r.registerWindow(Setting410PanelFrm::kName, [] { return std::make_unique<Setting410PanelFrm>(); });
    r.registerWindow(FileListFrm::kName, [] { return std::make_unique<FileListFrm>(); });
    registerSettingRecordWindows(r);
}

Panel& startProgram() {
    registerProgramWindows();
    Panel& panel = form<Panel>();
    return panel;
}

}  // namespace sq
