// Units, page formats, orientation, margins, layout: values and the setter messages.
#include <gtest/gtest.h>

#include "pdf/kdr_pdf.h"
#include "platform/dialogs.h"
#include "platform/vb_error.h"
#include "support/scripted_dialogs.h"

using sq::kdrPDF;
using sq::PdfValue;

namespace {
struct Message {
    std::string text, title;
};
Message onlyMessage(sq::ScopedScriptedDialogs& dialogs) {
    auto messages = (*dialogs).messages();
    EXPECT_EQ(messages.size(), 1u);
    if (messages.empty()) return {};
    EXPECT_EQ(messages[0].icon, sq::MsgIcon::Critical);
    EXPECT_EQ(messages[0].buttons, sq::MsgButtons::OK);
    return {messages[0].text, messages[0].title};
}
}  // namespace

TEST(PdfSettings, defaultsOfANewWriter) {
    kdrPDF pdf;
    EXPECT_EQ(pdf.PDFGetUnit(), "cm");
    EXPECT_EQ(pdf.PDFGetLeftMargin(), 1);
    EXPECT_EQ(pdf.PDFGetTopMargin(), 1);
    EXPECT_EQ(pdf.PDFGetRightMargin(), 1);
    EXPECT_EQ(pdf.PDFGetBottomMargin(), 1);
    EXPECT_EQ(pdf.PDFGetCellMargin(), 3);
    EXPECT_EQ(pdf.PDFGetX(), 1);
    EXPECT_EQ(pdf.PDFGetY(), 1);
    EXPECT_EQ(pdf.PDFGetPageWidth(), 595.28);
    EXPECT_EQ(pdf.PDFGetPageHeight(), 841.89);
    EXPECT_FALSE(pdf.PDFGetZoomMode().has_value());
    EXPECT_FALSE(pdf.PDFGetLayoutMode().has_value());
    EXPECT_EQ(pdf.lineColorOperator(), "0 G");
    EXPECT_EQ(pdf.fillColorOperator(), "0 g");
    EXPECT_EQ(pdf.textColorOperator(), "0 g");
    EXPECT_TRUE(pdf.fontList().empty());  // the program folder holds no metric files
}

TEST(PdfSettings, unitsAndTheirMessage) {
    struct Case {
        int32_t unit;
        std::string name;
        double k;
        bool message;
    };
    const Case cases[] = {{0, "pt", 1, false},
                          {1, "mm", 72 / 25.4, false},
                          {2, "cm", 72 / 2.54, false},
                          {5, "cm", 72 / 2.54, true},
                          {-1, "cm", 72 / 2.54, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.unit);
        sq::ScopedScriptedDialogs dialogs;
        kdrPDF pdf;
        pdf.PDFSetUnit(1);  // a fallback replaces millimetres too
        pdf.PDFSetUnit(c.unit);
        EXPECT_EQ(pdf.PDFGetUnit(), c.name);
        EXPECT_EQ(pdf.unitScale(), c.k);
        if (c.message) {
            Message m = onlyMessage(dialogs);
            EXPECT_EQ(m.text,
                      "Incorrect Unit of Measure : " + std::to_string(c.unit) + ".\r\nUsing centimeter ");
            EXPECT_EQ(m.title, "Error in measurement unit - kdrPDF 1.0");
        } else {
            EXPECT_TRUE(dialogs->records.empty());
        }
    }
}

TEST(PdfSettings, formatPageFromEachKindOfArgument) {
    struct Case {
        PdfValue value;
        double width, height;
        std::string message;  // empty: none
    };
    const std::vector<Case> cases = {
        {int32_t(1), 841.89, 1190.55, ""},
        {int32_t(2), 420.94, 595.28, ""},
        {int32_t(4), 612, 1008, ""},
        {PdfValue::doubles({100.5, 200.25}), 100.5, 200.25, ""},
        {int32_t(9), 595.28, 841.89, "Format page set incorrectly : 9.\r\nFormat page set to A4."},
        {int16_t(0), 595.28, 841.89, "Format page set incorrectly : 0.\r\nFormat page set to A4"},
        {"Letter", 595.28, 841.89, "Format page set incorrectly : Letter.\r\nFormat page set to A4"},
        {2.5, 595.28, 841.89, "Format page set incorrectly : 2.5.\r\nFormat page set to A4"},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        sq::ScopedScriptedDialogs dialogs;
        kdrPDF pdf;
        pdf.PDFFormatPage(int32_t(3));
        pdf.PDFFormatPage(cases[i].value);
        EXPECT_EQ(pdf.PDFGetPageWidth(), cases[i].width);
        EXPECT_EQ(pdf.PDFGetPageHeight(), cases[i].height);
        if (cases[i].message.empty()) {
            EXPECT_TRUE(dialogs->records.empty());
        } else {
            Message m = onlyMessage(dialogs);
            EXPECT_EQ(m.text, cases[i].message);
            EXPECT_EQ(m.title, "Format Page - kdrPDF 1.0");
        }
    }
}

TEST(PdfSettings, formatPageArgumentsThatCannotBeUsedRaise) {
    kdrPDF pdf;
    try {
        pdf.PDFFormatPage(PdfValue::doubles({100}));
        FAIL();
    } catch (const sq::VbError& e) {
        EXPECT_EQ(e.number(), sq::kSubscriptOutOfRange);
    }
    try {
        pdf.PDFFormatPage(PdfValue(std::vector<PdfValue>{"a", "b"}));
        FAIL();
    } catch (const sq::VbError& e) {
        EXPECT_EQ(e.number(), sq::kTypeMismatch);
    }
}

TEST(PdfSettings, orientationRoundsAndSwaps) {
    sq::ScopedScriptedDialogs dialogs;
    kdrPDF pdf;
    pdf.PDFFormatPage(int32_t(1));
    pdf.PDFOrientation(0);
    EXPECT_EQ(pdf.PDFGetPageWidth(), 1191);
    EXPECT_EQ(pdf.PDFGetPageHeight(), 842);
    pdf.PDFOrientation(0);
    EXPECT_EQ(pdf.PDFGetPageWidth(), 842);
    EXPECT_EQ(pdf.PDFGetPageHeight(), 1191);
    EXPECT_TRUE(dialogs->records.empty());
    pdf.PDFFormatPage(int32_t(0));
    pdf.PDFOrientation(7);
    EXPECT_EQ(pdf.PDFGetPageWidth(), 595);
    EXPECT_EQ(pdf.PDFGetPageHeight(), 842);
    Message m = onlyMessage(dialogs);
    EXPECT_EQ(m.text, "Orientation set incorrectly: 7.\r\nOrientation set to portrait.");
    EXPECT_EQ(m.title, "Error in orientation - kdrPDF 1.0");
}

TEST(PdfSettings, marginsAreWholeNumbersWithHalvesToEven) {
    kdrPDF pdf;
    pdf.PDFSetMargins(2, 3);
    EXPECT_EQ(pdf.PDFGetLeftMargin(), 2);
    EXPECT_EQ(pdf.PDFGetTopMargin(), 3);
    EXPECT_EQ(pdf.PDFGetRightMargin(), 2);
    EXPECT_EQ(pdf.PDFGetBottomMargin(), 3);
    pdf.PDFSetMargins(2, 3, 4, 5);
    EXPECT_EQ(pdf.PDFGetRightMargin(), 4);
    EXPECT_EQ(pdf.PDFGetBottomMargin(), 5);
    pdf.PDFSetLeftMargin(2.5);
    EXPECT_EQ(pdf.PDFGetLeftMargin(), 2);
    pdf.PDFSetLeftMargin(3.5);
    EXPECT_EQ(pdf.PDFGetLeftMargin(), 4);
    pdf.PDFSetCellMargin(6.5);
    EXPECT_EQ(pdf.PDFGetCellMargin(), 6);
    try {
        pdf.PDFSetTopMargin(40000);
        FAIL();
    } catch (const sq::VbError& e) {
        EXPECT_EQ(e.number(), sq::kOverflow);
    }
}

TEST(PdfSettings, layoutModeAndItsMessage) {
    sq::ScopedScriptedDialogs dialogs;
    kdrPDF pdf;
    pdf.PDFSetLayoutMode(3);
    EXPECT_EQ(pdf.PDFGetLayoutMode(), 3);
    EXPECT_TRUE(dialogs->records.empty());
    pdf.PDFSetLayoutMode(-1);
    EXPECT_EQ(pdf.PDFGetLayoutMode(), 0);
    Message m = onlyMessage(dialogs);
    EXPECT_EQ(m.text, "Layout incorrect : -1.\r\nLayout will be set to simple single page.");
    EXPECT_EQ(m.title, "Layout Mode - kdrPDF 1.0");
    pdf.PDFSetZoomMode(-5);
    EXPECT_EQ(pdf.PDFGetZoomMode(), -5);
}
