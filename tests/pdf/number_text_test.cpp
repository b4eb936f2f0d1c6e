// The number forms written into the file.
#include <gtest/gtest.h>

#include <random>

#include "pdf/pdf_text.h"
#include "platform/numbers.h"

using namespace sq::pdf;

TEST(PdfNumberText, fixedDecimalsRoundHalvesAwayOnTheShortestForm) {
    struct Case {
        double value;
        int decimals;
        std::string text;
    };
    const Case cases[] = {{1.005, 2, "1.01"},
                          {60.525, 2, "60.53"},
                          {-0.005, 2, "-0.01"},
                          {-0.0, 2, "0.00"},
                          {-0.05, 2, "-0.05"},
                          {841.89, 2, "841.89"},
                          {0.5, 0, "1"},
                          {128 / 255.0, 3, "0.502"},
                          {0.70711, 5, "0.70711"},
                          {28.346456692913, 2, "28.35"},
                          {1e12, 2, "1000000000000.00"}};
    for (const auto& c : cases) EXPECT_EQ(fixed(c.value, c.decimals), c.text) << c.value;
}

TEST(PdfNumberText, fastFixedAgreesWithTheGeneralFormatter) {
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> coordinate(-2000, 2000);
    std::uniform_int_distribution<int> cents(-200000, 200000);
    for (int i = 0; i < 200000; ++i) {
        double v = i % 2 ? coordinate(random) : (cents(random) + 0.5) / 100.0 * (i % 3 ? 1 : 72 / 25.4);
        int decimals = i % 4 == 0 ? 3 : 2;
        ASSERT_EQ(fixed(v, decimals), sq::formatFixed(v, decimals)) << v;
    }
}

TEST(PdfNumberText, paddingEscapingAndEncoding) {
    EXPECT_EQ(padZeros10("1234"), "0000001234");
    EXPECT_EQ(padZeros10("12345678901"), "12345678901");
    EXPECT_EQ(escapeLiteral("C:\\data (x)"), "C:\\\\data \\(x\\)");
    EXPECT_EQ(toPdfBytes("\xE2\x82\xAC \xC3\xA9 \xE2\x98\x83"), "\x80 \xE9 ?");
    EXPECT_EQ(shortNumber(595.28), "595.28");
    EXPECT_EQ(shortNumber(842), "842");
}
