// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sources/discbrowser.h"

#include <chrono>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace filmarin::testing {

// Drives by letter, as a Windows system would report them. It answers from any thread.
class FakeDrives : public DriveSystem {
public:
    struct Drive {
        std::uint8_t type = 3;
        bool ready = true;
        QString label;
        bool labelReadable = true;
    };

    void add(char letter, Drive drive) {
        const std::lock_guard<std::recursive_mutex> lock(mutex);
        drives[QString(QLatin1Char(letter))] = drive;
    }
    void remove(char letter) {
        const std::lock_guard<std::recursive_mutex> lock(mutex);
        drives.erase(QString(QLatin1Char(letter)));
    }

    std::vector<DriveEntry> listDrives() override {
        const std::lock_guard<std::recursive_mutex> lock(mutex);
        if (listFails)
            throw std::runtime_error("Nicht genügend Speicher");
        std::vector<DriveEntry> list;
        for (const auto& [key, d] : drives)
            list.push_back({key, key + QStringLiteral(":\\"), d.type});
        return list;
    }
    std::uint8_t driveType(const QString& key) override {
        const std::lock_guard<std::recursive_mutex> lock(mutex);
        const auto it = drives.find(key);
        return it == drives.end() ? 1 : it->second.type;
    }
    bool volumeLabel(const QString& key, QString& label) override {
        const std::lock_guard<std::recursive_mutex> lock(mutex);
        ++labelQueries[key];
        const auto it = drives.find(key);
        if (it == drives.end() || !it->second.labelReadable || !it->second.ready) {
            label.clear();
            return false;
        }
        label = it->second.label;
        return true;
    }
    bool driveReady(const QString& key) override {
        const std::lock_guard<std::recursive_mutex> lock(mutex);
        ++readinessQueries[key];
        if (readinessThrows)
            throw std::runtime_error("drive error");
        const auto it = drives.find(key);
        return it != drives.end() && it->second.ready;
    }
    QString caption(const QString& key) override {
        const std::lock_guard<std::recursive_mutex> lock(mutex);
        const auto it = captions.find(key);
        return it == captions.end() ? key + QLatin1Char(':') : it->second;
    }

    // Looks into the drive's folder, after `contentDelay`.
    SourceKind discContent(const QString& root) override {
        std::chrono::milliseconds delay;
        {
            const std::lock_guard<std::recursive_mutex> lock(mutex);
            ++contentQueries[root];
            delay = contentDelay;
        }
        std::this_thread::sleep_for(delay);
        return DriveSystem::discContent(root);
    }

    // Reads the disc's navigation files, after `titlesDelay`.
    std::vector<DiscTitle> discTitles(const QString& root) override {
        std::chrono::milliseconds delay;
        {
            const std::lock_guard<std::recursive_mutex> lock(mutex);
            ++titlesQueries[root];
            delay = titlesDelay;
        }
        std::this_thread::sleep_for(delay);
        return DriveSystem::discTitles(root);
    }

    void addPath(const QString& key, const QString& path, Drive drive) {
        const std::lock_guard<std::recursive_mutex> lock(mutex);
        drives[key] = drive;
        captions[key] = path;
    }

    std::recursive_mutex mutex;
    std::map<QString, Drive> drives;
    std::map<QString, QString> captions;
    std::map<QString, int> labelQueries;
    std::map<QString, int> readinessQueries;
    std::map<QString, int> contentQueries;
    std::map<QString, int> titlesQueries;
    std::chrono::milliseconds contentDelay{0};
    std::chrono::milliseconds titlesDelay{0};
    bool listFails = false;
    bool readinessThrows = false;
};

// A drive of the given type code, ready or not, with a label for disc drives.
inline FakeDrives::Drive fakeDrive(std::uint8_t type, bool ready = true,
                                   const QString& label = QString()) {
    FakeDrives::Drive d;
    d.type = type;
    d.ready = ready;
    d.label = label;
    return d;
}

} // namespace filmarin::testing
