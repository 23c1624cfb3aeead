// The media calls as gameplay and front end make them: sounds played only
// while SoundEnabled is set, pictures looked up by name at every use, the
// canvas of the back surface.
#pragma once
#include <cstdint>
#include <string_view>

struct World;
struct PictureCollection;
struct Canvas;

// FindSound + PlaySound(wait = false), only when SoundEnabled.
void PlayGameSound(World& w, std::string_view name);
// FindSound + StopSound (regardless of SoundEnabled).
void StopGameSound(World& w, std::string_view name);
// FindPicture + DrawPattern on the back surface.
void DrawPicture(World& w, const PictureCollection& collection, std::string_view name, int x, int y, int frame);
// SurfaceCanvas of the back surface.
Canvas& TakeCanvas(World& w);
