#pragma once
// Setting replies decoded into their windows: virtual time, the default texts, the setting windows
// registered, and a recording host.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "decoder/fake_decoder_host.h"
#include "decoder/reply_decoder.h"
#include "platform/dialogs.h"
#include "platform/runtime.h"
#include "platform/ui/window.h"
#include "settings/setting_record_windows.h"
#include "shared/state.h"
#include "support/scripted_dialogs.h"
#include "texts/language_texts.h"

namespace sqtest {

class SettingReplyTest : public ::testing::Test {
protected:
    void SetUp() override {
        sq::Runtime::get().setVirtualTime(true);
        sq::resetSharedState();
        sq::LoadDefaultTexts();
        sq::registerSettingRecordWindows(sq::windows());
    }
    void TearDown() override {
        sq::windows().reset();
        sq::Runtime::get().setVirtualTime(false);
    }
    bool decode(uint8_t code, const std::vector<uint8_t>& data) {
        return sq::decodeReply(reply(code, data), host);
    }

    FakeDecoderHost host;
    sq::ScopedScriptedDialogs dialogs;
};

}  // namespace sqtest
