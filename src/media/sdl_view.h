// The game's window on SDL2 and the one routine that presents a frame in it:
// windowed (resizable, any size) or desktop full screen, the 800 x 600 picture
// kept in its aspect with black bars, sharp, whole-number or linear scaling,
// high-DPI pixel sizes. Frames go through the GPU renderer
// or, where that renderer is a software rasteriser, straight into the
// window's own pixels; only the rows that changed are sent, and a frame equal
// to the last one is not sent at all.
#pragma once
#include <SDL.h>

#include <memory>
#include <string>

#include "media/platform.h"
#include "media/sharp_scaler.h"
#include "media/surface.h"
#include "media/view_geometry.h"

class SdlView {
public:
    // Opens the window; throws MediaError when it or its renderer cannot be made.
    explicit SdlView(const SdlOptions& options);
    ~SdlView();
    SdlView(const SdlView&) = delete;
    SdlView& operator=(const SdlView&) = delete;

    void Present(const Surface& surface);
    // A window event: the size, exposure or display changed.
    void WindowEvent(const SDL_WindowEvent& event);
    void SetFullScreen(bool on);
    bool IsFullScreen() const { return fullScreen_; }
    // The game pixel under a pointer at window point (x, y).
    void GamePoint(int x, int y, int& gameX, int& gameY) const;
    std::string PathName() const { return pathName_; }
    SDL_Window* Window() const { return window_; }

private:
    void SetIcon();
    void ChoosePresentPath(PresentPath wanted);
    bool SoftwareGl();
    void Relayout();
    void PrepareSharp();
    void Draw(int firstRow, int endRow);
    void DrawGpu(int firstRow, int endRow);
    void DrawSurface(int firstRow, int endRow);
    void Release();
    [[noreturn]] void Fail(const char* what);

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;  // the GPU path only
    SDL_Texture* texture_ = nullptr;
    SDL_Texture* enlarged_ = nullptr;  // the GPU path's sharp step: the frame at a whole multiple
    SDL_Surface* staging_ = nullptr;   // XRGB copy of the frame when the surface path scales
    bool useGpu_ = false;
    bool canEnlarge_ = false;  // the renderer draws into textures
    bool fullScreen_ = false;
    SDL_Rect windowed_{};  // the window that leaving full screen returns to
    ScaleMode scaling_ = ScaleMode::Sharp;
    SharpScaler sharp_;  // the surface path's sharp scaling
    std::string pathName_;
    // The last frame presented: rows that equal it are not sent again.
    std::unique_ptr<Surface> last_ = std::make_unique<Surface>();
    bool haveLast_ = false;
    bool redrawAll_ = true;    // after a resize, exposure or toggle: bars and picture anew
    int outW_ = 0, outH_ = 0;  // output size in pixels
    ViewRect picture_;
};
