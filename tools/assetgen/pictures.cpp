// Placeholder until the picture generators are built.
#include "assetgen.h"
void GeneratePictures(const std::string&) {}
void WriteContactSheet(const std::string&) {}
