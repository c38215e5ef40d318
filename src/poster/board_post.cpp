#include "poster/board_post.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QIODevice>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cstdlib>
#include <utility>

#include "poster/poster_texts.h"

namespace {

using Done = std::function<void(const PostResult&)>;

// One manager serves every post. It is a child of the application, so it is freed with it,
// and the weak pointer notices when a later application needs a new one.
struct BoardState {
  QPointer<QNetworkAccessManager> manager;
};
BoardState board;

QNetworkAccessManager& Manager() {
  if (!board.manager) board.manager = new QNetworkAccessManager(QCoreApplication::instance());
  return *board.manager;
}

// The post's data, read once. Qt sends a request again when its connection closes before an
// answer, unless it cannot rewind the data, and a board may act on a request it never answers.
class ReadOnce : public QIODevice {
 public:
  explicit ReadOnce(QByteArray bytes) : bytes(std::move(bytes)) { open(ReadOnly); }
  bool isSequential() const override { return true; }
  bool reset() override { return false; }
  qint64 bytesAvailable() const override { return bytes.size() - at + QIODevice::bytesAvailable(); }

 protected:
  qint64 readData(char* data, qint64 most) override {
    const qint64 count = std::min(most, bytes.size() - at);
    std::copy_n(bytes.constData() + at, count, data);
    at += count;
    return count;
  }
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  QByteArray bytes;
  qint64 at = 0;
};

PostResult Failure(const QString& problem) { return {false, problem.toStdString()}; }

// The message box shows one line, so line breaks in the detail become spaces.
QString Detailed(const QString& what, const QString& detail) {
  return what + " (" + detail.simplified() + ")";
}

// Why `url` (typed as `text`) cannot be posted to; empty when it is a usable address.
QString AddressProblem(const QUrl& url, const QString& text) {
  if (!url.isValid() || url.host().isEmpty())
    return Detailed(PosterTexts::tr("掲示板のアドレスが正しくありません"),
                    text.isEmpty() ? PosterTexts::tr("空") : text);
  if (url.scheme() != "http" && url.scheme() != "https")
    return Detailed(PosterTexts::tr("掲示板のアドレスが http でも https でもありません"), text);
  return {};
}

QString NetworkProblem(const QNetworkReply& reply, int timeoutMs) {
  switch (reply.error()) {
    case QNetworkReply::OperationCanceledError:  // only the clock cancels a post
      return PosterTexts::tr("掲示板からの応答が %1 秒以内にありませんでした")
          .arg(timeoutMs / 1000.0);
    case QNetworkReply::ConnectionRefusedError:
      return Detailed(PosterTexts::tr("掲示板に接続できませんでした"), reply.errorString());
    case QNetworkReply::HostNotFoundError:
      return Detailed(PosterTexts::tr("掲示板のサーバーが見つかりませんでした"),
                      reply.errorString());
    case QNetworkReply::RemoteHostClosedError:
      return Detailed(PosterTexts::tr("掲示板との接続が途中で切れました"), reply.errorString());
    case QNetworkReply::SslHandshakeFailedError:
      return Detailed(PosterTexts::tr("掲示板との暗号化通信を始められませんでした"),
                      reply.errorString());
    default:
      return Detailed(PosterTexts::tr("掲示板に送信できませんでした"), reply.errorString());
  }
}

// The errors an answer's own status explains: none, or those Qt makes of 4xx and 5xx statuses.
// Any other error is the connection's, even when a status came before it.
bool ErrorOfAnAnswer(QNetworkReply::NetworkError error) {
  return error == QNetworkReply::NoError || error == QNetworkReply::ProtocolInvalidOperationError ||
         (error >= QNetworkReply::ContentAccessDenied &&
          error <= QNetworkReply::UnknownContentError) ||
         (error >= QNetworkReply::InternalServerError &&
          error <= QNetworkReply::UnknownServerError);
}

// The connection closed before any status came, so the request may have arrived. Qt reports
// the resend it could not make as ContentReSendError.
bool ClosedUnanswered(int status, QNetworkReply::NetworkError error) {
  return status == 0 && (error == QNetworkReply::RemoteHostClosedError ||
                         error == QNetworkReply::ContentReSendError);
}

PostResult Outcome(const QNetworkReply& reply, int timeoutMs) {
  const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  if (ClosedUnanswered(status, reply.error()))
    return {false, PosterTexts::tr("掲示板が応答しないまま接続を切りました").toStdString(), true};
  const bool accepted = status >= 200 && status <= 299;
  if (accepted && reply.error() == QNetworkReply::NoError) return {true, {}};
  if (accepted || status == 0 || !ErrorOfAnAnswer(reply.error()))
    return Failure(NetworkProblem(reply, timeoutMs));
  const QString code = "HTTP " + QString::number(status);
  if (status >= 300 && status <= 399) {
    const QString location = QString::fromUtf8(reply.rawHeader("Location"));
    return Failure(
        Detailed(PosterTexts::tr("掲示板が別の場所への転送を返しました"),
                 code + " → " + (location.isEmpty() ? PosterTexts::tr("転送先なし") : location)));
  }
  const QString reason = reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
  return Failure(Detailed(PosterTexts::tr("掲示板がエラーを返しました"), code + " " + reason));
}

// Throws the answer's body away as it arrives, aborts the post when its time is up, and tells
// the outcome when the reply finishes, which it does exactly once, aborted or not.
void Watch(QNetworkReply* reply, int timeoutMs, Done done) {
  QObject::connect(reply, &QNetworkReply::readyRead, reply,
                   [reply] { reply->skip(reply->bytesAvailable()); });
  auto* clock = new QTimer(reply);
  clock->setSingleShot(true);
  clock->setTimerType(Qt::PreciseTimer);  // a coarse timer may give up before the time is up
  QObject::connect(clock, &QTimer::timeout, reply, &QNetworkReply::abort);
  QObject::connect(reply, &QNetworkReply::finished, reply,
                   [reply, timeoutMs, done = std::move(done)] {
                     reply->deleteLater();
                     done(Outcome(*reply, timeoutMs));
                   });
  clock->start(timeoutMs);
}

}  // namespace

std::string BoardUrl() {
  const char* chosen = std::getenv("VELDRANE_BOARD_URL");
  return chosen && *chosen ? chosen : BoardAddress;
}

void PostToBoard(const std::string& url, const std::string& body, int timeoutMs, Done done) {
  if (!done) done = [](const PostResult&) {};
  timeoutMs = std::max(timeoutMs, 0);
  const QString text = QString::fromStdString(url);
  const QUrl address(text, QUrl::StrictMode);
  if (const QString problem = AddressProblem(address, text); !problem.isEmpty()) {
    // Told from the event loop like every other outcome, so callers see one behaviour.
    QTimer::singleShot(0, QCoreApplication::instance(),
                       [problem, done = std::move(done)] { done(Failure(problem)); });
    return;
  }
  QNetworkRequest request(address);
  request.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded");
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                       QNetworkRequest::ManualRedirectPolicy);
  // Unbuffered, so Qt keeps no copy of its own to send again; that needs the length up front.
  request.setHeader(QNetworkRequest::ContentLengthHeader, qsizetype(body.size()));
  request.setAttribute(QNetworkRequest::DoNotBufferUploadDataAttribute, true);
  auto* data = new ReadOnce(QByteArray::fromStdString(body));
  QNetworkReply* reply = Manager().post(request, data);
  data->setParent(reply);
  Watch(reply, timeoutMs, std::move(done));
}
