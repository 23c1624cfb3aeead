// The desktop icon: the player's fighter on a patch of night sky, drawn with
// the same painter as the game's own picture of it.
#pragma once
#include <string>

// Writes hicolor/<N>x<N>/apps/kavrix.png for N = 32, 48, 64, 128 and 256 and
// hicolor/scalable/apps/kavrix.svg under dir (the icon theme's layout).
// Throws std::runtime_error naming a file that cannot be written.
void WriteIcons(const std::string& dir);
// The browser page's icons: kavrix-32.png (its tab), kavrix-192.png (the
// installed app) and kavrix.svg (every larger size), straight in dir.
void WriteWebIcons(const std::string& dir);

// Cairo's SVG with each gradient fill drawn as bands of flat colour clipped to
// its shape, so that renderers without gradients (ImageMagick's own) draw the
// icon as librsvg does. Throws std::runtime_error on a gradient it cannot read.
std::string FlattenSvgGradients(const std::string& svg);
