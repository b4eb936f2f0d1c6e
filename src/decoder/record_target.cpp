#include "decoder/record_target.h"

namespace sq {

void ProgramRecordTarget::updateSummaryGrid() {}
void ProgramRecordTarget::gridInfo() {}
void ProgramRecordTarget::addPointRow(const PointRow&) {}
void ProgramRecordTarget::enableToolbar() {}
void ProgramRecordTarget::readRecordBlock(int32_t) {}

}  // namespace sq
