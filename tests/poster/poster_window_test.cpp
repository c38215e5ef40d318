// The report tool's window on Qt's offscreen platform, its questions and messages answered by
// the test.
#include "poster/poster_window.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QApplication>
#include <QClipboard>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTextCursor>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "persist/fresh_settings_folder.h"
#include "persist/lock_holder.h"
#include "persist/stored_values.h"
#include "poster/poster_texts.h"
#include "poster/report_text.h"

namespace {

const std::string Machine = "CPU test\r\nOS test\r\n";

class PosterWindowTest : public FreshSettingsFolder {
 protected:
  void SetUp() override {
    FreshSettingsFolder::SetUp();
    StoreLookOnly(true);
    Hook();
  }
  // The window's questions and messages come to the test; closing the window forgets this.
  void Hook() {
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
  QString LastTold() const { return QString::fromStdString(told.empty() ? "" : told.back()); }

  bool answer = false;
  bool ended = false;
  std::vector<std::string> asked, told;
};

TEST_F(PosterWindowTest, OpeningShowsTheReportAndEnablesPostingAndCopying) {
  StoreSave(GameApplication, {{RankingSection, "S0", "123456"}, {RankingSection, "N0", "ZYX"}});
  std::vector<bool> whileGathering;  // rebuild, post, copy
  Poster.systemInfo = [&whileGathering] {
    for (const QPushButton* button : {Poster.Command1, Poster.Command2, Poster.Command4})
      whileGathering.push_back(button->isEnabled());
    return Machine;
  };
  ShowPosterWindow();
  EXPECT_EQ(Report(), AssembleReport(Machine));
  EXPECT_NE(Report().find("      123456 ZYX\r\n"), std::string::npos);
  EXPECT_EQ(whileGathering, std::vector<bool>(3, false)) << "nothing to post or copy yet";
  EXPECT_TRUE(Poster.Command1->isEnabled());
  EXPECT_TRUE(Poster.Command2->isEnabled());
  EXPECT_TRUE(Poster.Command4->isEnabled());
  EXPECT_EQ(Poster.postTimeoutMs, 20000) << "how long a post may take, when no test shortens it";
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

// Only the game's own values go; another program's in the same store stay.
TEST_F(PosterWindowTest, ClearingAsksFirstAndNoLeavesTheStoreAlone) {
  StoreSave(GameApplication, {{RankingSection, "S0", "500"}, {OptionsSection, "TryCount", "9"}});
  StoreSave("Other", {{OptionsSection, "TryCount", "7"}});
  ShowPosterWindow();
  const std::string before = Report();
  answer = false;
  Poster.Command3->click();
  EXPECT_EQ(asked, (std::vector<std::string>{
                       "レジストリのデータを削除します / ハイスコア等のデータが消去されます。よろしいですか？"}));
  EXPECT_EQ(told, (std::vector<std::string>{"キャンセルしました"}));
  EXPECT_EQ(StoreGet(GameApplication, OptionsSection, "TryCount", ""), "9");
  EXPECT_EQ(StoreGet(GameApplication, RankingSection, "S0", ""), "500");
  EXPECT_EQ(Report(), before);

  answer = true;
  Poster.Command3->click();
  EXPECT_EQ(asked.size(), 2u);
  EXPECT_EQ(told, (std::vector<std::string>{"キャンセルしました", "消去しました"}));
  EXPECT_EQ(StoreGet(GameApplication, OptionsSection, "TryCount", "gone"), "gone");
  EXPECT_EQ(StoreGet("Other", OptionsSection, "TryCount", ""), "7");
  EXPECT_EQ(Report(), before) << "the report shown stays until it is built again";
  Poster.Command1->click();
  EXPECT_NE(Report().find("           0    \r\n           0    \r\n"), std::string::npos);
  EXPECT_NE(Report().find("\r\nTryCount 0\r\n"), std::string::npos);
}

// A read-only medium: StoreOpen's ReadOnly stands for one, as the superuser may write anywhere.
TEST_F(PosterWindowTest, ClearingAStoreThatCannotBeWrittenSaysSoAndChangesNothing) {
  StoreSave(GameApplication, {{OptionsSection, "TryCount", "9"}});
  StoreClose();
  const std::filesystem::path medium = Folder / "medium.db";
  std::filesystem::copy_file(StoreFile(), medium);
  const std::string bytes = ReadBytes(medium);
  ASSERT_TRUE(StoreOpen(medium.string(), StoreAccess::ReadOnly));
  ShowPosterWindow();
  answer = true;
  Poster.Command3->click();
  EXPECT_EQ(told, std::vector<std::string>{
                      "保存データのある場所に書き込めないため、消去できませんでした。\n(" +
                      medium.string() + " は書き込めないファイル、フォルダー、または媒体の上にあります)"});
  EXPECT_TRUE(Poster.Command3->isEnabled());
  EXPECT_EQ(StoreGet(GameApplication, OptionsSection, "TryCount", ""), "9");
  StoreClose();
  EXPECT_EQ(ReadBytes(medium), bytes);
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
  EXPECT_EQ(told.size(), 1u);
  EXPECT_NE(Report().find("\r\nTryCount 0\r\n"), std::string::npos);
  EXPECT_EQ(ReadBytes(StoreFile()), std::string(4096, 'x'));
}

// Changes the store as another program would.
bool ExecStore(const std::filesystem::path& file, const char* sql) {
  sqlite3* db = nullptr;
  const bool done = sqlite3_open(file.c_str(), &db) == SQLITE_OK &&
                    sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close(db);
  return done;
}

// Each row: what is done to a fresh store before the window opens, and what then reads the text.
TEST_F(PosterWindowTest, EveryCaptionAndMessageReadsExactly) {
  struct Shown {
    const char* what;
    std::function<void()> before;
    std::function<QString()> read;
    std::string text;
  };
  std::string waiting;
  const auto storeChangedBy = [this](const char* sql) {
    return [this, sql] {
      StoreSave(GameApplication, {{OptionsSection, "TryCount", "9"}});
      StoreClose();
      ASSERT_TRUE(ExecStore(StoreFile(), sql));
    };
  };
  const auto clear = [this] {
    Poster.Command3->click();
    return LastTold();
  };
  const std::function<void()> nothing = [] {};
  const std::string file = StoreFile().string();
  const std::vector<Shown> rows = {
      {"title", nothing, [] { return Poster.Form1->windowTitle(); }, "VELDRANE 動作環境チェッカー"},
      {"instruction", nothing, [] { return Poster.Label1->text(); },
       "　VELDRANE の動作状況を QUILLMARSH に教えてください。下のテキストボックスの全文をコピーして、"
       "QUILLMARSH の VELDRANE動作状況掲示板 (http://quillmarsh.example/veldrane/bbs/) "
       "に貼り付けてください。右のボタンを押すと、自動的に掲示板に貼り付けます。"
       "快適な動作環境の調査に利用させていただきます"},
      {"rebuild", nothing, [] { return Poster.Command1->text(); }, "情報を取得し直します"},
      {"post", nothing, [] { return Poster.Command2->text(); }, "この情報を送信します"},
      {"clear", nothing, [] { return Poster.Command3->text(); }, "クリア"},
      {"copy", nothing, [] { return Poster.Command4->text(); },
       "全文をクリップボードにコピーします"},
      {"frame", nothing, [] { return Poster.Frame1->title(); }, ""},
      {"frame's label", nothing, [] { return Poster.Label2->text(); },
       "ﾚｼﾞｽﾄﾘに保存したﾃﾞｰﾀをｸﾘｱします"},
      {"waiting",
       [this, &waiting] {
         Poster.systemInfo = [&waiting] {
           waiting = ReportBoxText();
           return Machine;
         };
       },
       [&waiting] { return QString::fromStdString(waiting); }, "情報を取得中です…"},
      {"store unreadable", [this] { WriteBytes(StoreFile(), std::string(4096, 'x')); },
       [this] { return LastTold(); },
       "ゲームの保存データを読めませんでした。保存データのない状態として報告します。\n(" + file +
           ": file is not a database)"},
      {"clearing a newer game's store", storeChangedBy("PRAGMA user_version = 2"), clear,
       "保存データは新しい版の VELDRANE のものなので、消去しませんでした。\n(" + file +
           ": 新しい版のゲームが作ったもの (形式 2。この版が読めるのは 1 まで))"},
      {"clearing fails",
       storeChangedBy("CREATE TRIGGER kept BEFORE DELETE ON settings "
                      "BEGIN SELECT RAISE(ABORT, 'kept'); END"),
       clear,
       "消去できませんでした。ゲームを終了してから、もう一度お試しください。\n(" + file +
           ": constraint failed)"},
  };
  answer = true;
  for (const Shown& row : rows) {
    ClosePosterWindow();
    Hook();
    StoreClose();
    std::filesystem::remove_all(StoreFolder());
    told.clear();
    row.before();
    ShowPosterWindow();
    EXPECT_EQ(row.read().toStdString(), row.text) << row.what;
  }
}

// The stored choice, else the locale, gives the window's texts and Qt's own buttons; the report
// it builds to post is the same in either language.
TEST_F(PosterWindowTest, TheLanguageIsTheStoredChoiceElseTheLocalesAndLeavesTheReport) {
  struct Row {
    const char *stored, *lang, *title, *rebuild, *cancelled, *yes;
  };
  const char *japanese = "VELDRANE 動作環境チェッカー", *english = "VELDRANE Environment Checker";
  const Row rows[] = {
      {"", "ja_JP.UTF-8", japanese, "情報を取得し直します", "キャンセルしました", "はい(&Y)"},
      {"", "C", english, "Gather the information again", "Cancelled", "&Yes"},
      {"en", "ja_JP.UTF-8", english, "Gather the information again", "Cancelled", "&Yes"},
      {"ja", "en_GB.UTF-8", japanese, "情報を取得し直します", "キャンセルしました", "はい(&Y)"},
  };
  const char* langBefore = std::getenv("LANG");
  const std::string lang = langBefore ? langBefore : "";
  unsetenv("LC_ALL");
  unsetenv("LC_MESSAGES");
  std::string firstReport;
  for (const Row& row : rows) {
    setenv("LANG", row.lang, 1);
    StoreLookOnly(false);
    StoreSave(GameApplication, {SettingValue(LanguageSetting, row.stored)});
    StoreLookOnly(true);
    EXPECT_TRUE(UsePosterLanguage(PosterLanguage())) << row.stored << " " << row.lang;
    ClosePosterWindow();
    Hook();
    ShowPosterWindow();
    Poster.Command3->click();
    EXPECT_EQ(std::vector<std::string>({Poster.Form1->windowTitle().toStdString(),
                                        Poster.Command1->text().toStdString(),
                                        LastTold().toStdString(),
                                        QCoreApplication::translate("QPlatformTheme", "&Yes")
                                            .toStdString()}),
              std::vector<std::string>({row.title, row.rebuild, row.cancelled, row.yes}))
        << row.stored << " " << row.lang;
    if (firstReport.empty()) firstReport = Report();
    EXPECT_EQ(Report(), firstReport);
  }
  UsePosterLanguage(Language::Japanese);  // as the tests began
  setenv("LANG", lang.c_str(), 1);
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

// However the board behaves, the report goes out at most once, the person is told what is known,
// and after a failure the post button comes back with the report as it was. A row without a
// script is a board that refuses the connection.
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
  const std::string late = "送信できませんでした。掲示板からの応答が 0.5 秒以内にありませんでした";
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
       nothing, 1, "送信できませんでした。掲示板との接続が途中で切れました (接続が閉じられました)"},
      {"answers too late", later(900, Answers(ok)), nothing, 1, late},
      {"never answers", nothing, nothing, 1, late},
      {"refuses", nullptr, nothing, 0,
       "送信できませんでした。掲示板に接続できませんでした (接続が拒否されました)"},
      {"answers 500", Answers("HTTP/1.1 500 Internal Server Error\r\nContent-Length: 0\r\n\r\n"),
       nothing, 1, "送信できませんでした。掲示板がエラーを返しました (HTTP 500 Internal Server Error)"},
      {"redirects",
       Answers("HTTP/1.1 302 Found\r\nLocation: http://elsewhere.example/\r\nContent-Length: 0\r\n\r\n"),
       nothing, 1,
       "送信できませんでした。掲示板が別の場所への転送を返しました (HTTP 302 → http://elsewhere.example/)"},
      {"answers slowly", later(150, Answers(ok)), nothing, 1,
       "送信完了しました！ ご協力ありがとうございました！"},
  };
  Poster.postTimeoutMs = 500;
  ShowPosterWindow();
  const std::string report = Report();
  for (const Case& row : cases) {
    LocalBoard board(row.onRequest, row.onConnection);
    if (!row.onRequest) board.server.close();
    told.clear();
    Poster.Command2->click();
    WaitUntil([this] { return !told.empty(); });
    EXPECT_EQ(told, std::vector<std::string>{row.told}) << row.board;
    EXPECT_EQ(board.connections, row.onRequest ? 1 : 0) << row.board;
    EXPECT_EQ(board.requests, row.requests) << row.board;
    EXPECT_EQ(Poster.Command2->isEnabled(), !ended) << row.board;
    EXPECT_EQ(Report(), report) << row.board;
  }
  EXPECT_TRUE(ended);
}

}  // namespace
