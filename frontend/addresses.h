// What the shell is asked to open, resolved: an address carries its scheme
// and is opened as it is; anything else is a file named the program's way
// (".\readme.txt"), relative to the working directory or the site.
#pragma once

#include <string>
#include <string_view>

namespace wuffel {

bool isAddress(std::string_view target);
// A file's name with forward slashes and no leading "./": "readme.txt".
std::string relativePathOf(std::string_view target);
// Where the page finds a target: an address as it is, the documents the site
// carries (the two the menu names) by their path there, and "" for anything
// else, as the manual.
std::string siteAddressOf(std::string_view target);

}  // namespace wuffel
