#pragma once
// Runs a test of the atomic writer once with temporary files that have no name, as on most file
// systems, and once with named ones, as on a file system without unnamed files: every guarantee
// holds with both.
#include <gtest/gtest.h>

#include "platform/atomic_file.h"

namespace sqtest {

template <class Test>
void withEachTemporaryKind(Test&& test) {
    struct Restore {
        ~Restore() { sq::setNamedTemporaryFiles(false); }
    } restore;
    for (const bool named : {false, true}) {
        SCOPED_TRACE(named ? "named temporary files" : "unnamed temporary files");
        sq::setNamedTemporaryFiles(named);
        test(named);
    }
}

}  // namespace sqtest
