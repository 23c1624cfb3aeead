// The score board end to end, over loopback with real processes, on the
// backend the run names (SQLite, or PostgreSQL beside with_postgres.sh):
// real lost games verify and are listed with the score the game's own score
// page shows, escaped on the page and in JSON, sent once only, by the
// game's --submit too; changed, forged, foreign and unfinished replays are
// refused saying why; the bounds answer as they should; and a hundred
// submissions at once outlive a killed server and a killed worker.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

#include "board_harness.h"
#include "test_support.h"

using nlohmann::json;

namespace {

// The first line that holds a key change of the ship, with its key turned
// the other way, and the frame of the first hash after it.
std::string WithOneEventChanged(const std::string& replay, long long& hashFrame) {
    std::string changed;
    long long eventFrame = -1;
    hashFrame = -1;
    std::istringstream in(replay);
    for (std::string line; std::getline(in, line);) {
        std::smatch m;
        if (eventFrame < 0 && std::regex_match(line, m, std::regex(R"((\d+) (down|up) (Left|Right))"))) {
            eventFrame = std::stoll(m[1]);
            line = m[1].str() + " " + m[2].str() + (m[3] == "Left" ? " Right" : " Left");
        } else if (eventFrame >= 0 && hashFrame < 0 && std::regex_match(line, m, std::regex(R"(hash (\d+) .*)")) &&
                   std::stoll(m[1]) > eventFrame) {
            hashFrame = std::stoll(m[1]);
        }
        changed += line + "\n";
    }
    return changed;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// Hide and delete only with the token, on a verified entry of difficulty 3.
void CheckAdminActions(httplib::Client& client, const std::string& token) {
    const Answer listed = PostReplay(client, LostGame(3).text);
    const std::string entry = "/api/replays/" + listed.body["id"].dump();
    ASSERT_EQ(WaitForVerdict(client, listed.body["id"])["status"], "verified");
    EXPECT_EQ(client.Post(entry + "/hide", "", "text/plain")->status, 401);
    const httplib::Headers admin = {{"Authorization", "Bearer " + token}};
    EXPECT_EQ(client.Post(entry + "/hide", admin, "", "text/plain")->status, 200);
    EXPECT_EQ(GetJson(client, "/api/scores?difficulty=3").body["scores"].size(), 0u);
    EXPECT_EQ(client.Get(entry + "/file")->status, 404);
    EXPECT_EQ(client.Post(entry + "/show", admin, "", "text/plain")->status, 200);
    EXPECT_EQ(GetJson(client, "/api/scores?difficulty=3").body["scores"].size(), 1u);
    EXPECT_EQ(client.Delete(entry, admin)->status, 200);
    EXPECT_EQ(GetJson(client, entry).status, 404);
}

}  // namespace

TEST(Board, RealGamesAreVerifiedListedEscapedAndSentOnlyOnce) {
    std::vector<std::string> args = TestBoardArgs(FreshDatabase("listed"));
    args.insert(args.end(), {"--listen", "127.0.0.1:0", "--workers", "2", "--site", MakeTempDir("board-site")});
    BoardProcess board(args);
    httplib::Client client = board.Client();

    // Difficulties 1 and 3 sent over HTTP, difficulty 2 by the game itself,
    // its board named in kavrix.conf.
    std::map<int, long long> ids;
    for (int d : {1, 3}) {
        const Answer a = PostReplay(client, LostGame(d).text);
        ASSERT_EQ(a.status, 202) << a.body.dump();
        EXPECT_EQ(a.body["status"], "queued");
        ids[d] = a.body["id"];
    }
    const std::string home = MakeTempDir("board-player");
    std::filesystem::create_directories(home + "/config/kavrix");
    WriteTextFile(home + "/config/kavrix/kavrix.conf", "board=" + board.Url() + "\n");
    const int sent = RunCommand("XDG_CONFIG_HOME='" + home + "/config' '" + KavrixBinary() + "' --submit '" +
                                LostGame(2).path + "' >'" + home + "/out.txt' 2>&1");
    const std::string said = ReadTextFile(home + "/out.txt");
    ASSERT_EQ(sent, 0) << said;
    EXPECT_NE(said.find("Verified: Žluťoučký kůň, " + std::to_string(LostGame(2).score) + " points"), std::string::npos)
        << said;

    for (int d : {1, 3}) {
        const json verdict = WaitForVerdict(client, ids[d]);
        EXPECT_EQ(verdict["status"], "verified") << verdict.dump();
        EXPECT_EQ(verdict["name"], LostGame(d).name);
        EXPECT_EQ(verdict["score"], LostGame(d).score);
        EXPECT_EQ(verdict["difficulty"], d);
        EXPECT_EQ(verdict["level"], 1);
        EXPECT_EQ(verdict["frames"], LostGame(d).frames);
    }
    for (int d : {1, 2, 3}) {
        const Answer list = GetJson(client, "/api/scores?difficulty=" + std::to_string(d) + "&limit=5");
        ASSERT_EQ(list.status, 200);
        ASSERT_EQ(list.body["scores"].size(), 1u) << list.body.dump();
        EXPECT_EQ(list.body["scores"][0]["rank"], 1);
        EXPECT_EQ(list.body["scores"][0]["name"], LostGame(d).name);
        EXPECT_EQ(list.body["scores"][0]["score"], LostGame(d).score) << "the score the game's page shows";
    }
    // The file comes back byte for byte; the same game again is refused.
    const httplib::Result file = client.Get("/api/replays/" + std::to_string(ids[1]) + "/file");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->body, LostGame(1).text);
    Answer again = PostReplay(client, LostGame(1).text);
    EXPECT_EQ(again.status, 409);
    EXPECT_EQ(again.body["id"], ids[1]);
    again = PostReplay(client, "# sent again with a comment and another line end\r\n" + LostGame(1).text);
    EXPECT_EQ(again.status, 409) << "the same game in other clothes";

    // A name with < and " shown as text, on the page and in JSON.
    const httplib::Result raw = client.Get("/api/scores?difficulty=3");
    ASSERT_TRUE(raw);
    EXPECT_NE(raw->body.find(R"(\u003cscript\u003e\"Pilot)"), std::string::npos) << raw->body;
    EXPECT_EQ(raw->body.find("<script>"), std::string::npos);
    const httplib::Result page = client.Get("/", {{"Accept-Language", "cs-CZ,cs;q=0.9,en;q=0.5"}});
    ASSERT_TRUE(page);
    EXPECT_NE(page->body.find("&lt;script&gt;&quot;Pilot"), std::string::npos);
    EXPECT_EQ(page->body.find("<script>"), std::string::npos);
    EXPECT_NE(page->body.find("Obtížnost: TĚŽKÁ"), std::string::npos);
    EXPECT_NE(page->body.find("Žluťoučký kůň"), std::string::npos);
    EXPECT_NE(page->body.find("/play/?replay=%2Fapi%2Freplays%2F" + std::to_string(ids[1]) + "%2Ffile"),
              std::string::npos);
    EXPECT_NE(client.Get("/", {{"Accept-Language", "en-GB,en;q=0.9"}})->body.find("Difficulty: HARD"),
              std::string::npos);
    EXPECT_EQ(board.Stop(), 0) << board.Log();
}

TEST(Board, ChangedForgedForeignAndUnfinishedReplaysAreRefusedSayingWhy) {
    std::vector<std::string> args = TestBoardArgs(FreshDatabase("refused"));
    const std::string token = "a-token-for-the-admin-of-this-test";
    const std::string tokenFile = MakeTempDir("board-token") + "/token";
    WriteTextFile(tokenFile, token + "\n");
    args.insert(args.end(), {"--listen", "127.0.0.1:0", "--workers", "2", "--admin-token-file", tokenFile,
                             "--max-replay-kb", "64"});
    BoardProcess board(args);
    httplib::Client client = board.Client();
    const std::string real = LostGame(1).text;

    long long changedFrame = 0;
    const std::map<std::string, std::string> sent = {
        {"changed", WithOneEventChanged(real, changedFrame)},
        {"forged", WithForgedLives(real, 9)},
        {"foreign", Replace(real, "version 1 kavrix 1.0.0", "version 2 kavrix 9.9.9")},
        {"unfinished", UnfinishedMenuGame().text},
    };
    std::map<std::string, json> verdicts;
    for (const auto& [what, text] : sent) {
        const Answer a = PostReplay(client, text);
        ASSERT_EQ(a.status, 202) << what << ": " << a.body.dump();
        verdicts[what] = WaitForVerdict(client, a.body["id"]);
        EXPECT_EQ(verdicts[what]["status"], "refused") << what;
    }
    const auto reason = [&](const std::string& what) { return verdicts[what]["reason"].get<std::string>(); };
    EXPECT_NE(reason("changed").find(" after frame " + std::to_string(changedFrame) + " "), std::string::npos)
        << reason("changed") << " (the first hash after the changed event is of frame " << changedFrame << ")";
    EXPECT_NE(reason("forged").find("not a new game: its starting state is not a new game's: Progress.Lives: the "
                                    "replay has 9, a new game 3"),
              std::string::npos)
        << reason("forged");
    EXPECT_NE(reason("foreign").find("made by version 2 of the game (kavrix 9.9.9); this board verifies version 1"),
              std::string::npos)
        << reason("foreign");
    // Begun from the menu, it is a new game; it only never ended.
    EXPECT_NE(reason("unfinished").find("the game did not end"), std::string::npos) << reason("unfinished");

    // The bounds: not a replay, too large, a form.
    EXPECT_EQ(PostReplay(client, "hello").status, 400);
    EXPECT_EQ(PostReplay(client, real + std::string(70 * 1024, '#')).status, 413);
    EXPECT_EQ(client.Post("/api/replays", real, "application/x-www-form-urlencoded")->status, 415);

    CheckAdminActions(client, token);

    EXPECT_EQ(client.Get("/healthz")->status, 200);
    const std::string metrics = client.Get("/metrics")->body;
    EXPECT_NE(metrics.find("kavrix_board_refused_total 4\n"), std::string::npos) << metrics;
    EXPECT_NE(metrics.find("kavrix_board_queue_length 0\n"), std::string::npos) << metrics;
    EXPECT_EQ(board.Stop(), 0);

    // No board there: said in words.
    const std::string player = MakeTempDir("board-nobody");
    EXPECT_EQ(RunCommand("'" + KavrixBinary() + "' --submit '" + LostGame(1).path + "' --board http://127.0.0.1:" +
                         std::to_string(board.Port()) + " >'" + player + "/out.txt' 2>&1"),
              1);
    EXPECT_NE(ReadTextFile(player + "/out.txt").find("cannot reach the board at http://127.0.0.1:"), std::string::npos)
        << ReadTextFile(player + "/out.txt");

    // Too many from one address.
    args.insert(args.end(), {"--rate-limit", "2"});
    BoardProcess strict(args);
    httplib::Client strictClient = strict.Client();
    EXPECT_EQ(PostReplay(strictClient, "one").status, 400);
    EXPECT_EQ(PostReplay(strictClient, "two").status, 400);
    const httplib::Result third = strictClient.Post("/api/replays", "three", "application/octet-stream");
    EXPECT_EQ(third->status, 429);
    EXPECT_TRUE(third->has_header("Retry-After"));
}

// A hundred replays sent at once to a board of one HTTP process and two
// verify-only workers; the HTTP process and one worker are killed with
// SIGKILL midway and started again. Every replay a client sent ends verified
// or refused, once: those in flight are sent again (409 names the one kept),
// the dead worker's job is taken again when its lease runs out.
TEST(Board, AHundredSubmissionsOutliveAKilledServerAndWorker) {
    const std::string database = FreshDatabase("hundred");
    std::vector<std::string> serve = TestBoardArgs(database), verify = TestBoardArgs(database);
    serve.insert(serve.end(), {"--listen", "127.0.0.1:0", "--workers", "0", "--rate-limit", "100000"});
    verify.insert(verify.end(), {"--worker-only", "--workers", "2"});
    auto server = std::make_unique<BoardProcess>(serve);
    auto worker1 = std::make_unique<BoardProcess>(verify);
    BoardProcess worker2(verify);
    const int port = server->Port();

    // Four real games, the rest the first with its first hash forged (each
    // differently): refused as soon as the game has started.
    std::vector<std::string> replays;
    for (int d : {1, 2, 3}) replays.push_back(LostGame(d).text);
    replays.push_back(UnfinishedMenuGame().text);
    const std::string firstHash = LostGame(1).text.substr(LostGame(1).text.find("hash 0 "), 23);
    for (int i = 0; replays.size() < 100; ++i) {
        char forged[24];
        std::snprintf(forged, sizeof forged, "hash 0 %016x", 0x1000 + i);
        replays.push_back(Replace(LostGame(1).text, firstHash, forged));
    }
    std::vector<long long> ids(replays.size(), 0);
    std::atomic<int> answered{0};
    std::vector<std::thread> clients;
    for (size_t i = 0; i < replays.size(); ++i)
        clients.emplace_back([&, i] {
            // Sent again until the board answers, as a player would.
            for (int tries = 0; tries < 600 && ids[i] == 0; ++tries) {
                httplib::Client client("127.0.0.1", port);
                client.set_connection_timeout(2);
                const Answer a = PostReplay(client, replays[i]);
                if (a.status == 202 || a.status == 409) ids[i] = a.body["id"];
                else std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
            ++answered;
        });
    while (answered < 30) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    server->Kill();
    worker1->Kill();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    serve[std::find(serve.begin(), serve.end(), "127.0.0.1:0") - serve.begin()] = "127.0.0.1:" + std::to_string(port);
    server = std::make_unique<BoardProcess>(serve);
    worker1 = std::make_unique<BoardProcess>(verify);
    for (std::thread& t : clients) t.join();

    httplib::Client client = server->Client();
    std::set<long long> distinct;
    int verified = 0;
    for (size_t i = 0; i < replays.size(); ++i) {
        ASSERT_NE(ids[i], 0) << "replay " << i << " was never taken";
        distinct.insert(ids[i]);
        const json verdict = WaitForVerdict(client, ids[i]);
        verified += verdict["status"] == "verified";
        if (i >= 4) {
            EXPECT_NE(verdict["reason"].get<std::string>().find("after frame 0"), std::string::npos) << verdict;
        }
    }
    EXPECT_EQ(distinct.size(), replays.size());
    EXPECT_EQ(verified, 3);
    const std::string metrics = client.Get("/metrics")->body;
    EXPECT_NE(metrics.find("kavrix_board_verified_total 3\n"), std::string::npos) << metrics;
    EXPECT_NE(metrics.find("kavrix_board_refused_total 97\n"), std::string::npos) << metrics;
}
