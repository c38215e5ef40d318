// The report tool's window on Qt's offscreen platform, its questions and messages answered by
// the test.
#include "poster/poster_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QEventLoop>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTextCursor>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "persist/fresh_settings_folder.h"
#include "persist/lock_holder.h"
#include "persist/stored_values.h"
#include "poster/report_text.h"

namespace {

const std::string Machine = "CPU test\r\nOS test\r\n";

class PosterWindowTest : public FreshSettingsFolder {
 protected:
  void SetUp() override {
    FreshSettingsFolder::SetUp();
    StoreLookOnly(true);
    Poster.ask = [this](const std::string& title, const std::string& question) {
      asked.push_back(title + " / " + question);
      return answer;
    };
    Poster.tell = [this](const std::string& message) { told.push_back(message); };
    Poster.systemInfo = [] { return Machine; };
    Poster.end = [this] { ended = true; };
  }
  void TearDown() override {
    ClosePosterWindow();
    unsetenv("VELDRANE_BOARD_URL");
    FreshSettingsFolder::TearDown();
  }
  static std::string Report() { return ReportBoxText(); }

  bool answer = false;
  bool ended = false;
  std::vector<std::string> asked, told;
};

TEST_F(PosterWindowTest, OpeningShowsTheReportAndEnablesPostingAndCopying) {
  StoreSave(GameApplication, {{RankingSection, "S0", "123456"}, {RankingSection, "N0", "ZYX"}});
  ShowPosterWindow();
  EXPECT_EQ(Poster.Form1->windowTitle().toStdString(), "VELDRANE 動作環境チェッカー");
  EXPECT_EQ(Report(), AssembleReport(Machine));
  EXPECT_NE(Report().find("      123456 ZYX\r\n"), std::string::npos);
  EXPECT_TRUE(Poster.Command2->isEnabled());
  EXPECT_TRUE(Poster.Command4->isEnabled());
  const std::string instruction = Poster.Label1->text().toStdString();
  EXPECT_EQ(instruction.rfind("　VELDRANE の動作状況を QUILLMARSH に教えてください。", 0), 0u);
  EXPECT_NE(instruction.find(BoardPageAddress), std::string::npos);
  EXPECT_TRUE(told.empty());
  StoreClose();
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(StoreFolder()))
    files.push_back(entry.path().filename().string());
  EXPECT_EQ(files, std::vector<std::string>{"settings.db"}) << "reading leaves nothing beside it";
}

// The game may hold its store: the window shows at once and answers while it waits, and the
// report comes when the store is free.
TEST_F(PosterWindowTest, AStoreHeldByAnotherProgramKeepsTheWindowAnswering) {
  StoreSave(GameApplication, {{RankingSection, "S0", "123456"}, {RankingSection, "N0", "ZYX"}});
  StoreClose();
  LockHolder holder(StoreFile());
  ShowPosterWindow();
  EXPECT_TRUE(Poster.Form1->isVisible());
  EXPECT_EQ(Report(), "情報を取得中です…");
  EXPECT_FALSE(Poster.Command2->isEnabled());
  QTest::qWait(300);  // the event loop runs meanwhile
  EXPECT_EQ(Report(), "情報を取得中です…");
  ASSERT_TRUE(holder.Release());
  EXPECT_TRUE(QTest::qWaitFor([] { return Poster.Command2->isEnabled(); }, 5000));
  EXPECT_NE(Report().find("      123456 ZYX\r\n"), std::string::npos);
  EXPECT_TRUE(told.empty());
}

TEST_F(PosterWindowTest, ClearingWhereNothingIsStoredMakesNothing) {
  ShowPosterWindow();
  answer = true;
  Poster.Command3->click();
  EXPECT_EQ(told, (std::vector<std::string>{"消去しました"}));
  EXPECT_FALSE(std::filesystem::exists(StoreFolder()));
}

TEST_F(PosterWindowTest, ClearingAsksFirstAndNoLeavesTheStoreAlone) {
  StoreSave(GameApplication, {{RankingSection, "S0", "500"}, {OptionsSection, "TryCount", "9"}});
  ShowPosterWindow();
  const std::string before = Report();
  answer = false;
  Poster.Command3->click();
  EXPECT_EQ(asked, (std::vector<std::string>{
                       "レジストリのデータを削除します / ハイスコア等のデータが消去されます。よろしいですか？"}));
  EXPECT_EQ(told, (std::vector<std::string>{"キャンセルしました"}));
  EXPECT_EQ(StoreGet(GameApplication, OptionsSection, "TryCount", ""), "9");

  answer = true;
  Poster.Command3->click();
  EXPECT_EQ(told.back(), "消去しました");
  EXPECT_EQ(Report(), before) << "the report shown stays until it is built again";
  Poster.Command1->click();
  EXPECT_NE(Report().find("           0    \r\n           0    \r\n"), std::string::npos);
  EXPECT_NE(Report().find("\r\nTryCount 0\r\n"), std::string::npos);
}

TEST_F(PosterWindowTest, CopyingPutsTheBoxsTextOnTheClipboardAndAClickSelectsItAll) {
  ShowPosterWindow();
  Poster.Text1->setPlainText("edited\nby hand");
  Poster.Command4->click();
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "edited\r\nby hand");
  QTest::mouseClick(Poster.Text1->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(Poster.Text1->textCursor().selectedText().size(), 14);
}

TEST_F(PosterWindowTest, ADamagedStoreIsToldAndReportedAsEmptyWithoutTouchingIt) {
  WriteBytes(StoreFile(), std::string(4096, 'x'));
  ShowPosterWindow();
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0].rfind("ゲームの保存データを読めませんでした。", 0), 0u) << told[0];
  EXPECT_NE(Report().find("\r\nTryCount 0\r\n"), std::string::npos);
  EXPECT_EQ(ReadBytes(StoreFile()), std::string(4096, 'x'));
}

// What a board does with a connection's socket.
using BoardScript = std::function<void(QTcpSocket&)>;

// Writes `bytes` and closes, as a board that keeps no connection open does.
BoardScript Answers(std::string bytes) {
  return [bytes](QTcpSocket& socket) {
    socket.write(bytes.data(), qint64(bytes.size()));
    socket.disconnectFromHost();
  };
}

bool WholeRequest(const std::string& bytes) {
  const size_t headersEnd = bytes.find("\r\n\r\n");
  const size_t length = bytes.find("Content-Length: ");
  return headersEnd != std::string::npos && length != std::string::npos &&
         bytes.size() >= headersEnd + 4 + std::stoul(bytes.substr(length + 16));
}

// A board on this machine that runs `onConnection` on each connection it takes and `onRequest`
// on each whole request; it counts both and keeps what it was sent.
struct LocalBoard {
  QTcpServer server;
  std::string received;
  int connections = 0, requests = 0;
  explicit LocalBoard(BoardScript onRequest, BoardScript onConnection = [](QTcpSocket&) {}) {
    server.listen(QHostAddress::LocalHost);
    QObject::connect(&server, &QTcpServer::newConnection, [this, onRequest, onConnection] {
      QTcpSocket* socket = server.nextPendingConnection();
      ++connections;
      auto arriving = std::make_shared<std::string>();
      QObject::connect(socket, &QTcpSocket::readyRead, [this, socket, arriving, onRequest] {
        const std::string bytes = socket->readAll().toStdString();
        received += bytes;
        *arriving += bytes;
        if (!WholeRequest(*arriving)) return;
        ++requests;
        arriving->clear();
        onRequest(*socket);
      });
      onConnection(*socket);
    });
    setenv("VELDRANE_BOARD_URL",
           ("http://127.0.0.1:" + std::to_string(server.serverPort()) + "/post.cgi").c_str(), 1);
  }
  std::string Body() const { return received.substr(received.find("\r\n\r\n") + 4); }
};

void WaitUntil(const std::function<bool()>& done) {
  for (int turn = 0; turn < 500 && !done(); ++turn) QTest::qWait(10);
}

TEST_F(PosterWindowTest, PostingSendsTheBoxsTextAsEditedThanksAndEnds) {
  LocalBoard board(Answers("HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok"));
  ShowPosterWindow();
  Poster.Text1->setPlainText("Hi there\nOK");
  Poster.Text1->moveCursor(QTextCursor::End);
  QTest::keyClick(Poster.Text1, Qt::Key_Return, Qt::ShiftModifier);
  QTest::keyClicks(Poster.Text1, "!");
  Poster.Command2->click();
  EXPECT_FALSE(Poster.Command2->isEnabled()) << "no second post while one is under way";
  WaitUntil([this] { return ended; });
  EXPECT_TRUE(ended);
  EXPECT_EQ(told, (std::vector<std::string>{"送信完了しました！ ご協力ありがとうございました！"}));
  EXPECT_EQ(board.Body(),
            "CAPTION=AutoPost&COMMENT=%48%69+%74%68e%72e%0D%0A%4F%4B%0D%0A%21"
            "&NAME=VELDRANE_SampleVer1.00&MAIL=&URL=&RES=0");
}

// Each failure is told, the post button comes back, and the report stays as it was.
TEST_F(PosterWindowTest, AFailedPostIsToldAndThePostButtonComesBack) {
  QTcpServer silent;  // takes the connection and never answers
  silent.listen(QHostAddress::LocalHost);
  QTcpServer gone;
  gone.listen(QHostAddress::LocalHost);
  const quint16 refusing = gone.serverPort();
  gone.close();
  LocalBoard failing(Answers("HTTP/1.1 500 Internal Server Error\r\nContent-Length: 0\r\n\r\n"));
  const std::vector<std::pair<std::string, std::string>> boards = {
      {"http://127.0.0.1:" + std::to_string(failing.server.serverPort()) + "/", "500"},
      {"http://127.0.0.1:" + std::to_string(refusing) + "/", "接続できませんでした"},
      {"http://127.0.0.1:" + std::to_string(silent.serverPort()) + "/", "秒以内"},
  };
  Poster.postTimeoutMs = 300;
  ShowPosterWindow();
  const std::string report = Report();
  for (const auto& [url, reason] : boards) {
    told.clear();
    setenv("VELDRANE_BOARD_URL", url.c_str(), 1);
    Poster.Command2->click();
    WaitUntil([this] { return !told.empty(); });
    ASSERT_EQ(told.size(), 1u) << url;
    EXPECT_EQ(told[0].rfind("送信できませんでした。", 0), 0u) << told[0];
    EXPECT_NE(told[0].find(reason), std::string::npos) << told[0];
    EXPECT_TRUE(Poster.Command2->isEnabled()) << url;
  }
  EXPECT_FALSE(ended);
  EXPECT_EQ(Report(), report);
}

// The box gives back the report as it was built, so what is posted matches its checksum; what
// the box would turn into line breaks never gets into the report.
TEST_F(PosterWindowTest, TheReportIsPostedAsBuiltCharacterForCharacter) {
  StoreSave(GameApplication, {{RankingSection, "N0", "A\u00a0B\u2028C\u2029D\u0085E\uFDD0F"}});
  const std::string machine = "CPU\u00a0test\r\n";
  Poster.systemInfo = [machine] { return machine; };
  LocalBoard board(Answers("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok"));
  ShowPosterWindow();
  const std::string report = AssembleReport(machine);
  EXPECT_NE(report.find("\r\n           0 A\u00a0B?C?D?E?F\r\n"), std::string::npos);
  EXPECT_EQ(Report(), report);
  Poster.Command2->click();
  WaitUntil([this] { return ended; });
  EXPECT_EQ(board.Body(), BoardFormBody(report));
}

// However the board behaves, the report goes out once and the person is told what is known.
TEST_F(PosterWindowTest, TheReportGoesOutOnceAndOnlyWhatIsKnownIsTold) {
  const std::string unknown =
      "報告が掲示板に届いたかどうか分かりません。掲示板が応答しないまま接続を切りました。"
      "掲示板で確かめてから、必要ならもう一度送信してください。";
  const auto later = [](int ms, BoardScript then) {
    return [ms, then](QTcpSocket& socket) {
      QTimer::singleShot(ms, &socket, [&socket, then] { then(socket); });
    };
  };
  const std::string ok = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok";
  const BoardScript nothing = [](QTcpSocket&) {};
  struct Case {
    const char* board;
    BoardScript onRequest, onConnection;
    int requests;
    std::string told;
  };
  const std::vector<Case> cases = {
      {"closes at once", nothing, Answers(""), 0, unknown},
      {"closes after reading", Answers(""), nothing, 1, unknown},
      {"closes within the status", Answers("HTTP/1.1 20"), nothing, 1, unknown},
      {"closes within the headers", Answers("HTTP/1.1 200 OK\r\nContent-Le"), nothing, 1, unknown},
      {"answers no HTTP", Answers("SSH-2.0-OpenSSH_9.2\r\n\r\n"), nothing, 1, unknown},
      {"closes within the body", Answers("HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\nabc"),
       nothing, 1, "送信できませんでした。掲示板との接続が途中で切れました (Connection closed)"},
      {"answers too late", later(900, Answers(ok)), nothing, 1,
       "送信できませんでした。掲示板からの応答が 0.5 秒以内にありませんでした"},
      {"answers slowly", later(150, Answers(ok)), nothing, 1,
       "送信完了しました！ ご協力ありがとうございました！"},
  };
  Poster.postTimeoutMs = 500;
  ShowPosterWindow();
  const std::string report = Report();
  for (const Case& row : cases) {
    LocalBoard board(row.onRequest, row.onConnection);
    told.clear();
    Poster.Command2->click();
    WaitUntil([this] { return !told.empty(); });
    EXPECT_EQ(told, std::vector<std::string>{row.told}) << row.board;
    EXPECT_EQ(board.connections, 1) << row.board;
    EXPECT_EQ(board.requests, row.requests) << row.board;
    EXPECT_EQ(Poster.Command2->isEnabled(), !ended) << row.board;
    EXPECT_EQ(Report(), report) << row.board;
  }
  EXPECT_TRUE(ended);
}

}  // namespace
