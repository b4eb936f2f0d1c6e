#pragma once
// A recording DecoderHost: a list with a fixed number of entries, a memory grid as rows of cells.
#include <string>
#include <vector>

#include "decoder/reply_decoder.h"
#include "platform/vb_error.h"

namespace sqtest {

class FakeDecoderHost : public sq::DecoderHost {
public:
    int listCount = 10;
    int listIndex = -1;
    std::vector<int> listSets;
    std::string curMeterText;
    std::string meterTimeText = "123";
    bool serialVisible = false;
    std::string serialText;
    std::vector<std::vector<std::string>> grid{{"No.s", "Date/Time", "Index"}};
    std::string memoryMessage = "Message";
    std::string totalSize = "123 K";
    std::string remainSize = "123 K";
    std::vector<std::string> sent;

    void setOneSetIndex(int index) override {
        if (index < -1 || index >= listCount) sq::raise(sq::kInvalidPropertyValue);
        listIndex = index;
        listSets.push_back(index);
    }
    void setCurMeterText(const std::string& text) override { curMeterText = text; }
    void setMeterTimeText(const std::string& text) override { meterTimeText = text; }
    bool serialPaneVisible() override { return serialVisible; }
    void setSerialText(const std::string& text) override { serialText = text; }
    void memoryGridReset() override { grid.resize(1); }
    void memoryGridAddRow(const std::string& firstCell) override { grid.push_back({firstCell, "", ""}); }
    void memoryGridSetCell(int row, int col, const std::string& text) override {
        if (row < 0 || row >= static_cast<int>(grid.size())) sq::raise(sq::kSubscriptOutOfRange);
        grid[row][col] = text;
    }
    void setMemoryMessage(const std::string& text) override { memoryMessage = text; }
    void setTotalSizeText(const std::string& text) override { totalSize = text; }
    void setRemainSizeText(const std::string& text) override { remainSize = text; }
    void sendReadMemoryInfoNext() override { sent.push_back("0D"); }
    void sendReadMemorySize() override { sent.push_back("0F"); }
    void doEvents() override {}
};

inline sq::ReplyFrame reply(uint8_t code, std::vector<uint8_t> data) {
    sq::ReplyFrame f;
    f.Command = code;
    f.Length = static_cast<uint16_t>(data.size());
    f.Data = std::move(data);
    return f;
}

}  // namespace sqtest
