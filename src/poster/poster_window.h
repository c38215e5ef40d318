// The report tool's one window: the instruction, the report box, and the buttons that post,
// copy and rebuild the report and clear the game's stored data.
#pragma once

#include <functional>
#include <string>

#include "poster/board_post.h"

class QWidget;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QGroupBox;

// The page of the board the instruction names; the tool posts to its script (BoardUrl).
inline constexpr const char* BoardPageAddress = "http://quillmarsh.example/veldrane/bbs/";

struct PosterWindowState {
  QWidget* Form1 = nullptr;
  QLabel* Label1 = nullptr;         // the instruction
  QPlainTextEdit* Text1 = nullptr;  // the report; the person may edit it
  QPushButton* Command1 = nullptr;  // builds the report again
  QPushButton* Command2 = nullptr;  // posts it
  QPushButton* Command3 = nullptr;  // clears the game's stored data
  QPushButton* Command4 = nullptr;  // copies it
  QGroupBox* Frame1 = nullptr;
  QLabel* Label2 = nullptr;
  // How the window asks and tells: message boxes, or a test's answers.
  std::function<bool(const std::string& title, const std::string& question)> ask;
  std::function<void(const std::string& message)> tell;
  std::function<std::string()> systemInfo;  // the machine's block
  std::function<void()> end;                 // ends the program once the report is posted
  int postTimeoutMs = BoardTimeoutMs;        // how long a post may take
  std::string machine;                       // the machine's block of the report
};
extern PosterWindowState Poster;

// Makes the window, shows it, builds the first report and enables posting and copying.
void ShowPosterWindow();
// Frees the window.
void ClosePosterWindow();

// The report box's text as the report is written, every line ending in CR LF.
std::string ReportBoxText();

// What the buttons do.
void BuildReport();
void PostReport();
void ClearStoredData();
void CopyReport();
