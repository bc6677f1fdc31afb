// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fileversion.h"
#include "tempdir.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

using namespace filmarin::platform;
using filmarin::testing::TempDir;

namespace {

// The PE fixtures are made with mingw-w64's binutils; a build without them has none.
bool havePeFixtures() {
    return std::string(FILMARIN_PE_FIXTURE_DIR).size() > 0;
}
#define SKIP_WITHOUT_PE_FIXTURES()                                                                 \
    if (!havePeFixtures())                                                                         \
    GTEST_SKIP() << "no PE fixtures: the mingw-w64 binutils were missing when this was built"

std::string fixture(const char* name) {
    return std::string(FILMARIN_PE_FIXTURE_DIR) + "/" + name + ".exe";
}

std::vector<unsigned char> bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct VersionCase {
    const char* file;
    const char* version;
};

class PeVersionTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(PeVersionTest, ReadsTheFileVersionOfTheFirstTranslation) {
    SKIP_WITHOUT_PE_FIXTURES();
    const VersionCase c = GetParam();
    EXPECT_EQ(fileVersionString(fixture(c.file)), c.version);
    const auto bytes = bytesOf(fixture(c.file));
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(peFileVersion(bytes.data(), bytes.size()), c.version);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, PeVersionTest,
    ::testing::Values(VersionCase{"v1_7_0_0", "1.7.0.0"}, VersionCase{"v1_6_1_0", "1.6.1.0"},
                      VersionCase{"v1_10_0_0", "1.10.0.0"}, VersionCase{"v3", "3"},
                      VersionCase{"v2_first", "2.0.1.0"}, VersionCase{"v_missing_table", ""},
                      VersionCase{"noversion", ""}),
    [](const auto& info) { return std::string(info.param.file); });

TEST(PeVersion, EveryTruncationOfAFileIsReadSafely) {
    SKIP_WITHOUT_PE_FIXTURES();
    const auto bytes = bytesOf(fixture("v1_7_0_0"));
    ASSERT_GT(bytes.size(), 100u);
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        // Copy so that the sanitizers see reads beyond the shortened buffer.
        const std::vector<unsigned char> part(bytes.begin(),
                                              bytes.begin() + static_cast<std::ptrdiff_t>(size));
        const std::string version = peFileVersion(part.data(), part.size());
        EXPECT_TRUE(version.empty() || version == "1.7.0.0") << size;
    }
    TempDir dir;
    dir.write("cut.exe", std::string(bytes.begin(), bytes.begin() + 600));
    EXPECT_EQ(fileVersionString(dir / "cut.exe"), "");
}

// A version text is UTF-16: a surrogate pair is one character, a lone surrogate is
// replaced.
TEST(PeVersion, SurrogatesBecomeUtf8) {
    SKIP_WITHOUT_PE_FIXTURES();
    auto bytes = bytesOf(fixture("v1_7_0_0"));
    const std::u16string original = u"1.7.0.0";
    const std::u16string patched = {0xD83D, 0xDE00, 0xDC00, u'.', u'0', u'.', u'0'};
    auto asBytes = [](const std::u16string& text) {
        std::vector<unsigned char> out;
        for (char16_t c : text) {
            out.push_back(static_cast<unsigned char>(c & 0xFF));
            out.push_back(static_cast<unsigned char>(c >> 8));
        }
        return out;
    };
    const auto from = asBytes(original);
    const auto at = std::search(bytes.begin(), bytes.end(), from.begin(), from.end());
    ASSERT_NE(at, bytes.end());
    const auto to = asBytes(patched);
    std::copy(to.begin(), to.end(), at);
    EXPECT_EQ(peFileVersion(bytes.data(), bytes.size()), "\xF0\x9F\x98\x80\xEF\xBF\xBD.0.0");
}

TEST(PeVersion, CorruptedBytesAreReadSafely) {
    SKIP_WITHOUT_PE_FIXTURES();
    const auto original = bytesOf(fixture("v1_10_0_0"));
    for (std::size_t i = 0; i < original.size(); i += 3) {
        auto bytes = original;
        bytes[i] ^= 0xFF;
        (void)peFileVersion(bytes.data(), bytes.size());
    }
    SUCCEED() << "no crash and no sanitizer report";
}

TEST(FileVersion, OtherProgramsAreAskedForTheirVersion) {
    TempDir dir;
    dir.write(
        "vlc",
        "#!/bin/sh\necho \"VLC media player 3.0.21 Vetinari (revision 3.0.21-0-gdd8bfdbabe8)\"\n");
    std::filesystem::permissions(dir / "vlc", std::filesystem::perms::owner_all);
    EXPECT_EQ(fileVersionString(dir / "vlc"), "3.0.21");

    dir.write("args", "#!/bin/sh\n[ \"$1\" = --version ] && [ $# -eq 1 ] && echo 'v 2.0' >&2\n");
    std::filesystem::permissions(dir / "args", std::filesystem::perms::owner_all);
    EXPECT_EQ(fileVersionString(dir / "args"), "2.0") << "one argument, stderr read too";

    dir.write("plain", "#!/bin/sh\necho 'version 3 without a point'\n");
    std::filesystem::permissions(dir / "plain", std::filesystem::perms::owner_all);
    EXPECT_EQ(fileVersionString(dir / "plain"), "");

    dir.write("notexec", "#!/bin/sh\necho 9.9\n");
    EXPECT_EQ(fileVersionString(dir / "notexec"), "");
    EXPECT_EQ(fileVersionString(dir / "missing"), "");
    EXPECT_EQ(fileVersionString(dir.str()), "") << "a folder";
}

TEST(FileVersion, AProgramThatHangsIsGivenUpAfterFiveSeconds) {
    TempDir dir;
    dir.write("hang", "#!/bin/sh\nexec sleep 30\n");
    std::filesystem::permissions(dir / "hang", std::filesystem::perms::owner_all);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(fileVersionString(dir / "hang"), "");
    const auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(seconds, 4.5);
    EXPECT_LT(seconds, 8.0);
}

} // namespace
