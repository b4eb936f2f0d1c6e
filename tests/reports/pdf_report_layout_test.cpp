// Where the report puts its texts and rules, read back from the content streams of the written file.
#include <gtest/gtest.h>

#include "reports/pdf_report_fixture.h"

namespace sqtest {
namespace {

TEST_F(PdfReportTest, smoke) {
    const std::string path = "/tmp/pdfrep22/smoke.pdf";
    write(path, {summaryGrid(), pointGrid(45), userInfoGrid()}, true);
    pdftest::expectValidPdf(path, 5);
    EXPECT_EQ(dialogs->messages().size(), 0u);
}

}  // namespace
}  // namespace sqtest
