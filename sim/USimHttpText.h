#pragma once

#include <string>

namespace Sim {

// The standard reason phrase of an HTTP status ("Not Found" for 404).
std::string ReasonPhrase(int status);

// A minimal HTML page, as a web server shows for its own errors.
std::string HtmlPage(const std::string& title, const std::string& text);

} // namespace Sim
