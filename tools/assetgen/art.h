// The painters of each collection. A painter draws one frame of a manifest
// entry into a Cairo context whose origin is the frame's top-left corner and
// whose clip is the frame; it returns false for a name it does not know.
#pragma once
#include <cairo.h>

#include "picture_manifest.h"

bool PaintRakety(const ManifestEntry& e, int frame, cairo_t* cr);
bool PaintObrazky(const ManifestEntry& e, int frame, cairo_t* cr);
bool PaintMenu(const ManifestEntry& e, int frame, cairo_t* cr);
bool PaintMesto(const ManifestEntry& e, int frame, cairo_t* cr);
bool PaintVelkalod(const ManifestEntry& e, int frame, cairo_t* cr);

// Renders the whole picture of an entry (all frames in one row) into a new
// ARGB surface; throws std::runtime_error when no painter knows the entry.
cairo_surface_t* RenderEntry(const ManifestEntry& e);
