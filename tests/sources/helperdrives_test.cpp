// SPDX-License-Identifier: GPL-3.0-or-later
// The drives asked through a helper: every question and answer survives the way there and
// back, a question that fails there fails here, and without the helper the program asks.
#include "fakedrives.h"
#include "platform/helper.h"
#include "sources/helperdrives.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace filmarin;
using namespace filmarin::testing;

namespace {

// Answers in this process, as the helper process would.
class HelperHere : public platform::Helper {
public:
    explicit HelperHere(DriveSystem& drives) : m_drives(drives) {}
    std::optional<std::string> ask(const std::string& question) override {
        ++asked;
        if (gone)
            return std::nullopt;
        return answerDriveQuestion(m_drives, question);
    }
    int asked = 0;
    bool gone = false;

private:
    DriveSystem& m_drives;
};

struct Through {
    Through() {
        drives->addPath(QStringLiteral("/media/lehrer/MEIN FILM #1"),
                        QStringLiteral("/media/lehrer/MEIN FILM #1"),
                        fakeDrive(5, true, QStringLiteral("Łódź – Film")));
        drives->add('C', fakeDrive(3));
        drives->add('N', fakeDrive(4, false));
    }
    std::shared_ptr<FakeDrives> drives = std::make_shared<FakeDrives>();
    std::shared_ptr<HelperHere> helper = std::make_shared<HelperHere>(*drives);
    HelperDrives asked{helper, drives};
};

TEST(HelperDrives, EveryQuestionComesBackAsTheDrivesAnswerIt) {
    Through t;
    const std::vector<DriveEntry> direct = t.drives->listDrives();
    const std::vector<DriveEntry> through = t.asked.listDrives();
    ASSERT_EQ(through.size(), direct.size());
    for (std::size_t i = 0; i < direct.size(); ++i) {
        EXPECT_EQ(through[i].key, direct[i].key);
        EXPECT_EQ(through[i].root, direct[i].root);
        EXPECT_EQ(through[i].type, direct[i].type);
    }
    const QString film = QStringLiteral("/media/lehrer/MEIN FILM #1");
    EXPECT_EQ(t.asked.driveType(film), 5);
    QString label = QStringLiteral("alt");
    EXPECT_TRUE(t.asked.volumeLabel(film, label));
    EXPECT_EQ(label, QStringLiteral("Łódź – Film"));
    EXPECT_FALSE(t.asked.volumeLabel(QStringLiteral("N"), label));
    EXPECT_TRUE(label.isEmpty());
    EXPECT_TRUE(t.asked.driveReady(QStringLiteral("C")));
    EXPECT_FALSE(t.asked.driveReady(QStringLiteral("N")));
    EXPECT_EQ(t.asked.discContent(QStringLiteral("/no/such/drive")), SourceKind::None);
    EXPECT_EQ(t.asked.pathKind(QStringLiteral("/")), PathKind::Folder);
    EXPECT_EQ(t.asked.pathKind(QStringLiteral("/no/such/file")), PathKind::Nothing);
    // The caption needs no drive: it is not asked of the helper.
    const int before = t.helper->asked;
    EXPECT_EQ(t.asked.caption(QStringLiteral("C")), QStringLiteral("C:"));
    EXPECT_EQ(t.helper->asked, before);
}

TEST(HelperDrives, AQuestionThatThrowsThereThrowsHere) {
    Through t;
    t.drives->readinessThrows = true;
    EXPECT_THROW(t.asked.driveReady(QStringLiteral("C")), std::exception);
    t.drives->readinessThrows = false;
    t.drives->listFails = true;
    EXPECT_THROW(t.asked.listDrives(), std::exception);
}

TEST(HelperDrives, OnceTheHelperHasGoneTheDrivesAreAskedHere) {
    Through t;
    t.helper->gone = true;
    EXPECT_EQ(t.asked.listDrives().size(), t.drives->listDrives().size());
    EXPECT_TRUE(t.asked.driveReady(QStringLiteral("C")));
    EXPECT_FALSE(t.asked.driveReady(QStringLiteral("N")));
    QString label;
    EXPECT_TRUE(t.asked.volumeLabel(QStringLiteral("/media/lehrer/MEIN FILM #1"), label));
    EXPECT_EQ(label, QStringLiteral("Łódź – Film"));
    t.drives->readinessThrows = true;
    EXPECT_THROW(t.asked.driveReady(QStringLiteral("C")), std::exception);
}

TEST(HelperDrives, BrokenQuestionsAndAnswersAreRefused) {
    FakeDrives drives;
    for (const std::string& question :
         {std::string(), std::string("L"), std::string("X\0", 2), std::string("TC")})
        EXPECT_EQ(answerDriveQuestion(drives, question), "!") << question;
}

} // namespace
