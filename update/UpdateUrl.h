// Addresses of the update page and the download: the scheme rule and the split into the
// parts a connection needs. Pure functions; never throw except std::bad_alloc.
#pragma once

#include <string>

namespace selvane {

struct TUrlParts {
    std::string Scheme;  // "http" or "https"
    std::string Server;  // host, with ":port" when the address gives one
    std::string Object;  // path and query, from the first "/" after the server on
};

// The address unchanged when it begins with "http://" or "https://" (any letter case),
// otherwise with "http://" put in front; "" gives "http://".
std::string WithHttpScheme(const std::string& address);

// Removes a leading "http://" or "https://" (any letter case) and splits the rest at its
// first "/". An address without a scheme is taken as http. Without a "/" after the server,
// Server is empty and Object holds the whole rest: such an address cannot be fetched.
TUrlParts SplitUrl(const std::string& address);

}  // namespace selvane
