// Test main: every suite runs with a private program folder and on Qt's offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <cstdlib>

#include "platform/ui/classic_font.h"
#include "support/test_support.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::string home = sqtest::dataHome();
    QDir().mkpath(QString::fromStdString(home));
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    QApplication app(argc, argv);
    sq::useClassicFont();  // the program's font, so that texts measure as they do in the program
    return RUN_ALL_TESTS();
}
