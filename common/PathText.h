#pragma once

#include <functional>
#include <string>

namespace pwx {

// The last name of a folder path, without separators: "Hall A" for "/srv/sites/Hall A/";
// empty for a root or an empty text. "/" and "\" both separate.
std::string FolderName(const std::string& folder);

// A path shortened in its middle by whole folder names until `fits` accepts it: the first
// folder, an ellipsis and as many of the last names as fit ("/srv/…/Hall A/"), then only the
// ellipsis and the last name. The path itself when it fits; the shortest form when nothing
// does, which the caller may cut further.
std::string ElidePath(const std::string& path, const std::function<bool(const std::string&)>& fits);

}  // namespace pwx
