#include "platform/SdlPlatform.h"

#include <SDL.h>

#include <algorithm>
#include <bitset>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <utility>
#include <string>
#include <vector>

#include "graphics/VantraSheet.h"
#include "platform/AudioClock.h"

namespace {

constexpr int kBoardWidth = 320;
constexpr int kBoardHeight = 240;
constexpr int kAudioRate = 44100;

std::optional<Key> KeyFromScancode(SDL_Scancode code) {
  switch (code) {
    case SDL_SCANCODE_UP: return Key::Up;
    case SDL_SCANCODE_DOWN: return Key::Down;
    case SDL_SCANCODE_LEFT: return Key::Left;
    case SDL_SCANCODE_RIGHT: return Key::Right;
    case SDL_SCANCODE_RETURN: case SDL_SCANCODE_KP_ENTER: return Key::Return;
    case SDL_SCANCODE_SPACE: return Key::Space;
    case SDL_SCANCODE_ESCAPE: return Key::Escape;
    case SDL_SCANCODE_Z: return Key::Z;
    case SDL_SCANCODE_X: return Key::X;
    case SDL_SCANCODE_C: return Key::C;
    case SDL_SCANCODE_V: return Key::V;
    case SDL_SCANCODE_B: return Key::B;
    case SDL_SCANCODE_N: return Key::N;
    case SDL_SCANCODE_H: return Key::H;
    case SDL_SCANCODE_J: return Key::J;
    case SDL_SCANCODE_K: return Key::K;
    case SDL_SCANCODE_L: return Key::L;
    case SDL_SCANCODE_INSERT: return Key::Insert;
    case SDL_SCANCODE_KP_0: return Key::Keypad0;
    case SDL_SCANCODE_KP_1: return Key::Keypad1;
    case SDL_SCANCODE_KP_2: return Key::Keypad2;
    case SDL_SCANCODE_KP_3: return Key::Keypad3;
    case SDL_SCANCODE_KP_4: return Key::Keypad4;
    case SDL_SCANCODE_KP_5: return Key::Keypad5;
    case SDL_SCANCODE_KP_6: return Key::Keypad6;
    case SDL_SCANCODE_KP_7: return Key::Keypad7;
    case SDL_SCANCODE_KP_8: return Key::Keypad8;
    case SDL_SCANCODE_KP_9: return Key::Keypad9;
    case SDL_SCANCODE_LSHIFT: case SDL_SCANCODE_RSHIFT: return Key::Shift;
    case SDL_SCANCODE_LCTRL: case SDL_SCANCODE_RCTRL: return Key::Ctrl;
    case SDL_SCANCODE_LALT: case SDL_SCANCODE_RALT: return Key::Alt;
    case SDL_SCANCODE_F4: return Key::F4;
    case SDL_SCANCODE_F5: return Key::F5;
    case SDL_SCANCODE_F9: return Key::F9;
    case SDL_SCANCODE_F10: return Key::F10;
    case SDL_SCANCODE_F12: return Key::F12;
    default: return std::nullopt;
  }
}

std::optional<PadButton> PadFromSdl(std::uint8_t button) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_A: return PadButton::A;
    case SDL_CONTROLLER_BUTTON_B: return PadButton::B;
    case SDL_CONTROLLER_BUTTON_X: return PadButton::X;
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return PadButton::Up;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return PadButton::Down;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return PadButton::Left;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return PadButton::Right;
    default: return std::nullopt;
  }
}

class SdlPlatform final : public Platform {
public:
  explicit SdlPlatform(const SdlOptions& options);
  ~SdlPlatform() override;

  std::uint64_t NowMs() override { return SDL_GetTicks64() - StartTicks; }
  void SleepUntilMs(std::uint64_t deadline) override;
  std::vector<InputEvent> PumpEvents(std::uint64_t frame) override;
  std::vector<InputEvent> TakeInputEvents() override { return std::exchange(Pending, {}); }
  bool KeyDown(Key key) override { return Held[static_cast<std::size_t>(key)]; }
  bool IsActive() override { return Window == nullptr || Focused; }
  bool QuitRequested() override { return Quit; }
  void Present(const TVantraBoard& board) override;
  void SetScreenMode(ScreenMode mode, bool zoom) override;
  void SetTitle(std::string_view title) override;
  int AudioRate() override { return kAudioRate; }
  void SetAudioSource(AudioSource* source) override;
  void LockAudio() override { if (Device != 0) SDL_LockAudioDevice(Device); }
  void UnlockAudio() override { if (Device != 0) SDL_UnlockAudioDevice(Device); }
  void ShowError(std::string_view caption, std::string_view text) override;

private:
  static void AudioCallback(void* self, Uint8* stream, int bytes);
  void OpenWindow();
  void OpenAudio();
  void HandleEvent(const SDL_Event& event, std::vector<InputEvent>& fresh);
  SDL_Rect OutputRect() const;

  SdlOptions Options;
  std::uint64_t StartTicks = 0;
  SDL_Window* Window = nullptr;
  SDL_Renderer* Renderer = nullptr;
  SDL_Texture* Texture = nullptr;
  SDL_AudioDeviceID Device = 0;
  AudioSource* Source = nullptr;
  AudioClock SilentClock{kAudioRate};
  std::vector<SDL_GameController*> Controllers;
  std::vector<InputEvent> Pending;
  std::bitset<static_cast<std::size_t>(Key::Count)> Held;
  ScreenMode Mode = ScreenMode::smWindow;
  bool Zoom = true;
  bool Focused = true;
  bool Quit = false;
};

SdlPlatform::SdlPlatform(const SdlOptions& options) : Options(options) {
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0)
    throw std::runtime_error(std::string("SDL cannot start: ") + SDL_GetError());
  StartTicks = SDL_GetTicks64();
  OpenWindow();
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
    std::cerr << "zarplayer: no game controllers (" << SDL_GetError() << ")\n";
  OpenAudio();
}

SdlPlatform::~SdlPlatform() {
  if (Device != 0) SDL_CloseAudioDevice(Device);
  for (SDL_GameController* pad : Controllers) SDL_GameControllerClose(pad);
  if (Texture != nullptr) SDL_DestroyTexture(Texture);
  if (Renderer != nullptr) SDL_DestroyRenderer(Renderer);
  if (Window != nullptr) SDL_DestroyWindow(Window);
  SDL_Quit();
}

void SdlPlatform::OpenWindow() {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    std::cerr << "zarplayer: no display, running offscreen (" << SDL_GetError() << ")\n";
    return;
  }
  Window = SDL_CreateWindow("Untitled", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                            kBoardWidth * 2, kBoardHeight * 2, SDL_WINDOW_HIDDEN);
  if (Window != nullptr) Renderer = SDL_CreateRenderer(Window, -1, 0);
  if (Renderer == nullptr && Window != nullptr) Renderer = SDL_CreateRenderer(Window, -1, SDL_RENDERER_SOFTWARE);
  if (Renderer != nullptr)
    Texture = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                                kBoardWidth, kBoardHeight);
  if (Texture == nullptr) {
    std::cerr << "zarplayer: no usable window, running offscreen (" << SDL_GetError() << ")\n";
    if (Renderer != nullptr) SDL_DestroyRenderer(Renderer);
    if (Window != nullptr) SDL_DestroyWindow(Window);
    Renderer = nullptr;
    Window = nullptr;
  }
}

void SdlPlatform::OpenAudio() {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    std::cerr << "zarplayer: no audio, running silent (" << SDL_GetError() << ")\n";
    return;
  }
  SDL_AudioSpec want{};
  want.freq = kAudioRate;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = 1024;
  want.callback = &SdlPlatform::AudioCallback;
  want.userdata = this;
  SDL_AudioSpec have{};
  Device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (Device == 0) {
    std::cerr << "zarplayer: no audio device, running silent (" << SDL_GetError() << ")\n";
    return;
  }
  SDL_PauseAudioDevice(Device, 0);
}

void SdlPlatform::AudioCallback(void* self, Uint8* stream, int bytes) {
  auto* platform = static_cast<SdlPlatform*>(self);
  auto* samples = reinterpret_cast<std::int16_t*>(stream);
  std::fill(samples, samples + bytes / 2, std::int16_t{0});
  if (platform->Source != nullptr) platform->Source->Render(samples, bytes / 4);
}

void SdlPlatform::SetAudioSource(AudioSource* source) {
  LockAudio();
  Source = source;
  UnlockAudio();
}

void SdlPlatform::SleepUntilMs(std::uint64_t deadline) {
  // Sleep most of the way, then spin: the frame start stays accurate to the clock.
  for (;;) {
    const std::uint64_t now = NowMs();
    if (now >= deadline) break;
    if (deadline - now > 2) SDL_Delay(static_cast<Uint32>(deadline - now - 2));
  }
  if (Device == 0) SilentClock.PullUntil(NowMs(), Source);
}

std::vector<InputEvent> SdlPlatform::PumpEvents(std::uint64_t) {
  std::vector<InputEvent> fresh;
  SDL_Event event;
  while (SDL_PollEvent(&event)) HandleEvent(event, fresh);
  Pending.insert(Pending.end(), fresh.begin(), fresh.end());
  return fresh;
}

void SdlPlatform::HandleEvent(const SDL_Event& event, std::vector<InputEvent>& fresh) {
  switch (event.type) {
    case SDL_QUIT: Quit = true; break;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) Focused = false;
      if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) Focused = true;
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      if (event.key.repeat) break;
      const auto key = KeyFromScancode(event.key.keysym.scancode);
      if (!key) break;
      const bool down = event.type == SDL_KEYDOWN;
      Held[static_cast<std::size_t>(*key)] = down;
      fresh.push_back({down ? InputEvent::Kind::KeyDown : InputEvent::Kind::KeyUp,
                       static_cast<std::uint8_t>(*key), 0});
      break;
    }
    case SDL_CONTROLLERDEVICEADDED:
      if (SDL_GameController* pad = SDL_GameControllerOpen(event.cdevice.which)) Controllers.push_back(pad);
      break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      if (const auto button = PadFromSdl(event.cbutton.button))
        fresh.push_back({event.type == SDL_CONTROLLERBUTTONDOWN ? InputEvent::Kind::PadDown : InputEvent::Kind::PadUp,
                         static_cast<std::uint8_t>(*button), 0});
      break;
    case SDL_CONTROLLERAXISMOTION:
      if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX || event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY)
        fresh.push_back({InputEvent::Kind::PadAxisMove,
                         static_cast<std::uint8_t>(event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX ? PadAxis::LeftX : PadAxis::LeftY),
                         event.caxis.value});
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (event.button.button == SDL_BUTTON_LEFT || event.button.button == SDL_BUTTON_RIGHT)
        fresh.push_back({event.type == SDL_MOUSEBUTTONDOWN ? InputEvent::Kind::MouseDown : InputEvent::Kind::MouseUp,
                         static_cast<std::uint8_t>(event.button.button == SDL_BUTTON_LEFT ? MouseButton::Left : MouseButton::Right), 0});
      break;
    default: break;
  }
}

SDL_Rect SdlPlatform::OutputRect() const {
  int width = 0, height = 0;
  SDL_GetRendererOutputSize(Renderer, &width, &height);
  // The window is sized to the board (doubled with zoom): it is all picture.
  if (Mode == ScreenMode::smWindow) return {0, 0, width, height};
  // Full screen on the desktop's own mode: the largest whole factor, centred.
  const int factor = std::max(1, std::min(width / kBoardWidth, height / kBoardHeight));
  return {(width - kBoardWidth * factor) / 2, (height - kBoardHeight * factor) / 2, kBoardWidth * factor,
          kBoardHeight * factor};
}

void SdlPlatform::Present(const TVantraBoard& board) {
  if (Renderer == nullptr || board.GetWidth() != kBoardWidth || board.GetHeight() != kBoardHeight) return;
  SDL_UpdateTexture(Texture, nullptr, board.ScanLine(0), kBoardWidth * 2);
  SDL_SetRenderDrawColor(Renderer, 0, 0, 0, 255);
  SDL_RenderClear(Renderer);
  const SDL_Rect dest = OutputRect();
  SDL_RenderCopy(Renderer, Texture, nullptr, &dest);
  SDL_RenderPresent(Renderer);
}

void SdlPlatform::SetScreenMode(ScreenMode mode, bool zoom) {
  Mode = mode;
  Zoom = zoom;
  if (Window == nullptr) return;
  if (mode == ScreenMode::smFullScreen) {
    SDL_SetWindowFullscreen(Window, SDL_WINDOW_FULLSCREEN_DESKTOP);
  } else {
    SDL_SetWindowFullscreen(Window, 0);
    SDL_SetWindowSize(Window, zoom ? kBoardWidth * 2 : kBoardWidth, zoom ? kBoardHeight * 2 : kBoardHeight);
    SDL_SetWindowPosition(Window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  }
  SDL_ShowWindow(Window);
  SDL_ShowCursor(mode == ScreenMode::smFullScreen ? SDL_DISABLE : SDL_ENABLE);
}

void SdlPlatform::SetTitle(std::string_view title) {
  if (Window != nullptr) SDL_SetWindowTitle(Window, std::string(title).c_str());
}

void SdlPlatform::ShowError(std::string_view caption, std::string_view text) {
  const std::string captionText(caption), message(text);
  if (Options.allowMessageBox && Window != nullptr) {
    if (Mode == ScreenMode::smFullScreen) SetScreenMode(ScreenMode::smWindow, Zoom);
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, captionText.c_str(), message.c_str(), Window) == 0) return;
  }
  std::cerr << captionText << ": " << message << "\n";
}

}  // namespace

std::unique_ptr<Platform> CreateSdlPlatform(const SdlOptions& options) {
  return std::make_unique<SdlPlatform>(options);
}
