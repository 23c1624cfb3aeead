// The main menu scene: the console background with its monitor (stars, static
// noise, the title, the ship chasing a meteor, the maker's logo), the item
// row with hover highlight and the pulsing frame of the open item, the green
// terminal typing system lines, the open page, captions and counters.
#include "frontend/menu.h"

#include <string_view>

#include "frontend/menu_layout.h"
#include "frontend/menu_pages.h"
#include "media/canvas.h"
#include "state/media_calls.h"
#include "state/saved_files.h"
#include "state/world.h"

namespace {

// The monitor window inside the console; stars fall from its top to y 216.
constexpr int kMonitorLeft = 25, kMonitorRight = 773;
constexpr int kMonitorTop = 25;
constexpr int kStarBottom = 216;
constexpr int kMenuStars = 50;
constexpr int kNoiseLeft = 26, kNoiseRight = 773, kNoiseTop = 26, kNoiseBottom = 241;

// Outline colours of the open item's pulsing frame, bright green to black.
constexpr uint32_t kPulseColours[12] = {0xFF00, 0xEA00, 0xD500, 0xBF00, 0xAA00, 0x9500,
                                        0x8020, 0x6A1B, 0x5515, 0x4010, 0x2B0B, 0x000000};

// Terminal: 12 lines of 17 pixels from (32, 362) in green "system" 25 bold.
constexpr int kTerminalX = 32, kTerminalY = 362, kTerminalLineStep = 17;
constexpr int kTerminalLines = 12;
constexpr uint32_t kTerminalGreen = 0x8000;

void MenuPicture(World& w, std::string_view name, int x, int y, int frame = 0) {
    DrawPicture(w, w.media.MenuObr, name, x, y, frame);
}

// The first 50 stars fall through the monitor and re-enter at its top.
void MonitorStars(World& w) {
    Surface& surface = *w.media.back;
    LockSurface(surface);
    for (int i = 0; i < kMenuStars; ++i) {
        Star& star = w.game.Stars[i];
        PutPixel(surface, star.X, star.Y, uint32_t(star.Colour));
        star.Y += star.Speed;
        if (star.Y > kStarBottom) {
            star.Y = kMonitorTop;
            star.X = kMonitorLeft + RandomInt(w, kMonitorRight - kMonitorLeft);
            star.Speed = uint8_t(1 + RandomInt(w, 3));
        }
    }
    UnlockSurface(surface);
}

// Static noise between two monitor pictures: one random grey per pixel,
// drawn column by column.
void MonitorNoise(World& w) {
    static constexpr uint16_t kGreys[4] = {ColorTo565(0x888888), ColorTo565(0x888888), ColorTo565(0x6C6C6C),
                                           ColorTo565(0x4C4C4C)};
    Surface& surface = *w.media.back;
    LockSurface(surface);
    for (int x = kNoiseLeft; x <= kNoiseRight; ++x)
        for (int y = kNoiseTop; y <= kNoiseBottom; ++y) surface.pixels[y][x] = kGreys[RandomInt(w, 4)];
    UnlockSurface(surface);
}

// The fighter flies to and fro, turning at the edges or now and then after
// 200 pixels; a meteor drifts down to the right.
void MonitorShipAndMeteor(World& w) {
    FrontEnd& f = w.front;
    if (f.MonitorShipSpeed < 0) {
        f.MonitorShipX -= 4;
        --f.MonitorShipSpeed;
    } else {
        f.MonitorShipX += 4;
        ++f.MonitorShipSpeed;
    }
    const bool chance = RandomInt(w, 100) == 0;
    const int32_t sinceTurn = f.MonitorShipX - f.MonitorShipTurnX;
    if ((chance && (sinceTurn > 200 || sinceTurn < -200)) || f.MonitorShipX > 718 || f.MonitorShipX < 70) {
        f.MonitorShipSpeed = -f.MonitorShipSpeed;
        f.MonitorShipTurnX = f.MonitorShipX;
    }
    const int frame = f.MonitorShipSpeed == 0 ? 1 : (f.MonitorShipSpeed > 0 ? 2 : 0);
    DrawPicture(w, w.media.Rakety, "Kavrix", f.MonitorShipX - 42, 136, frame);
    if (f.MeteorY < 236) {
        ++f.MeteorX;
        ++f.MeteorY;
    } else {
        f.MeteorY = -350;
        f.MeteorX = RandomInt(w, 500) - 400;
    }
    MenuPicture(w, "Meteor", f.MeteorX, f.MeteorY);
}

void MonitorContent(World& w) {
    const int32_t mode = w.front.MonitorMode;
    if (mode > 0) MonitorStars(w);
    if (mode < 0) MonitorNoise(w);
    if (mode == 1) MenuPicture(w, "Kavrix", 234, 76);
    if (mode == 2) MonitorShipAndMeteor(w);
}

// The open item is lit and framed by four outlines whose green pulses.
void OpenItem(World& w) {
    FrontEnd& f = w.front;
    const int item = int(f.MenuPage);  // the pages of the six items
    if (item < 0 || item > 5) return;
    const MenuArea area = ItemArea(item);
    MenuPicture(w, "Polozky", area.left, area.top, item);
    const int step = f.SelectionPulse < 0 ? -f.SelectionPulse : f.SelectionPulse;
    Canvas& canvas = TakeCanvas(w);
    canvas.BrushColor = kPulseColours[step > 11 ? 11 : step];
    // Four outlines inside the item, the first a row below its top.
    for (int j = 0; j < 4; ++j)
        FrameRect(canvas, Rect{area.left + j, area.top + 1 + j, area.right - j, area.bottom - j});
    ReleaseCanvas(canvas);
    if (f.PulseTick == 4) {
        if (f.SelectionPulse > -12 && f.SelectionPulse < 11) ++f.SelectionPulse;
        else f.SelectionPulse = int8_t(-f.SelectionPulse);
    }
}

// The mouse on the logo hotspot calls up the maker's logo through noise;
// leaving it sends the monitor through noise to a random picture.
void LogoHotspot(World& w) {
    FrontEnd& f = w.front;
    if (f.LogoHoverState == 1) {
        f.LogoHoverState = 2;
        f.MonitorMode = -3;
        f.MonitorTimer = 0;
    }
    if (f.LogoHoverState == 3) {
        f.LogoHoverState = 0;
        f.MonitorMode = -(1 + RandomInt(w, 3));
        f.MonitorTimer = 0;
    }
}

uint32_t TypingColour(int index, int typed, int length) {
    if (typed >= length) return kTerminalGreen;
    if (index == typed) return 0xFF00;
    if (index == typed - 1) return 0xD500;
    if (index == typed - 2) return 0xAA00;
    if (index == typed - 3) return 0x8020;
    return kTerminalGreen;
}

std::string_view PrikazyLine(const FrontEnd& f, size_t index) {
    const auto& lines = f.Prikazy;
    return index < lines.size() ? std::string_view(lines[index]) : std::string_view();
}

// The terminal types random system lines; once full it scrolls up.
void Terminal(World& w) {
    FrontEnd& f = w.front;
    if (f.TerminalLineCount == 0) {
        f.TerminalLineCount = 1;
        f.TerminalLines[1].Assign(PrikazyLine(f, 0));
    }
    Canvas& canvas = TakeCanvas(w);
    canvas.Font.Name = "system";
    canvas.Font.Height = 25;
    canvas.Font.Bold = true;
    canvas.Font.Color = kTerminalGreen;
    canvas.BrushColor = 0;
    for (int k = 1; k < f.TerminalLineCount; ++k)
        TextOut(canvas, kTerminalX, kTerminalY + kTerminalLineStep * (k - 1), f.TerminalLines[k].View());

    // The last line appears character by character, the newest glowing.
    const int k = f.TerminalLineCount;
    const int y = kTerminalY + kTerminalLineStep * (k - 1);
    const std::string_view line = f.TerminalLines[k].View();
    const int length = int(line.size());
    const int typed = f.TerminalTypedChars;
    // Each character is written where the previous one ended, and the pen
    // moves on by its width, so the line being typed is spaced like the
    // finished lines above it.
    int penX = kTerminalX;
    for (int i = 1; i <= typed && i <= length; ++i) {
        const std::string_view ch = line.substr(size_t(i - 1), 1);
        canvas.Font.Color = TypingColour(i, typed, length);
        TextOut(canvas, penX, y, ch);
        penX += TextWidth(canvas, ch);
    }
    if (f.BlinkCounter < 10) {
        canvas.BrushColor = kTerminalGreen;
        FillRect(canvas, Rect{penX, y, penX + 13, y + 17});
        canvas.BrushColor = 0;
    }
    ReleaseCanvas(canvas);

    if (f.TerminalTick != 1) return;
    if (length > typed) {
        ++f.TerminalTypedChars;
    } else if (RandomInt(w, 7) == 0) {
        f.TerminalTypedChars = 1;
        if (f.TerminalLineCount < kTerminalLines) {
            ++f.TerminalLineCount;
        } else {
            for (int j = 1; j < kTerminalLines; ++j) f.TerminalLines[j] = f.TerminalLines[j + 1];
        }
        const int count = int(f.Prikazy.size());
        f.TerminalLines[f.TerminalLineCount].Assign(PrikazyLine(f, size_t(1 + RandomInt(w, count - 1))));
    }
}

// Noise lasts six frames and leads to the next picture; a picture stays
// for 600 to 700 frames, the logo as long as the mouse rests on it.
void MonitorTiming(World& w) {
    FrontEnd& f = w.front;
    if (f.MonitorMode < 0) {
        if (f.MonitorTimer < 5) {
            ++f.MonitorTimer;
        } else {
            f.MonitorTimer = 0;
            f.MonitorMode = f.MonitorMode == -1 ? 2 : 1;
            if (f.LogoHoverState == 2) f.MonitorMode = 3;
        }
    } else if (f.MonitorMode > 0) {
        if (f.MonitorTimer < 600 + RandomInt(w, 100)) {
            ++f.MonitorTimer;
        } else {
            f.MonitorTimer = 0;
            if (f.LogoHoverState != 2) f.MonitorMode = -f.MonitorMode;
        }
    }
}

void Counters(FrontEnd& f) {
    f.BlinkCounter = f.BlinkCounter < 20 ? f.BlinkCounter + 1 : 0;
    f.TerminalTick = uint8_t(1 - f.TerminalTick);
    f.PulseTick = f.PulseTick < 4 ? f.PulseTick + 1 : 0;
}

}  // namespace

void RunMenu(World& w) {
    FrontEnd& f = w.front;
    FillSurface(*w.media.back, 0);
    MenuPicture(w, "Podklad", 0, 0);
    // The monitor shows through the window of a second background copy.
    MonitorContent(w);
    MenuPicture(w, "Podklad", 0, 0);
    if (f.HoverItem < 6) {
        const MenuArea area = ItemArea(f.HoverItem);
        MenuPicture(w, "Polozky", area.left, area.top, f.HoverItem);
    }
    OpenItem(w);
    LogoHotspot(w);
    if (f.MonitorMode == 3) MenuPicture(w, "Quorbant", 187, 44);
    if (f.IdleTimer == 0 || f.MenuPage == Page::None) Terminal(w);
    if (f.IdleTimer > 0) DrawMenuPage(w);
    if (f.HoverItem != 10) DrawItemCaption(w);
    MonitorTiming(w);
    Counters(f);
}

void EnterFinishedScore(World& w) {
    const ProgressRecord& p = w.game.Progress;
    if (p.Lives != 0 || p.Score <= 0) return;
    w.front.NewScoreRank = 0;
    w.front.NewScoreRank = uint8_t(EnterScore(w));
}

void RunMenuScene(World& w) {
    if (BASS_ChannelIsActive(w.media.music, w.shell.MusicChannel) != 1 && w.shell.MusicEnabled) {
        w.shell.MusicChannel = BASS_MusicLoad(w.media.music, false, "audio\\Intro.mod", 0, 0, 0);
        BASS_MusicPlay(w.media.music, w.shell.MusicChannel);
    }
    RunMenu(w);
    DrawPicture(w, w.media.MenuObr, "Sipka", w.front.MouseX, w.front.MouseY, 0);
}
