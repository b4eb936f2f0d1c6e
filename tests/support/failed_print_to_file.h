#pragma once
// A print to a PDF file on a full disk: the file of that name must stay as it was, nothing may be
// left beside it, and one critical message names the file and the cause.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <optional>
#include <string>

#include "platform/dialogs.h"
#include "platform/text_file.h"
#include "support/file_size_limit.h"
#include "support/scripted_dialogs.h"
#include "support/test_support.h"

namespace sqtest {

// Runs `print`, which prints to `dir`/`name`, over an old file of that name while only 8 KB can be
// written.
inline void expectFailedPrintKeepsTheOldFile(const sq::ScriptedDialogs& dialogs, const std::string& dir,
                                             const std::string& name, const std::function<void()>& print) {
    const std::string path = dir + "/" + name;
    const std::string old = "%PDF-1.4 last week's " + name;
    ASSERT_TRUE(sq::writeFileAtomic(path, old));
    withFileSizeLimit(8192, print);
    const auto messages = dialogs.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text,
              "The report was not printed completely.\n" + path + "\n" + std::strerror(EFBIG));
    EXPECT_EQ(messages[0].icon, sq::MsgIcon::Critical);
    EXPECT_EQ(sq::readFileBytes(path), std::optional<std::string>(old));
    EXPECT_EQ(runCommand("ls -A '" + dir + "'"), name + "\n");
}

}  // namespace sqtest
