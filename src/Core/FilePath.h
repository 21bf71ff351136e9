// Scene files name paths Windows-style; this maps them onto the local file system.
#pragma once

#include <string>

namespace KUV {

// The local path for a path written in a scene or by the host: backslashes read
// as slashes; when that path does not exist, each component is matched without
// regard to case; a relative path the working directory does not hold is then
// looked for under the production folders (below). Returns the slash form
// unchanged when nothing matches.
std::string ResolvePath(const std::string& written);

// The authoring tools read a production from anywhere: the folders above the root
// scene they were given, nearest first, are where relative paths that the working
// directory does not hold are looked for. The player sets none, and so reads
// relative to its working directory only; an empty path sets none again. Set
// before loading.
void SetProductionFolders(const std::string& rootScenePath);

// A name that is the same for every path leading to the same file.
std::string FileIdentity(const std::string& resolvedPath);

} // namespace KUV
