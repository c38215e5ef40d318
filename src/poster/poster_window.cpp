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

std::string InstructionText() {
  return std::string("　VELDRANE の動作状況を QUILLMARSH に教えてください。") +
         "下のテキストボックスの全文をコピーして、QUILLMARSH の VELDRANE動作状況掲示板 (" +
         BoardPageAddress + ") に貼り付けてください。" +
         "右のボタンを押すと、自動的に掲示板に貼り付けます。" +
         "快適な動作環境の調査に利用させていただきます";
}

bool AskWithBox(const std::string& title, const std::string& question) {
  return QMessageBox::question(Poster.Form1, Text(title), Text(question),
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void TellWithBox(const std::string& message) {
  QMessageBox::information(Poster.Form1, Poster.Form1->windowTitle(), Text(message));
}

QPushButton* Button(const char* caption, void (*action)()) {
  auto* button = new QPushButton(QString::fromUtf8(caption));
  QObject::connect(button, &QPushButton::clicked, action);
  return button;
}

void MakeControls() {
  Poster.Form1 = new QWidget;
  Poster.Form1->setWindowTitle(QString::fromUtf8("VELDRANE 動作環境チェッカー"));
  Poster.Form1->setFont(QFont(TextFont, 10));
  Poster.Form1->resize(900, 680);
  Poster.Label1 = new QLabel;
  Poster.Label1->setWordWrap(true);
  Poster.Text1 = new ReportBox;
  Poster.Text1->setFont(QFont(ReportFont, 10));
  Poster.Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Poster.Command1 = Button("Command1", BuildReport);
  Poster.Command2 = Button("この情報を送信します", PostReport);
  Poster.Command3 = Button("クリア", ClearStoredData);
  Poster.Command4 = Button("全文をクリップボードにコピーします", CopyReport);
  Poster.Frame1 = new QGroupBox;
  Poster.Label2 = new QLabel(QString::fromUtf8("ﾚｼﾞｽﾄﾘに保存したﾃﾞｰﾀをｸﾘｱします"));
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
    QTimer::singleShot(StoreRetryMs, Poster.Form1, [started, attempt, done] {
      WhenStoreFree(started, attempt, done);
    });
    return;
  }
  done();
}

void EnableReportButtons(bool enabled) {
  for (QPushButton* button : {Poster.Command1, Poster.Command2, Poster.Command4})
    button->setEnabled(enabled);
}

void TellReadProblem(const StoreResult& read) {
  const std::string detail = "\n(" + read.reason + ")";
  if (read.status == StoreStatus::Busy)
    Poster.tell("ゲームの保存データを別のプログラムが使い続けているため、読めませんでした。"
                "保存データのない状態として報告します。" + detail);
  else if (read.status == StoreStatus::Failed || read.status == StoreStatus::NewerUnread)
    Poster.tell("ゲームの保存データを読めませんでした。保存データのない状態として報告します。" +
                detail);
}

void TellClearOutcome(const StoreResult& result) {
  const std::string detail = "\n(" + result.reason + ")";
  switch (result.status) {
    case StoreStatus::Ok:
      Poster.tell("消去しました");
      return;
    case StoreStatus::ReadOnly:
      Poster.tell("保存データのある場所に書き込めないため、消去できませんでした。" + detail);
      return;
    case StoreStatus::Newer:
    case StoreStatus::NewerUnread:
      Poster.tell("保存データは新しい版の VELDRANE のものなので、消去しませんでした。" + detail);
      return;
    default:
      Poster.tell("消去できませんでした。ゲームを終了してから、もう一度お試しください。" + detail);
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
  Poster.Label1->setText(Text(InstructionText()));
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
  Poster.Text1->setPlainText(QString::fromUtf8("情報を取得中です…"));
  QApplication::processEvents();  // painted before the gathering starts
  Poster.machine = Poster.systemInfo();
  const uint32_t started = NowMs();
  WhenStoreFree(started, [] {
    StoreGetMany(GameApplication, {});  // looks whether the store can be read now
    return StoreLastResult().status;
  }, [] {
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
      Poster.tell("送信完了しました！ ご協力ありがとうございました！");
      Poster.end();
      return;
    }
    if (result.unanswered)
      Poster.tell("報告が掲示板に届いたかどうか分かりません。" + result.problem +
                  "。掲示板で確かめてから、必要ならもう一度送信してください。");
    else
      Poster.tell("送信できませんでした。" + result.problem);
    Poster.Command2->setEnabled(true);
  });
}

void ClearStoredData() {
  if (!Poster.ask("レジストリのデータを削除します",
                  "ハイスコア等のデータが消去されます。よろしいですか？")) {
    Poster.tell("キャンセルしました");
    return;
  }
  Poster.Command3->setEnabled(false);
  WhenStoreFree(NowMs(), [] {
    StoreDeleteApplication(GameApplication);
    return StoreLastResult().status;
  }, [] {
    Poster.Command3->setEnabled(true);
    TellClearOutcome(StoreLastResult());
  });
}

void CopyReport() {
  QClipboard* clipboard = QApplication::clipboard();
  clipboard->clear();
  clipboard->setText(QString::fromStdString(ReportBoxText()));
}
