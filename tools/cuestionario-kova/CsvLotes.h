#pragma once

#include <initializer_list>
#include <string>
#include <vector>

// One CSV line (RFC 4180: CR LF at the end; a field is quoted only when it
// holds a comma, a double quote or a line break, its quotes then doubled).
std::string FilaCsv(std::initializer_list<std::string> campos);
std::string FilaCsv(const std::vector<std::string>& campos);
