// SPDX-License-Identifier: GPL-3.0-or-later
// The player's control channel against a player played by the test: answers in pieces,
// lines nobody asked for, a player that closes, one that never answers, one that is slow to
// listen. And the preview's command line and how its answers go into the table.
#include "../table/memorytable.h"
#include "playback/commandline.h"
#include "playback/playercontrol.h"
#include "playback/preview.h"
#include "playback/previewsession.h"

#ifdef _WIN32
#include <winsock2.h>
#else
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <deque>
#include <gtest/gtest.h>
#include <memory>

using namespace filmarin;
using filmarin::testing::MemoryTable;

namespace {

// Two connected sockets: the channel's is watched by the control, the test's says that the
// test's player has said something, one byte per piece.
class Ring {
public:
    Ring() {
#ifdef _WIN32
        WSADATA data;
        ::WSAStartup(MAKEWORD(2, 2), &data);
        SOCKET server = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof address;
        ::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(server, 1);
        ::getsockname(server, reinterpret_cast<sockaddr*>(&address), &length);
        m_ends[1] = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        ::connect(m_ends[1], reinterpret_cast<sockaddr*>(&address), sizeof address);
        m_ends[0] = ::accept(server, nullptr, nullptr);
        ::closesocket(server);
        u_long nonBlocking = 1;
        ::ioctlsocket(m_ends[0], FIONBIO, &nonBlocking);
#else
        int ends[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, ends) == 0) {
            m_ends[0] = ends[0];
            m_ends[1] = ends[1];
        }
#endif
    }
    ~Ring() {
        for (auto end : m_ends) {
#ifdef _WIN32
            ::closesocket(end);
#else
            ::close(end);
#endif
        }
    }
    Ring(const Ring&) = delete;
    Ring& operator=(const Ring&) = delete;

    std::intptr_t watched() const {
        return static_cast<std::intptr_t>(m_ends[0]);
    }
    void ring() {
        ::send(m_ends[1], "x", 1, 0);
    }
    // Takes one ring; false when none is there.
    bool take() {
        char byte;
        return ::recv(m_ends[0], &byte, 1, 0) == 1;
    }

private:
#ifdef _WIN32
    SOCKET m_ends[2] = {INVALID_SOCKET, INVALID_SOCKET};
#else
    int m_ends[2] = {-1, -1};
#endif
};

// What the test's player does: what it has been sent, and what it says next.
struct Script {
    std::string sent;
    std::deque<std::string> pieces; // handed out one per receive
    bool closed = false;
    int refusals = 0; // connection attempts refused before one is taken
    int attempts = 0;
    Ring ring;

    void say(const std::deque<std::string>& more) {
        for (const std::string& piece : more) {
            pieces.push_back(piece);
            ring.ring();
        }
    }
    void close() {
        closed = true;
        ring.ring();
    }
};

class ScriptedChannel : public platform::Channel {
public:
    explicit ScriptedChannel(std::shared_ptr<Script> script) : m_script(std::move(script)) {}
    State state() override { return m_script->closed ? State::Closed : State::Open; }
    bool send(const std::string& bytes) override {
        if (m_script->closed)
            return false;
        m_script->sent += bytes;
        return true;
    }
    bool receive(std::string& into) override {
        if (m_script->ring.take() && !m_script->pieces.empty()) {
            into += m_script->pieces.front();
            m_script->pieces.pop_front();
        }
        return !m_script->closed;
    }
    std::intptr_t descriptor() override { return m_script->ring.watched(); }

private:
    std::shared_ptr<Script> m_script;
};

class RefusedChannel : public platform::Channel {
public:
    State state() override { return State::Closed; }
    bool send(const std::string&) override { return false; }
    bool receive(std::string&) override { return false; }
    std::intptr_t descriptor() override { return -1; }
};

RcPlayerControl::Connect connectTo(const std::shared_ptr<Script>& script) {
    return [script]() -> std::unique_ptr<platform::Channel> {
        ++script->attempts;
        if (script->attempts <= script->refusals)
            return std::make_unique<RefusedChannel>();
        return std::make_unique<ScriptedChannel>(script);
    };
}

// Handles the event loop until `done` or `ms` have passed.
bool waitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

struct Answers {
    std::vector<std::optional<std::int64_t>> got;
    PlayerControl::Answer taker() {
        return [this](std::optional<std::int64_t> value) { got.push_back(value); };
    }
};

TEST(PlayerControl, AnswersInPiecesAndAmongUnaskedLines) {
    const struct {
        const char* name;
        std::deque<std::string> pieces;
        std::vector<std::optional<std::int64_t>> expected;
    } cases[] = {
        {"one answer", {"42\r\n"}, {42}},
        {"in two pieces", {"12", "34\r\n"}, {1234}},
        {"after unasked lines",
         {"status change: ( play state: 3 )\r\nstatus change: ( new input: x )\r\n", "57\r\n"},
         {57}},
        {"split inside the line end", {"7\r", "\n"}, {7}},
        {"a greeting first",
         {"VLC media player 3.0.24 Vetinari\r\nCommand Line Interface "
          "initialized. Type `help' for help.\r\n0\r\n"},
         {0}},
    };
    for (const auto& c : cases) {
        auto script = std::make_shared<Script>();
        RcPlayerControl control(connectTo(script));
        ASSERT_TRUE(waitFor([&] { return control.listening(); }, 1000)) << c.name;
        Answers answers;
        control.askTime(answers.taker());
        EXPECT_EQ(script->sent, "get_time\n") << c.name;
        script->say(c.pieces);
        EXPECT_TRUE(waitFor([&] { return !answers.got.empty(); }, 1000)) << c.name;
        EXPECT_EQ(answers.got, c.expected) << c.name;
    }
}

TEST(PlayerControl, QuestionsAreAnsweredInTheirOrder) {
    auto script = std::make_shared<Script>();
    RcPlayerControl control(connectTo(script));
    ASSERT_TRUE(waitFor([&] { return control.listening(); }, 1000));
    Answers times, titles;
    control.askTime(times.taker());
    control.askTitle(titles.taker());
    control.seek(90);
    control.quit();
    EXPECT_EQ(script->sent, "get_time\nget_title\nseek 90\nquit\n");
    script->say({"3725\r\nstatus change: ( time: 3725s )\r\n", "4\r\n"});
    ASSERT_TRUE(waitFor([&] { return !titles.got.empty(); }, 1000));
    EXPECT_EQ(times.got, (std::vector<std::optional<std::int64_t>>{3725}));
    EXPECT_EQ(titles.got, (std::vector<std::optional<std::int64_t>>{4}));
}

TEST(PlayerControl, APlayerThatClosesAnswersNothingAndIsGone) {
    auto script = std::make_shared<Script>();
    RcPlayerControl control(connectTo(script));
    int gone = 0;
    control.whenGone([&gone] { ++gone; });
    ASSERT_TRUE(waitFor([&] { return control.listening(); }, 1000));
    Answers answers;
    control.askTime(answers.taker());
    script->close();
    ASSERT_TRUE(waitFor([&] { return !answers.got.empty(); }, 1000));
    EXPECT_EQ(answers.got, (std::vector<std::optional<std::int64_t>>{std::nullopt}));
    EXPECT_EQ(gone, 1);
    EXPECT_FALSE(control.listening());
    // Asked afterwards: no answer, at once and not within the call.
    control.askTime(answers.taker());
    EXPECT_EQ(answers.got.size(), 1u);
    ASSERT_TRUE(waitFor([&] { return answers.got.size() == 2; }, 200));
    EXPECT_EQ(answers.got[1], std::nullopt);
}

// Nothing arrives to say so: the failed question does, from the event loop.
TEST(PlayerControl, APlayerFoundGoneWhenAskedIsGone) {
    for (const bool quit : {false, true}) {
        auto script = std::make_shared<Script>();
        RcPlayerControl control(connectTo(script));
        int gone = 0;
        control.whenGone([&gone] { ++gone; });
        ASSERT_TRUE(waitFor([&] { return control.listening(); }, 1000));
        script->closed = true;
        Answers answers;
        if (quit)
            control.quit();
        else
            control.askTime(answers.taker());
        EXPECT_EQ(gone, 0) << "not within the call";
        EXPECT_TRUE(answers.got.empty());
        ASSERT_TRUE(waitFor([&] { return gone == 1; }, 500)) << quit;
        EXPECT_FALSE(control.listening());
        if (!quit) {
            EXPECT_EQ(answers.got, (std::vector<std::optional<std::int64_t>>{std::nullopt}));
        }
    }
}

TEST(PlayerControl, APlayerThatNeverAnswersIsGivenUpAtTheDeadline) {
    auto script = std::make_shared<Script>();
    RcPlayerControl control(connectTo(script), 300);
    ASSERT_TRUE(waitFor([&] { return control.listening(); }, 1000));
    Answers answers;
    QElapsedTimer clock;
    clock.start();
    control.askTime(answers.taker());
    EXPECT_LT(clock.elapsed(), 50) << "asking never waits";
    ASSERT_TRUE(waitFor([&] { return !answers.got.empty(); }, 2000));
    EXPECT_EQ(answers.got[0], std::nullopt);
    EXPECT_GE(clock.elapsed(), 290);
    EXPECT_LT(clock.elapsed(), 800);
    // The late answer comes now: it is not taken for the next question's.
    script->say({"11\r\n"});
    waitFor([&] { return script->pieces.empty(); }, 500);
    control.askTime(answers.taker());
    script->say({"22\r\n"});
    ASSERT_TRUE(waitFor([&] { return answers.got.size() == 2; }, 1000));
    EXPECT_EQ(answers.got[1], 22);
}

TEST(PlayerControl, APlayerSlowToListenIsWaitedForAndOneThatNeverDoesIsGone) {
    auto slow = std::make_shared<Script>();
    slow->refusals = 5;
    RcPlayerControl control(connectTo(slow));
    ASSERT_TRUE(waitFor([&] { return control.listening(); }, 2000));
    EXPECT_EQ(slow->attempts, 6);

    auto never = std::make_shared<Script>();
    never->refusals = 1000000;
    RcPlayerControl absent(connectTo(never), 1000, 300);
    int gone = 0;
    absent.whenGone([&gone] { ++gone; });
    Answers answers;
    absent.askTime(answers.taker());
    ASSERT_TRUE(waitFor([&] { return gone == 1; }, 2000));
    EXPECT_EQ(answers.got, (std::vector<std::optional<std::int64_t>>{std::nullopt}));
}

TEST(Preview, CommandLineOfEveryKind) {
    const QString channel = QStringLiteral("--extraintf=oldrc --rc-fake-tty --rc-unix=/r/p");
    MediaSource file;
    file.kind = SourceKind::VideoFile;
    file.videoFilePath = QStringLiteral("/home/lehrer/Film am Meer #1.mp4");
    MediaSource dvd;
    dvd.kind = SourceKind::DvdVideo;
    dvd.driveRoot = QStringLiteral("D:");
    const QString head = QStringLiteral("--no-fullscreen --no-video-title-show --no-repeat ") +
                         channel + QLatin1Char(' ');
    const struct {
        const char* name;
        const MediaSource& source;
        std::int32_t title;
        std::optional<std::int32_t> start;
        QString expected;
    } cases[] = {
        {"file from its start", file, 1, std::nullopt,
         head + QStringLiteral("file:////home/lehrer/Film%20am%20Meer%20%231.mp4")},
        {"file at 90 s", file, 1, 90,
         head +
             QStringLiteral("file:////home/lehrer/Film%20am%20Meer%20%231.mp4 :start-time=90.000")},
        {"a start of 0 is the beginning", file, 1, 0,
         head + QStringLiteral("file:////home/lehrer/Film%20am%20Meer%20%231.mp4")},
        {"DVD at title 3", dvd, 3, 3600,
         head + QStringLiteral("dvdsimple:///D:/#3 :start-time=3600.000")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(buildPreviewCommandLine(c.source, c.title, c.start, channel), c.expected)
            << c.name;
}

// A row's preview starts at its title and at its start time as the table check takes it
// (rounded, halves to even); the command line names no start at or below 0, and outside the
// table's rows there is nothing to start from.
TEST(Preview, StartsAtTheRowsTitleAndStartTime) {
    ExcerptTable table;
    table.init();
    const auto set = [&table](int row, double h, double m, double s, std::int32_t title) {
        table.startTimes[cellIndex(0, row)] = h;
        table.startTimes[cellIndex(1, row)] = m;
        table.startTimes[cellIndex(2, row)] = s;
        table.titleNumbers[cellIndex(0, row)] = title;
    };
    set(2, 1, 2, 5, 3);
    set(4, 0, 0, 0, 7);
    set(5, 0, 1.5, 0.5, 1);
    set(6, -1, 0, 0, 2);
    const struct {
        int row;
        std::int32_t title;
        std::optional<std::int32_t> start;
    } cases[] = {{2, 3, 3725},         {4, 7, 0}, {5, 1, 90}, {6, 2, -3600}, {0, 0, std::nullopt},
                 {21, 0, std::nullopt}};
    for (const auto& c : cases) {
        const PreviewStart from = previewStart(table, c.row);
        EXPECT_EQ(from.title, c.title) << c.row;
        EXPECT_EQ(from.startSecond, c.start) << c.row;
    }
}

TEST(Preview, TakenTimesGoIntoTheRowAsHoursMinutesSeconds) {
    MemoryTable table;
    table.fillAsAtStartUp();
    takeIntoRow(table.view, 3, TakenTime::Start, 3725, std::nullopt);
    takeIntoRow(table.view, 3, TakenTime::Stop, 3735, 4);
    EXPECT_EQ(table.start.cell(0, 3), QStringLiteral("1"));
    EXPECT_EQ(table.start.cell(1, 3), QStringLiteral("2"));
    EXPECT_EQ(table.start.cell(2, 3), QStringLiteral("5"));
    EXPECT_EQ(table.stop.cell(2, 3), QStringLiteral("15"));
    EXPECT_EQ(table.titles.cell(0, 3), QStringLiteral("4"));
    EXPECT_EQ(table.start.cell(2, 2), QStringLiteral("0")) << "other rows stay";
    // Rows outside the table take nothing; a position before the start is 0.
    const QString header = table.start.cell(2, 0);
    const QString titleHeader = table.titles.cell(0, 0);
    takeIntoRow(table.view, 0, TakenTime::Start, 5, 2);
    takeIntoRow(table.view, 21, TakenTime::Start, 5, 2);
    EXPECT_EQ(table.start.cell(2, 0), header);
    EXPECT_EQ(table.titles.cell(0, 0), titleHeader);
    takeIntoRow(table.view, 1, TakenTime::Start, -3, std::nullopt);
    EXPECT_EQ(table.start.cell(2, 1), QStringLiteral("0"));
}

// What the preview learns from its player, and in which order it asks: the stand-in player,
// started as the preview starts it, answering through its real channel.
TEST(PreviewSession, AVideoDvdsTitleIsAskedAfterTheTime) {
    const struct {
        const char* name;
        SourceKind kind;
        bool silent; // the player answers nothing
        std::optional<std::int64_t> title;
        std::string commands;
    } cases[] = {
        {"video DVD", SourceKind::DvdVideo, false, 4, "get_time\nget_title\n"},
        {"video file", SourceKind::VideoFile, false, std::nullopt, "get_time\n"},
        {"VCD", SourceKind::Vcd, false, std::nullopt, "get_time\n"},
        {"silent player", SourceKind::DvdVideo, true, std::nullopt, "get_time\n"},
    };
    for (const auto& c : cases) {
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        const QString player = QDir(folder.path()).filePath(QStringLiteral("VLCportable.exe"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(FILMARIN_STANDIN_PLAYER), player)) << c.name;
        auto write = [&folder](const char* name, const char* text) {
            QFile file(QDir(folder.path()).filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(text);
        };
        write("delay.txt", "0");
        write("time.txt", "3725");
        write("title.txt", "4");
        if (c.silent)
            write("silent.txt", "1");
        MediaSource source;
        source.kind = c.kind;
        source.driveRoot = folder.path();
        source.videoFilePath = QDir(folder.path()).filePath(QStringLiteral("film.mp4"));
        ExcerptTable table;
        PreviewSession session;
        std::vector<TakenPosition> taken;
        int none = 0;
        QObject::connect(&session, &PreviewSession::positionTaken,
                         [&taken](const TakenPosition& position) { taken.push_back(position); });
        QObject::connect(&session, &PreviewSession::noPosition, [&none] { ++none; });
        ASSERT_TRUE(session.start(player, source, table, 3)) << c.name;
        ASSERT_TRUE(
            waitFor([&] { return session.control() && session.control()->listening(); }, 10000))
            << c.name;
        session.takePosition(TakenTime::Stop, 3);
        ASSERT_TRUE(waitFor([&] { return !taken.empty() || none > 0; }, 5000)) << c.name;
        if (c.silent) {
            EXPECT_TRUE(taken.empty()) << c.name;
            EXPECT_EQ(none, 1) << c.name;
        } else {
            ASSERT_EQ(taken.size(), 1u) << c.name;
            EXPECT_EQ(taken[0].which, TakenTime::Stop) << c.name;
            EXPECT_EQ(taken[0].row, 3) << c.name;
            EXPECT_EQ(taken[0].seconds, 3725) << c.name;
            EXPECT_EQ(taken[0].title, c.title) << c.name;
            EXPECT_EQ(none, 0) << c.name;
        }
        QFile commands(QDir(folder.path()).filePath(QStringLiteral("commands.txt")));
        EXPECT_TRUE(commands.open(QIODevice::ReadOnly | QIODevice::Text)) << c.name;
        EXPECT_EQ(commands.readAll().toStdString(), c.commands) << c.name;
        bool ended = false;
        QObject::connect(&session, &PreviewSession::ended, [&ended] { ended = true; });
        session.end();
        EXPECT_TRUE(ended) << c.name;
        // The player is given its second to go before its folder does.
        waitFor([] { return false; }, 1200);
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
