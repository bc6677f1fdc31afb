// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/folders.h"
#include "tempdir.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace filmarin::platform;
using filmarin::testing::TempDir;

namespace {

// Sets an environment variable for one test and restores it afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_had = true;
            m_old = old;
        }
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (m_had)
            ::setenv(m_name, m_old.c_str(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had = false;
    std::string m_old;
};

TEST(Folders, DocumentsFolderComesFromTheUsersDirectoryList) {
    TempDir home;
    home.mkdir("Dokumente");
    home.mkdir(".config");
    home.write(".config/user-dirs.dirs",
               "# "
               "comment\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\nXDG_DOCUMENTS_DIR=\"$HOME/"
               "Dokumente/\"\n");
    ScopedEnv h("HOME", home.str());
    ScopedEnv c("XDG_CONFIG_HOME", home / ".config");
    std::string path = "unchanged";
    ASSERT_TRUE(specialFolderPath(nullptr, kDocumentsFolderId, path));
    EXPECT_EQ(path, home / "Dokumente");
}

TEST(Folders, MissingDocumentsFolderFallsBackToHome) {
    TempDir home;
    home.mkdir(".config");
    home.write(".config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Weg\"\n");
    ScopedEnv h("HOME", home.str());
    ScopedEnv c("XDG_CONFIG_HOME", home / ".config");
    std::string path;
    ASSERT_TRUE(specialFolderPath(nullptr, kDocumentsFolderId, path));
    EXPECT_EQ(path, home.str());
}

TEST(Folders, OtherFolderIdsAreNotKnown) {
    std::string path = "unchanged";
    EXPECT_FALSE(specialFolderPath(nullptr, 26, path));
    EXPECT_EQ(path, "unchanged");
}

TEST(Folders, ProgramFolderEndsWithTheSeparator) {
    const std::string folder = programFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(folder.front(), '/');
    raiseOwnPriority(); // must not fail loudly without the right to do it
}

} // namespace
