#include "platform/imgui_layer.h"

#include <SDL.h>
#include <imgui.h>
#include <imgui_impl_sdl.h>
#include <imgui_impl_sdlrenderer.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "common/game_text.h"
#include "platform/platform.h"

ImguiState Imgui;

namespace {

constexpr const char* DialogFontPath = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc";
constexpr float DialogFontSize = 18.0f;
constexpr float MenuFontSize = 13.0f;  // ImGui's own font's, so the menu bar keeps its height

void EnsureContext() {
  if (ImGui::GetCurrentContext()) return;
  ImGui::CreateContext();
  ImGuiIO& io = ImGui::GetIO();
  io.IniFilename = nullptr;  // dialogs keep no layout file
  Imgui.menuFont = io.Fonts->AddFontDefault();
  ImGui::StyleColorsDark();
}

// Japanese text needs the CJK font; it is large, so it is loaded when it is first wanted.
void EnsureCjkFont(ImFont*& font, float size) {
  if (font || !std::filesystem::exists(DialogFontPath)) return;
  ImGuiIO& io = ImGui::GetIO();
  ImFontConfig config;
  config.FontNo = 0;  // the Japanese face of the collection
  font = io.Fonts->AddFontFromFileTTF(DialogFontPath, size, &config,
                                      io.Fonts->GetGlyphRangesJapanese());
  if (!font) return;
  if (Imgui.renderer) {
    ImGui_ImplSDLRenderer_DestroyFontsTexture();
    ImGui_ImplSDLRenderer_CreateFontsTexture();
  }
}

void EnsureDialogFont() { EnsureCjkFont(Imgui.dialogFont, DialogFontSize); }

ImFont* MenuFont() {
  if (GameLanguage() != Language::Japanese) return Imgui.menuFont;
  return Imgui.japaneseMenuFont ? Imgui.japaneseMenuFont : Imgui.menuFont;
}

void CentreNextWindow() {
  const ImGuiViewport* view = ImGui::GetMainViewport();
  ImGui::SetNextWindowPos(view->GetCenter(), ImGuiCond_Always, ImVec2(0.5f, 0.5f));
}

constexpr ImGuiWindowFlags DialogFlags = ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoMove |
                                         ImGuiWindowFlags_NoSavedSettings;

bool KeyPressed(ImGuiKey key) { return ImGui::IsKeyPressed(ImGui::GetKeyIndex(key)); }

// The visible sub-folders of `folder`, by name.
std::vector<std::filesystem::path> SubFolders(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> folders;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    std::string name = it->path().filename().string();
    if (!name.empty() && name[0] != '.' && it->is_directory(error)) folders.push_back(it->path());
  }
  std::sort(folders.begin(), folders.end());
  return folders;
}

// Key events as ImGui takes them; false for a release held back to the next frame.
bool TakeKeyEvent(const SDL_Event& event) {
  const int scancode = event.key.keysym.scancode;
  auto& down = Imgui.keysDownThisFrame;
  if (event.type == SDL_KEYDOWN) down.push_back(scancode);
  if (event.type == SDL_KEYUP && std::find(down.begin(), down.end(), scancode) != down.end()) {
    Imgui.heldKeyUps.push_back(scancode);
    return false;
  }
  return true;
}

void BeginDialogFrame() {
  if (GameLanguage() == Language::Japanese) EnsureCjkFont(Imgui.japaneseMenuFont, MenuFontSize);
  ImGui_ImplSDLRenderer_NewFrame();
  ImGui_ImplSDL2_NewFrame();
  ImGui::NewFrame();
  Imgui.framePending = true;
  // Seen by the next frame, after this one has seen the keys go down.
  Imgui.keysPressed = std::exchange(Imgui.keysDownThisFrame, {});
  for (int scancode : std::exchange(Imgui.heldKeyUps, {})) {
    SDL_Event release{};
    release.type = SDL_KEYUP;
    release.key.keysym.scancode = SDL_Scancode(scancode);
    ImGui_ImplSDL2_ProcessEvent(&release);
  }
}

// Frames the bar is still built for after the mouse or the window last did something: a
// click is seen as a press on one frame and a release on a later one.
constexpr int MenuSettleFrames = 3;

MenuLook CurrentMenuLook() {
  return {int(GameLanguage()), Platform.zoom, Platform.atTitle, Imgui.modalDepth > 0};
}

bool MenuIsOpen() { return ImGui::IsPopupOpen("", ImGuiPopupFlags_AnyPopupId); }

bool MenuMayChange() {
  const MenuLook look = CurrentMenuLook();
  if (look != Imgui.menuLook || MenuIsOpen()) Imgui.menuLiveFrames = MenuSettleFrames;
  Imgui.menuLook = look;
  return Imgui.menuLiveFrames > 0 || !Imgui.menuStrip || Imgui.framePending;
}

// Only the pointer and the window move the bar; keys do not, as ImGui's keyboard navigation is
// off.
bool EventMayChangeMenu(uint32_t type) {
  return type == SDL_MOUSEMOTION || type == SDL_MOUSEBUTTONDOWN || type == SDL_MOUSEBUTTONUP ||
         type == SDL_MOUSEWHEEL || type == SDL_WINDOWEVENT;
}

void DropMenuStrip() {
  if (Imgui.menuStrip) SDL_DestroyTexture(Imgui.menuStrip);
  Imgui.menuStrip = nullptr;
}

// The strip as wide as the renderer's output; nullptr where the renderer cannot draw into a
// texture.
SDL_Texture* MenuStrip() {
  int width = 0, stripWidth = 0;
  SDL_GetRendererOutputSize(Imgui.renderer, &width, nullptr);
  if (Imgui.menuStrip) SDL_QueryTexture(Imgui.menuStrip, nullptr, nullptr, &stripWidth, nullptr);
  if (Imgui.menuStrip && stripWidth != width) DropMenuStrip();
  if (Imgui.menuStrip || !SDL_RenderTargetSupported(Imgui.renderer)) return Imgui.menuStrip;
  Imgui.menuStrip = SDL_CreateTexture(Imgui.renderer, SDL_PIXELFORMAT_ARGB8888,
                                      SDL_TEXTUREACCESS_TARGET, width, WindowMenuHeight);
  if (Imgui.menuStrip) SDL_SetTextureBlendMode(Imgui.menuStrip, SDL_BLENDMODE_NONE);
  return Imgui.menuStrip;
}

// The strip's pixels for a picture that carries the bar; none when they cannot be read.
void ReadMenuPixels(int width) {
  Imgui.menuPixels.resize(size_t(width) * WindowMenuHeight);
  const bool read = SDL_RenderReadPixels(Imgui.renderer, nullptr, SDL_PIXELFORMAT_RGB565,
                                         Imgui.menuPixels.data(), width * 2) == 0;
  Imgui.menuPixelsWidth = read ? width : 0;
  ++Imgui.menuPixelsVersion;
}

void DrawMenuStrip() {
  SDL_Texture* strip = MenuStrip();
  if (!strip || SDL_SetRenderTarget(Imgui.renderer, strip) != 0) {
    Imgui.menuPixelsWidth = 0;
    return DropMenuStrip();
  }
  SDL_SetRenderDrawColor(Imgui.renderer, 0, 0, 0, 255);
  SDL_RenderClear(Imgui.renderer);
  ImGui_ImplSDLRenderer_RenderDrawData(ImGui::GetDrawData());
  int width = 0;
  SDL_QueryTexture(strip, nullptr, nullptr, &width, nullptr);
  ReadMenuPixels(width);
  SDL_SetRenderTarget(Imgui.renderer, nullptr);
}

void ShowMenuStrip() {
  if (!Imgui.menuStrip) return;
  SDL_Rect bar{0, 0, 0, WindowMenuHeight};
  SDL_QueryTexture(Imgui.menuStrip, nullptr, nullptr, &bar.w, nullptr);
  SDL_RenderCopy(Imgui.renderer, Imgui.menuStrip, nullptr, &bar);
}

void BuildMenuBar() {
  auto choose = [](const char* label, WindowCommand command, bool selected = false,
                   bool enabled = true) {
    if (ImGui::MenuItem(label, nullptr, selected, enabled))
      Platform.pendingCommands.push_back(command);
  };
  ImGui::PushFont(MenuFont());
  ImGui::BeginDisabled(Imgui.modalDepth > 0);
  if (ImGui::BeginMainMenuBar()) {
    choose(Tr("ModeChangeToggle"), WindowCommand::SwitchScreenMode);
    if (ImGui::BeginMenu(Tr("design"))) {
      choose(Tr("Image Resource Create Level2"), WindowCommand::ImageResourceDialog);
      ImGui::EndMenu();
    }
    if (ImGui::BeginMenu(Tr("Zoom"))) {
      constexpr WindowCommand Zooms[] = {WindowCommand::Zoom1, WindowCommand::Zoom2,
                                         WindowCommand::Zoom3};
      for (int zoom = 1; zoom <= MaxZoom; ++zoom)
        choose((std::to_string(zoom) + "x").c_str(), Zooms[zoom - 1], Platform.zoom == zoom,
               ZoomFits(zoom));
      ImGui::EndMenu();
    }
    if (ImGui::BeginMenu(Tr("Play"))) {
      if (ImGui::BeginMenu(Tr("Practice"), Platform.atTitle)) {
        choose(Tr("From the start"), WindowCommand::Practice0);
        for (int number = 1; number < PracticeStarts; ++number) {
          char label[80];
          std::snprintf(label, sizeof label, Tr("From checkpoint %d"), number);
          choose(label, WindowCommand(int(WindowCommand::Practice0) + number));
        }
        ImGui::EndMenu();
      }
      choose(Tr("Replays..."), WindowCommand::Replays);
      choose(Tr("Keys..."), WindowCommand::Keys);
      ImGui::EndMenu();
    }
    if (ImGui::BeginMenu(Tr("Language"))) {
      const bool japanese = GameLanguage() == Language::Japanese;
      choose("English", WindowCommand::LanguageEnglish, !japanese);
      choose(Imgui.japaneseMenuFont || japanese ? "日本語" : "Japanese",
             WindowCommand::LanguageJapanese, japanese);
      ImGui::EndMenu();
    }
    ImGui::Separator();
    choose(Tr("Debug"), WindowCommand::ReloadImages);
    choose(Tr("WindowModeChange"), WindowCommand::SwitchScreenMode);
    choose(Tr("Exit"), WindowCommand::Exit);
    ImGui::EndMainMenuBar();
  }
  ImGui::EndDisabled();
  ImGui::PopFont();
}

}  // namespace

void ImguiAttach(SDL_Window* window, SDL_Renderer* renderer, void (*presentFrame)()) {
  EnsureContext();
  ImGui_ImplSDL2_InitForSDLRenderer(window);
  ImGui_ImplSDLRenderer_Init(renderer);
  Imgui.renderer = renderer;
  Imgui.presentFrame = presentFrame;
}

void ImguiDetach() {
  if (!Imgui.renderer) return;
  if (Imgui.framePending) ImGui::EndFrame();
  Imgui.framePending = Imgui.frameRendered = false;
  Imgui.menuPixelsWidth = 0;
  DropMenuStrip();
  ImGui_ImplSDLRenderer_Shutdown();
  ImGui_ImplSDL2_Shutdown();
  Imgui.renderer = nullptr;
  Imgui.presentFrame = nullptr;
}

void ImguiShutdown() {
  ImguiDetach();
  if (ImGui::GetCurrentContext()) ImGui::DestroyContext();
  Imgui.menuFont = Imgui.dialogFont = Imgui.japaneseMenuFont = nullptr;
}

bool ImguiProcessEvent(const SDL_Event& event) {
  if (!Imgui.renderer) return false;
  if (EventMayChangeMenu(event.type)) Imgui.menuLiveFrames = MenuSettleFrames;
  if (event.type == SDL_RENDER_TARGETS_RESET || event.type == SDL_RENDER_DEVICE_RESET)
    DropMenuStrip();
  const bool key = event.type == SDL_KEYDOWN || event.type == SDL_KEYUP;
  if (!key || TakeKeyEvent(event)) ImGui_ImplSDL2_ProcessEvent(&event);
  return Imgui.modalDepth > 0;
}

void ImguiPrepareFrame() {
  if (!Imgui.framePending || Imgui.frameRendered) return;
  Imgui.frameRendered = true;
  ImGui::Render();
  if (Imgui.menuBuilt) DrawMenuStrip();
}

void ImguiRenderPending() {
  ImguiPrepareFrame();
  const bool carried = std::exchange(Imgui.menuInPicture, false);
  const bool menuWanted = std::exchange(Imgui.menuWanted, false) && !carried;
  const bool menuBuilt = std::exchange(Imgui.menuBuilt, false);
  if (menuWanted) ShowMenuStrip();
  if (!Imgui.framePending) return;
  Imgui.framePending = Imgui.frameRendered = false;
  // Dialogs and open menus reach below the bar, and without a strip the bar is drawn here.
  if (!menuBuilt || !Imgui.menuStrip || Imgui.modalDepth > 0 || MenuIsOpen())
    ImGui_ImplSDLRenderer_RenderDrawData(ImGui::GetDrawData());
}

void ImguiFrameUnchanged() { Imgui.menuWanted = Imgui.menuInPicture = false; }

void ImguiWindowMenu() {
  if (!Imgui.renderer) return;
  Imgui.menuWanted = true;
  if (!MenuMayChange()) return;
  if (Imgui.menuLiveFrames > 0) --Imgui.menuLiveFrames;
  if (!Imgui.framePending) BeginDialogFrame();
  Imgui.menuBuilt = true;
  BuildMenuBar();
}

bool EscapeReleased() { return ImGui::IsKeyReleased(ImGui::GetKeyIndex(ImGuiKey_Escape)); }

bool DialogsAreHeadless() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return !driver || std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0;
}

void RunModalDialog(const std::function<bool()>& drawDialog) {
  if (!Imgui.renderer) return;
  EnsureDialogFont();
  ++Imgui.modalDepth;
  uint32_t closesAtStart = Platform.closeRequests;
  bool open = true;
  while (open && Platform.closeRequests == closesAtStart) {
    PumpEvents();
    BeginDialogFrame();
    if (Imgui.dialogFont) ImGui::PushFont(Imgui.dialogFont);
    open = drawDialog();
    if (Imgui.dialogScript && !Imgui.dialogScript()) open = false;
    if (Imgui.dialogFont) ImGui::PopFont();
    Imgui.presentFrame();
    SDL_Delay(15);  // a dialog needs no exact pace, only a light touch on the CPU
  }
  --Imgui.modalDepth;
}

void ShowMessageBox(const std::string& text) {
  Imgui.LastMessageBoxText = text;
  std::fprintf(stderr, "veldrane: %s\n", text.c_str());
  if (DialogsAreHeadless()) return;
  if (!Imgui.renderer) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "VELDRANE", text.c_str(), Platform.window);
    return;
  }
  RunModalDialog([&text] {
    CentreNextWindow();
    ImGui::Begin("VELDRANE", nullptr, DialogFlags | ImGuiWindowFlags_AlwaysAutoResize);
    // Long lines (a path, a reason) wrap inside the window rather than run off it.
    ImGui::PushTextWrapPos(ImGui::GetFontSize() * 36);
    ImGui::TextUnformatted(text.c_str());
    ImGui::PopTextWrapPos();
    ImGui::Spacing();
    bool ok = ImGui::Button(Tr("OK"), ImVec2(120, 0)) || KeyPressed(ImGuiKey_Enter) ||
              EscapeReleased();
    ImGui::End();
    return !ok;
  });
}

std::string BrowseForFolder(const std::string& title, const std::string& initialFolder) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path folder = fs::absolute(initialFolder.empty() ? fs::current_path() : fs::path(initialFolder),
                                 error);
  if (error || !fs::is_directory(folder, error)) folder = fs::current_path();
  if (DialogsAreHeadless() && !Imgui.dialogScript) return {};  // a test's script may choose
  std::string chosen;
  std::vector<fs::path> folders = SubFolders(folder);
  RunModalDialog([&] {
    CentreNextWindow();
    ImGui::SetNextWindowSize(ImVec2(480, 360), ImGuiCond_Always);
    ImGui::Begin(title.c_str(), nullptr, DialogFlags | ImGuiWindowFlags_NoResize);
    ImGui::TextUnformatted(folder.c_str());
    ImGui::BeginChild("folders", ImVec2(0, -ImGui::GetFrameHeightWithSpacing() - 4), true);
    fs::path next;
    if (folder.has_parent_path() && folder != folder.root_path() && ImGui::Selectable(".."))
      next = folder.parent_path();
    for (const fs::path& sub : folders)
      if (ImGui::Selectable((sub.filename().string() + "/").c_str())) next = sub;
    ImGui::EndChild();
    bool choose = ImGui::Button(Tr("Choose"), ImVec2(120, 0)) || KeyPressed(ImGuiKey_Enter);
    ImGui::SameLine();
    bool cancel = ImGui::Button(Tr("Cancel"), ImVec2(120, 0)) || EscapeReleased();
    ImGui::End();
    if (!next.empty()) {
      folder = next;
      folders = SubFolders(folder);
    }
    if (choose) chosen = folder.string();
    return !choose && !cancel;
  });
  return chosen;
}
