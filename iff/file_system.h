// Path and file-system helpers shared by the loader, the writers and the
// program. Both "/" and "\" separate folders.
#pragma once

#include <cstdint>
#include <string>

namespace planora {

// -1 when the path's attributes can be read (a folder passes too), else 0.
// An empty path gives 0. Never throws.
int16_t FileExists(const std::string& path);

// The text after the last folder separator; the whole path when there is
// none; empty when the path ends in a separator.
std::string GetFileName(const std::string& path);

// The text before the last "." of the whole path, unless there is no "." or
// the last one is the first character: then the path unchanged. A dot in a
// folder name counts when the file name has none ("C:\my.pics\boat" gives
// "C:\my"), as it always has.
std::string StripExtension(const std::string& path);

// The path up to and including its last folder separator; empty when it has
// none.
std::string FolderPart(const std::string& path);

// Where Save Bitmap (and the converter by default) writes: the source's
// folder + its name without extension + "." + extension. A dot in a folder
// name never counts here. "C:\pics\a.b.ilbm", "bmp" gives "C:\pics\a.b.bmp".
std::string PathBesideSource(const std::string& sourcePath, const std::string& extension);

}  // namespace planora
