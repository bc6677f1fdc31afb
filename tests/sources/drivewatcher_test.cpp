// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakedrives.h"
#include "sources/drivewatcher.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <gtest/gtest.h>
#include <mutex>
#include <optional>
#include <set>
#include <stdexcept>
#include <thread>

using namespace filmarin;
using namespace filmarin::testing;
using namespace std::chrono_literals;

namespace {

// Drives of which some stop answering, as a network drive whose server has gone does:
// asking them blocks until the test lets them answer.
class HangingDrives : public FakeDrives {
public:
    std::vector<DriveEntry> listDrives() override {
        waitWhileHanging(QString());
        return FakeDrives::listDrives();
    }
    bool driveReady(const QString& key) override {
        {
            const std::lock_guard<std::mutex> lock(m_gate);
            ++asked[key];
        }
        waitWhileHanging(key);
        return FakeDrives::driveReady(key);
    }
    // An empty key hangs the list itself.
    void hang(const QString& key) {
        const std::lock_guard<std::mutex> lock(m_gate);
        m_hanging.insert(key);
    }
    void answer(const QString& key) {
        {
            const std::lock_guard<std::mutex> lock(m_gate);
            m_hanging.erase(key);
        }
        m_released.notify_all();
    }
    int askedCount(const QString& key) {
        const std::lock_guard<std::mutex> lock(m_gate);
        return asked[key];
    }

private:
    void waitWhileHanging(const QString& key) {
        std::unique_lock<std::mutex> lock(m_gate);
        m_released.wait(lock, [&] { return m_hanging.count(key) == 0; });
    }
    std::mutex m_gate;
    std::condition_variable m_released;
    std::set<QString> m_hanging;
    std::map<QString, int> asked;
};

// Collects the surveys the worker hands over.
class Surveys {
public:
    DriveWatcher::Delivery delivery() {
        return [this](const DriveSurvey& survey) {
            {
                const std::lock_guard<std::mutex> lock(m_mutex);
                m_surveys.push_back(survey);
            }
            m_arrived.notify_all();
        };
    }
    std::optional<DriveSurvey> next(std::chrono::milliseconds within) {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (!m_arrived.wait_for(lock, within, [&] { return !m_surveys.empty(); }))
            return std::nullopt;
        DriveSurvey survey = m_surveys.front();
        m_surveys.pop_front();
        return survey;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::deque<DriveSurvey> m_surveys;
};

const SurveyedDrive* find(const DriveSurvey& survey, const QString& key) {
    for (const SurveyedDrive& drive : survey.drives) {
        if (drive.key == key)
            return &drive;
    }
    return nullptr;
}

constexpr auto kDeadline = 300ms;

struct WatcherFixture {
    WatcherFixture() {
        drives->add('C', fakeDrive(3));
        drives->add('D', fakeDrive(5, true, QStringLiteral("FILM")));
        drives->add('H', fakeDrive(4)); // the school's network drive
    }
    ~WatcherFixture() {
        // Let every hanging question return, so that none outlives the test's drives.
        for (const QString& key :
             {QString(), QStringLiteral("C"), QStringLiteral("D"), QStringLiteral("H")})
            drives->answer(key);
    }
    std::shared_ptr<HangingDrives> drives = std::make_shared<HangingDrives>();
    std::shared_ptr<DriveQuestions> questions = DriveQuestions::create(drives);
    Surveys surveys;
    DriveWatcher watcher{questions, surveys.delivery(), kDeadline};
};

TEST(DriveWatcher, ASurveyListsEveryDriveWithItsTexts) {
    WatcherFixture f;
    f.watcher.request();
    const auto survey = f.surveys.next(5s);
    ASSERT_TRUE(survey);
    EXPECT_TRUE(survey->ok);
    ASSERT_EQ(survey->drives.size(), 3u);
    EXPECT_EQ(survey->drives[0].caption, QStringLiteral("C:"));
    EXPECT_EQ(survey->drives[0].typeText, QStringLiteral("Festplatte"));
    EXPECT_EQ(survey->drives[1].typeText, discDriveTypeText());
    EXPECT_EQ(survey->drives[1].label, QStringLiteral("FILM"));
    EXPECT_EQ(survey->drives[1].kind, DriveKind::Disc);
    EXPECT_EQ(survey->drives[2].typeText, QStringLiteral("Netzwerklaufwerk"));
    for (const SurveyedDrive& drive : survey->drives)
        EXPECT_EQ(drive.status, readyText()) << drive.key.toStdString();
}

TEST(DriveWatcher, ADriveThatDoesNotAnswerIsNotReadyUntilItAnswers) {
    WatcherFixture f;
    f.drives->hang(QStringLiteral("H"));
    const auto asked = std::chrono::steady_clock::now();
    f.watcher.request();
    const auto first = f.surveys.next(5s);
    ASSERT_TRUE(first);
    EXPECT_LT(std::chrono::steady_clock::now() - asked, kDeadline + 1s)
        << "the survey waits for the deadline only";
    EXPECT_TRUE(first->ok);
    ASSERT_EQ(first->drives.size(), 3u) << "the other drives are listed";
    EXPECT_EQ(find(*first, QStringLiteral("C"))->status, readyText());
    EXPECT_EQ(find(*first, QStringLiteral("D"))->label, QStringLiteral("FILM"));
    const SurveyedDrive* network = find(*first, QStringLiteral("H"));
    ASSERT_NE(network, nullptr);
    EXPECT_EQ(network->status, notReadyText());
    EXPECT_EQ(network->typeText, QStringLiteral("Netzwerklaufwerk"));
    EXPECT_EQ(network->caption, QStringLiteral("H:"));

    // While its question hangs, the drive is not asked again, and the survey does not wait.
    const auto again = std::chrono::steady_clock::now();
    f.watcher.request();
    const auto second = f.surveys.next(5s);
    ASSERT_TRUE(second);
    EXPECT_LT(std::chrono::steady_clock::now() - again, kDeadline);
    EXPECT_EQ(find(*second, QStringLiteral("H"))->status, notReadyText());
    EXPECT_EQ(f.drives->askedCount(QStringLiteral("H")), 1);

    f.drives->answer(QStringLiteral("H"));
    for (int round = 0; round < 20; ++round) {
        f.watcher.request();
        const auto later = f.surveys.next(5s);
        ASSERT_TRUE(later);
        if (find(*later, QStringLiteral("H"))->status == readyText())
            return;
        std::this_thread::sleep_for(20ms);
    }
    FAIL() << "the drive stays not ready after it answered";
}

TEST(DriveWatcher, AListThatDoesNotComeChangesNoRow) {
    WatcherFixture f;
    f.drives->hang(QString());
    f.watcher.request();
    const auto survey = f.surveys.next(5s);
    ASSERT_TRUE(survey);
    EXPECT_FALSE(survey->ok);
    EXPECT_TRUE(survey->drives.empty());
    f.drives->answer(QString());
    for (int round = 0; round < 20; ++round) {
        f.watcher.request();
        const auto later = f.surveys.next(5s);
        ASSERT_TRUE(later);
        if (later->ok) {
            EXPECT_EQ(later->drives.size(), 3u);
            return;
        }
        std::this_thread::sleep_for(20ms);
    }
    FAIL() << "the list never came after the system answered";
}

TEST(DriveWatcher, EndsPromptlyWhileADriveHangs) {
    auto drives = std::make_shared<HangingDrives>();
    drives->add('H', fakeDrive(4));
    drives->hang(QStringLiteral("H"));
    Surveys surveys;
    auto watcher =
        std::make_unique<DriveWatcher>(DriveQuestions::create(drives), surveys.delivery(), 10s);
    watcher->request();
    for (int i = 0; i < 100 && drives->askedCount(QStringLiteral("H")) == 0; ++i)
        std::this_thread::sleep_for(10ms);
    ASSERT_EQ(drives->askedCount(QStringLiteral("H")), 1) << "the survey waits for the drive";
    const auto ending = std::chrono::steady_clock::now();
    watcher.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - ending, 2s) << "the program can end";
    // The question still hangs; it keeps the drives alive until it returns.
    drives->answer(QStringLiteral("H"));
}

TEST(DriveQuestions, ADriveThatHangsHasOneQuestionWhoeverAsks) {
    WatcherFixture f;
    f.drives->hang(QStringLiteral("H"));
    f.watcher.request();
    ASSERT_TRUE(f.surveys.next(5s));
    // OK looks into the drive three times, and the watcher surveys it twice more.
    std::vector<std::shared_ptr<PendingAnswer<SourceKind>>> looks;
    for (int i = 0; i < 3; ++i) {
        looks.push_back(f.questions->ask<SourceKind>(
            QStringLiteral("H"), contentTopic(),
            [](DriveSystem& drives) { return drives.discContent(QStringLiteral("H:")); }));
        f.watcher.request();
        ASSERT_TRUE(f.surveys.next(5s));
    }
    EXPECT_EQ(looks[1], looks[0]) << "the same look, not answered yet, is asked once";
    EXPECT_EQ(looks[2], looks[0]);
    // The other drives' questions have been answered; their threads may take a moment to go.
    for (int i = 0; i < 100 && f.questions->threads() > 1; ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(f.questions->threads(), 1) << "one thread waits for the drive";
    EXPECT_EQ(f.drives->askedCount(QStringLiteral("H")), 1);
    EXPECT_FALSE(looks[0]->isAnswered());
    // Once the drive answers, the look waiting behind the survey runs.
    f.drives->answer(QStringLiteral("H"));
    EXPECT_TRUE(answeredBy(*looks[0], std::chrono::steady_clock::now() + 5s, {}));
    for (int i = 0; i < 100 && f.questions->threads() > 0; ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(f.questions->threads(), 0);
}

TEST(DriveWatcher, ADriveThatOkLooksIntoKeepsItsRow) {
    WatcherFixture f;
    f.drives->contentDelay = 600ms;
    const auto look =
        f.questions->ask<SourceKind>(QStringLiteral("D"), contentTopic(), [](DriveSystem& drives) {
            return drives.discContent(QStringLiteral("D:"));
        });
    ASSERT_TRUE(look);
    f.watcher.request();
    const auto survey = f.surveys.next(5s);
    ASSERT_TRUE(survey);
    EXPECT_TRUE(survey->ok);
    ASSERT_NE(find(*survey, QStringLiteral("D")), nullptr);
    EXPECT_TRUE(find(*survey, QStringLiteral("D"))->kept);
    EXPECT_FALSE(find(*survey, QStringLiteral("C"))->kept);
    EXPECT_TRUE(answeredBy(*look, std::chrono::steady_clock::now() + 5s, {}));
}

TEST(DriveWatcher, AFailingHandOverDoesNotEndTheWatcher) {
    auto drives = std::make_shared<HangingDrives>();
    drives->add('C', fakeDrive(3));
    Surveys surveys;
    int handed = 0;
    const DriveWatcher::Delivery deliver = surveys.delivery();
    DriveWatcher watcher(DriveQuestions::create(drives), [&](const DriveSurvey& survey) {
        if (++handed == 1)
            throw std::runtime_error("no room for the survey");
        deliver(survey);
    });
    watcher.request();
    for (int i = 0; i < 200 && handed == 0; ++i)
        std::this_thread::sleep_for(10ms);
    watcher.request();
    EXPECT_TRUE(surveys.next(5s)) << "the next survey comes";
}

TEST(DriveQuestions, AQuestionOutlivesItsAskersAndKeepsTheDrives) {
    // Answers in 300 ms, after the watcher, the questions' owner and the test's own
    // reference have all gone; it touches only what it holds.
    std::weak_ptr<HangingDrives> left;
    {
        auto drives = std::make_shared<HangingDrives>();
        left = drives;
        drives->add('D', fakeDrive(5, true, QStringLiteral("FILM")));
        drives->contentDelay = 300ms;
        auto questions = DriveQuestions::create(drives);
        Surveys surveys;
        DriveWatcher watcher(questions, surveys.delivery(), 50ms);
        questions->ask<SourceKind>(QStringLiteral("D"), contentTopic(), [](DriveSystem& d) {
            return d.discContent(QStringLiteral("D:"));
        });
        watcher.request();
        ASSERT_TRUE(surveys.next(5s));
    }
    EXPECT_FALSE(left.expired()) << "the running question holds the drives";
    for (int i = 0; i < 200 && !left.expired(); ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_TRUE(left.expired()) << "and lets them go once it has returned";
}

TEST(DriveWatcher, AListThatCannotBeReadGivesNoDrives) {
    WatcherFixture f;
    f.drives->listFails = true;
    f.watcher.request();
    const auto survey = f.surveys.next(5s);
    ASSERT_TRUE(survey);
    EXPECT_FALSE(survey->ok);
    EXPECT_TRUE(survey->drives.empty());
}

} // namespace
