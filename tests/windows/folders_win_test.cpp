// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/folders.h"

#include <gtest/gtest.h>

using namespace filmarin::platform;

namespace {

TEST(FoldersWin, DocumentsFolderAndProgramFolder) {
    std::string documents;
    ASSERT_TRUE(specialFolderPath(nullptr, kDocumentsFolderId, documents));
    EXPECT_FALSE(documents.empty());
    EXPECT_NE(documents.back(), '\\');
    const std::string program = programFolder();
    ASSERT_FALSE(program.empty());
    EXPECT_EQ(program.back(), '\\');
    EXPECT_EQ(program.find('/'), std::string::npos);
    raiseOwnPriority();
}

} // namespace
