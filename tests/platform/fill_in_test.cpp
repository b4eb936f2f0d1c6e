#include "platform/fill_in.h"

#include <gtest/gtest.h>

namespace sq {
namespace {

TEST(FillInTest, eachPlaceholderTakesItsPartWhereverTheWordingPutsIt) {
    struct Case {
        const char* pattern;
        const char* text;
    } cases[] = {
        {"%1 could not be opened: %2.", "COM3 could not be opened: busy."},
        {"%2: %1 %1", "busy: COM3 COM3"},        // order and repetition are the translation's
        {"100% of %1", "100% of COM3"},          // a lone % stays
        {"%3 and %0 and %", "%3 and %0 and %"},  // no such part: left as written
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(fillIn(c.pattern, {"COM3", "busy"}), c.text) << c.pattern;
    // A part that itself holds "%2" is not filled in again.
    EXPECT_EQ(fillIn("%1/%2", {"%2", "x"}), "%2/x");
}

}  // namespace
}  // namespace sq
