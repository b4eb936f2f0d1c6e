// Colour setters from arrays, numbers and HTML texts.
#include <gtest/gtest.h>

#include "pdf/kdr_pdf.h"
#include "platform/dialogs.h"
#include "platform/vb_error.h"
#include "support/scripted_dialogs.h"

using sq::kdrPDF;
using sq::PdfValue;

namespace {
enum class Setter { Text, Line, Draw };

void set(kdrPDF& pdf, Setter setter, const PdfValue& value) {
    switch (setter) {
        case Setter::Text:
            pdf.PDFSetTextColor(value);
            break;
        case Setter::Line:
            pdf.PDFSetLineColor(value);
            break;
        case Setter::Draw:
            pdf.PDFSetDrawColor(value);
            break;
    }
}

std::string stored(const kdrPDF& pdf, Setter setter) {
    switch (setter) {
        case Setter::Text:
            return pdf.textColorOperator();
        case Setter::Line:
            return pdf.lineColorOperator();
        default:
            return pdf.fillColorOperator();
    }
}
}  // namespace

TEST(PdfColors, operatorsFromEachKindOfValue) {
    struct Case {
        Setter setter;
        PdfValue value;
        std::string op;
    };
    const std::vector<Case> cases = {
        {Setter::Draw, "#FF8000", "1.000 0.502 0.000 rg"},
        {Setter::Draw, "#ff8000", "1.000 0.502 0.000 rg"},
        {Setter::Text, PdfValue(std::vector<PdfValue>{255.0, int32_t(0), "0"}), "1.000 0.000 0.000 rg"},
        {Setter::Text, PdfValue(std::vector<PdfValue>{127.5, 128.5, 300.0}), "0.502 0.502 1.176 rg"},
        {Setter::Line, int32_t(255), "1.000 0.000 0.000 RG"},
        {Setter::Line, 65280.9, "0.000 1.000 0.000 RG"},
        {Setter::Line, int32_t(16777215), "1.000 1.000 1.000 RG"},
        {Setter::Text, int32_t(16711680), "0.000 0.000 1.000 rg"},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        sq::ScopedScriptedDialogs dialogs;
        kdrPDF pdf;
        set(pdf, cases[i].setter, cases[i].value);
        EXPECT_EQ(stored(pdf, cases[i].setter), cases[i].op);
        EXPECT_TRUE(dialogs->records.empty());
    }
}

TEST(PdfColors, textsWithoutHashShowTheMessageAndGiveBlack) {
    struct Case {
        Setter setter;
        std::string op, text, title;
    };
    const Case cases[] = {
        {Setter::Text, "0.000 0.000 0.000 rg", "Invalid HTMl color setFF8000.\r\nSet color to  black.",
         "Text Color kdrPDF 1.0"},
        {Setter::Line, "0.000 0.000 0.000 RG",
         "Invalid line color set FF8000.\r\nSetting line color to black.", "Line Color - kdrPDF 1.0"},
        {Setter::Draw, "0.000 0.000 0.000 rg", "Invalid Draw Color set FF8000.\r\nUsing black.",
         "Draw Color - kdrPDF 1.0"},
    };
    for (const auto& c : cases) {
        sq::ScopedScriptedDialogs dialogs;
        kdrPDF pdf;
        set(pdf, c.setter, PdfValue(std::vector<PdfValue>{int32_t(9), int32_t(9), int32_t(9)}));
        set(pdf, c.setter, "FF8000");
        EXPECT_EQ(stored(pdf, c.setter), c.op);
        auto messages = dialogs->messages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, c.text);
        EXPECT_EQ(messages[0].title, c.title);
        EXPECT_EQ(messages[0].icon, sq::MsgIcon::Critical);
    }
}

TEST(PdfColors, conversionFailuresRaiseAndKeepThePreviousOperator) {
    struct Case {
        PdfValue value;
        int error;
    };
    const std::vector<Case> cases = {
        {int32_t(16777216), sq::kOverflow},
        {int32_t(-1), sq::kOverflow},
        {"#GG0000", sq::kTypeMismatch},
        {"#", sq::kTypeMismatch},
        {"#8000", sq::kTypeMismatch},  // the last six characters hold the "#"
        {PdfValue(std::vector<PdfValue>{1.0, 2.0}), sq::kSubscriptOutOfRange},
        {PdfValue(std::vector<PdfValue>{1.0, 2.0, "x"}), sq::kTypeMismatch},
        {PdfValue(std::vector<PdfValue>{1.0, 2.0, 40000.0}), sq::kOverflow},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        kdrPDF pdf;
        pdf.PDFSetDrawColor("#102030");
        std::string before = pdf.fillColorOperator();
        try {
            pdf.PDFSetDrawColor(cases[i].value);
            FAIL() << "no error";
        } catch (const sq::VbError& e) {
            EXPECT_EQ(e.number(), cases[i].error);
        }
        EXPECT_EQ(pdf.fillColorOperator(), before);
    }
}

TEST(PdfColors, gettersReturnNothingTheSettersWrite) {
    kdrPDF pdf;
    pdf.PDFSetTextColor(int32_t(255));
    pdf.PDFSetLineColor(int32_t(255));
    pdf.PDFSetDrawColor(int32_t(255));
    EXPECT_EQ(pdf.PDFGetTextColor(), "");
    EXPECT_EQ(pdf.PDFGetLineColor(), "");
    EXPECT_EQ(pdf.PDFGetDrawColor(), "");
}
