#pragma once
// The main window Panel: the MDI frame with the toolbar, the instrument list strip, the left bar
// with the device tree and the memory pane, the status bar and the three poll timers. Its timers'
// rules live in PollLoop and its reply decodings in the decoder; the window only wires them to
// its controls and the link.
#include <memory>
#include <string>

#include "decoder/reply_decoder.h"
#include "link/channels.h"
#include "mainwindow/poll_loop.h"
#include "platform/runtime.h"
#include "platform/ui/common_controls.h"
#include "platform/ui/controls.h"
#include "platform/ui/flex_grid.h"
#include "platform/ui/window.h"
#include "shared/window_names.h"

namespace sq {

inline constexpr const char* kPanelCaption = "Panel V10.06";

class Panel : public Window, private PollHost, private DecoderHost {
public:
    static constexpr const char* kName = window_name::kPanel;
    Panel();
    ~Panel() override;

    ToolBar Toolbar1;
    Panel3D ControlPic;
    ListView ControlListView;
    Panel3D SNPic;
    Label Label1;
    TextBox SNTxt;
    CommandButton SNSendBtn;
    CommandButton SNExitBtn;
    Panel3D TreeViewBar;
    TreeView TreeView1;
    SplitterBar PicMemSplit;
    Panel3D SSPMemory;
    Panel3D LblTitle;
    CommandButton BtnMemClose;
    Label TotalSizeLbl;
    Label TotalSizeNumLbl;
    Label ReMainSizeLbl;
    Label RemainSizeNumLbl;
    Label MemoryMessageLbl;
    FlexGrid MemoryListGrid;
    SplitterBar PicPanelSplit;
    StatusBar StatusBar1;
    Timer Timer1;
    Timer Timer2;
    Timer Timer3;

    // Public operations.
    void CheckFlage();
    void checkpanelflage();
    void DeQVX410SDData(const ReplyFrame& frame);

    // Event handlers.
    void Toolbar1_ButtonClick(const std::string& key);
    void TreeView1_NodeClick(int index);
    void ControlListView_ItemClick(int index);
    void BtnMemClose_Click();
    void MemoryListGrid_Click();
    void PicMemSplit_MouseDown();
    void PicMemSplit_MouseMove(double y);
    void PicMemSplit_MouseUp();
    void PicPanelSplit_MouseDown();
    void PicPanelSplit_MouseMove(double x);
    void PicPanelSplit_MouseUp();
    void Form_Click();        // the caption toggle
    void MDIForm_DblClick();  // the serial-number pane's unlock
    void SNSendBtn_Click();
    void SNExitBtn_Click();

    void ShowMemoryInfoPanel(bool visible);
    void BuildDeviceTree();
    void RebuildDeviceTree();
    void ApplyToolbarTexts();
    void ApplyMemoryViewTexts();
    void ApplyDeviceTreeTexts();

    PollLoop& pollLoop() { return m_poll; }

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_Resize() override;

private:
    void openMaximised();
    void buildToolbar();
    void buildLeftBar();
    void buildSerialPane();
    void wireEvents();
    void RunTreeNodeCommand(int node);
    void runSettingNode(int node);
    void startMemoryListing();
    void showWindowByName(const std::string& name, ShowMode mode = ShowMode::Modeless);
    void OpenCommand();

    // PollHost
    std::string pcDateTime(const std::string& format) override;
    void setStatusPanel(int panel, const std::string& text) override;
    void setPcTimeText(const std::string& text) override;
    int currentChannelIndex() override { return CurrentChannel; }
    int currentPortNumber() override;
    bool portIsOpen() override;
    bool channelPortOpen() override;
    void setChannelPortOpen(bool open) override;
    bool channelListed() override;
    void setChannelListed() override;
    void readChannel() override;
    bool receiveBufferEmpty() override;
    bool bytesWaitingAtPort() override;
    std::optional<ReplyFrame> parseReplyFrame() override;
    void send(PollRequest request, int argument) override;
    void delay(double seconds) override { Delay(seconds); }
    double now() override { return Runtime::get().now(); }
    bool deviceButtonsEnabled() override;
    void enableDeviceButtons() override;
    void addInstrument(const std::string& text, int image) override;
    bool timer1Enabled() override { return Timer1.enabled(); }
    bool anyPortOpen() override;
    void setTimer3Idle(bool idle) override;
    void rebuildDeviceTree() override { RebuildDeviceTree(); }
    void decode(const ReplyFrame& frame) override { DeQVX410SDData(frame); }

    // DecoderHost
    void setOneSetIndex(int index) override;
    void setCurMeterText(const std::string& text) override;
    void setMeterTimeText(const std::string& text) override;
    bool serialPaneVisible() override { return SNPic.Visible(); }
    void setSerialText(const std::string& text) override { SNTxt.setText(text); }
    void memoryGridReset() override { MemoryListGrid.setRows(1); }
    void memoryGridAddRow(const std::string& firstCell) override { MemoryListGrid.AddItem(firstCell); }
    void memoryGridSetCell(int row, int col, const std::string& text) override;
    void setMemoryMessage(const std::string& text) override { MemoryMessageLbl.setCaption(text); }
    void setTotalSizeText(const std::string& text) override { TotalSizeNumLbl.setCaption(text); }
    void setRemainSizeText(const std::string& text) override { RemainSizeNumLbl.setCaption(text); }
    void sendReadMemoryInfoNext() override;
    void sendReadMemorySize() override;
    void doEvents() override { DoEvents(); }

    PollLoop m_poll;
    bool m_openDialogUsed = false;
    bool m_titleClickSeen = false;  // a mouse press on the memory grid's title row  // the Open dialog raises
                                    // on cancel from its second use
};

// Registers the windows this part of the program builds (and the record list window) by name.
void registerProgramWindows();

// The program's start: registers the windows, creates the main window and runs its load (start-up
// shows the port setup window modally). Returns the main window.
Panel& startProgram();

}  // namespace sq
