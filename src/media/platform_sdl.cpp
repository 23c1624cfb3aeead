// The real game's platform on SDL2: the window and its present routine
// (sdl_view), pads and joysticks (sdl_pads), window events as the game's
// mouse, character, focus and full-screen events, keyboard sampling, the
// audio device that drives the mixer, and the 16 ms frame tick. The browser
// build is the same platform with the page's canvas as its view
// (browser_view), the page's animation frames as its clock and the page's
// touch controls beside the keyboard, mouse and pads (page_controls).
#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "media/cp1250.h"
#include "media/key_bindings.h"
#include "media/media_error.h"
#include "media/mixer.h"
#include "media/platform.h"
#include "media/sdl_pads.h"
#ifdef __EMSCRIPTEN__
#include "media/browser_view.h"
#include "media/page_controls.h"
using View = BrowserView;
// The browser plays sound from the page's thread between frames: a longer
// buffer keeps it going through a slow frame.
constexpr int kAudioSamples = 2048;
#else
#include "media/sdl_view.h"
using View = SdlView;
constexpr int kAudioSamples = 512;
#endif

namespace {

// The desktop entry's name (cz.quorbant.kavrix.desktop) and StartupWMClass.
constexpr const char* kWindowClass = "cz.quorbant.kavrix";

struct ScancodeKey {
    SDL_Scancode scancode;
    GameKey key;
};

// The physical keys behind the game's key names, by their place on the
// keyboard (a US layout names them); both Enter keys count as Enter.
// clang-format off
constexpr ScancodeKey kScancodes[] = {
    {SDL_SCANCODE_UP, GameKey::Up},         {SDL_SCANCODE_DOWN, GameKey::Down},
    {SDL_SCANCODE_LEFT, GameKey::Left},     {SDL_SCANCODE_RIGHT, GameKey::Right},
    {SDL_SCANCODE_SPACE, GameKey::Space},   {SDL_SCANCODE_RETURN, GameKey::Enter},
    {SDL_SCANCODE_KP_ENTER, GameKey::Enter}, {SDL_SCANCODE_ESCAPE, GameKey::Escape},
    {SDL_SCANCODE_F1, GameKey::F1},         {SDL_SCANCODE_F2, GameKey::F2},
    {SDL_SCANCODE_F3, GameKey::F3},         {SDL_SCANCODE_F4, GameKey::F4},
    {SDL_SCANCODE_F5, GameKey::F5},         {SDL_SCANCODE_F6, GameKey::F6},
    {SDL_SCANCODE_F7, GameKey::F7},         {SDL_SCANCODE_F8, GameKey::F8},
    {SDL_SCANCODE_F9, GameKey::F9},         {SDL_SCANCODE_F10, GameKey::F10},
    {SDL_SCANCODE_F11, GameKey::F11},       {SDL_SCANCODE_F12, GameKey::F12},
    {SDL_SCANCODE_0, GameKey::Key0},        {SDL_SCANCODE_1, GameKey::Key1},
    {SDL_SCANCODE_2, GameKey::Key2},        {SDL_SCANCODE_3, GameKey::Key3},
    {SDL_SCANCODE_4, GameKey::Key4},        {SDL_SCANCODE_5, GameKey::Key5},
    {SDL_SCANCODE_6, GameKey::Key6},        {SDL_SCANCODE_7, GameKey::Key7},
    {SDL_SCANCODE_8, GameKey::Key8},        {SDL_SCANCODE_9, GameKey::Key9},
    {SDL_SCANCODE_KP_0, GameKey::KP0},      {SDL_SCANCODE_KP_1, GameKey::KP1},
    {SDL_SCANCODE_KP_2, GameKey::KP2},      {SDL_SCANCODE_KP_3, GameKey::KP3},
    {SDL_SCANCODE_KP_4, GameKey::KP4},      {SDL_SCANCODE_KP_5, GameKey::KP5},
    {SDL_SCANCODE_KP_6, GameKey::KP6},      {SDL_SCANCODE_KP_7, GameKey::KP7},
    {SDL_SCANCODE_KP_8, GameKey::KP8},      {SDL_SCANCODE_KP_9, GameKey::KP9},
    {SDL_SCANCODE_KP_PLUS, GameKey::KPPlus}, {SDL_SCANCODE_KP_MINUS, GameKey::KPMinus},
    {SDL_SCANCODE_KP_MULTIPLY, GameKey::KPMultiply}, {SDL_SCANCODE_KP_DIVIDE, GameKey::KPDivide},
    {SDL_SCANCODE_KP_PERIOD, GameKey::KPPeriod},
    {SDL_SCANCODE_A, GameKey::A}, {SDL_SCANCODE_B, GameKey::B}, {SDL_SCANCODE_C, GameKey::C},
    {SDL_SCANCODE_D, GameKey::D}, {SDL_SCANCODE_E, GameKey::E}, {SDL_SCANCODE_F, GameKey::F},
    {SDL_SCANCODE_G, GameKey::G}, {SDL_SCANCODE_H, GameKey::H}, {SDL_SCANCODE_I, GameKey::I},
    {SDL_SCANCODE_J, GameKey::J}, {SDL_SCANCODE_K, GameKey::K}, {SDL_SCANCODE_L, GameKey::L},
    {SDL_SCANCODE_M, GameKey::M}, {SDL_SCANCODE_N, GameKey::N}, {SDL_SCANCODE_O, GameKey::O},
    {SDL_SCANCODE_P, GameKey::P}, {SDL_SCANCODE_Q, GameKey::Q}, {SDL_SCANCODE_R, GameKey::R},
    {SDL_SCANCODE_S, GameKey::S}, {SDL_SCANCODE_T, GameKey::T}, {SDL_SCANCODE_U, GameKey::U},
    {SDL_SCANCODE_V, GameKey::V}, {SDL_SCANCODE_W, GameKey::W}, {SDL_SCANCODE_X, GameKey::X},
    {SDL_SCANCODE_Y, GameKey::Y}, {SDL_SCANCODE_Z, GameKey::Z},
    {SDL_SCANCODE_TAB, GameKey::Tab},       {SDL_SCANCODE_BACKSPACE, GameKey::Backspace},
    {SDL_SCANCODE_INSERT, GameKey::Insert}, {SDL_SCANCODE_DELETE, GameKey::Delete},
    {SDL_SCANCODE_HOME, GameKey::Home},     {SDL_SCANCODE_END, GameKey::End},
    {SDL_SCANCODE_PAGEUP, GameKey::PageUp}, {SDL_SCANCODE_PAGEDOWN, GameKey::PageDown},
    {SDL_SCANCODE_LSHIFT, GameKey::LeftShift}, {SDL_SCANCODE_RSHIFT, GameKey::RightShift},
    {SDL_SCANCODE_LCTRL, GameKey::LeftCtrl}, {SDL_SCANCODE_RCTRL, GameKey::RightCtrl},
    {SDL_SCANCODE_LALT, GameKey::LeftAlt},  {SDL_SCANCODE_RALT, GameKey::RightAlt},
    {SDL_SCANCODE_MINUS, GameKey::Minus},   {SDL_SCANCODE_EQUALS, GameKey::Equals},
    {SDL_SCANCODE_LEFTBRACKET, GameKey::LeftBracket}, {SDL_SCANCODE_RIGHTBRACKET, GameKey::RightBracket},
    {SDL_SCANCODE_BACKSLASH, GameKey::Backslash}, {SDL_SCANCODE_SEMICOLON, GameKey::Semicolon},
    {SDL_SCANCODE_APOSTROPHE, GameKey::Apostrophe}, {SDL_SCANCODE_COMMA, GameKey::Comma},
    {SDL_SCANCODE_PERIOD, GameKey::Period}, {SDL_SCANCODE_SLASH, GameKey::Slash},
    {SDL_SCANCODE_GRAVE, GameKey::Grave},
};
// clang-format on

// The key a scancode names, or Count for one the game does not know.
GameKey KeyOfScancode(SDL_Scancode scancode) {
    for (const ScancodeKey& sk : kScancodes)
        if (sk.scancode == scancode) return sk.key;
    return GameKey::Count;
}

// The audio device pulls the mixer's output; MixAudio takes the mixer lock itself.
void AudioCallback(void* userdata, Uint8* stream, int len) {
    MixAudio(*static_cast<Mixer*>(userdata), reinterpret_cast<int16_t*>(stream), len / 4);
}

// Appends one KeyPress per character of typed UTF-8 text that has a cp1250 code.
void AppendTypedText(const char* utf8, std::vector<PlatformEvent>& events) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8);
    while (*p) {
        char32_t ch = *p;
        int extra = 0;
        if (ch >= 0xF0) {
            ch &= 0x07;
            extra = 3;
        } else if (ch >= 0xE0) {
            ch &= 0x0F;
            extra = 2;
        } else if (ch >= 0xC0) {
            ch &= 0x1F;
            extra = 1;
        }
        ++p;
        for (int i = 0; i < extra && (*p & 0xC0) == 0x80; ++i, ++p) ch = (ch << 6) | (*p & 0x3F);
        const uint8_t code = UnicodeToCp1250(ch);
        if (code >= 0x20) {
            PlatformEvent event{EventKind::KeyPress};
            event.key = code;
            events.push_back(event);
        }
    }
}

class SdlPlatform final : public Platform {
public:
    explicit SdlPlatform(const SdlOptions& options) : fullScreenKeys_(options.bindings.Of(KeyAction::FullScreen)) {
        // Pads keep their true state while the window is in the background;
        // the platform itself reads nothing then, so a button released out
        // of focus is up when the focus comes back.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        // The window's class (X11) and app id (Wayland) name the desktop
        // entry, so docks and task bars put window and launcher together.
        // Set only where the player has not chosen one.
        SDL_setenv("SDL_VIDEO_X11_WMCLASS", kWindowClass, 0);
        SDL_setenv("SDL_VIDEO_WAYLAND_WMCLASS", kWindowClass, 0);
        if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER) != 0)
            throw MediaError(std::string("Cannot start the display: ") + SDL_GetError());
        try {
            view_ = std::make_unique<View>(options);
        } catch (...) {
            SDL_Quit();
            throw;
        }
        pads_ = std::make_unique<SdlPads>(options.bindings);
        SDL_ShowCursor(SDL_DISABLE);
        SDL_StartTextInput();
    }

    ~SdlPlatform() override {
        CloseAudio();
        pads_.reset();
        view_.reset();
        SDL_Quit();
    }

    void Present(const Surface& surface) override { view_->Present(surface); }

    void PollEvents(std::vector<PlatformEvent>& events) override {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            switch (e.type) {
                case SDL_QUIT: events.push_back(PlatformEvent{EventKind::Quit}); break;
                case SDL_WINDOWEVENT:
                    if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
                        focus_ = true;
                        events.push_back(PlatformEvent{EventKind::FocusGained});
                    } else if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                        focus_ = false;
                        events.push_back(PlatformEvent{EventKind::FocusLost});
                    }
                    view_->WindowEvent(e.window);
                    break;
                case SDL_MOUSEMOTION: {
                    PlatformEvent event{EventKind::MouseMove};
                    view_->GamePoint(e.motion.x, e.motion.y, event.x, event.y);
                    events.push_back(event);
                    break;
                }
                case SDL_MOUSEBUTTONUP:
                    if (e.button.button == SDL_BUTTON_LEFT) {
                        PlatformEvent event{EventKind::Click};
                        view_->GamePoint(e.button.x, e.button.y, event.x, event.y);
                        events.push_back(event);
                    }
                    break;
                case SDL_TEXTINPUT: AppendTypedText(e.text.text, events); break;
                case SDL_KEYDOWN: KeyDown(e.key, events); break;
                case SDL_CONTROLLERBUTTONDOWN:
                    if (focus_) pads_->ButtonDown(e.cbutton, events);
                    break;
                case SDL_JOYDEVICEADDED: pads_->DeviceAdded(e.jdevice.which); break;
                case SDL_JOYDEVICEREMOVED: pads_->DeviceRemoved(e.jdevice.which); break;
                default: break;
            }
        }
#ifdef __EMSCRIPTEN__
        TakePageEvents(events);  // the page's taps and typed characters
#endif
    }

    KeySet HeldKeys() override {
        KeySet keys;
        if (!focus_) return keys;  // input is read only while the game is in front
        int count = 0;
        const Uint8* state = SDL_GetKeyboardState(&count);
        for (const ScancodeKey& sk : kScancodes)
            if (int(sk.scancode) < count && state[sk.scancode]) keys.set(size_t(sk.key));
        // Alt+Enter switches the full screen; the Enter in it is not the game's.
        if (SDL_GetModState() & KMOD_ALT) keys.reset(size_t(GameKey::Enter));
        return keys;
    }

    InputSet JoystickStates() override {
        if (!focus_) return InputSet();
#ifdef __EMSCRIPTEN__
        return pads_->States() | PageInputStates();  // the touch screen's buttons count as a pad's
#else
        return pads_->States();
#endif
    }

    void PadStick(int& x, int& y) override {
        if (focus_) pads_->Stick(x, y);
        else x = y = 0;
    }

    bool OpenAudio(Mixer& mixer) override {
        if (audio_) return true;
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            std::fprintf(stderr, "No sound: %s\n", SDL_GetError());
            return false;
        }
        SDL_AudioSpec want{};
        want.freq = 44100;
        want.format = AUDIO_S16SYS;
        want.channels = 2;
        want.samples = kAudioSamples;
        want.callback = AudioCallback;
        want.userdata = &mixer;
        SDL_AudioSpec have{};
        audio_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        if (!audio_) {
            std::fprintf(stderr, "No sound: %s\n", SDL_GetError());
            return false;
        }
        {
            std::lock_guard<std::mutex> guard(mixer.lock);
            mixer.available = true;
        }
        mixer_ = &mixer;
        SDL_PauseAudioDevice(audio_, 0);
        return true;
    }

    void CloseAudio() override {
        if (!audio_) return;
        SDL_CloseAudioDevice(audio_);  // waits for a running callback to finish
        audio_ = 0;
        if (mixer_) {
            std::lock_guard<std::mutex> guard(mixer_->lock);
            mixer_->available = false;
        }
        mixer_ = nullptr;
    }

    uint32_t Milliseconds() override { return SDL_GetTicks(); }

    // Frames start on a fixed grid of 16 ms from the first tick, so the
    // interval never drifts; a tick missed by more than a whole frame (a
    // stall) starts the grid again from now rather than running a burst.
    // In the browser the page's animation frames pace the ticks
    // (RunFrameLoop), so nothing waits here.
    bool WaitForTick() override {
#ifndef __EMSCRIPTEN__
        const auto now = Clock::now();
        if (nextTick_ == Clock::time_point{}) {  // the first frame at once
            nextTick_ = now;
            return focus_;
        }
        nextTick_ += kTick;
        if (nextTick_ > now) std::this_thread::sleep_until(nextTick_);
        else if (now - nextTick_ > kTick) nextTick_ = now;
#endif
        return focus_;
    }

    bool HasFocus() override { return focus_; }

    void ShowError(const std::string& title, const std::string& message) override {
        std::fprintf(stderr, "%s: %s\n", title.c_str(), message.c_str());
#ifdef __EMSCRIPTEN__
        view_->ShowError(title, message);
#else
        SDL_ShowCursor(SDL_ENABLE);
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), message.c_str(), view_->Window());
#endif
    }

    void Minimise() override { SDL_MinimizeWindow(view_->Window()); }
    bool IsHeadless() const override { return false; }
    void SetFullScreen(bool on) override { view_->SetFullScreen(on); }
    bool IsFullScreen() const override { return view_->IsFullScreen(); }
    std::string PresentPathName() const override { return view_->PathName(); }
#ifdef __EMSCRIPTEN__
    void ShowControls(const ControlsHint& hint) override { ShowPageControls(hint); }
#endif

private:
    using Clock = std::chrono::steady_clock;
    [[maybe_unused]] static constexpr std::chrono::milliseconds kTick{16};  // not waited for in the browser

    // Escape, Enter, Backspace and Tab as the game's characters; Alt+Enter
    // and the full-screen keys (F11 unless the player chose others) switch
    // between window and full screen instead.
    void KeyDown(const SDL_KeyboardEvent& key, std::vector<PlatformEvent>& events) {
        const bool enter = key.keysym.sym == SDLK_RETURN || key.keysym.sym == SDLK_KP_ENTER;
        const GameKey pressed = KeyOfScancode(key.keysym.scancode);
        const bool fullScreenKey = pressed != GameKey::Count && fullScreenKeys_.Holds(pressed);
        if (fullScreenKey || (enter && (key.keysym.mod & KMOD_ALT))) {
            if (!key.repeat) events.push_back(PlatformEvent{EventKind::ToggleFullScreen});
            return;
        }
        uint8_t code = 0;
        switch (key.keysym.sym) {
            case SDLK_RETURN:
            case SDLK_KP_ENTER: code = 13; break;
            case SDLK_BACKSPACE: code = 8; break;
            case SDLK_ESCAPE: code = 27; break;
            case SDLK_TAB: code = 9; break;
            default: break;
        }
        if (code) {
            PlatformEvent event{EventKind::KeyPress};
            event.key = code;
            events.push_back(event);
        }
    }

    KeyList fullScreenKeys_;
    std::unique_ptr<View> view_;
    std::unique_ptr<SdlPads> pads_;
    SDL_AudioDeviceID audio_ = 0;
    Mixer* mixer_ = nullptr;
    bool focus_ = true;
    Clock::time_point nextTick_{};
};

}  // namespace

std::unique_ptr<Platform> CreateSdlPlatform(const SdlOptions& options) {
    return std::make_unique<SdlPlatform>(options);
}
