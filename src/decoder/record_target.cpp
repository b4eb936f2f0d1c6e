#include "decoder/record_arms.h"

namespace sq {

namespace {

// Until the record list window and the link are wired in, the program's own target does nothing.
class ProgramRecordTarget : public RecordDownloadTarget {
public:
    void updateSummaryGrid() override {}
    void gridInfo() override {}
    void addPointRow(const PointRow&) override {}
    void enableToolbar() override {}
    void readRecordBlock(int32_t) override {}
};

}  // namespace

RecordDownloadTarget& defaultRecordDownloadTarget() {
    static ProgramRecordTarget target;
    return target;
}

}  // namespace sq
