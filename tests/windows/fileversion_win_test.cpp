// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fileversion.h"
#include "wintest.h"

#include <gtest/gtest.h>
#include <iterator>
#include <vector>

using namespace filmarin::platform;
using filmarin::testing::readText;
using filmarin::testing::testFolder;

namespace {

TEST(FileVersionString, ReadsTheVersionResourceThroughTheVersionApi) {
    const std::pair<const char*, const char*> cases[] = {
        {"v1_7_0_0.exe", "1.7.0.0"},   {"v1_6_1_0.exe", "1.6.1.0"},
        {"v1_10_0_0.exe", "1.10.0.0"}, {"v3.exe", "3"},
        {"noversion.exe", ""},         {"missing.exe", ""}};
    for (const auto& [file, version] : cases) {
        const std::string path = testFolder() + file;
        EXPECT_EQ(fileVersionString(path), version) << file;
        // The reader the Linux build uses gives the same text for the same file.
        const std::string bytes = readText(path);
        EXPECT_EQ(peFileVersion(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()),
                  version)
            << file;
    }
}

} // namespace
