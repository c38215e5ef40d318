#include "tools/replay_browser.h"

#include <imgui.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "common/game_text.h"
#include "game/replay_list.h"
#include "platform/imgui_layer.h"

namespace {

struct BrowserState {
  std::vector<KeptReplay> replays;
  int selected = -1;
  bool confirmingDelete = false;
  std::string message;
  std::string chosen;
};

void Reload(BrowserState& browser) {
  browser.replays = KeptReplays();
  if (browser.selected >= int(browser.replays.size()))
    browser.selected = int(browser.replays.size()) - 1;
  if (browser.selected < 0 && !browser.replays.empty()) browser.selected = 0;
}

const KeptReplay* Selected(const BrowserState& browser) {
  if (browser.selected < 0 || browser.selected >= int(browser.replays.size())) return nullptr;
  return &browser.replays[size_t(browser.selected)];
}

// A double click watches the replay, as Watch would.
void DrawList(BrowserState& browser, bool canWatch) {
  constexpr ImGuiTableFlags Flags = ImGuiTableFlags_RowBg | ImGuiTableFlags_BordersOuter |
                                    ImGuiTableFlags_ScrollY;
  const float height = -ImGui::GetFrameHeightWithSpacing() * 3;
  if (!ImGui::BeginTable("replays", 5, Flags, ImVec2(0, height))) return;
  ImGui::TableSetupScrollFreeze(0, 1);
  for (const char* heading : {Tr("Date"), Tr("Score"), Tr("Reached"), Tr("Length"), Tr("Kind")})
    ImGui::TableSetupColumn(heading);
  ImGui::TableHeadersRow();
  for (size_t i = 0; i < browser.replays.size(); ++i) {
    const KeptReplay& replay = browser.replays[i];
    ImGui::TableNextRow();
    ImGui::TableNextColumn();
    const std::string label = replay.date + "##" + replay.path;
    if (ImGui::Selectable(label.c_str(), int(i) == browser.selected,
                          ImGuiSelectableFlags_SpanAllColumns |
                              ImGuiSelectableFlags_AllowDoubleClick)) {
      browser.selected = int(i);
      browser.confirmingDelete = false;
      if (ImGui::IsMouseDoubleClicked(0) && canWatch && replay.problem.empty())
        browser.chosen = replay.path;
    }
    if (!replay.problem.empty()) {
      ImGui::TableNextColumn();
      ImGui::TextDisabled("%s", Tr("cannot be read"));
      continue;
    }
    ImGui::TableNextColumn();
    ImGui::Text("%d", replay.record.endScore);
    ImGui::TableNextColumn();
    ImGui::TextUnformatted(ReachOf(replay.record.endFrame).c_str());
    ImGui::TableNextColumn();
    ImGui::TextUnformatted(LengthOf(replay.frames).c_str());
    ImGui::TableNextColumn();
    ImGui::TextUnformatted(replay.record.kind == ReplayKind::Practice ? Tr("Practice")
                                                                      : Tr("Play"));
  }
  ImGui::EndTable();
}

// The chosen file's name, and why it cannot be watched when it cannot.
void DrawSelectedFile(const BrowserState& browser) {
  const KeptReplay* replay = Selected(browser);
  if (!replay) return;
  const std::string name = std::filesystem::path(replay->path).filename().string();
  if (replay->problem.empty())
    ImGui::TextDisabled("%s", name.c_str());
  else
    ImGui::TextColored(ImVec4(1, 0.4f, 0.4f, 1), "%s: %s", name.c_str(), replay->problem.c_str());
}

// The buttons under the list; false once the window is to close.
bool DrawButtons(BrowserState& browser, bool canWatch) {
  const KeptReplay* replay = Selected(browser);
  ImGui::BeginDisabled(!canWatch || !replay || !replay->problem.empty());
  if (ImGui::Button(Tr("Watch"), ImVec2(120, 0)) && replay) browser.chosen = replay->path;
  ImGui::EndDisabled();
  ImGui::SameLine();
  ImGui::BeginDisabled(!replay);
  if (!browser.confirmingDelete && ImGui::Button(Tr("Delete"), ImVec2(120, 0)))
    browser.confirmingDelete = true;
  ImGui::EndDisabled();
  if (browser.confirmingDelete && replay) {
    ImGui::SameLine();
    ImGui::TextUnformatted(Tr("Delete this replay?"));
    ImGui::SameLine();
    if (ImGui::Button(Tr("Yes"))) {
      browser.message = DeleteKeptReplay(replay->path);
      browser.confirmingDelete = false;
      Reload(browser);
    }
    ImGui::SameLine();
    if (ImGui::Button(Tr("No"))) browser.confirmingDelete = false;
  }
  ImGui::SameLine();
  const bool close = ImGui::Button(Tr("Close"), ImVec2(120, 0)) || EscapeReleased();
  if (!canWatch) ImGui::TextUnformatted(Tr("Replays are watched from the title screen."));
  if (!browser.message.empty())
    ImGui::TextColored(ImVec4(1, 0.4f, 0.4f, 1), "%s", browser.message.c_str());
  return !close && browser.chosen.empty();
}

}  // namespace

std::string DeleteKeptReplay(const std::string& path) {
  if (std::remove(path.c_str()) == 0) return "";
  return path + ": " + std::strerror(errno);
}

std::string ShowReplayBrowser(bool canWatch) {
  BrowserState browser;
  Reload(browser);
  RunModalDialog([&] {
    const ImGuiViewport* view = ImGui::GetMainViewport();
    ImGui::SetNextWindowPos(view->GetCenter(), ImGuiCond_Always, ImVec2(0.5f, 0.5f));
    ImGui::SetNextWindowSize(ImVec2(600, 400), ImGuiCond_Always);
    ImGui::Begin(Tr("Replays"), nullptr,
                 ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoMove |
                     ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoSavedSettings);
    if (browser.replays.empty()) ImGui::TextUnformatted(Tr("No replays are kept yet."));
    DrawList(browser, canWatch);
    DrawSelectedFile(browser);
    const bool open = DrawButtons(browser, canWatch);
    ImGui::End();
    return open;
  });
  return browser.chosen;
}
