// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>

namespace filmarin::testing {

// A fresh folder that is removed with everything in it at the end of the test.
class TempDir {
public:
    TempDir() {
        std::random_device random;
        for (int attempt = 0; attempt < 100; ++attempt) {
            const auto candidate = std::filesystem::temp_directory_path() /
                                   ("filmarin-test-" + std::to_string(random()));
            std::error_code ec;
            if (std::filesystem::create_directory(candidate, ec)) {
                m_path = candidate;
                return;
            }
        }
        throw std::runtime_error("no temporary folder could be made");
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string str() const { return m_path.string(); }
    std::string operator/(const std::string& name) const { return (m_path / name).string(); }

    void mkdir(const std::string& name) const {
        std::filesystem::create_directories(m_path / name);
    }
    void write(const std::string& name, const std::string& content) const {
        std::ofstream(m_path / name, std::ios::binary) << content;
    }

private:
    std::filesystem::path m_path;
};

} // namespace filmarin::testing
