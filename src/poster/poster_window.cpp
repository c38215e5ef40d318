#include "poster/poster_window.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>

#include "common/host.h"
#include "persist/settings_store.h"
#include "persist/stored_values.h"
#include "poster/board_post.h"
#include "poster/poster_texts.h"
#include "poster/report_text.h"
#include "poster/system_info.h"

PosterWindowState Poster;

namespace {

constexpr const char* ReportFont = "Noto Sans Mono CJK JP";
constexpr const char* TextFont = "Noto Sans CJK JP";

// One click marks the whole report for copying.
class ReportBox : public QPlainTextEdit {
 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    QPlainTextEdit::mouseReleaseEvent(event);
    selectAll();
  }
};

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

QString InstructionText() {
  return PosterTexts::tr(
             "　VELDRANE の動作状況を QUILLMARSH に教えてください。"
             "下のテキストボックスの全文をコピーして、QUILLMARSH の "
             "VELDRANE動作状況掲示板 (%1) に貼り付けてください。"
             "右のボタンを押すと、自動的に掲示板に貼り付けます。"
             "快適な動作環境の調査に利用させていただきます")
      .arg(BoardPageAddress);
}

bool AskWithBox(const std::string& title, const std::string& question) {
  return QMessageBox::question(Poster.Form1, Text(title), Text(question),
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void TellWithBox(const std::string& message) {
  QMessageBox::information(Poster.Form1, Poster.Form1->windowTitle(), Text(message));
}

QPushButton* Button(const QString& caption, void (*action)()) {
  auto* button = new QPushButton(caption);
  QObject::connect(button, &QPushButton::clicked, action);
  return button;
}

void MakeControls() {
  Poster.Form1 = new QWidget;
  Poster.Form1->setWindowTitle(PosterTexts::tr("VELDRANE 動作環境チェッカー"));
  Poster.Form1->setFont(QFont(TextFont, 10));
  Poster.Form1->resize(900, 680);
  Poster.Label1 = new QLabel;
  Poster.Label1->setWordWrap(true);
  Poster.Text1 = new ReportBox;
  Poster.Text1->setFont(QFont(ReportFont, 10));
  Poster.Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Poster.Command1 = Button(PosterTexts::tr("情報を取得し直します"), BuildReport);
  Poster.Command2 = Button(PosterTexts::tr("この情報を送信します"), PostReport);
  Poster.Command3 = Button(PosterTexts::tr("クリア"), ClearStoredData);
  Poster.Command4 = Button(PosterTexts::tr("全文をクリップボードにコピーします"), CopyReport);
  Poster.Frame1 = new QGroupBox;
  Poster.Label2 = new QLabel(PosterTexts::tr("ﾚｼﾞｽﾄﾘに保存したﾃﾞｰﾀをｸﾘｱします"));
}

// The instruction beside the post button, the other buttons below, the report under them; the
// layouts keep the report the window's full width and the rest of its height.
void LayOut() {
  auto* frame = new QHBoxLayout(Poster.Frame1);
  frame->addWidget(Poster.Label2);
  frame->addWidget(Poster.Command3);
  auto* top = new QHBoxLayout;
  top->addWidget(Poster.Label1, 1);
  top->addWidget(Poster.Command2, 0, Qt::AlignTop);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Poster.Command1);
  buttons->addWidget(Poster.Command4);
  buttons->addStretch(1);
  buttons->addWidget(Poster.Frame1);
  auto* window = new QVBoxLayout(Poster.Form1);
  window->addLayout(top);
  window->addLayout(buttons);
  window->addWidget(Poster.Text1, 1);
  // From the report, Tab reaches copying first and posting second; clearing comes last.
  Poster.Text1->setTabChangesFocus(true);
  QWidget::setTabOrder(Poster.Text1, Poster.Command4);
  QWidget::setTabOrder(Poster.Command4, Poster.Command2);
  QWidget::setTabOrder(Poster.Command2, Poster.Command1);
  QWidget::setTabOrder(Poster.Command1, Poster.Command3);
}

// The store may be held by the game for a while: the window goes on answering, and tries the
// store again now and then, until it is free or the wait is too long.
constexpr int StoreTryMs = 100;
constexpr int StoreRetryMs = 250;
constexpr uint32_t StoreWaitMs = 10000;

void WhenStoreFree(uint32_t started, std::function<StoreStatus()> attempt,
                   std::function<void()> done) {
  StoreSetPatience(StoreTryMs);
  const bool busy = attempt() == StoreStatus::Busy;
  if (busy && NowMs() - started < StoreWaitMs) {
    QTimer::singleShot(StoreRetryMs, Poster.Form1,
                       [started, attempt, done] { WhenStoreFree(started, attempt, done); });
    return;
  }
  done();
}

void EnableReportButtons(bool enabled) {
  for (QPushButton* button : {Poster.Command1, Poster.Command2, Poster.Command4})
    button->setEnabled(enabled);
}

// A message of the window with the store's own reason under it.
void TellWithReason(const QString& message, const std::string& reason) {
  Poster.tell(message.toStdString() + "\n(" + reason + ")");
}

void TellReadProblem(const StoreResult& read) {
  if (read.status == StoreStatus::Busy)
    TellWithReason(PosterTexts::tr("ゲームの保存データを別のプログラムが使い続けているため、"
                                   "読めませんでした。保存データのない状態として報告します。"),
                   read.reason);
  else if (read.status == StoreStatus::Failed || read.status == StoreStatus::NewerUnread)
    TellWithReason(PosterTexts::tr("ゲームの保存データを読めませんでした。"
                                   "保存データのない状態として報告します。"),
                   read.reason);
}

void TellClearOutcome(const StoreResult& result) {
  switch (result.status) {
    case StoreStatus::Ok:
      Poster.tell(PosterTexts::tr("消去しました").toStdString());
      return;
    case StoreStatus::ReadOnly:
      TellWithReason(
          PosterTexts::tr("保存データのある場所に書き込めないため、消去できませんでした。"),
          result.reason);
      return;
    case StoreStatus::Newer:
    case StoreStatus::NewerUnread:
      TellWithReason(
          PosterTexts::tr("保存データは新しい版の VELDRANE のものなので、消去しませんでした。"),
          result.reason);
      return;
    default:
      TellWithReason(PosterTexts::tr("消去できませんでした。"
                                     "ゲームを終了してから、もう一度お試しください。"),
                     result.reason);
      return;
  }
}

}  // namespace

void ShowPosterWindow() {
  if (!Poster.ask) Poster.ask = AskWithBox;
  if (!Poster.tell) Poster.tell = TellWithBox;
  if (!Poster.systemInfo) Poster.systemInfo = [] { return GetSystemInfo(); };
  if (!Poster.end) Poster.end = [] { QApplication::quit(); };
  MakeControls();
  LayOut();
  Poster.Label1->setText(InstructionText());
  Poster.Form1->show();
  BuildReport();
  Poster.Text1->setFocus();
}

std::string ReportBoxText() {
  // The raw text keeps the no-break spaces that toPlainText() makes blanks. The box ends lines
  // with paragraph separators, or line separators where Shift+Enter was typed; the report with
  // CR LF.
  QString text = Poster.Text1->document()->toRawText();
  text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
  text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
  return text.toStdString();
}

void ClosePosterWindow() {
  delete Poster.Form1;  // and every control in it
  Poster = PosterWindowState{};
}

void BuildReport() {
  EnableReportButtons(false);
  Poster.Text1->setPlainText(PosterTexts::tr("情報を取得中です…"));
  QApplication::processEvents();  // painted before the gathering starts
  Poster.machine = Poster.systemInfo();
  const uint32_t started = NowMs();
  WhenStoreFree(
      started,
      [] {
        StoreGetMany(GameApplication, {});  // looks whether the store can be read now
        return StoreLastResult().status;
      },
      [] {
        Poster.Text1->setPlainText(Text(AssembleReport(Poster.machine)));
        EnableReportButtons(true);
        TellReadProblem(StoreLastResult());
      });
}

void PostReport() {
  Poster.Command2->setEnabled(false);
  const std::string body = BoardFormBody(ReportBoxText());
  PostToBoard(BoardUrl(), body, Poster.postTimeoutMs, [](const PostResult& result) {
    if (result.ok) {
      Poster.tell(
          PosterTexts::tr("送信完了しました！ ご協力ありがとうございました！").toStdString());
      Poster.end();
      return;
    }
    if (result.unanswered)
      Poster.tell(PosterTexts::tr("報告が掲示板に届いたかどうか分かりません。%1。"
                                  "掲示板で確かめてから、必要ならもう一度送信してください。")
                      .arg(Text(result.problem))
                      .toStdString());
    else
      Poster.tell(
          PosterTexts::tr("送信できませんでした。%1").arg(Text(result.problem)).toStdString());
    Poster.Command2->setEnabled(true);
  });
}

void ClearStoredData() {
  if (!Poster.ask(
          PosterTexts::tr("レジストリのデータを削除します").toStdString(),
          PosterTexts::tr("ハイスコア等のデータが消去されます。よろしいですか？").toStdString())) {
    Poster.tell(PosterTexts::tr("キャンセルしました").toStdString());
    return;
  }
  Poster.Command3->setEnabled(false);
  WhenStoreFree(
      NowMs(),
      [] {
        StoreDeleteApplication(GameApplication);
        return StoreLastResult().status;
      },
      [] {
        Poster.Command3->setEnabled(true);
        TellClearOutcome(StoreLastResult());
      });
}

void CopyReport() {
  QClipboard* clipboard = QApplication::clipboard();
  clipboard->clear();
  clipboard->setText(QString::fromStdString(ReportBoxText()));
}
