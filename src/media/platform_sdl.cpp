// The real game's platform on SDL2: a desktop full-screen (or windowed) view
// of the 800 x 600 surface, letterboxed through a streaming RGB565 texture;
// window events as the game's mouse, character and focus events; keyboard
// and first-joystick sampling; the audio device that drives the mixer; the
// 16 ms frame tick.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "media/cp1250.h"
#include "media/media_error.h"
#include "media/mixer.h"
#include "media/platform.h"

namespace {

struct ScancodeKey {
    SDL_Scancode scancode;
    GameKey key;
};

// The physical keys behind the game's key names; both Enter keys count as Enter.
constexpr ScancodeKey kScancodes[] = {
    {SDL_SCANCODE_UP, GameKey::Up},         {SDL_SCANCODE_DOWN, GameKey::Down},
    {SDL_SCANCODE_LEFT, GameKey::Left},     {SDL_SCANCODE_RIGHT, GameKey::Right},
    {SDL_SCANCODE_H, GameKey::H},           {SDL_SCANCODE_J, GameKey::J},
    {SDL_SCANCODE_K, GameKey::K},           {SDL_SCANCODE_L, GameKey::L},
    {SDL_SCANCODE_SPACE, GameKey::Space},   {SDL_SCANCODE_RETURN, GameKey::Enter},
    {SDL_SCANCODE_KP_ENTER, GameKey::Enter}, {SDL_SCANCODE_ESCAPE, GameKey::Escape},
    {SDL_SCANCODE_F1, GameKey::F1},         {SDL_SCANCODE_F2, GameKey::F2},
    {SDL_SCANCODE_F3, GameKey::F3},         {SDL_SCANCODE_F12, GameKey::F12},
    {SDL_SCANCODE_1, GameKey::Key1},        {SDL_SCANCODE_2, GameKey::Key2},
    {SDL_SCANCODE_3, GameKey::Key3},        {SDL_SCANCODE_KP_1, GameKey::KP1},
    {SDL_SCANCODE_KP_2, GameKey::KP2},      {SDL_SCANCODE_KP_3, GameKey::KP3},
    {SDL_SCANCODE_KP_PLUS, GameKey::KPPlus}, {SDL_SCANCODE_KP_MINUS, GameKey::KPMinus},
};

constexpr uint32_t kTickMs = 16;

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
        if (ch >= 0xF0) { ch &= 0x07; extra = 3; }
        else if (ch >= 0xE0) { ch &= 0x0F; extra = 2; }
        else if (ch >= 0xC0) { ch &= 0x1F; extra = 1; }
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
    explicit SdlPlatform(const SdlOptions& options) {
        if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK | SDL_INIT_TIMER) != 0)
            throw MediaError(std::string("Cannot start the display: ") + SDL_GetError());
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
        const Uint32 flags = options.window ? SDL_WINDOW_SHOWN : (SDL_WINDOW_SHOWN | SDL_WINDOW_FULLSCREEN_DESKTOP);
        // Full screen starts at the desktop's size and place, so the view covers
        // the screen even where no window manager honours the full-screen request.
        int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED, w = kSurfaceWidth, h = kSurfaceHeight;
        SDL_Rect desktop;
        if (!options.window && SDL_GetDisplayBounds(0, &desktop) == 0) {
            x = desktop.x;
            y = desktop.y;
            w = desktop.w;
            h = desktop.h;
        }
        window_ = SDL_CreateWindow(options.title.c_str(), x, y, w, h, flags);
        if (!window_) Fail("Cannot open the game window");
        renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
        if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
        if (!renderer_) Fail("Cannot create the renderer");
        // The logical size letterboxes the surface and maps mouse events to its pixels.
        SDL_RenderSetLogicalSize(renderer_, kSurfaceWidth, kSurfaceHeight);
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                                     kSurfaceWidth, kSurfaceHeight);
        if (!texture_) Fail("Cannot create the screen texture");
        SDL_ShowCursor(SDL_DISABLE);
        SDL_StartTextInput();
        OpenFirstJoystick();
        lastTick_ = SDL_GetTicks();
    }

    ~SdlPlatform() override {
        CloseAudio();
        if (joystick_) SDL_JoystickClose(joystick_);
        if (texture_) SDL_DestroyTexture(texture_);
        if (renderer_) SDL_DestroyRenderer(renderer_);
        if (window_) SDL_DestroyWindow(window_);
        SDL_Quit();
    }

    void Present(const Surface& surface) override {
        void* pixels = nullptr;
        int pitch = 0;
        if (SDL_LockTexture(texture_, nullptr, &pixels, &pitch) == 0) {
            if (pitch == int(sizeof(surface.pixels[0]))) {
                std::memcpy(pixels, surface.pixels, sizeof(surface.pixels));
            } else {
                for (int y = 0; y < kSurfaceHeight; ++y)
                    std::memcpy(static_cast<uint8_t*>(pixels) + size_t(y) * size_t(pitch), surface.pixels[y],
                                sizeof(surface.pixels[0]));
            }
            SDL_UnlockTexture(texture_);
        }
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
        SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
        SDL_RenderPresent(renderer_);
    }

    void PollEvents(std::vector<PlatformEvent>& events) override {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            switch (e.type) {
            case SDL_QUIT:
                events.push_back(PlatformEvent{EventKind::Quit});
                break;
            case SDL_WINDOWEVENT:
                if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
                    focus_ = true;
                    events.push_back(PlatformEvent{EventKind::FocusGained});
                } else if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                    focus_ = false;
                    events.push_back(PlatformEvent{EventKind::FocusLost});
                }
                break;
            case SDL_MOUSEMOTION: {
                PlatformEvent event{EventKind::MouseMove};
                SurfacePoint(e.motion.x, e.motion.y, event);
                events.push_back(event);
                break;
            }
            case SDL_MOUSEBUTTONUP:
                if (e.button.button == SDL_BUTTON_LEFT) {
                    PlatformEvent event{EventKind::Click};
                    SurfacePoint(e.button.x, e.button.y, event);
                    events.push_back(event);
                }
                break;
            case SDL_TEXTINPUT:
                AppendTypedText(e.text.text, events);
                break;
            case SDL_KEYDOWN: {
                uint8_t code = 0;
                switch (e.key.keysym.sym) {
                case SDLK_RETURN: case SDLK_KP_ENTER: code = 13; break;
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
                break;
            }
            case SDL_JOYDEVICEADDED:
                if (!joystick_) OpenFirstJoystick();
                break;
            case SDL_JOYDEVICEREMOVED:
                if (joystick_ && e.jdevice.which == SDL_JoystickInstanceID(joystick_)) {
                    SDL_JoystickClose(joystick_);
                    joystick_ = nullptr;
                    OpenFirstJoystick();
                }
                break;
            default:
                break;
            }
        }
    }

    KeySet HeldKeys() override {
        KeySet keys;
        if (!focus_) return keys;  // input is read only while the game is in front
        SDL_PumpEvents();
        int count = 0;
        const Uint8* state = SDL_GetKeyboardState(&count);
        for (const ScancodeKey& sk : kScancodes)
            if (int(sk.scancode) < count && state[sk.scancode]) keys.set(size_t(sk.key));
        return keys;
    }

    InputSet JoystickStates() override {
        if (!joystick_ || !focus_) return InputSet();
        SDL_JoystickUpdate();
        auto axis = [&](int n) {
            if (SDL_JoystickNumAxes(joystick_) <= n) return 0;
            const int raw = SDL_JoystickGetAxis(joystick_, n);
            return std::clamp(raw * 1000 / 32767, -1000, 1000);
        };
        unsigned buttons = 0;
        const int count = std::min(SDL_JoystickNumButtons(joystick_), 32);
        for (int i = 0; i < count; ++i)
            if (SDL_JoystickGetButton(joystick_, i)) buttons |= 1u << i;
        return StatesFromJoystick(axis(0), axis(1), buttons);
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
        want.samples = 512;
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

    bool WaitForTick() override {
        const uint32_t target = lastTick_ + kTickMs;
        const uint32_t now = SDL_GetTicks();
        if (int32_t(target - now) > 0) {
            SDL_Delay(target - now);
            lastTick_ = target;
        } else {
            // Behind: like a window timer, missed ticks are not made up in a burst.
            lastTick_ = now;
        }
        return focus_;
    }

    bool HasFocus() override { return focus_; }

    void ShowError(const std::string& title, const std::string& message) override {
        std::fprintf(stderr, "%s: %s\n", title.c_str(), message.c_str());
        SDL_ShowCursor(SDL_ENABLE);
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), message.c_str(), window_);
    }

    void Minimise() override { SDL_MinimizeWindow(window_); }

    bool IsHeadless() const override { return false; }

private:
    [[noreturn]] void Fail(const char* what) {
        const std::string message = std::string(what) + ": " + SDL_GetError();
        if (texture_) SDL_DestroyTexture(texture_);
        if (renderer_) SDL_DestroyRenderer(renderer_);
        if (window_) SDL_DestroyWindow(window_);
        SDL_Quit();
        throw MediaError(message);
    }

    void OpenFirstJoystick() {
        if (SDL_NumJoysticks() > 0) joystick_ = SDL_JoystickOpen(0);
    }

    // Mouse positions arrive in logical (surface) pixels; keep them on the surface.
    static void SurfacePoint(int x, int y, PlatformEvent& event) {
        event.x = std::clamp(x, 0, kSurfaceWidth - 1);
        event.y = std::clamp(y, 0, kSurfaceHeight - 1);
    }

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    SDL_Joystick* joystick_ = nullptr;
    SDL_AudioDeviceID audio_ = 0;
    Mixer* mixer_ = nullptr;
    bool focus_ = true;
    uint32_t lastTick_ = 0;
};

}  // namespace

std::unique_ptr<Platform> CreateSdlPlatform(const SdlOptions& options) {
    return std::make_unique<SdlPlatform>(options);
}
