// The local paths of a "text/uri-list", as a drop delivers them, byte for byte: a file name
// that is not valid UTF-8 survives the percent-decoding unchanged.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace host {

// Every "file:" URI of the list as a path (its host part dropped); comments, blank lines
// and URIs of other schemes are left out.
std::vector<std::string> LocalPathsFromUriList(std::string_view uriList);

}  // namespace host
