// Scene files name paths Windows-style; this maps them onto the local file system.
#pragma once

#include <string>

namespace KUV {

// The local path for a path written in a scene or by the host: backslashes read
// as slashes; when that path does not exist, each component is matched without
// regard to case. Returns the slash form unchanged when nothing matches.
std::string ResolvePath(const std::string& written);

// A name that is the same for every path leading to the same file.
std::string FileIdentity(const std::string& resolvedPath);

} // namespace KUV
