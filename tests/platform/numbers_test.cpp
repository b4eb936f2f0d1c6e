#include "platform/numbers.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/vb_error.h"
#include "support/test_support.h"

namespace sq {
namespace {

using sqtest::errorOf;

TEST(VbErrorTest, carriesTheClassicNumberAndText) {
    EXPECT_EQ(errorOf([] { raise(kOverflow); }), 6);
    EXPECT_STREQ(VbError(kDivisionByZero).what(), "Division by zero");
    EXPECT_STREQ(VbError(kFileNotFound, "ControlSetting.ini").what(), "ControlSetting.ini");
    EXPECT_STREQ(VbError(1234).what(), "Error 1234");
}

TEST(ByteOrderTest, bigEndianSignedReadsRaiseWhenTheHighByteHasBit7) {
    const uint8_t ok16[] = {0x01, 0x02};
    const uint8_t max16[] = {0x7F, 0xFF};
    const uint8_t neg16[] = {0x80, 0x00};
    EXPECT_EQ(readBe16(ok16), 258);
    EXPECT_EQ(readBe16(max16), 32767);
    EXPECT_EQ(errorOf([&] { readBe16(neg16); }), kOverflow);

    const uint8_t ok32[] = {0x00, 0x01, 0x00, 0x02};
    const uint8_t neg32[] = {0x80, 0x00, 0x00, 0x00};
    EXPECT_EQ(readBe32(ok32), 65538);
    EXPECT_EQ(errorOf([&] { readBe32(neg32); }), kOverflow);
}

TEST(ByteOrderTest, littleEndianReads) {
    const uint8_t all16[] = {0xFF, 0xFF};
    EXPECT_EQ(readLeU16(all16), 65535);  // unsigned: no overflow
    const uint8_t word[] = {0x78, 0x56, 0x34, 0x12};
    EXPECT_EQ(readLe32(word), 0x12345678);
    const uint8_t top[] = {0x00, 0x00, 0x00, 0x80};
    EXPECT_EQ(errorOf([&] { readLe32(top); }), kOverflow);
}

TEST(RoundingTest, halvesGoToEven) {
    // The LCD contrast list index: byte / 4 - 1, rounded.
    EXPECT_EQ(roundHalfEven(10 / 4.0 - 1), 2);
    EXPECT_EQ(roundHalfEven(6 / 4.0 - 1), 0);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-1.5), -2);
    EXPECT_EQ(roundHalfEven(2.4999), 2);
}

TEST(RoundingTest, conversionsRaiseOverflowOutsideTheirRange) {
    EXPECT_EQ(toByte(255.4), 255);
    EXPECT_EQ(toByte(-0.5), 0);  // rounds to zero before the range check
    EXPECT_EQ(errorOf([] { toByte(255.5); }), kOverflow);
    EXPECT_EQ(errorOf([] { toByte(-0.6); }), kOverflow);
    EXPECT_EQ(errorOf([] { toByte(NAN); }), kOverflow);
    EXPECT_EQ(toInt16(-32768.5), -32768);
    EXPECT_EQ(errorOf([] { toInt16(32767.5); }), kOverflow);
    EXPECT_EQ(toInt32(2147483647.0), 2147483647);
    EXPECT_EQ(errorOf([] { toInt32(2147483648.0); }), kOverflow);
}

struct FixedCase {
    double value;
    int decimals;
    const char* text;
};

TEST(FormatFixedTest, roundsHalvesAwayFromZeroOnTheShortestDecimalForm) {
    const FixedCase cases[] = {
        {930 / 10.0, 1, "93.0"},   // a level in tenths of a dB
        {9 / 3600.0, 3, "0.003"},  // 9 seconds in hours
        {1.005, 2, "1.01"},        // binary 1.00499999... but shortest form 1.005
        {60.525, 2, "60.53"},
        {-0.005, 2, "-0.01"},
        {-0.0, 1, "0.0"},
        {0, 0, "0"},
        {2.5, 0, "3"},
        {-2.5, 0, "-3"},
        {999.95, 1, "1000.0"},
        {0.0001, 2, "0.00"},
        {1e-20, 1, "0.0"},
        {123456.789, 2, "123456.79"},
        {12, 3, "12.000"},
        {0.05, 1, "0.1"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatFixed(c.value, c.decimals), c.text) << c.value;
}

TEST(FormatTest, paddedWholeNumbersAndShortestNumberTexts) {
    EXPECT_EQ(formatPadded(5, 2), "05");
    EXPECT_EQ(formatPadded(2026, 4), "2026");
    EXPECT_EQ(formatPadded(123, 2), "123");
    EXPECT_EQ(formatPadded(-5, 2), "-05");

    EXPECT_EQ(formatNumber(0.1), "0.1");
    EXPECT_EQ(formatNumber(93), "93");
    EXPECT_EQ(formatNumber(-2.5), "-2.5");
    EXPECT_EQ(formatNumber(-0.0), "0");
    EXPECT_EQ(formatNumber(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(formatNumber(1e20), "1E+20");
    EXPECT_EQ(formatNumber(1.5e-7), "1.5E-07");
}

TEST(ParseTest, leadingNumberIsLenient) {
    const std::pair<const char*, double> cases[] = {
        {"12abc", 12}, {" 1 2 3", 123}, {"-3.5dB", -3.5}, {"+7", 7}, {"abc", 0},
        {"", 0},       {"1e3x", 1000},  {".5", 0.5},      {"1e", 1}, {"2.5.1", 2.5},
    };
    for (const auto& [text, value] : cases) EXPECT_DOUBLE_EQ(leadingNumber(text), value) << text;
}

TEST(ParseTest, strictConversionRaisesTypeMismatch) {
    EXPECT_DOUBLE_EQ(toNumber(" 42 "), 42);
    EXPECT_DOUBLE_EQ(toNumber("-4.5"), -4.5);
    EXPECT_DOUBLE_EQ(toNumber("1E2"), 100);
    for (const char* bad : {"", "  ", "abc", "12abc", "1,5", "."})
        EXPECT_EQ(errorOf([&] { toNumber(bad); }), kTypeMismatch) << bad;
    EXPECT_TRUE(isNumeric("3.25"));
    EXPECT_FALSE(isNumeric("3.25 dB"));
}

// A locale whose decimal point is a comma, made for the test so that it exists on every machine:
// localedef (part of the C library's tools) compiles a source holding only the numeric category,
// with a character map of plain ASCII, into a temporary folder that LOCPATH names.
class CommaLocale {
public:
    CommaLocale() {
        char pattern[] = "/tmp/sq-locale-XXXXXX";
        if (!::mkdtemp(pattern)) {
            m_problem = "no temporary folder";
            return;
        }
        m_folder = pattern;
        std::ofstream charmap(m_folder + "/ascii");
        charmap << "<code_set_name> SQ-ASCII\n<escape_char> /\n<mb_cur_min> 1\n<mb_cur_max> 1\nCHARMAP\n";
        char line[32];
        for (int c = 0; c < 128; ++c) {
            std::snprintf(line, sizeof line, "<U%04X> /x%02x\n", c, c);
            charmap << line;
        }
        charmap << "END CHARMAP\n";
        charmap.close();
        std::ofstream(m_folder + "/comma")
            << "LC_NUMERIC\ndecimal_point \"<U002C>\"\nthousands_sep \"<U002E>\"\n"
               "grouping 3;3\nEND LC_NUMERIC\n";
        // -c: the other categories are missing on purpose; their warnings are expected.
        const std::string command = "localedef -c -f '" + m_folder + "/ascii' -i '" + m_folder + "/comma' '" +
                                    m_folder + "/" + kName + "' >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        if (!std::filesystem::exists(m_folder + "/" + kName + "/LC_NUMERIC")) {
            m_problem = "localedef is missing or failed (status " + std::to_string(status) + ")";
            return;
        }
        const char* locpath = std::getenv("LOCPATH");
        m_savedLocpath = locpath ? std::optional<std::string>(locpath) : std::nullopt;
        ::setenv("LOCPATH", m_folder.c_str(), 1);
        const char* previous = std::setlocale(LC_NUMERIC, nullptr);
        m_savedLocale = previous ? previous : "C";
        if (!std::setlocale(LC_NUMERIC, kName)) {
            m_problem = "the C library does not load locales from LOCPATH";
        } else if (std::string(std::localeconv()->decimal_point) != ",") {
            m_problem = "the made locale has no comma as decimal point";
        }
    }
    ~CommaLocale() {
        if (!m_savedLocale.empty()) std::setlocale(LC_NUMERIC, m_savedLocale.c_str());
        if (m_savedLocpath)
            ::setenv("LOCPATH", m_savedLocpath->c_str(), 1);
        else
            ::unsetenv("LOCPATH");
        if (!m_folder.empty()) std::filesystem::remove_all(m_folder);
    }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    // Empty while the comma locale is in force for LC_NUMERIC; otherwise why it could not be.
    [[nodiscard]] const std::string& problem() const { return m_problem; }

private:
    static constexpr const char* kName = "sqcomma";
    std::string m_folder;
    std::string m_problem;
    std::string m_savedLocale;
    std::optional<std::string> m_savedLocpath;
};

// Qt sets the C locale from the environment; texts must keep "." whatever it is.
TEST(NumberLocaleTest, decimalPointStaysAPointUnderACommaLocale) {
    std::string fixed, shortest, strictText;
    double parsed = 0, strict = 0;
    {
        CommaLocale comma;
        if (!comma.problem().empty())
            GTEST_SKIP() << "cannot make a comma-decimal locale: " << comma.problem();
        char printed[16];
        std::snprintf(printed, sizeof printed, "%.1f", 1.5);
        ASSERT_STREQ(printed, "1,5") << "the C library itself now writes a comma";
        fixed = formatFixed(1.5, 1);
        shortest = formatNumber(0.25);
        parsed = leadingNumber("1.5");
        strict = toNumber("-4.5");
        strictText = formatFixed(-1234.5, 2);
    }
    EXPECT_EQ(fixed, "1.5");
    EXPECT_EQ(shortest, "0.25");
    EXPECT_DOUBLE_EQ(parsed, 1.5);
    EXPECT_DOUBLE_EQ(strict, -4.5);
    EXPECT_EQ(strictText, "-1234.50");
}

}  // namespace
}  // namespace sq
