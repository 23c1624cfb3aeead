// The window and its present routine. The path is chosen once, at start-up:
// the GPU renderer when it is real hardware, the window's own pixels (SDL's
// X11 shared-memory image, no GL) when the renderer would be a software
// rasteriser, which would spend two threads drawing one texture. Either way
// the game converts its 5-6-5 rows itself, only the rows that changed.
#include "media/sdl_view.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "media/media_error.h"
#include "media/pixel_convert.h"
#include "media/window_icon.h"

namespace {

constexpr size_t kRowBytes = sizeof(uint16_t) * kSurfaceWidth;
constexpr const char* kSoftwareRasterisers[] = {"llvmpipe", "softpipe", "Software Rasterizer",
                                                "SWR",      "swrast",   "lavapipe"};

// Whether a surface holds 32-bit XRGB (or ARGB) pixels that the game's own
// conversion writes directly.
bool IsXrgb(const SDL_PixelFormat* format) {
    return format->BytesPerPixel == 4 && format->Rmask == 0xFF0000 && format->Gmask == 0xFF00 && format->Bmask == 0xFF;
}

// Whether the machine has a GPU device node at all. Without one, OpenGL can
// only be a software rasteriser, so the GPU renderer is not even tried (its
// probe alone would load Mesa and LLVM: some 60 MB).
bool GpuDevicePresent() {
#ifdef __linux__
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("card", 0) == 0 || name.rfind("renderD", 0) == 0) return true;
    }
    return std::filesystem::exists("/dev/nvidiactl", ec);
#else
    return true;
#endif
}

void ConvertRows(const Surface& from, int firstRow, int endRow, uint8_t* to, int pitch) {
    for (int y = firstRow; y < endRow; ++y)
        Convert565ToXrgb(from.pixels[y], reinterpret_cast<uint32_t*>(to + size_t(y - firstRow) * size_t(pitch)),
                         kSurfaceWidth);
}

}  // namespace

SdlView::SdlView(const SdlOptions& options) : fullScreen_(options.fullScreen), scaling_(options.scaling) {
    SDL_Rect usable{0, 0, kSurfaceWidth, kSurfaceHeight};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) SDL_GetDisplayBounds(0, &usable);
    const int scale = WindowScaleThatFits(std::max(1, options.scale), usable.w, usable.h);
    Uint32 flags = SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED, w = kSurfaceWidth * scale, h = kSurfaceHeight * scale;
    SDL_Rect desktop;
    if (fullScreen_ && SDL_GetDisplayBounds(0, &desktop) == 0) {
        // Full screen starts at the desktop's size and place, so the view
        // covers the screen even where no window manager honours the request.
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        x = desktop.x;
        y = desktop.y;
        w = desktop.w;
        h = desktop.h;
    }
    window_ = SDL_CreateWindow(options.title.c_str(), x, y, w, h, flags);
    if (!window_) Fail("Cannot open the game window");
    SetIcon();
    // The GPU renderer may make the window anew (for OpenGL) at its windowed
    // size and place, so the window it returns to is set only afterwards:
    // otherwise, where no window manager honours full screen, the new window
    // would be the small one.
    ChoosePresentPath(options.present);
    windowed_ = {int(SDL_WINDOWPOS_CENTERED), int(SDL_WINDOWPOS_CENTERED), kSurfaceWidth * scale,
                 kSurfaceHeight * scale};
    if (fullScreen_) {
        SDL_SetWindowSize(window_, windowed_.w, windowed_.h);
        SDL_SetWindowPosition(window_, windowed_.x, windowed_.y);
    }
    Relayout();
}

SdlView::~SdlView() { Release(); }

// The desktop icon on the window (X11's _NET_WM_ICON), when it can be found.
void SdlView::SetIcon() {
    std::vector<uint8_t> pixels;
    int size = 0;
    if (!ReadWindowIcon(pixels, size)) return;
    SDL_Surface* icon =
        SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), size, size, 32, size * 4, SDL_PIXELFORMAT_RGBA32);
    if (!icon) return;
    SDL_SetWindowIcon(window_, icon);
    SDL_FreeSurface(icon);
}

void SdlView::Release() {
    if (staging_) SDL_FreeSurface(staging_);
    if (enlarged_) SDL_DestroyTexture(enlarged_);
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    staging_ = nullptr;
    enlarged_ = nullptr;
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
}

void SdlView::Fail(const char* what) {
    const std::string message = std::string(what) + ": " + SDL_GetError();
    Release();
    throw MediaError(message);
}

// The OpenGL renderer's name (GL_RENDERER) names Mesa's software rasterisers.
bool SdlView::SoftwareGl() {
    using GetString = const unsigned char* (*)(unsigned);
    const auto glGetString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    if (!glGetString) return false;
    const unsigned char* name = glGetString(0x1F01);  // GL_RENDERER
    if (!name) return false;
    const std::string gl = reinterpret_cast<const char*>(name);
    pathName_ += ", " + gl;
    for (const char* soft : kSoftwareRasterisers)
        if (gl.find(soft) != std::string::npos) return true;
    return false;
}

void SdlView::ChoosePresentPath(PresentPath wanted) {
    if (wanted == PresentPath::Auto && !GpuDevicePresent()) pathName_ = "no GPU device";
    else if (wanted != PresentPath::Surface) {
        renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
        if (!renderer_ && wanted == PresentPath::Gpu)
            renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
        if (!renderer_ && wanted == PresentPath::Gpu) Fail("Cannot create the renderer");
    }
    SDL_RendererInfo info{};
    if (renderer_ && SDL_GetRendererInfo(renderer_, &info) == 0) {
        pathName_ = std::string("gpu (") + info.name;
        const bool softwareRenderer = (info.flags & SDL_RENDERER_SOFTWARE) != 0;
        const bool gl = std::strncmp(info.name, "opengl", 6) == 0;
        const bool software = softwareRenderer || (gl && SoftwareGl());
        pathName_ += ")";
        if (software && wanted == PresentPath::Auto) pathName_ = "a software rasteriser: " + pathName_;
        if (software && wanted == PresentPath::Auto) {
            SDL_DestroyRenderer(renderer_);
            renderer_ = nullptr;
        }
    }
    useGpu_ = renderer_ != nullptr;
    if (!useGpu_) {
        // The window's own pixels, without SDL putting a GL texture behind them.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        pathName_ = pathName_.empty() ? "surface" : "surface (" + pathName_ + ")";
        return;
    }
    // A 32-bit texture the renderer holds natively, filled by the game's own
    // conversion; 5-6-5 only where no such format is offered.
    Uint32 format = SDL_PIXELFORMAT_RGB565;
    for (Uint32 i = 0; i < info.num_texture_formats; ++i) {
        if (info.texture_formats[i] == SDL_PIXELFORMAT_RGB888 || info.texture_formats[i] == SDL_PIXELFORMAT_ARGB8888) {
            format = info.texture_formats[i];
            break;
        }
    }
    texture_ = SDL_CreateTexture(renderer_, format, SDL_TEXTUREACCESS_STREAMING, kSurfaceWidth, kSurfaceHeight);
    if (!texture_) Fail("Cannot create the screen texture");
    SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_NONE);
    SDL_SetTextureScaleMode(texture_, scaling_ == ScaleMode::Linear ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    canEnlarge_ = (info.flags & SDL_RENDERER_TARGETTEXTURE) != 0;
}

void SdlView::Relayout() {
    if (useGpu_) SDL_GetRendererOutputSize(renderer_, &outW_, &outH_);
    else SDL_GetWindowSizeInPixels(window_, &outW_, &outH_);
    picture_ = PictureRect(outW_, outH_, scaling_ == ScaleMode::Integer);
    PrepareSharp();
    redrawAll_ = true;
}

// Sharp scaling's first step for the picture's new size: on the GPU a target
// texture at the whole multiple, drawn with nearest neighbour and smoothed
// down to the picture (none where the picture is that multiple already); on
// the window's pixels the scaler's tables.
void SdlView::PrepareSharp() {
    if (scaling_ != ScaleMode::Sharp || picture_.w <= 0 || picture_.h <= 0) return;
    if (!useGpu_) {
        sharp_.Resize(picture_.w, picture_.h);
        return;
    }
    const int factor = SharpUpscaleFactor(picture_);
    const int w = kSurfaceWidth * factor, h = kSurfaceHeight * factor;
    int haveW = 0, haveH = 0;
    if (enlarged_) SDL_QueryTexture(enlarged_, nullptr, nullptr, &haveW, &haveH);
    if (haveW == w && haveH == h) return;
    if (enlarged_) SDL_DestroyTexture(enlarged_);
    enlarged_ = nullptr;
    if (!canEnlarge_ || (w == picture_.w && h == picture_.h)) {
        SDL_SetTextureScaleMode(texture_, canEnlarge_ ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
        return;
    }
    SDL_SetTextureScaleMode(texture_, SDL_ScaleModeNearest);
    enlarged_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, w, h);
    if (!enlarged_) {  // no room for it: plain linear scaling instead
        SDL_SetTextureScaleMode(texture_, SDL_ScaleModeLinear);
        return;
    }
    SDL_SetTextureBlendMode(enlarged_, SDL_BLENDMODE_NONE);
    SDL_SetTextureScaleMode(enlarged_, SDL_ScaleModeLinear);
}

void SdlView::Present(const Surface& surface) {
    int first = 0, end = kSurfaceHeight;
    if (haveLast_ && !redrawAll_) {
        while (first < end && std::memcmp(surface.pixels[first], last_->pixels[first], kRowBytes) == 0) ++first;
        if (first == end) return;  // the same frame again: the screen already shows it
        while (end > first && std::memcmp(surface.pixels[end - 1], last_->pixels[end - 1], kRowBytes) == 0) --end;
    }
    std::memcpy(last_->pixels[first], surface.pixels[first], kRowBytes * size_t(end - first));
    haveLast_ = true;
    Draw(first, end);
}

void SdlView::Draw(int firstRow, int endRow) {
    if (redrawAll_) {
        firstRow = 0;
        endRow = kSurfaceHeight;
    }
    if (useGpu_) DrawGpu(firstRow, endRow);
    else DrawSurface(firstRow, endRow);
    redrawAll_ = false;
}

void SdlView::DrawGpu(int firstRow, int endRow) {
    SDL_Rect band{0, firstRow, kSurfaceWidth, endRow - firstRow};
    void* pixels = nullptr;
    int pitch = 0;
    if (band.h > 0 && SDL_LockTexture(texture_, &band, &pixels, &pitch) == 0) {
        Uint32 format = 0;
        SDL_QueryTexture(texture_, &format, nullptr, nullptr, nullptr);
        if (format == SDL_PIXELFORMAT_RGB565) {
            for (int y = firstRow; y < endRow; ++y)
                std::memcpy(static_cast<uint8_t*>(pixels) + size_t(y - firstRow) * size_t(pitch), last_->pixels[y],
                            kRowBytes);
        } else {
            ConvertRows(*last_, firstRow, endRow, static_cast<uint8_t*>(pixels), pitch);
        }
        SDL_UnlockTexture(texture_);
    }
    const SDL_Rect target{picture_.x, picture_.y, picture_.w, picture_.h};
    if (enlarged_) {
        SDL_SetRenderTarget(renderer_, enlarged_);
        SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
        SDL_SetRenderTarget(renderer_, nullptr);
    }
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, enlarged_ ? enlarged_ : texture_, nullptr, &target);
    SDL_RenderPresent(renderer_);
}

void SdlView::DrawSurface(int firstRow, int endRow) {
    SDL_Surface* screen = SDL_GetWindowSurface(window_);
    if (!screen || picture_.w <= 0 || picture_.h <= 0) return;
    if (screen->w != outW_ || screen->h != outH_) {  // resized before its event arrived
        outW_ = screen->w;
        outH_ = screen->h;
        picture_ = PictureRect(outW_, outH_, scaling_ == ScaleMode::Integer);
        PrepareSharp();
        redrawAll_ = true;
        firstRow = 0;
        endRow = kSurfaceHeight;
    }
    if (redrawAll_) SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 0));
    const SDL_Rect target{picture_.x, picture_.y, picture_.w, picture_.h};
    if (picture_.w == kSurfaceWidth && picture_.h == kSurfaceHeight && IsXrgb(screen->format)) {
        // One to one: the rows are converted straight into the window.
        if (SDL_MUSTLOCK(screen)) SDL_LockSurface(screen);
        uint8_t* at = static_cast<uint8_t*>(screen->pixels) + size_t(picture_.y + firstRow) * size_t(screen->pitch) +
                      size_t(picture_.x) * 4;
        ConvertRows(*last_, firstRow, endRow, at, screen->pitch);
        if (SDL_MUSTLOCK(screen)) SDL_UnlockSurface(screen);
        if (redrawAll_) {
            SDL_UpdateWindowSurface(window_);
        } else {
            const SDL_Rect band{picture_.x, picture_.y + firstRow, kSurfaceWidth, endRow - firstRow};
            SDL_UpdateWindowSurfaceRects(window_, &band, 1);
        }
        return;
    }
    // Scaled (or another pixel format): the frame in XRGB first, then scaled
    // into the window: sharp by the game's own scaler, only the picture rows
    // that show a changed game row; whole factors and linear by SDL's stretch.
    if (!staging_)
        staging_ = SDL_CreateRGBSurfaceWithFormat(0, kSurfaceWidth, kSurfaceHeight, 32, SDL_PIXELFORMAT_RGB888);
    if (!staging_) return;
    ConvertRows(*last_, firstRow, endRow,
                static_cast<uint8_t*>(staging_->pixels) + size_t(firstRow) * size_t(staging_->pitch), staging_->pitch);
    if (scaling_ == ScaleMode::Sharp && IsXrgb(screen->format) && sharp_.Width() == picture_.w &&
        sharp_.Height() == picture_.h) {
        if (SDL_MUSTLOCK(screen)) SDL_LockSurface(screen);
        uint8_t* at =
            static_cast<uint8_t*>(screen->pixels) + size_t(picture_.y) * size_t(screen->pitch) + size_t(picture_.x) * 4;
        int first = 0, end = 0;
        sharp_.Scale(static_cast<const uint8_t*>(staging_->pixels), staging_->pitch, firstRow, endRow, at,
                     screen->pitch, first, end);
        if (SDL_MUSTLOCK(screen)) SDL_UnlockSurface(screen);
        const SDL_Rect band{picture_.x, picture_.y + first, picture_.w, end - first};
        if (redrawAll_) SDL_UpdateWindowSurface(window_);
        else if (band.h > 0) SDL_UpdateWindowSurfaceRects(window_, &band, 1);
        return;
    }
    SDL_Rect to = target;
    if (staging_->format->format != screen->format->format) SDL_BlitScaled(staging_, nullptr, screen, &to);
    else if (scaling_ == ScaleMode::Integer) SDL_SoftStretch(staging_, nullptr, screen, &to);
    else SDL_SoftStretchLinear(staging_, nullptr, screen, &to);
    if (redrawAll_) SDL_UpdateWindowSurface(window_);
    else SDL_UpdateWindowSurfaceRects(window_, &target, 1);
}

void SdlView::WindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_DISPLAY_CHANGED: Relayout(); break;
        case SDL_WINDOWEVENT_EXPOSED: redrawAll_ = true; break;
        default: return;
    }
    // The last frame again, at once: a resize or toggle never leaves the
    // window empty until the next frame (or at all while the game pauses).
    if (haveLast_) Draw(0, kSurfaceHeight);
}

// The window is also moved and sized by the game itself, to the desktop and
// back, as at start-up: where no window manager honours the full-screen
// request, SDL would lay the picture out for the desktop in a window that
// stayed as it was.
void SdlView::SetFullScreen(bool on) {
    if (on == fullScreen_) return;
    SDL_Rect desktop;
    if (on) {
        SDL_GetWindowPosition(window_, &windowed_.x, &windowed_.y);
        SDL_GetWindowSize(window_, &windowed_.w, &windowed_.h);
        if (SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(window_)), &desktop) == 0) {
            SDL_SetWindowPosition(window_, desktop.x, desktop.y);
            SDL_SetWindowSize(window_, desktop.w, desktop.h);
        }
    }
    if (SDL_SetWindowFullscreen(window_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) return;
    if (!on) {
        SDL_SetWindowSize(window_, windowed_.w, windowed_.h);
        SDL_SetWindowPosition(window_, windowed_.x, windowed_.y);
    }
    fullScreen_ = on;
    Relayout();
    if (haveLast_) Draw(0, kSurfaceHeight);
}

void SdlView::GamePoint(int x, int y, int& gameX, int& gameY) const {
    int winW = 0, winH = 0;
    SDL_GetWindowSize(window_, &winW, &winH);
    GamePixelAt(x, y, winW, winH, outW_, outH_, picture_, gameX, gameY);
}
