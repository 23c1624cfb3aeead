// The browser's view: each presented frame widened from 5-6-5 to the RGBA
// bytes of the canvas's ImageData and handed to the page in one call. The
// page (web/view.js) scales it sharply onto its canvas and owns full screen;
// the calls into it are the Module.kavrix* functions it defines.
#include "media/browser_view.h"

#include <emscripten.h>

#include <algorithm>

#include "media/media_error.h"

namespace {

// The JavaScript inside EM_JS is left as written.
// clang-format off
// Hands one RGBA frame to the page, which scales it onto its canvas
// (web/view.js), or puts it on the canvas as it is; the first one tells the
// page that the game has drawn (it hides the loading screen and measures the
// start-up).
EM_JS(void, PutCanvasFrame, (const uint32_t* rgba, int width, int height), {
    var pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    if (Module['kavrixPresent']) {
        Module['kavrixPresent'](pixels, width, height);
    } else {
        var context = Module.kavrixContext || (Module.kavrixContext = Module['canvas'].getContext('2d', {alpha: false}));
        context.putImageData(new ImageData(pixels, width, height), 0, 0);
    }
    if (Module['kavrixFrameDrawn']) Module['kavrixFrameDrawn']();
});

EM_JS(void, AskFullScreen, (int on), {
    if (Module['kavrixSetFullScreen']) Module['kavrixSetFullScreen'](!!on);
});

EM_JS(int, PageIsFullScreen, (), { return document.fullscreenElement ? 1 : 0; });

EM_JS(void, ShowPageMessage, (const char* title, const char* message), {
    var text = UTF8ToString(message);
    if (Module['kavrixShowMessage']) Module['kavrixShowMessage'](UTF8ToString(title), text);
    else console.error(text);
});

// clang-format on

// 5-6-5 to the canvas's R, G, B, A bytes (little-endian 0xAABBGGRR), each
// channel repeating its top bits in its low ones as the desktop does.
void ConvertToRgba(const uint16_t* source, uint32_t* target, int count) {
    for (int i = 0; i < count; ++i) {
        const uint32_t p = source[i];
        const uint32_t r = p >> 11, g = (p >> 5) & 0x3F, b = p & 0x1F;
        target[i] = 0xFF000000u | ((b << 3 | b >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (r << 3 | r >> 2);
    }
}

}  // namespace

BrowserView::BrowserView(const SdlOptions& options) : rgba_(new uint32_t[size_t(kSurfaceWidth) * kSurfaceHeight]) {
    window_ = SDL_CreateWindow(options.title.c_str(), 0, 0, kSurfaceWidth, kSurfaceHeight, SDL_WINDOW_SHOWN);
    if (!window_) throw MediaError(std::string("Cannot use the page's canvas: ") + SDL_GetError());
}

BrowserView::~BrowserView() {
    if (window_) SDL_DestroyWindow(window_);
}

void BrowserView::Present(const Surface& surface) {
    ConvertToRgba(&surface.pixels[0][0], rgba_.get(), kSurfaceWidth * kSurfaceHeight);
    PutCanvasFrame(rgba_.get(), kSurfaceWidth, kSurfaceHeight);
}

void BrowserView::SetFullScreen(bool on) { AskFullScreen(on ? 1 : 0); }

bool BrowserView::IsFullScreen() const { return PageIsFullScreen() != 0; }

void BrowserView::GamePoint(int x, int y, int& gameX, int& gameY) const {
    gameX = std::clamp(x, 0, kSurfaceWidth - 1);
    gameY = std::clamp(y, 0, kSurfaceHeight - 1);
}

void BrowserView::ShowError(const std::string& title, const std::string& message) {
    ShowPageMessage(title.c_str(), message.c_str());
}
