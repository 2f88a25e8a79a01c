// The files of one directory whose names end in a given way: the update package a station
// finds on its drive.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

// The full paths of the entries of dir (the root directory when dir is empty) whose names
// end with suffix and that are not directories, in the order the file system lists them.
// Empty when the directory cannot be read.
std::vector<std::string> filesEndingWith(const std::string& dir, std::string_view suffix);

}  // namespace tarnwick
