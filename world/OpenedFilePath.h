// OpenedFilePath.h: the full path of the scenario or saved game being opened,
// kept by the routine that opens a file before the scenario loader reads it,
// so that the parts loaded afterwards (the shapefile overlays) can find the
// files that lie beside it. The loader itself lives elsewhere.
#pragma once

// Keeps a copy of path as the file being opened; null is taken as "".
void SetOpenedFilePath(const char* path);

// The path last kept, as given ('\' or '/' separators); "" before any file
// has been opened.
const char* GetOpenedFilePath();
