// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "disctitles.h"
#include "drives.h"

#include <memory>
#include <string>

namespace filmarin::platform {
class Helper;
}

// The drives asked in a helper process (platform/helper.h), so that a network share that
// has stopped answering can never keep the program from ending.
namespace filmarin {

// The drives of this computer, asked in a helper where the system needs one. Must be called
// before the program starts any thread; without a helper, the drives are asked in the
// program itself.
std::shared_ptr<DriveSystem> startDriveHelper();

// The helper's answer to one question from HelperDrives, asked of `drives`.
std::string answerDriveQuestion(DriveSystem& drives, const std::string& question);

// A disc's titles as the helper's answer carries them, and back. Decoding throws on anything
// that is not such an answer.
std::string encodeDiscTitles(const std::vector<DiscTitle>& titles);
std::vector<DiscTitle> decodeDiscTitles(const std::string& text);

// Asks every question of a helper and waits for its answer. A question the helper could not
// answer throws, as a drive that cannot be read does; once the helper has gone, the program
// asks the drives itself.
class HelperDrives : public DriveSystem {
public:
    // `here` answers in the program what needs no look at a drive (a drive's caption), and
    // everything once the helper has gone.
    HelperDrives(std::shared_ptr<platform::Helper> helper, std::shared_ptr<DriveSystem> here);

    std::vector<DriveEntry> listDrives() override;
    std::uint8_t driveType(const QString& key) override;
    bool volumeLabel(const QString& key, QString& label) override;
    bool driveReady(const QString& key) override;
    QString caption(const QString& key) override;
    SourceKind discContent(const QString& root) override;
    PathKind pathKind(const QString& path) override;
    // Read in the helper only: a helper that has gone may have been ended by this very disc.
    std::vector<DiscTitle> discTitles(const QString& root) override;

private:
    // `hereToo`: once the helper has gone, the program asks itself.
    std::string ask(char what, const QString& argument, bool hereToo = true);
    std::shared_ptr<platform::Helper> m_helper;
    std::shared_ptr<DriveSystem> m_here;
};

} // namespace filmarin
