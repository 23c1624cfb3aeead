// The game's view in the browser build: the page's canvas, drawn with the
// canvas's own 2D image calls (no WebGL), the 800 x 600 picture scaled
// sharply to the page by the page (web/view.js). It stands where the
// desktop's SdlView does: SDL still reads the keyboard, mouse and pads.
#pragma once
#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>

#include "media/platform.h"
#include "media/surface.h"

class BrowserView {
public:
    // Takes the page's canvas as SDL's window; throws MediaError without one.
    explicit BrowserView(const SdlOptions& options);
    ~BrowserView();
    BrowserView(const BrowserView&) = delete;
    BrowserView& operator=(const BrowserView&) = delete;

    // Converts the frame to the canvas's RGBA and hands it to the page.
    void Present(const Surface& surface);
    void WindowEvent(const SDL_WindowEvent& event) {}
    // Full screen is the page's: the canvas's box fills the screen.
    void SetFullScreen(bool on);
    bool IsFullScreen() const;
    // SDL gives pointer positions in the window's 800 x 600 pixels, whatever
    // the canvas's size on the page.
    void GamePoint(int x, int y, int& gameX, int& gameY) const;
    std::string PathName() const { return "canvas 2d"; }
    SDL_Window* Window() const { return window_; }
    // The page shows the message over the game (no blocking dialog).
    void ShowError(const std::string& title, const std::string& message);

private:
    SDL_Window* window_ = nullptr;
    std::unique_ptr<uint32_t[]> rgba_;  // one frame as the canvas takes it
};
