#include "settings/clear_memory_frm.h"

#include "decoder/erase_watch.h"
#include "link/requests.h"
#include "platform/dialogs.h"
#include "platform/runtime.h"
#include "platform/vb_error.h"
#include "shared/state.h"
#include "texts/language_texts.h"

namespace sq {

ClearMemoryFrm::ClearMemoryFrm()
    : SettingWindow(kName, &flags().ClearMemoryFrmOpen, {4320, 2650}, {3900, 1800}),
      ClearBtn(SSPanel1.widget(), "Clear Memory"),
      ExitBtn(SSPanel1.widget(), "Exit") {
    ClearBtn.Move(300, 600, 1500, 600);
    ExitBtn.Move(2100, 600, 1500, 600);
    ClearBtn.onClick = [this] { ClearBtn_Click(); };
    ExitBtn.onClick = [this] { Unload(); };
}

void ClearMemoryFrm::nameControls(TextApplier& applier) {
    applier.caption("ClearBtn", [this](const std::string& t) { ClearBtn.setCaption(t); })
        .caption("ExitBtn", [this](const std::string& t) { ExitBtn.setCaption(t); });
}

void ClearMemoryFrm::Form_Load() {
    loadFrame();
}

void ClearMemoryFrm::ClearBtn_Click() {
    if (IsSupportedModel(shared().DeviceModel) == 0) return;
    if (msgBox(texts().TxtClearMemoryConfirm, MsgButtons::OKCancel, MsgIcon::None, "Warning") !=
        MsgResult::OK)
        return;
    try {
        ClearMeterMemory();
    } catch (const VbError&) {
    }
    // The wait for the instrument's answer starts with every request that really went out.
    if (flags().MemoryErasing == kTrue) eraseWatch().noteClearRequest(Runtime::get().now());
}

}  // namespace sq
