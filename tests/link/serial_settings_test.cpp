// Mode texts into line settings, and the write time-out.
#include <gtest/gtest.h>

#include "platform/serial_port.h"

using namespace sq;

namespace {

TEST(ModeText, parsesTheNamedFieldsAndKeepsTheOthers) {
    struct Case {
        const char* text;
        uint32_t baud;
        char parity;
        int data;
        int stop;
    } cases[] = {
        {"baud=57600 parity=N data=8 stop=1", 57600, 'N', 8, 10},
        {"BAUD=9600 PARITY=e DATA=7 STOP=2", 9600, 'E', 7, 20},
        {"  baud=115200  ", 115200, 'N', 8, 10},
        {"parity=o stop=1.5 data=5", 4800, 'O', 5, 15},
        {"COM3: baud=19200", 19200, 'N', 8, 10},
        {"96,n,8,1", 9600, 'N', 8, 10},
        {"19200,m,7,2", 19200, 'M', 7, 20},
        {"baud=96", 9600, 'N', 8, 10},
    };
    for (const auto& c : cases) {
        LineSettings s;
        s.baud = 4800;
        ASSERT_TRUE(parseModeText(c.text, s)) << c.text;
        EXPECT_EQ(s.baud, c.baud) << c.text;
        EXPECT_EQ(s.parity, c.parity) << c.text;
        EXPECT_EQ(s.dataBits, c.data) << c.text;
        EXPECT_EQ(s.stopBits, c.stop) << c.text;
    }
}

TEST(ModeText, rejectsInvalidTextsWithoutChangingAnything) {
    for (const char* text :
         {"", "   ", "baud=", "baud=abc", "baud=0", "parity=X", "data=9", "data=4", "stop=3", "speed=9600",
          "baud=9600 parity", "xon=maybe", "96,q,8,1", "96,n,8,1,z"}) {
        LineSettings s;
        s.baud = 57600;
        s.parity = 'E';
        LineSettings before = s;
        EXPECT_FALSE(parseModeText(text, s)) << '"' << text << '"';
        EXPECT_EQ(s, before) << text;
    }
}

TEST(ModeText, flowControlKeys) {
    LineSettings s;
    ASSERT_TRUE(parseModeText("baud=9600 xon=on octs=on dtr=off rts=off", s));
    EXPECT_TRUE(s.xonXoff);
    EXPECT_TRUE(s.ctsFlow);
    EXPECT_FALSE(s.dtr);
    EXPECT_FALSE(s.rts);
}

TEST(WriteTimeout, isTheConstantPlusPerByteTimesCount) {
    EXPECT_EQ(writeTimeoutMs(SerialTimeouts{0, 0, 0, 0, 1000}, 13), 1000u);
    EXPECT_EQ(writeTimeoutMs(SerialTimeouts{0, 0, 0, 1000, 0}, 13), 13000u);
    EXPECT_EQ(writeTimeoutMs(SerialTimeouts{}, 13), 1000u) << "never unbounded";
}

}  // namespace
