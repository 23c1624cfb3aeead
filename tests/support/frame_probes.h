// What a test looks at after a frame: whether a sound effect started, and
// whether a picture's frame stands on the back surface where it belongs.
#pragma once

struct World;
struct PictureCollection;

// Stops every voice, so the next SoundStarted sees only what follows.
void SilenceAll(World& w);
// Whether any voice of the named sound effect is sounding.
bool SoundStarted(World& w, const char* name);
bool AnySoundPlaying(World& w);

// The share (0..1) of the pixels that frame `frame` of the picture sets at
// (x, y) which the back surface shows as the picture has them; with
// ignoreBlack, black pixels of the picture are not counted (pages and the
// console share them). 0 when the picture sets no pixel there.
double ShownShare(const World& w, const PictureCollection& collection, const char* name, int x, int y, int frame,
                  bool ignoreBlack = false);
// True when every pixel of the picture's frame stands at (x, y).
bool Shows(const World& w, const PictureCollection& collection, const char* name, int x, int y, int frame = 0);
