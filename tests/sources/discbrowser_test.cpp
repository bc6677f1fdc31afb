// SPDX-License-Identifier: GPL-3.0-or-later
#include "../table/memorytable.h"
#include "fakedrives.h"
#include "sources/discbrowser.h"

#include <QStringList>
#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <vector>

using namespace filmarin;
using namespace std::chrono_literals;
using namespace filmarin::testing;

namespace {

// The browser's list without a window; counts how often cells are written.
class MemoryDriveList : public DriveListView {
public:
    struct Row {
        QString key, caption;
        DriveKind kind = DriveKind::Other;
        bool ready = false;
        QString cells[3];
    };
    int rowCount() const override { return static_cast<int>(rows.size()); }
    QString key(int row) const override { return rows.at(row).key; }
    QString caption(int row) const override { return rows.at(row).caption; }
    void setCaption(int row, const QString& c) override {
        rows.at(row).caption = c;
        ++writes;
    }
    DriveKind kind(int row) const override { return rows.at(row).kind; }
    bool ready(int row) const override { return rows.at(row).ready; }
    void setFacts(int row, DriveKind k, bool r) override {
        rows.at(row).kind = k;
        rows.at(row).ready = r;
    }
    QString cell(int row, int sub) const override { return rows.at(row).cells[sub]; }
    void setCell(int row, int sub, const QString& t) override {
        rows.at(row).cells[sub] = t;
        ++writes;
    }
    void appendRow(const SurveyedDrive& d) override {
        rows.push_back({d.key, d.caption, d.kind, d.ready, {d.typeText, d.label, d.status}});
    }
    void removeRow(int row) override { rows.erase(rows.begin() + row); }
    void selectRow(int row) override { selected = row; }

    QStringList captions() const {
        QStringList list;
        for (const Row& r : rows)
            list << r.caption;
        return list;
    }
    std::vector<Row> rows;
    int selected = -1;
    int writes = 0;
};

TEST(DriveTexts, TypeTextsLabelsAndReadiness) {
    FakeDrives drives;
    drives.add('A', fakeDrive(2, true, QStringLiteral("X")));
    drives.add('B', fakeDrive(2, true));
    drives.add('C', fakeDrive(3));
    drives.add('D', fakeDrive(5, true, QStringLiteral("MOVIE")));
    drives.add('E', fakeDrive(2));
    drives.add('F', fakeDrive(4));
    drives.add('G', fakeDrive(5, false));
    drives.add('H', fakeDrive(6));
    drives.add('I', fakeDrive(0));
    drives.add('J', fakeDrive(1));
    using enum DriveKind;
    struct Case {
        char letter;
        const char* type;
        const char* label;
        const char* status;
        DriveKind kind;
    };
    const Case cases[] = {{'A', "3½-Diskette", "", "nicht bereit", Floppy},
                          {'B', "3½-Diskette", "", "nicht bereit", Floppy},
                          {'C', "Festplatte", "", "bereit", Other},
                          {'D', "DVD/CD ", "MOVIE", "bereit", Disc},
                          {'E', "Wechseldatenträger", "", "bereit", OtherRemovable},
                          {'F', "Netzwerklaufwerk", "", "bereit", Other},
                          {'G', "DVD/CD ", "", "nicht bereit", Disc},
                          {'H', "RAM-Laufwerk", "", "bereit", Other},
                          {'I', "Laufwerk", "", "bereit", Other},
                          {'J', "Laufwerk", "", "bereit", Other}};
    for (const Case& c : cases) {
        const QString key(QLatin1Char(c.letter));
        QString label = QStringLiteral("stale");
        EXPECT_EQ(driveTypeText(drives, key, label), QString::fromUtf8(c.type)) << c.letter;
        EXPECT_EQ(label, QString::fromUtf8(c.label)) << c.letter;
        EXPECT_EQ(driveReadiness(drives, key), QString::fromUtf8(c.status)) << c.letter;
        EXPECT_EQ(driveKindOf(drives.driveType(key), key), c.kind) << c.letter;
    }
    EXPECT_EQ(drives.readinessQueries[QStringLiteral("A")], 0) << "a floppy is never asked";
    EXPECT_EQ(drives.labelQueries[QStringLiteral("A")], 0);
    EXPECT_EQ(drives.labelQueries[QStringLiteral("C")], 0) << "only disc drives have labels";
    EXPECT_FALSE(isFloppyDrive(2, QStringLiteral("/media/stick"))) << "Linux keys are no letters";
    EXPECT_TRUE(isFloppyDrive(2, QStringLiteral("a")));
    drives.readinessThrows = true;
    EXPECT_EQ(driveReadiness(drives, QStringLiteral("C")), QStringLiteral("nicht bereit"));
}

struct Browser : ::testing::Test {
    void refresh() { ASSERT_TRUE(applyDriveSurvey(list, surveyDrives(drives), state)); }
    FakeDrives drives;
    MemoryDriveList list;
    DiscBrowserState state;
    MemoryMessages messages;
};

TEST_F(Browser, ReadyDvdIsPreselected) {
    drives.add('C', fakeDrive(3));
    drives.add('D', fakeDrive(5, true, QStringLiteral("FILM")));
    drives.add('E', fakeDrive(5, false));
    refresh();
    autoSelectDisc(list, state);
    EXPECT_EQ(list.captions(),
              (QStringList{QStringLiteral("C:"), QStringLiteral("D:"), QStringLiteral("E:")}));
    EXPECT_EQ(state.currentRow, 1);
    EXPECT_EQ(list.selected, 1);
    EXPECT_EQ(list.rows[1].cells[1], QStringLiteral("FILM"));
    EXPECT_EQ(list.rows[1].kind, DriveKind::Disc);
    EXPECT_TRUE(list.rows[1].ready);
    EXPECT_EQ(list.rows[1].key, QStringLiteral("D"));
}

TEST_F(Browser, LastEmptyDiscDriveIsPreselected) {
    drives.add('C', fakeDrive(3));
    drives.add('D', fakeDrive(5, false));
    drives.add('E', fakeDrive(5, false));
    refresh();
    autoSelectDisc(list, state);
    EXPECT_EQ(state.currentRow, 2);
}

TEST_F(Browser, NoDiscDriveNoPreselection) {
    drives.add('C', fakeDrive(3));
    drives.add('E', fakeDrive(2));
    refresh();
    autoSelectDisc(list, state);
    EXPECT_EQ(state.currentRow, 0);
    EXPECT_EQ(list.selected, -1);
    EXPECT_EQ(selectedDriveText(list, state), QStringLiteral("C:"));
}

TEST_F(Browser, RefreshWritesOnlyWhatChanged) {
    drives.add('C', fakeDrive(3));
    drives.add('D', fakeDrive(5, false));
    refresh();
    list.writes = 0;
    list.rows[0].cells[0] = QStringLiteral("FESTPLATTE");
    refresh();
    EXPECT_EQ(list.writes, 0) << "a difference in the case of letters only is not rewritten";
    drives.drives[QStringLiteral("D")] = fakeDrive(5, true, QStringLiteral("NEU"));
    refresh();
    EXPECT_EQ(list.writes, 2) << "label and status";
    EXPECT_EQ(list.rows[1].cells[1], QStringLiteral("NEU"));
    EXPECT_EQ(list.rows[1].cells[2], QStringLiteral("bereit"));
    EXPECT_EQ(list.captions(), (QStringList{QStringLiteral("C:"), QStringLiteral("D:")}));
}

TEST_F(Browser, StickPluggedInAndPulledOut) {
    drives.add('C', fakeDrive(3));
    drives.add('F', fakeDrive(4));
    drives.add('G', fakeDrive(5));
    refresh();
    drives.add('E', fakeDrive(2));
    drives.add('H', fakeDrive(2));
    refresh();
    EXPECT_EQ(list.captions(),
              (QStringList{QStringLiteral("C:"), QStringLiteral("F:"), QStringLiteral("G:"),
                           QStringLiteral("E:"), QStringLiteral("H:")}))
        << "new drives are appended";
    EXPECT_EQ(list.rows[3].cells[0], QStringLiteral("Wechseldatenträger"));
    state.currentRow = 2;
    drives.remove('E');
    drives.remove('F');
    drives.remove('H');
    refresh();
    EXPECT_EQ(list.captions(), (QStringList{QStringLiteral("C:"), QStringLiteral("G:")}))
        << "all vanished drives go in one refresh";
    EXPECT_EQ(state.currentRow, 1) << "the chosen row follows its drive";
    drives.remove('G');
    refresh();
    EXPECT_EQ(state.currentRow, -1) << "its drive has gone";
}

TEST_F(Browser, FailedListKeepsTheRows) {
    drives.add('C', fakeDrive(3));
    refresh();
    drives.listFails = true;
    EXPECT_FALSE(applyDriveSurvey(list, surveyDrives(drives), state));
    EXPECT_EQ(list.captions(), QStringList{QStringLiteral("C:")});
    drives.listFails = false;
    drives.drives.clear();
    refresh();
    EXPECT_TRUE(list.rows.empty()) << "an empty drive list removes every row";
}

TEST_F(Browser, OkChecks) {
    drives.add('A', fakeDrive(2));
    drives.add('C', fakeDrive(3));
    refresh();
    state.currentRow = 0;
    EXPECT_FALSE(checkDriveReady(list, state, messages));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.startsWith(QStringLiteral("Laufwerk A: nicht bereit.")));
    EXPECT_EQ(messages.shown[0].text, notReadyMessage(QStringLiteral("A:")));
    EXPECT_EQ(messages.shown[0].caption, QStringLiteral("Information"));
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
    state.currentRow = 1;
    EXPECT_TRUE(checkDriveReady(list, state, messages));
    state.currentRow = -1;
    EXPECT_FALSE(checkDriveReady(list, state, messages));
    EXPECT_EQ(messages.shown.back().text, noDriveChosenMessage());
    state.currentRow = 5;
    EXPECT_FALSE(checkDriveReady(list, state, messages));
}

// OK looks into the drive on its lane; a drive that gives no answer by the deadline is not
// ready.
TEST_F(Browser, ContentOfADriveThatDoesNotAnswerIsNotReady) {
    // Says what it holds only once the test lets it.
    struct Detected : FakeDrives {
        SourceKind discContent(const QString& root) override {
            std::unique_lock<std::mutex> lock(gate);
            asked = root;
            opened.wait(lock, [this] { return open; });
            return kind;
        }
        std::mutex gate;
        std::condition_variable opened;
        bool open = false;
        SourceKind kind = SourceKind::None;
        QString asked;
    };
    auto detected = std::make_shared<Detected>();
    detected->add('D', fakeDrive(5, true, QStringLiteral("FILM")));
    ASSERT_TRUE(applyDriveSurvey(list, surveyDrives(*detected), state));
    state.currentRow = 0;
    const auto questions = DriveQuestions::create(detected);
    const struct {
        bool answers;
        SourceKind detected;
        SourceKind kind;
        QString message;
    } cases[] = {
        {false, SourceKind::DvdVideo, SourceKind::None, notReadyMessage(QStringLiteral("D:"))},
        {true, SourceKind::None, SourceKind::None, noContentMessage(QStringLiteral("D:"))},
        {true, SourceKind::DvdVideo, SourceKind::DvdVideo, QString()}};
    for (const auto& c : cases) {
        messages.shown.clear();
        {
            const std::lock_guard<std::mutex> lock(detected->gate);
            detected->open = c.answers;
            detected->kind = c.detected;
        }
        detected->opened.notify_all();
        const std::optional<ContentCheck> check =
            startContentCheck(*questions, list, state, std::chrono::seconds(5));
        ASSERT_TRUE(check);
        if (c.answers) {
            ASSERT_TRUE(answeredBy(*check->answer, check->until, {}));
            EXPECT_EQ(finishContentCheck(*check, messages), c.kind);
        } else {
            EXPECT_FALSE(finishContentCheck(*check, messages)) << "the drive may still answer";
            EXPECT_EQ(finishContentCheck(*check, messages, check->until), c.kind);
        }
        {
            const std::lock_guard<std::mutex> lock(detected->gate);
            detected->open = true; // the look that did not answer in time returns
        }
        detected->opened.notify_all();
        ASSERT_TRUE(answeredBy(*check->answer, std::chrono::steady_clock::now() + 5s, {}));
        {
            const std::lock_guard<std::mutex> lock(detected->gate);
            EXPECT_EQ(detected->asked, QStringLiteral("D:"));
            detected->asked.clear();
        }
        if (c.message.isEmpty()) {
            EXPECT_TRUE(messages.shown.empty());
        } else {
            ASSERT_EQ(messages.shown.size(), 1u);
            EXPECT_EQ(messages.shown[0].text, c.message);
            EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
        }
    }
}

TEST(Messages, ExactTexts) {
    EXPECT_EQ(
        notReadyMessage(QStringLiteral("D:")),
        QStringLiteral("Laufwerk D: nicht bereit. Wählen Sie das geeignete Laufwerk aus, oder "
                       "warten Sie, bis die eingelegte CD/DVD bereit ist. Versuchen Sie es "
                       "dann erneut."));
    EXPECT_EQ(noContentMessage(QStringLiteral("D:")),
              QStringLiteral("In Laufwerk D: befindet sich keine Video-DVD, keine Video-CD (VCD "
                             "oder SVCD), und keine Audio-CD. Falls Sie eine sonstige Video-Datei "
                             "abspielen möchten, öffnen Sie bitte die Datei im Menü "
                             "\"Video-Datei öffnen\"."));
}

} // namespace

namespace {

TEST(ShownDriveNames, ShortNamesThatTellTheDrivesApart) {
    const struct {
        QStringList captions;
        QStringList shown;
    } cases[] = {
        {{QStringLiteral("C:"), QStringLiteral("D:")},
         {QStringLiteral("C:"), QStringLiteral("D:")}},
        {{QStringLiteral("/"), QStringLiteral("/dev/sr0"),
          QStringLiteral("/media/lehrer/MEIN FILM"), QStringLiteral("/mnt/daten")},
         {QStringLiteral("/"), QStringLiteral("/dev/sr0"), QStringLiteral("MEIN FILM"),
          QStringLiteral("daten")}},
        // The same last part twice: as much of the path as tells them apart.
        {{QStringLiteral("/media/anna/USB"), QStringLiteral("/media/bert/USB"),
          QStringLiteral("/mnt/USB"), QStringLiteral("/run/media/anna/DVD")},
         {QStringLiteral("anna/USB"), QStringLiteral("bert/USB"), QStringLiteral("/mnt/USB"),
          QStringLiteral("DVD")}},
        {{QStringLiteral("/a/x/y"), QStringLiteral("/b/x/y"), QStringLiteral("/c/z/y")},
         {QStringLiteral("/a/x/y"), QStringLiteral("/b/x/y"), QStringLiteral("z/y")}},
        {{}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(shownDriveNames(c.captions), c.shown)
            << c.captions.join(QLatin1Char(',')).toStdString();
}

} // namespace
