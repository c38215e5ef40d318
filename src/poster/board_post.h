// The report's trip to the makers' web board: one form post over HTTP with Qt Network, whose
// outcome comes back through a callback on the Qt event loop.
#pragma once

#include <functional>
#include <string>

// The board's posting script; VELDRANE_BOARD_URL, when set and not empty, replaces it.
inline constexpr const char* BoardAddress = "http://quillmarsh.example/veldrane/bbs/post.cgi";
std::string BoardUrl();

inline constexpr int BoardTimeoutMs = 20000;

struct PostResult {
  bool ok = false;
  std::string problem;  // why it failed, for the message box; empty when ok
  // The request went out but the connection closed before any status came: the board may
  // have it or not.
  bool unanswered = false;
};

// Sends `body` (already form-encoded, ASCII) as the POST data of one request to `url` with
// Content-Type application/x-www-form-urlencoded, and calls `done` exactly once, later, on the
// Qt event loop's thread, when the response is complete or the post failed. Needs a running
// QCoreApplication/QApplication event loop. Only one post at a time is expected.
//
// The request is sent at most once: Qt is not let send it again when the connection closes
// before an answer, since the board may already have taken it.
//
// Success is a complete answer with an HTTP status from 200 to 299; redirects are not followed.
// The answer's body is read and thrown away as it arrives. `timeoutMs` bounds the whole
// transfer, from the connection to the last byte; zero or less times out at once. A URL that is
// not a valid http or https address fails without any network activity, and its `done` still
// comes later, from the event loop, never from inside PostToBoard. A post still under way when
// the application object is destroyed is dropped without calling `done`.
void PostToBoard(const std::string& url, const std::string& body, int timeoutMs,
                 std::function<void(const PostResult&)> done);
