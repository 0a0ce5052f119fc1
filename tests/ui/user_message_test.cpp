#include "ui/user_message.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace tarvex {
namespace {

TEST(UserMessage, FileErrorsGiveTheirReasonInRussian) {
    const RuntimeError denied(ErrorKind::FileWrite, "Cannot write /d/rlin1.txt: Permission denied",
                              EACCES);
    EXPECT_EQ(UserMessage(denied),
              "Не удалось записать файл результатов. Причина: нет прав доступа.\n\n(Cannot write "
              "/d/rlin1.txt: Permission denied)");
    EXPECT_EQ(UserMessage(RuntimeError(ErrorKind::Overflow, "Overflow")).find("Причина"),
              std::string::npos);
}

}  // namespace
}  // namespace tarvex
