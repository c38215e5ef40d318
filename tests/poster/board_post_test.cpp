#include "poster/board_post.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkReply>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Delivery {
  PostResult result;
  int calls = 0;
  bool calledInside = false;  // from within PostToBoard itself
  qint64 ms = -1;
  qint64 unread = -1;  // answer bytes the finished reply still held
  qsizetype repliesLeft = -1;
};

QByteArray Head(const QByteArray& request) { return request.left(request.indexOf("\r\n\r\n")); }
QByteArray Body(const QByteArray& request) { return request.mid(request.indexOf("\r\n\r\n") + 4); }

QByteArray Header(const QByteArray& request, const QByteArray& name) {
  for (const QByteArray& line : Head(request).split('\n')) {
    const qsizetype colon = line.indexOf(':');
    if (colon > 0 && line.left(colon).toLower() == name) return line.mid(colon + 1).trimmed();
  }
  return {};
}

bool Whole(const QByteArray& request) {
  return request.contains("\r\n\r\n") &&
         Body(request).size() >= Header(request, "content-length").toLongLong();
}

QByteArray Answer(const QByteArray& status, const QByteArray& body, const QByteArray& more = {}) {
  return "HTTP/1.1 " + status + "\r\nContent-Length: " + QByteArray::number(body.size()) +
         "\r\n" + more + "\r\n" + body;
}

// A board on 127.0.0.1 that gathers each whole request and then runs `script` on its socket.
class BoardPostTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    QObject::connect(&server, &QTcpServer::newConnection, [this] {
      QTcpSocket* socket = server.nextPendingConnection();
      ++connections;
      auto arriving = std::make_shared<QByteArray>();
      QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, arriving] {
        *arriving += socket->readAll();
        if (!Whole(*arriving)) return;
        requests.push_back(std::exchange(*arriving, {}));
        script(*socket);
      });
    });
  }

  std::string Url(const std::string& path) {
    return "http://127.0.0.1:" + std::to_string(server.serverPort()) + path;
  }

  void Reply(const QByteArray& bytes) {
    script = [bytes](QTcpSocket& socket) { socket.write(bytes); };
  }

  Delivery Post(const std::string& url, const std::string& body = "a=1", int timeoutMs = 3000) {
    requests.clear();
    Delivery delivery;
    QEventLoop loop;
    QElapsedTimer clock;
    clock.start();
    PostToBoard(url, body, timeoutMs, [&](const PostResult& result) {
      delivery.result = result;
      ++delivery.calls;
      delivery.ms = clock.elapsed();
      delivery.unread = 0;
      for (const QNetworkReply* reply : qApp->findChildren<QNetworkReply*>())
        delivery.unread += reply->bytesAvailable();
      loop.quit();
    });
    delivery.calledInside = delivery.calls > 0;
    QTimer::singleShot(8000, &loop, &QEventLoop::quit);  // a broken post fails, not hangs
    loop.exec();
    // Long enough for a second call, or for the reply's deferred deletion, to happen.
    QTimer::singleShot(50, &loop, &QEventLoop::quit);
    loop.exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delivery.repliesLeft = qApp->findChildren<QNetworkReply*>().size();
    return delivery;
  }

  // Checks the things every post owes its caller, then hands back the problem text.
  std::string Problem(const Delivery& delivery) {
    EXPECT_EQ(delivery.calls, 1);
    EXPECT_FALSE(delivery.calledInside);
    EXPECT_EQ(delivery.repliesLeft, 0);
    EXPECT_EQ(delivery.result.ok, delivery.result.problem.empty());
    return delivery.result.problem;
  }

  QTcpServer server;
  std::function<void(QTcpSocket&)> script = [](QTcpSocket&) {};
  std::vector<QByteArray> requests;  // whole requests, as they came
  int connections = 0;
};

TEST_F(BoardPostTest, SendsTheFormAsOnePostAndTakesA200AsDone) {
  std::string body = "name=%E5%90%8D&text=";
  for (int i = 0; i < 30000; ++i) body += "a%0D%0A+b&"[i % 10];
  Reply(Answer("200 OK", "thanks"));
  const Delivery delivery = Post(Url("/veldrane/bbs/post.cgi?mode=regist"), body);
  EXPECT_EQ(Problem(delivery), "");
  EXPECT_TRUE(delivery.result.ok);
  ASSERT_EQ(requests.size(), 1u);
  const QByteArray& sent = requests[0];
  EXPECT_TRUE(sent.startsWith("POST /veldrane/bbs/post.cgi?mode=regist HTTP/1.1\r\n"));
  EXPECT_EQ(Header(sent, "content-type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(Header(sent, "content-length"), QByteArray::number(qsizetype(body.size())));
  EXPECT_EQ(Body(sent).toStdString(), body);
}

TEST_F(BoardPostTest, OnlyTwoHundredsSucceedAndOthersNameTheirStatus) {
  const std::vector<std::pair<QByteArray, std::string>> cases = {
      {"199 Early", "掲示板がエラーを返しました (HTTP 199 Early)"},
      {"200 OK", ""},
      {"204 No Content", ""},
      {"299 Odd", ""},
      {"300 Multiple Choices", "掲示板が別の場所への転送を返しました (HTTP 300 → 転送先なし)"},
      {"399 Odd", "掲示板が別の場所への転送を返しました (HTTP 399 → 転送先なし)"},
      {"400 Bad Request", "掲示板がエラーを返しました (HTTP 400 Bad Request)"},
      {"404 Not Found", "掲示板がエラーを返しました (HTTP 404 Not Found)"},
      {"500 Internal Server Error", "掲示板がエラーを返しました (HTTP 500 Internal Server Error)"},
      {"599 ", "掲示板がエラーを返しました (HTTP 599)"},
  };
  for (const auto& [status, problem] : cases) {
    Reply(Answer(status, "<html>words</html>"));
    EXPECT_EQ(Problem(Post(Url("/post.cgi"))), problem) << status.toStdString();
  }
}

TEST_F(BoardPostTest, ARedirectIsAFailureAndIsNotFollowed) {
  const QByteArray moved = QByteArray::fromStdString(Url("/moved.cgi"));
  Reply(Answer("302 Found", "", "Location: " + moved + "\r\n"));
  EXPECT_EQ(Problem(Post(Url("/post.cgi"))),
            "掲示板が別の場所への転送を返しました (HTTP 302 → " + Url("/moved.cgi") + ")");
  EXPECT_EQ(requests.size(), 1u);
}

TEST_F(BoardPostTest, AManyMegabyteAnswerIsReadAndDropped) {
  Reply(Answer("200 OK", QByteArray(5 << 20, 'x')));
  const Delivery delivery = Post(Url("/post.cgi"));
  EXPECT_EQ(Problem(delivery), "");
  EXPECT_EQ(delivery.unread, 0);
}

TEST_F(BoardPostTest, TheTimeLimitCoversTheWholeTransfer) {
  const std::string late = "掲示板からの応答が 0.3 秒以内にありませんでした";
  const auto answerAfter = [this](int ms, QByteArray bytes) {
    script = [ms, bytes](QTcpSocket& socket) {
      QTimer::singleShot(ms, &socket, [&socket, bytes] { socket.write(bytes); });
    };
  };
  const auto drip = [](QTcpSocket& socket) {
    socket.write("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n");
    auto* tap = new QTimer(&socket);
    QObject::connect(tap, &QTimer::timeout, &socket, [&socket] { socket.write("x"); });
    tap->start(20);
  };
  const std::vector<std::pair<const char*, std::function<void(QTcpSocket&)>>> stalls = {
      {"silent", [](QTcpSocket&) {}},
      {"headers only", [](QTcpSocket& socket) { socket.write("HTTP/1.1 200 OK\r\n"); }},
      {"part of the body",
       [](QTcpSocket& socket) { socket.write("HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\nabc"); }},
      {"a byte at a time", drip},
  };
  for (const auto& [name, stall] : stalls) {
    script = stall;
    const Delivery delivery = Post(Url("/post.cgi"), "a=1", 300);
    EXPECT_EQ(Problem(delivery), late) << name;
    EXPECT_GE(delivery.ms, 300) << name;
    EXPECT_LT(delivery.ms, 3000) << name;
  }
  answerAfter(150, Answer("200 OK", "fine"));
  EXPECT_EQ(Problem(Post(Url("/post.cgi"), "a=1", 300)), "");
  answerAfter(450, Answer("200 OK", "fine"));
  EXPECT_EQ(Problem(Post(Url("/post.cgi"), "a=1", 300)), late);
  EXPECT_EQ(Problem(Post(Url("/post.cgi"), "a=1", 0)),
            "掲示板からの応答が 0 秒以内にありませんでした");
}

TEST_F(BoardPostTest, BrokenConnectionsAreExplained) {
  script = [](QTcpSocket& socket) {
    socket.write("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nonly ten..");
    socket.disconnectFromHost();
  };
  EXPECT_EQ(Problem(Post(Url("/post.cgi"))),
            "掲示板との接続が途中で切れました (接続が閉じられました)");
  script = [](QTcpSocket& socket) {
    socket.write("SSH-2.0-OpenSSH_9.2\r\n\r\n");
    socket.disconnectFromHost();
  };
  EXPECT_EQ(Problem(Post(Url("/post.cgi"))), "掲示板が応答しないまま接続を切りました");

  const std::string closed = Url("/post.cgi");
  server.close();
  EXPECT_EQ(Problem(Post(closed)), "掲示板に接続できませんでした (接続が拒否されました)");
}

TEST_F(BoardPostTest, BadAddressesFailWithoutTouchingTheNetwork) {
  const std::string port = std::to_string(server.serverPort());
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "掲示板のアドレスが正しくありません (空)"},
      {"http://", "掲示板のアドレスが正しくありません (http://)"},
      {"/veldrane/bbs/post.cgi", "掲示板のアドレスが正しくありません (/veldrane/bbs/post.cgi)"},
      {"http://127.0.0.1:" + port + "/a b\n",
       "掲示板のアドレスが正しくありません (http://127.0.0.1:" + port + "/a b)"},
      {"ftp://127.0.0.1:" + port + "/",
       "掲示板のアドレスが http でも https でもありません (ftp://127.0.0.1:" + port + "/)"},
      {"gopher://127.0.0.1:" + port + "/",
       "掲示板のアドレスが http でも https でもありません (gopher://127.0.0.1:" + port + "/)"},
  };
  for (const auto& [url, problem] : cases) EXPECT_EQ(Problem(Post(url)), problem) << url;
  EXPECT_EQ(connections, 0);
}

TEST(BoardUrlTest, TheEnvironmentOverridesTheBoardWhenNotEmpty) {
  const char* before = std::getenv("VELDRANE_BOARD_URL");
  const auto saved = before ? std::optional<std::string>(before) : std::nullopt;
  unsetenv("VELDRANE_BOARD_URL");
  EXPECT_EQ(BoardUrl(), BoardAddress);
  setenv("VELDRANE_BOARD_URL", "", 1);
  EXPECT_EQ(BoardUrl(), BoardAddress);
  setenv("VELDRANE_BOARD_URL", "http://localhost:8080/bbs/post.cgi", 1);
  EXPECT_EQ(BoardUrl(), "http://localhost:8080/bbs/post.cgi");
  if (saved) setenv("VELDRANE_BOARD_URL", saved->c_str(), 1);
  else unsetenv("VELDRANE_BOARD_URL");
}

}  // namespace
